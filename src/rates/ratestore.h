#pragma once

#include "rates/rules/ratefile.h"
#include "shell/types/currency.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace varnek {

// Where the currency's rate file lives. Windows keeps the historic root-of-C: paths; elsewhere the
// files sit in the application data folder, which the first save creates.
QString rateFilePath(Currency currency);

// Writes the file with the text, one of two ways. Where the folder takes a new file, the text goes
// to a temporary file beside it that then replaces the old one: all or nothing, after any failure
// the old file is whole. Where the folder refuses that temporary file but the file exists and may
// be written (Windows lets every user modify a file at the root of C: but not create one there),
// the file is written in place: the new record noted in a folder of the user's own
// (pendingRecordPath), then the file cut to zero length, its state after the cut noted, the record
// written and flushed, and the note removed. A crash after the cut leaves the note, from which the
// next save or read completes the file while it is still as the crash left it; a write that fails
// after the cut puts the previous record back. A missing file in such a folder, a read-only file
// and a text the file cannot hold change nothing. Saves and reads of one file by any Varnek wait
// for each other, a save at most a second. Throws RuntimeError(FileAccess) with a detail line.
void saveRate(const QString &path, QStringView text);

// The text of the file's last field; nothing for a file without a field. A file that a save written
// in place left cut short, and that nothing touched since, is first written whole from the note;
// where that fails, an empty file reads as nothing and a begun one is an error.
// Throws RuntimeError(FileNotFound) or RuntimeError(FileAccess).
std::optional<QString> readRate(const QString &path);

// Where a save written in place notes the record it is about to write: never the rate file's own
// folder, which refuses new files whenever a save is written in place.
QString pendingRecordPath(const QString &path);

// The steps of a save written in place, in order, and the put back that follows a failure; then
// the instant before a save that replaces the file renames its temporary file over it.
enum class InPlaceStep { Opened, Noted, Cut, Written, Flushed, Closed, PutBack, Replacing };

// For tests: every save written in place, as where the folder refuses new files (or none); a call
// after each step, which may end the process there as a crash would or wait; and steps that fail, as on
// a full disk (a write then writes half its bytes).
struct InPlaceSaveProbe {
    bool always = false;
    void (*afterStep)(InPlaceStep) = nullptr;
    bool (*fails)(InPlaceStep) = nullptr;
};
void setInPlaceSaveProbe(InPlaceSaveProbe probe);

} // namespace varnek
