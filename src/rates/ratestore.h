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
// the file is written in place: opened, cut to zero length, written and flushed; a failure after
// that open may leave it empty or partly written. A missing file in such a folder, a read-only file
// and a text the file cannot hold change nothing. Throws RuntimeError(FileAccess) with a detail line.
void saveRate(const QString &path, QStringView text);

// The text of the file's last field; nothing for a file without a field.
// Throws RuntimeError(FileNotFound) or RuntimeError(FileAccess).
std::optional<QString> readRate(const QString &path);

} // namespace varnek
