#include "rates/rules/ratefile.h"

#include "shell/types/errors.h"

#include <array>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

// Bytes 0x80..0xFF. Apart from the Turkish letters at D0, DD, DE, F0, FD and FE, A0..FF is Latin-1.
constexpr std::array<char16_t, 128> upperHalf{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x008E, 0x008F, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178, // 98
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, // B8
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, // C0
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF, // C8
    0x011E, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, // D0
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x0130, 0x015E, 0x00DF, // D8
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, // E0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, // E8
    0x011F, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7, // F0
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x0131, 0x015F, 0x00FF, // F8
};

std::optional<char> byteFor(char16_t unit)
{
    if (unit < 0x80)
        return char(unit);
    for (std::size_t i = 0; i < upperHalf.size(); ++i) {
        if (upperHalf[i] == unit)
            return char(0x80 + i);
    }
    return std::nullopt;
}

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isSeparator(char c) { return c == ',' || isLineEnd(c); }

// Steps over the comma or line end at `pos`, if any; CR LF counts as one line end.
qsizetype skipSeparator(QByteArrayView bytes, qsizetype pos)
{
    if (pos >= bytes.size())
        return pos;
    const char c = bytes[pos];
    if (c == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n')
        return pos + 2;
    return isSeparator(c) ? pos + 1 : pos;
}

} // namespace

QString fromWindows1254(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(byte < 0x80 ? char16_t(byte) : upperHalf[byte - 0x80]);
    }
    return text;
}

std::optional<QByteArray> toWindows1254(QStringView text, char32_t *bad)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (const auto byte = byteFor(ch.unicode())) {
            bytes.append(*byte);
            continue;
        }
        if (bad) {
            char32_t codePoint = ch.unicode();
            if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                codePoint = QChar::surrogateToUcs4(ch, text[i + 1]);
            *bad = codePoint;
        }
        return std::nullopt;
    }
    return bytes;
}

QByteArray encodeRateFile(QStringView text)
{
    char32_t bad = 0;
    const auto encoded = toWindows1254(text, &bad);
    if (!encoded) {
        // A lone surrogate cannot be shown; its number still tells the user what went wrong.
        const bool printable = !QChar::isSurrogate(bad) && QChar::isPrint(bad);
        const QString shown = printable ? QString::fromUcs4(&bad, 1) : QString();
        const QString number = u"U+%1"_s.arg(quint32(bad), 4, 16, QLatin1Char('0')).toUpper();
        throw RuntimeError(ErrorKind::FileAccess,
                           printable ? u"\"%1\" (%2) karakteri dosyaya yazılamaz."_s.arg(shown, number)
                                     : u"%1 karakteri dosyaya yazılamaz."_s.arg(number));
    }
    QByteArray bytes;
    bytes.reserve(encoded->size() + 4);
    bytes.append('"').append(*encoded).append('"').append("\r\n");
    // The writer escapes nothing, so a quote right before a comma or a line end would end the field
    // early on reading. Whatever is written must read back as the text saved.
    if (decodeRateFile(bytes) != text)
        throw RuntimeError(ErrorKind::FileAccess,
                           u"Tırnak işareti virgülün ya da satır sonunun hemen önünde olamaz."_s);
    return bytes;
}

std::optional<QString> decodeRateFile(QByteArrayView bytes)
{
    std::optional<QByteArrayView> last;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        if (bytes[pos] == '"') {
            const qsizetype start = pos + 1;
            qsizetype close = start;
            while (close < bytes.size()
                   && !(bytes[close] == '"' && (close + 1 == bytes.size() || isSeparator(bytes[close + 1]))))
                ++close;
            last = bytes.sliced(start, close - start);
            pos = close < bytes.size() ? skipSeparator(bytes, close + 1) : close;
        } else {
            qsizetype end = pos;
            while (end < bytes.size() && !isSeparator(bytes[end]))
                ++end;
            last = bytes.sliced(pos, end - pos);
            pos = skipSeparator(bytes, end);
        }
    }
    if (!last)
        return std::nullopt;
    return fromWindows1254(*last);
}

} // namespace varnek
