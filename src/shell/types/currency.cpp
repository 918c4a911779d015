#include "shell/types/currency.h"

namespace varnek {

static_assert([] {
    for (std::size_t i = 0; i < currencyTable.size(); ++i)
        if (currencyIndex(currencyTable[i].currency) != i || allCurrencies[i] != currencyTable[i].currency)
            return false;
    return true;
}(), "the currency table follows the enum's order");

QString rateFileName(Currency currency) { return QString::fromUtf16(currencyInfo(currency).fileName); }

} // namespace varnek
