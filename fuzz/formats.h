#pragma once

#include "convert/rules/numberrules.h"
#include "fuzzsupport.h"

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

// A reader's input. First byte: the number format and whether the rest is UTF-8 or raw UTF-16; its
// higher bits are the target's own. The rest is the text.
struct NumberInput {
    const varnek::NumberFormat &format;
    QString text;
};

inline NumberInput numberInput(const std::uint8_t *data, std::size_t size)
{
    return {formats()[data[0] % 3], textOf(data + 1, size - 1, data[0] & 4)};
}

} // namespace fuzz
