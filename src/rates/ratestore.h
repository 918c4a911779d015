#pragma once

#include "shell/types/currency.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace varnek {

// A rate file is a few bytes; anything bigger is not one of ours and is not read (or written).
inline constexpr qint64 maxRateFileSize = 64 * 1024;

// Where the currency's rate file lives. Windows keeps the historic root-of-C: paths; elsewhere the
// files sit in the application data folder, which the first save creates.
QString rateFilePath(Currency currency);

// Writes the file with the text, one of two ways. Where the folder takes a new file, the text goes
// to a temporary file beside it that then replaces the old one: all or nothing, after any failure
// the old file is whole. Where the folder refuses that temporary file but the file exists and may
// be written (Windows lets every user modify a file at the root of C: but not create one there),
// the file is written in place: opened, the new record noted in a folder of the user's own
// (pendingRecordPath), then the file cut to zero length, written, flushed and closed, and the note
// removed. A crash or failure after the cut leaves the note, from which the next
// save or read completes the file. A missing file in such a folder, a read-only file and a text the
// file cannot hold change nothing. Throws RuntimeError(FileAccess) with a detail line.
void saveRate(const QString &path, QStringView text);

// The text of the file's last field; nothing for a file without a field. A file that a save written
// in place left cut short (a proper prefix of its note) is first written whole from the note.
// Throws RuntimeError(FileNotFound) or RuntimeError(FileAccess).
std::optional<QString> readRate(const QString &path);

// Where a save written in place notes the record it is about to write: never the rate file's own
// folder, which refuses new files whenever a save is written in place.
QString pendingRecordPath(const QString &path);

// The steps of a save written in place, in order.
enum class InPlaceStep { Opened, Noted, Cut, Written, Flushed, Closed };

// For tests: every save written in place, as where the folder refuses new files, and a call after
// each step, which may end the process there as a crash would.
struct InPlaceSaveProbe {
    bool always = false;
    void (*afterStep)(InPlaceStep) = nullptr;
};
void setInPlaceSaveProbe(InPlaceSaveProbe probe);

} // namespace varnek
