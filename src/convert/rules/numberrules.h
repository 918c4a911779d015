#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace varnek {

// The user's conventions for reading and writing numbers.
struct NumberFormat {
    QString decimal;   // decimal separator
    QString group;     // digit-group separator
    QString currency;  // currency symbol
    static NumberFormat fromLocale(const QLocale &locale = QLocale());
};

// Reads a box's text as a number in the user's format. Throws RuntimeError(TypeMismatch) for text that
// is no number and RuntimeError(Overflow) for a number beyond the double range; a number too small for
// a double reads as 0 or a subnormal.
double textToNumber(QStringView text, const NumberFormat &format);

// Writes a finite number as box text: 15 significant digits at most, the format's decimal separator,
// no grouping, exponent form ("1E+15", "8E-05") for very small and very large values.
// Throws RuntimeError(Overflow) for an infinite or NaN value, which has no text.
QString numberToText(double value, const NumberFormat &format);

// An integer written behind "&H" (hexadecimal) or "&O" (octal), either case.
struct RadixInteger {
    double value = 0;
    qsizetype length = 0; // characters read, the prefix included
    int digits = 0;       // 0 when no digit follows the prefix
};

// Reads the prefix and the longest run of digits of its base at the start of text; std::nullopt when
// text does not start with "&H" or "&O". The value is 16-bit two's complement when it fits in 16 bits
// (&HFFFF is -1), 32-bit two's complement otherwise; beyond 32 bits it throws RuntimeError(Overflow).
std::optional<RadixInteger> readRadixInteger(QStringView text);

// Collects an unsigned decimal number while a reader walks the text, and converts it correctly rounded.
// It keeps the significant digits and the power of ten that scales them: the short plain numbers that
// most box texts hold become exact by one multiplication or division, and std::from_chars reads the
// rest. The buffer needs room for the text's length plus kBufferExtra. Inline, so that the state stays
// in registers while the reader loops.
class DecimalBuilder {
public:
    static constexpr qsizetype kBufferExtra = 24;

    explicit DecimalBuilder(char *buffer) : m_begin(buffer), m_end(buffer) {}

    void digit(char16_t digit)
    {
        const auto value = unsigned(digit - u'0');
        if (m_end != m_begin || value != 0) { // leading zeros add nothing
            *m_end++ = char(digit);
            // Wraps past 19 digits, but is no longer used by then.
            m_mantissa = m_mantissa * 10 + value;
        }
        m_anyDigit = true;
    }
    // How many of the digits given stood after the decimal point (they always come last).
    void setFractionDigits(qsizetype count) { m_fractionDigits = count; }

    // Reads an exponent ("E" or "e", an optional sign, digits) at pos, where the mantissa ended, and
    // returns where it stops. Without a digit the E is no exponent, and pos comes back unchanged.
    qsizetype readExponent(QStringView text, qsizetype pos)
    {
        const qsizetype size = text.size();
        if (pos >= size || (text[pos] != u'E' && text[pos] != u'e'))
            return pos;
        qsizetype next = pos + 1;
        const bool negative = next < size && text[next] == u'-';
        if (next < size && (negative || text[next] == u'+'))
            ++next;
        if (next >= size || !isAsciiDigit(text[next]))
            return pos;
        m_exponentNegative = negative;
        for (; next < size && isAsciiDigit(text[next]); ++next) {
            // Any exponent this large already decides overflow or underflow.
            if (m_exponent < 100'000'000)
                m_exponent = m_exponent * 10 + (text[next].unicode() - u'0');
        }
        return next;
    }

    bool anyDigit() const { return m_anyDigit; }

    // Throws RuntimeError(Overflow) beyond the double range; a value too small for a double is 0.
    double value() const
    {
        const qsizetype significant = m_end - m_begin;
        if (significant == 0)
            return 0.0;
        const qint64 scale = (m_exponentNegative ? -m_exponent : m_exponent) - m_fractionDigits;
        // Below 2^53 the digits are an exact double, and so is every power of ten up to 10^22.
        if (significant <= 15 && scale >= -22 && scale <= 22) {
            const auto mantissa = double(m_mantissa);
            return scale < 0 ? mantissa / kPowersOfTen[-scale] : mantissa * kPowersOfTen[scale];
        }
        return slowValue(m_begin, m_end, scale);
    }

private:
    static bool isAsciiDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }
    // Static, so that no pointer to the builder escapes and its state can live in registers.
    static double slowValue(char *digits, char *end, qint64 scale);

    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    char *m_begin;
    char *m_end;
    std::uint64_t m_mantissa = 0;
    qint64 m_fractionDigits = 0;
    qint64 m_exponent = 0;
    bool m_exponentNegative = false;
    bool m_anyDigit = false;
};

} // namespace varnek
