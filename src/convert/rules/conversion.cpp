#include "convert/rules/conversion.h"

#include "convert/rules/checkedmath.h"
#include "shell/types/errors.h"

using namespace Qt::StringLiterals;

namespace varnek {

QString convertTexts(Direction direction, QStringView rateText, QStringView amountText, const RowNames &names,
                     const NumberFormat &format)
{
    // Where an error comes from; one handler for every step keeps the way of a conversion that
    // succeeds as short as it is without names.
    enum class Step { Rate, Amount, Arithmetic } step = Step::Rate;
    double result = 0;
    try {
        if (direction == Direction::TlToCurrency) {
            step = Step::Amount;
            const double amount = textToNumber(amountText, format);
            step = Step::Rate;
            const double rate = textToNumber(rateText, format);
            step = Step::Arithmetic;
            result = checkedDivide(amount, rate);
        } else {
            step = Step::Rate;
            const double rate = textToNumber(rateText, format);
            step = Step::Amount;
            const double amount = textToNumber(amountText, format);
            step = Step::Arithmetic;
            result = checkedMultiply(amount, rate);
        }
    } catch (const RuntimeError &error) {
        // Division by zero and a result beyond the double range come from the row, not from one box.
        QString detail = step == Step::Rate     ? boxErrorDetail(names.rate, rateText)
                         : step == Step::Amount ? boxErrorDetail(names.amount, amountText)
                                                : u"Para birimi: "_s.append(names.currency);
        throw RuntimeError(error.kind(), std::move(detail));
    }
    return numberToText(result, format);
}

} // namespace varnek
