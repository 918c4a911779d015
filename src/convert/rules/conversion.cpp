#include "convert/rules/conversion.h"

#include "convert/rules/checkedmath.h"
#include "shell/types/errors.h"

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

// Division by zero and a result beyond the double range come from the row, not from one box.
double calculate(Direction direction, double rate, double amount, QStringView currency)
{
    try {
        return direction == Direction::TlToCurrency ? checkedDivide(amount, rate) : checkedMultiply(amount, rate);
    } catch (const RuntimeError &error) {
        throw RuntimeError(error.kind(), u"Para birimi: "_s.append(currency));
    }
}

} // namespace

QString convertTexts(Direction direction, BoxText rate, BoxText amount, QStringView currency,
                     const NumberFormat &format)
{
    double rateValue = 0;
    double amountValue = 0;
    if (direction == Direction::TlToCurrency) {
        amountValue = textToNumber(amount, format);
        rateValue = textToNumber(rate, format);
    } else {
        rateValue = textToNumber(rate, format);
        amountValue = textToNumber(amount, format);
    }
    return numberToText(calculate(direction, rateValue, amountValue, currency), format);
}

} // namespace varnek
