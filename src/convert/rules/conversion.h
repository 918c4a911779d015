#pragma once

#include "convert/rules/numberrules.h"

#include <QString>
#include <QStringView>

namespace varnek {

enum class Direction { TlToCurrency, CurrencyToTl };

// What Enter in an amount box computes, as text for the result box.
// TlToCurrency reads the amount, then the rate, and divides the amount by the rate;
// CurrencyToTl reads the rate, then the amount, and multiplies. The first text that fails decides
// the error (RuntimeError), whose second line names that box; a failed division or product names the
// row's currency instead. Nothing is returned then.
QString convertTexts(Direction direction, BoxText rate, BoxText amount, QStringView currency,
                     const NumberFormat &format);

} // namespace varnek
