#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace varnek {

// A rate file is a few bytes; anything bigger is not one of ours and is not read (or written).
inline constexpr qint64 maxRateFileSize = 64 * 1024;

// Windows-1254 by our own table: Qt's named codecs exist only in some builds. The seven bytes the
// code page leaves undefined map to the C1 control of the same number, so every byte round-trips.
QString fromWindows1254(QByteArrayView bytes);
// Nothing when a character has no byte; `bad` then receives the first such code point.
std::optional<QByteArray> toWindows1254(QStringView text, char32_t *bad = nullptr);

// The whole rate file for one text: the text quoted, unescaped, then CR LF. It always reads back as
// the text: throws RuntimeError(FileAccess) naming the first character that cannot be stored, or for
// a quotation mark right before a comma or a line end, which the unescaped format cannot hold.
QByteArray encodeRateFile(QStringView text);

// The text of the last field of a rate file; nothing for a file with no field (zero bytes).
//
// Fields end at a comma or a line end (CR LF, or a lone CR or LF), which is consumed with the
// field; the end of the file ends a field too, and no field starts there, so neither a final
// line end nor a final comma adds an empty field. An empty line or two adjacent commas give an
// empty field.
//
// A field beginning with a quotation mark ends at the first quotation mark that is followed by a
// comma, a line end or the end of the file. The writer does not escape quotes, so this reads every
// text that it agrees to save (it refuses a quote directly before a comma or a line end). A closing
// mark is therefore always followed by a separator; a quote followed by anything else belongs to
// the text. With no such closing mark the field runs to the end of the file.
//
// Unquoted fields are kept verbatim, blanks included: the file holds box text, not numbers.
std::optional<QString> decodeRateFile(QByteArrayView bytes);

} // namespace varnek
