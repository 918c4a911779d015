#include "calculator/rules/leadingnumber.h"

#include "shell/types/errors.h"

#include <QVarLengthArray>

namespace varnek {

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

double leadingNumber(QStringView text, const NumberFormat &format)
{
    QVarLengthArray<char16_t, 64> compact(text.size());
    qsizetype size = 0;
    for (const QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n')
            compact[size++] = c.unicode();
    }
    const QStringView s(compact.data(), size);

    if (size > 0 && s[0] == u'&') {
        if (const auto radix = readRadixInteger(s))
            return radix->value;
        return 0.0;
    }

    // A comma is a decimal point as well where the user writes one, so that a result written as
    // "2,5" reads back as 2.5 and not as 2.
    const bool commaIsPoint = format.decimal.size() == 1 && format.decimal[0] == u',';
    qsizetype pos = 0;
    bool negative = false;
    if (pos < size && (s[pos] == u'+' || s[pos] == u'-')) {
        negative = s[pos] == u'-';
        ++pos;
    }

    QVarLengthArray<char, 64> ascii(size + DecimalBuilder::kBufferExtra);
    DecimalBuilder number(ascii.data());
    qsizetype fractionStart = -1;
    for (; pos < size; ++pos) {
        const char16_t c = s[pos].unicode();
        if (isDigit(c))
            number.digit(c);
        else if ((c == u'.' || (commaIsPoint && c == u',')) && fractionStart < 0)
            fractionStart = pos + 1;
        else
            break;
    }
    if (fractionStart >= 0)
        number.setFractionDigits(pos - fractionStart);
    if (!number.anyDigit())
        return 0.0;

    // What follows the number is ignored, so where reading stops does not matter.
    number.readExponent(s, pos);

    const double value = number.value();
    return negative ? -value : value;
}

double leadingNumber(QStringView text, QStringView boxName, const NumberFormat &format)
{
    try {
        return leadingNumber(text, format);
    } catch (const RuntimeError &error) {
        throw RuntimeError(error.kind(), boxErrorDetail(boxName, text));
    }
}

} // namespace varnek
