#pragma once

#include "fuzzsupport.h"
#include "shell/types/errors.h"

#include <QString>

#include <cmath>
#include <optional>

namespace fuzz {

// What reading a text gave: a value, or the kind of error the reading failed with. Equal values
// agree in sign too, so 0 and -0 differ.
struct Outcome {
    std::optional<varnek::ErrorKind> error;
    double value = 0;

    bool operator==(const Outcome &other) const
    {
        return error == other.error
               && (error || (value == other.value && std::signbit(value) == std::signbit(other.value)));
    }

    QString describe() const
    {
        if (error)
            return QString::fromLatin1(varnek::RuntimeError(*error).what());
        return QString::number(value, 'g', 17);
    }
};

// Reads text; a value read is always finite.
template <typename Read>
Outcome outcomeOf(Read read, QStringView text)
{
    try {
        const double value = read();
        check(std::isfinite(value), "a finite value", [&] { return units(text); });
        return {std::nullopt, value};
    } catch (const varnek::RuntimeError &e) {
        return {e.kind(), 0};
    }
}

// What strtod read: beyond the double range is an overflow.
inline Outcome strtodOutcome(double value)
{
    if (std::isinf(value))
        return {varnek::ErrorKind::Overflow, 0};
    return {std::nullopt, value};
}

// The property holds when the outcome is the one expected; the detail shows both.
inline void checkSame(const Outcome &outcome, const Outcome &expected, const char *property, QStringView text,
                      const char *expectedBy = "")
{
    check(outcome == expected, property, [&] {
        return units(text) + u'\n' + outcome.describe() + QStringLiteral(" / ") + QString::fromLatin1(expectedBy)
               + expected.describe();
    });
}

} // namespace fuzz
