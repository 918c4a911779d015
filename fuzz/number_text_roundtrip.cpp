// Writing a number and reading it back. The first eight bytes are the double's bits, so every
// double, subnormals and all, can occur.
#include "shell/types/errors.h"
#include "formats.h"
#include "fuzzsupport.h"
#include "calculator/rules/leadingnumber.h"
#include "convert/rules/numberrules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace Qt::StringLiterals;
using namespace varnek;

namespace {

// Rounded to 15 significant digits by the C library, not by the code under test.
double roundedTo15(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", value);
    return std::strtod(text, nullptr);
}

QString describe(double value) { return QString::number(value, 'g', 17); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    unsigned char bits[sizeof(double)] = {};
    std::memcpy(bits, data, std::min(size, sizeof bits));
    double value = 0;
    std::memcpy(&value, bits, sizeof value);

    for (const NumberFormat &format : fuzz::formats()) {
        if (!std::isfinite(value)) {
            try {
                numberToText(value, format);
            } catch (const RuntimeError &e) {
                fuzz::check(e.kind() == ErrorKind::Overflow, "no text for infinity or NaN: an overflow");
                continue;
            }
            fuzz::fail("no text for infinity or NaN");
        }
        const QString text = numberToText(value, format);
        const double expected = roundedTo15(value);
        double back = 0;
        try {
            back = textToNumber(text, format);
        } catch (const RuntimeError &e) {
            // Just below the largest double, 15 digits round up past it: that text has no value.
            fuzz::check(e.kind() == ErrorKind::Overflow && std::isinf(expected), "a written number reads back",
                        [&] { return describe(value) + u' ' + text; });
            bool calculatorOverflows = false;
            try {
                leadingNumber(text, format);
            } catch (const RuntimeError &l) {
                calculatorOverflows = l.kind() == ErrorKind::Overflow;
            }
            fuzz::check(calculatorOverflows, "the calculator finds the same overflow", [&] { return text; });
            continue;
        }
        fuzz::check(back == expected, "reads back rounded to 15 digits", [&] {
            return describe(value) + u' ' + text + u" -> "_s + describe(back) + u" expected "_s + describe(expected);
        });
        // The calculator writes its result with the same rule and may read it back as an operand.
        fuzz::check(leadingNumber(text, format) == expected, "the calculator reads it back too",
                    [&] { return describe(value) + u' ' + text; });
    }
    return 0;
}
