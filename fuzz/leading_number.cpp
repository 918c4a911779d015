// The calculator's leading-number reading. First byte: the number format, UTF-8 or raw UTF-16, and
// where a blank is slipped in; the rest is the operand text.
#include "shell/types/errors.h"
#include "formats.h"
#include "fuzzsupport.h"
#include "outcome.h"
#include "calculator/rules/leadingnumber.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;
using namespace varnek;

namespace {

using fuzz::Outcome;

Outcome readOperand(QStringView text, const NumberFormat &format)
{
    const Outcome outcome = fuzz::outcomeOf([&] { return leadingNumber(text, format); }, text);
    fuzz::check(!outcome.error || *outcome.error == ErrorKind::Overflow, "only an overflow",
                [&] { return fuzz::units(text); });
    return outcome;
}

// A text that is one plain decimal number and nothing else, blanks left out: strtod reads it too.
std::optional<Outcome> plainValue(QStringView text, const NumberFormat &format)
{
    std::string c;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n')
            continue;
        if (u == u',' && format.decimal == QStringLiteral(","))
            c += '.';
        else if (u < 0x80 && std::string_view("0123456789.eE+-").find(char(u)) != std::string_view::npos)
            c += char(u);
        else
            return std::nullopt;
    }
    // Sign, digits and at most one point (at least one digit), an exponent with digits.
    std::size_t pos = c.size() > 0 && (c[0] == '+' || c[0] == '-') ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (; pos < c.size(); ++pos) {
        if (c[pos] >= '0' && c[pos] <= '9')
            digits = true;
        else if (c[pos] == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return std::nullopt;
    if (pos < c.size()) {
        if (c[pos] != 'e' && c[pos] != 'E')
            return std::nullopt;
        std::size_t exponent = pos + 1;
        if (exponent < c.size() && (c[exponent] == '+' || c[exponent] == '-'))
            ++exponent;
        if (exponent == c.size())
            return std::nullopt;
        for (; exponent < c.size(); ++exponent)
            if (c[exponent] < '0' || c[exponent] > '9')
                return std::nullopt;
    }
    return fuzz::strtodOutcome(std::strtod(c.c_str(), nullptr));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto [format, text] = fuzz::numberInput(data, size);

    const Outcome outcome = readOperand(text, format);

    // Blanks, tabs and line feeds count nowhere.
    static constexpr char16_t blanks[] = {u' ', u'\t', u'\n'};
    QString spaced = text;
    spaced.insert(qsizetype(data[0] >> 3) % (text.size() + 1), QChar(blanks[(data[0] >> 3) % 3]));
    const Outcome withBlank = readOperand(spaced, format);
    fuzz::checkSame(outcome, withBlank, "a blank changes nothing", text);

    // Reading stops at a character that fits no number.
    const Outcome withTail = readOperand(text + u'#', format);
    fuzz::checkSame(outcome, withTail, "what follows the number is ignored", text);

    if (const std::optional<Outcome> expected = plainValue(text, format))
        fuzz::checkSame(outcome, *expected, "a plain number reads as strtod reads it", text, "strtod ");
    return 0;
}
