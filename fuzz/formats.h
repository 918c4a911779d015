#pragma once

#include "convert/rules/numberrules.h"

#include <array>

namespace fuzz {

// Turkish and English, and one whose currency holds an E, which the exponent reading must not
// swallow, and whose group separator is a blank.
inline const std::array<varnek::NumberFormat, 3> &formats()
{
    static const std::array<varnek::NumberFormat, 3> all{
        varnek::NumberFormat{QStringLiteral(","), QStringLiteral("."), QStringLiteral("\u20BA")},
        varnek::NumberFormat{QStringLiteral("."), QStringLiteral(","), QStringLiteral("$")},
        varnek::NumberFormat{QStringLiteral(","), QStringLiteral("\u202F"), QStringLiteral("EUR")},
    };
    return all;
}

} // namespace fuzz
