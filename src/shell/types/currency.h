#pragma once

#include <QString>

#include <array>

namespace varnek {

// Always four, always in this order.
enum class Currency { Dolar, Mark, Sterlin, Frank };

// Everything that differs from one currency to the next.
struct CurrencyInfo {
    Currency currency;
    const char16_t *name;        // in texts: "Dolar"
    const char16_t *fileName;    // its rate file
    const char16_t *promptText;  // the rate prompt of the conversion menu
    const char16_t *promptTitle;
    const char16_t *rateBox;     // designer names of its row in both conversion windows
    const char16_t *amountBox;
    const char16_t *resultBox;
};

inline constexpr std::array<CurrencyInfo, 4> currencyTable{{
    {Currency::Dolar, u"Dolar", u"dolarsatilis.txt", u"Doların Satılış Fiyatı?", u"DOLAR", u"Dolarsatilis",
     u"Paramiktari", u"Sonucdolar"},
    {Currency::Mark, u"Mark", u"marksatilis.txt", u"Markın Satılış Fiyatı?", u"MARK", u"Marksatilis",
     u"Paramiktari2", u"Sonucmark"},
    {Currency::Sterlin, u"Sterlin", u"sterlinsatilis.txt", u"Sterlinin Satılış Fiyatı?", u"STERLIN",
     u"Sterlinsatilis", u"Paramiktari3", u"Sonucsterlin"},
    {Currency::Frank, u"Frank", u"franksatilis.txt", u"Frankın Satılış Fiyatı?", u"FRANK", u"Franksatilis",
     u"Paramiktari4", u"Sonucfrank"},
}};

inline constexpr std::array<Currency, 4> allCurrencies{Currency::Dolar, Currency::Mark, Currency::Sterlin,
                                                       Currency::Frank};

constexpr std::size_t currencyIndex(Currency currency) { return static_cast<std::size_t>(currency); }
constexpr const CurrencyInfo &currencyInfo(Currency currency) { return currencyTable[currencyIndex(currency)]; }

// "dolarsatilis.txt" and its three twins.
QString rateFileName(Currency currency);

} // namespace varnek
