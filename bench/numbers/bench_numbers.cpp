// The number rules and one Enter-key conversion, beside the standard library's conversions of the
// same numbers, which no reader of box text can beat.
#include "convert/rules/conversion.h"
#include "convert/rules/numberrules.h"

#include <QLocale>
#include <QString>

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <string_view>

using namespace Qt::StringLiterals;
using varnek::NumberFormat;

namespace {

// What a user types into the boxes: a rate, a grouped amount, a small fraction, a whole number.
struct Input {
    QString turkish;
    QString english;
    std::string_view plain; // the same number as std::from_chars reads it
    double value;
};

const std::array<Input, 4> inputs{{
    {u"38,75"_s, u"38.75"_s, "38.75", 38.75},
    {u"1.250.000,50"_s, u"1,250,000.50"_s, "1250000.50", 1250000.50},
    {u"0,0425"_s, u"0.0425"_s, "0.0425", 0.0425},
    {u"100"_s, u"100"_s, "100", 100.0},
}};

// What the result boxes show: the inputs and a quotient with all fifteen digits.
constexpr std::array<double, 4> outputs{38.75, 1250000.5 / 38.75, 0.0425, 100.0};

const NumberFormat &turkish()
{
    static const NumberFormat format = NumberFormat::fromLocale(QLocale(QLocale::Turkish, QLocale::Turkey));
    return format;
}

const NumberFormat &english()
{
    static const NumberFormat format =
        NumberFormat::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    return format;
}

const Input &inputOf(const benchmark::State &state)
{
    return inputs[std::size_t(state.range(0))];
}

double outputOf(const benchmark::State &state)
{
    return outputs[std::size_t(state.range(0))];
}

void fromChars(benchmark::State &state)
{
    const std::string_view text = inputOf(state).plain;
    for (auto _ : state) {
        double value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        benchmark::DoNotOptimize(value);
    }
}

void textToNumberTurkish(benchmark::State &state)
{
    const QString &text = inputOf(state).turkish;
    const NumberFormat &format = turkish();
    for (auto _ : state)
        benchmark::DoNotOptimize(varnek::textToNumber(text, format));
}

void textToNumberEnglish(benchmark::State &state)
{
    const QString &text = inputOf(state).english;
    const NumberFormat &format = english();
    for (auto _ : state)
        benchmark::DoNotOptimize(varnek::textToNumber(text, format));
}

void toChars(benchmark::State &state)
{
    const double value = outputOf(state);
    for (auto _ : state) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
        benchmark::DoNotOptimize(buffer);
        benchmark::DoNotOptimize(result.ptr);
    }
}

void numberToTextTurkish(benchmark::State &state)
{
    const double value = outputOf(state);
    const NumberFormat &format = turkish();
    for (auto _ : state)
        benchmark::DoNotOptimize(varnek::numberToText(value, format));
}

void numberToTextEnglish(benchmark::State &state)
{
    const double value = outputOf(state);
    const NumberFormat &format = english();
    for (auto _ : state)
        benchmark::DoNotOptimize(varnek::numberToText(value, format));
}

// What the window hands over beside the texts, for an error message.
varnek::RowNames rowNames()
{
    return {u"Doların Satılış Fiyatı:", u"Para Miktarı: (TL), Dolar", u"Dolar"};
}

// Enter in an amount box of either window: read both boxes, divide or multiply, write the result.
void enterKeyConversion(benchmark::State &state)
{
    const auto direction = state.range(0) == 0 ? varnek::Direction::TlToCurrency : varnek::Direction::CurrencyToTl;
    const QString rate = u"38,75"_s;
    const QString amount = u"1.250.000,50"_s;
    const varnek::RowNames names = rowNames();
    const NumberFormat &format = turkish();
    for (auto _ : state)
        benchmark::DoNotOptimize(varnek::convertTexts(direction, rate, amount, names, format));
}

// The same, reading the user's number format on each key press as well.
void enterKeyConversionWithLocale(benchmark::State &state)
{
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    const QString rate = u"38,75"_s;
    const QString amount = u"1.250.000,50"_s;
    const varnek::RowNames names = rowNames();
    for (auto _ : state)
        benchmark::DoNotOptimize(varnek::convertTexts(varnek::Direction::TlToCurrency, rate, amount, names,
                                                      NumberFormat::fromLocale(QLocale())));
}

void overInputs(benchmark::internal::Benchmark *b)
{
    b->DenseRange(0, int(inputs.size()) - 1);
}

} // namespace

BENCHMARK(fromChars)->Apply(overInputs);
BENCHMARK(textToNumberTurkish)->Apply(overInputs);
BENCHMARK(textToNumberEnglish)->Apply(overInputs);
BENCHMARK(toChars)->Apply(overInputs);
BENCHMARK(numberToTextTurkish)->Apply(overInputs);
BENCHMARK(numberToTextEnglish)->Apply(overInputs);
BENCHMARK(enterKeyConversion)->Arg(0)->Arg(1);
BENCHMARK(enterKeyConversionWithLocale);

BENCHMARK_MAIN();
