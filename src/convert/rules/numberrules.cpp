#include "convert/rules/numberrules.h"

#include "shell/types/errors.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <system_error>

#include <QVarLengthArray>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

[[noreturn]] void notANumber()
{
    throw RuntimeError(ErrorKind::TypeMismatch);
}

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Length of what when it stands at pos in text, else 0. Separators and symbols are single characters
// in nearly every locale; those are compared without a call.
qsizetype lengthAt(QStringView text, qsizetype pos, const QString &what)
{
    if (what.size() == 1)
        return pos < text.size() && text[pos] == what.front() ? 1 : 0;
    return !what.isEmpty() && text.sliced(pos).startsWith(what) ? what.size() : 0;
}

// The signs and symbols around a number's digits. Blanks, a sign (or parentheses for a negative
// value) and the currency symbol may stand before or after the digits, the last two once each.
class Affixes {
public:
    explicit Affixes(const NumberFormat &format) : m_format(format) {}

    // The functions below stay out of line, so that the digit loop between them keeps its values in
    // registers rather than sharing them with this state.

    // Returns where the digits start.
    Q_NEVER_INLINE qsizetype readBefore(QStringView text, qsizetype pos)
    {
        while (pos < text.size() && !isDigit(text[pos])) {
            if (text[pos] == u'(') {
                takeSign(true);
                m_parenOpen = true;
                ++pos;
            } else if (const qsizetype next = takeOne(text, pos); next != pos) {
                pos = next;
            } else {
                break;
            }
        }
        return pos;
    }

    // Everything from pos to the end must be an affix.
    Q_NEVER_INLINE void readAfter(QStringView text, qsizetype pos)
    {
        bool parenClosed = false;
        while (pos < text.size()) {
            if (text[pos] == u')' && m_parenOpen && !parenClosed) {
                parenClosed = true;
                ++pos;
            } else if (const qsizetype next = takeOne(text, pos); next != pos) {
                pos = next;
            } else {
                notANumber();
            }
        }
        if (m_parenOpen != parenClosed)
            notANumber();
    }

    bool negative() const { return m_negative; }
    bool parenOpen() const { return m_parenOpen; }

private:
    void takeSign(bool negative)
    {
        if (m_signSeen)
            notANumber();
        m_signSeen = true;
        m_negative = negative;
    }

    qsizetype takeOne(QStringView text, qsizetype pos)
    {
        const QChar c = text[pos];
        if (c == u'+' || c == u'-') {
            takeSign(c == u'-');
            return pos + 1;
        }
        if (const qsizetype length = lengthAt(text, pos, m_format.currency)) {
            if (m_currencySeen)
                notANumber();
            m_currencySeen = true;
            return pos + length;
        }
        return c.isSpace() ? pos + 1 : pos;
    }

    const NumberFormat &m_format;
    bool m_negative = false;
    bool m_signSeen = false; // parentheses count as the sign
    bool m_currencySeen = false;
    bool m_parenOpen = false;
};

int radixDigit(QChar c, int base)
{
    const char16_t u = c.unicode();
    int digit = 99;
    if (u >= u'0' && u <= u'9')
        digit = u - u'0';
    else if (u >= u'a' && u <= u'f')
        digit = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        digit = u - u'A' + 10;
    return digit < base ? digit : -1;
}

} // namespace

NumberFormat NumberFormat::fromLocale(const QLocale &locale)
{
    return {locale.decimalPoint(), locale.groupSeparator(), locale.currencySymbol()};
}

std::optional<RadixInteger> readRadixInteger(QStringView text)
{
    if (text.size() < 2 || text[0] != u'&')
        return std::nullopt;
    int base = 0;
    switch (text[1].unicode()) {
    case u'H': case u'h': base = 16; break;
    case u'O': case u'o': base = 8; break;
    default: return std::nullopt;
    }

    RadixInteger result;
    std::uint64_t bits = 0;
    qsizetype pos = 2;
    for (int digit; pos < text.size() && (digit = radixDigit(text[pos], base)) >= 0; ++pos) {
        bits = bits * std::uint64_t(base) + std::uint64_t(digit);
        if (bits > 0xFFFF'FFFFu)
            throw RuntimeError(ErrorKind::Overflow);
        ++result.digits;
    }
    result.length = pos;
    if (bits <= 0xFFFF)
        result.value = double(std::int16_t(std::uint16_t(bits)));
    else
        result.value = double(std::int32_t(std::uint32_t(bits)));
    return result;
}

double DecimalBuilder::slowValue(char *digits, char *end, qint64 scale)
{
    const qint64 significant = end - digits;
    *end++ = 'e';
    end = std::to_chars(end, end + 21, scale).ptr;
    double result = 0.0;
    const auto [stop, error] = std::from_chars(digits, end, result);
    Q_ASSERT(stop == end);
    if (error == std::errc::result_out_of_range) {
        // libstdc++ reports a value that rounds to zero the same way as one beyond the double range,
        // and leaves the result untouched in both cases; the leading digit's power of ten tells them apart.
        if (significant - 1 + scale < 0)
            return 0.0;
        throw RuntimeError(ErrorKind::Overflow);
    }
    Q_ASSERT(error == std::errc());
    return result;
}

double textToNumber(QStringView text, const NumberFormat &format)
{
    qsizetype pos = 0;
    qsizetype size = text.size();
    while (pos < size && text[pos].isSpace())
        ++pos;
    while (size > pos && text[size - 1].isSpace())
        --size;
    if (pos == size)
        notANumber();

    if (text[pos] == u'&') {
        const auto radix = readRadixInteger(text.sliced(pos, size - pos));
        if (!radix || radix->digits == 0 || radix->length != size - pos)
            notANumber();
        return radix->value;
    }

    text = text.first(size);
    Affixes affixes(format);
    if (!isDigit(text[pos]))
        pos = affixes.readBefore(text, pos);

    QVarLengthArray<char, 128> ascii(size - pos + DecimalBuilder::kBufferExtra);
    DecimalBuilder number(ascii.data());
    for (; pos < size; ++pos) {
        const char16_t c = text[pos].unicode();
        if (isDigit(c))
            number.digit(c);
        else if (const qsizetype length = lengthAt(text, pos, format.group))
            pos += length - 1;
        else
            break;
    }
    if (const qsizetype length = lengthAt(text, pos, format.decimal)) {
        pos += length;
        const qsizetype fractionStart = pos;
        for (; pos < size && isDigit(text[pos]); ++pos)
            number.digit(text[pos].unicode());
        number.setFractionDigits(pos - fractionStart);
    }
    if (!number.anyDigit())
        notANumber();
    // An E without digits may still be (part of) a currency symbol.
    pos = number.readExponent(text, pos);

    if (pos < size || affixes.parenOpen())
        affixes.readAfter(text, pos);

    const double value = number.value();
    return affixes.negative() ? -value : value;
}

QString numberToText(double value, const NumberFormat &format)
{
    if (!std::isfinite(value))
        throw RuntimeError(ErrorKind::Overflow);
    if (value == 0)
        return u"0"_s; // also for -0

    // std::to_chars rounds correctly; "-d.ddddddddddddddde-ddd" at most.
    char scientific[32];
    const auto [end, error] = std::to_chars(scientific, scientific + sizeof scientific, value,
                                            std::chars_format::scientific, 14);
    Q_ASSERT(error == std::errc());
    const char *p = scientific;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    char digits[15];
    digits[0] = p[0];
    std::copy(p + 2, p + 16, digits + 1);
    Q_ASSERT(p[16] == 'e');
    int exponent = 0;
    std::from_chars(p + (p[17] == '+' ? 18 : 17), end, exponent);
    int count = 15;
    while (count > 1 && digits[count - 1] == '0')
        --count;

    // Built on the stack, so that the text costs one allocation.
    QVarLengthArray<char16_t, 48> text;
    const auto appendDigits = [&](int from, int to) {
        for (int i = from; i < to; ++i)
            text.append(char16_t(i < count ? digits[i] : '0'));
    };
    const QStringView decimal(format.decimal);
    const auto appendDecimal = [&] { text.append(decimal.utf16(), decimal.size()); };
    if (negative)
        text.append(u'-');
    if (exponent < -4 || exponent >= 15) {
        appendDigits(0, 1);
        if (count > 1) {
            appendDecimal();
            appendDigits(1, count);
        }
        text.append(u'E');
        text.append(exponent < 0 ? u'-' : u'+');
        const int magnitude = std::abs(exponent);
        if (magnitude >= 100)
            text.append(char16_t(u'0' + magnitude / 100));
        text.append(char16_t(u'0' + magnitude / 10 % 10));
        text.append(char16_t(u'0' + magnitude % 10));
    } else if (exponent >= 0) {
        appendDigits(0, exponent + 1);
        if (count > exponent + 1) {
            appendDecimal();
            appendDigits(exponent + 1, count);
        }
    } else {
        text.append(u'0');
        appendDecimal();
        for (int i = exponent + 1; i < 0; ++i)
            text.append(u'0');
        appendDigits(0, count);
    }
    return QString(reinterpret_cast<const QChar *>(text.constData()), text.size());
}

} // namespace varnek
