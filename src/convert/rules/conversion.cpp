#include "convert/rules/conversion.h"

#include "convert/rules/checkedmath.h"

namespace varnek {

QString convertTexts(Direction direction, QStringView rateText, QStringView amountText, const NumberFormat &format)
{
    double result = 0;
    if (direction == Direction::TlToCurrency) {
        const double amount = textToNumber(amountText, format);
        const double rate = textToNumber(rateText, format);
        result = checkedDivide(amount, rate);
    } else {
        const double rate = textToNumber(rateText, format);
        const double amount = textToNumber(amountText, format);
        result = checkedMultiply(amount, rate);
    }
    return numberToText(result, format);
}

} // namespace varnek
