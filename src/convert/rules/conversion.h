#pragma once

#include "convert/rules/numberrules.h"

#include <QString>
#include <QStringView>

namespace varnek {

enum class Direction { TlToCurrency, CurrencyToTl };

// What the user calls a row's boxes and its currency. Views, read only when a step fails, so that
// a key press that converts costs no more for them.
struct RowNames {
    QStringView rate;
    QStringView amount;
    QStringView currency;
};

// What Enter in an amount box computes, as text for the result box.
// TlToCurrency reads the amount, then the rate, and divides the amount by the rate;
// CurrencyToTl reads the rate, then the amount, and multiplies. The first text that fails decides
// the error (RuntimeError), whose second line names that box and quotes its text; a failed division
// or product names the row's currency instead. Nothing is returned then.
QString convertTexts(Direction direction, QStringView rateText, QStringView amountText, const RowNames &names,
                     const NumberFormat &format);

} // namespace varnek
