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

// Replaces the file with the text, all or nothing: after any failure the old file is whole.
// Throws RuntimeError(FileAccess) with a detail line.
void saveRate(const QString &path, QStringView text);

// The text of the file's last field; nothing for a file without a field.
// Throws RuntimeError(FileNotFound) or RuntimeError(FileAccess).
std::optional<QString> readRate(const QString &path);

} // namespace varnek
