#pragma once

#include "rates/rules/ratefile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace varnek {

// A note is one line about the file, then at most one rate file's bytes.
inline constexpr qint64 maxRateNoteSize = maxRateFileSize + 200;

// What tells one state of a file from any later one: which file it is, and its size and times,
// which every write and every cut changes.
struct FileState {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modified = 0;
    qint64 changed = 0;
    friend bool operator==(const FileState &, const FileState &) = default;
};

// What a save written in place keeps beside the file: the record it writes, and the file's state
// right after it cut the file. A note without that state was written before the cut, which may
// never have come.
struct RateNote {
    std::optional<FileState> afterCut;
    QByteArray record;
};

QByteArray encodeRateNote(const RateNote &note);
// Nothing unless the bytes are a note as encodeRateNote writes it, holding no record or exactly one.
std::optional<RateNote> decodeRateNote(QByteArrayView bytes);

// Whether the bytes are one whole record as the program writes it, and nothing more.
bool isOneRecord(QByteArrayView bytes);

// Whether the file, now in `state` and holding `bytes`, is still as the save that left the note
// left it, so that writing the note's record finishes that save rather than undoing a later one:
// untouched since the cut, or written since only up to a proper beginning of the record.
bool noteStillApplies(const RateNote &note, const FileState &state, QByteArrayView bytes);

// The temporary file of a save that replaces the rate file: a name no user would give a file, so
// that what a killed save left can be told from a user's own files beside it.
QString temporaryRateFileName(QStringView rateFileName, quint64 random);
bool isTemporaryRateFileName(QStringView rateFileName, QStringView name);

} // namespace varnek
