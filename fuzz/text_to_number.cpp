// Box text to number. First byte: the number format (Turkish, English, multi-letter currency) and
// whether the rest is UTF-8 or raw UTF-16; the rest is the text.
#include "shell/types/errors.h"
#include "formats.h"
#include "fuzzsupport.h"
#include "outcome.h"
#include "convert/rules/numberrules.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;
using namespace varnek;

namespace {

using fuzz::Outcome;

Outcome read(QStringView text, const NumberFormat &format)
{
    return fuzz::outcomeOf([&] { return textToNumber(text, format); }, text);
}

// For a plain number (a sign, digits with group separators, a decimal separator and digits, an
// exponent) the C library's strtod, which rounds correctly, tells the value by other means.
std::optional<Outcome> plainValue(QStringView text, const NumberFormat &format)
{
    qsizetype pos = 0;
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
    qsizetype end = text.size();
    while (end > pos && text[end - 1].isSpace())
        --end;
    std::string c;
    bool negative = false;
    if (pos < end && (text[pos] == u'-' || text[pos] == u'+'))
        negative = text[pos++] == u'-';
    const auto isDigit = [&](qsizetype i) { return i < end && text[i] >= u'0' && text[i] <= u'9'; };
    const auto startsWith = [&](qsizetype i, const QString &s) {
        return !s.isEmpty() && text.first(end).sliced(i).startsWith(s);
    };
    bool digits = false;
    while (pos < end) {
        if (isDigit(pos)) {
            c += char(text[pos++].unicode());
            digits = true;
        } else if (startsWith(pos, format.group)) {
            pos += format.group.size();
        } else {
            break;
        }
    }
    if (startsWith(pos, format.decimal)) {
        pos += format.decimal.size();
        c += '.';
        for (; isDigit(pos); ++pos, digits = true)
            c += char(text[pos].unicode());
    }
    if (!digits)
        return std::nullopt;
    if (pos < end && (text[pos] == u'e' || text[pos] == u'E')) {
        qsizetype exponent = pos + 1;
        std::string e = "e";
        if (exponent < end && (text[exponent] == u'-' || text[exponent] == u'+'))
            e += char(text[exponent++].unicode());
        if (!isDigit(exponent))
            return std::nullopt;
        for (; isDigit(exponent); ++exponent)
            e += char(text[exponent].unicode());
        c += e;
        pos = exponent;
    }
    if (pos != end)
        return std::nullopt;
    const double value = std::strtod(c.c_str(), nullptr);
    return fuzz::strtodOutcome(negative ? -value : value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto [format, text] = fuzz::numberInput(data, size);

    const Outcome outcome = read(text, format);
    fuzz::check(!outcome.error || *outcome.error == ErrorKind::TypeMismatch || *outcome.error == ErrorKind::Overflow,
                "only a type mismatch or an overflow", [&] { return fuzz::units(text); });

    const Outcome padded = read(u" \t"_s + text + u"  "_s, format);
    fuzz::checkSame(outcome, padded, "blanks around the text change nothing", text);

    if (const std::optional<Outcome> expected = plainValue(text, format))
        fuzz::checkSame(outcome, *expected, "a plain number reads as strtod reads it", text, "strtod ");
    return 0;
}
