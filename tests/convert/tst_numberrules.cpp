#include "convert/rules/checkedmath.h"
#include "convert/rules/conversion.h"
#include "shell/types/errors.h"
#include "convert/rules/numberrules.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <bit>
#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>

using namespace Qt::StringLiterals;
using namespace varnek;

Q_DECLARE_METATYPE(varnek::Direction)
Q_DECLARE_METATYPE(varnek::NumberFormat)

namespace {

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kTiny = std::numeric_limits<double>::denorm_min();
constexpr int kNoError = -1;

struct NamedFormat {
    const char *name;
    NumberFormat format;
};

QList<NamedFormat> formats()
{
    return {{"tr", NumberFormat::fromLocale(QLocale(QLocale::Turkish, QLocale::Turkey))},
            {"en", NumberFormat::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates))}};
}

// Tables are written the Turkish way ("," decimal, "." group, "¤" for the currency symbol) and
// carried over to the format under test.
QString localized(QStringView turkish, const NumberFormat &format)
{
    QString text;
    for (const QChar c : turkish) {
        if (c == u',')
            text += format.decimal;
        else if (c == u'.')
            text += format.group;
        else if (c == u'¤')
            text += format.currency;
        else
            text += c;
    }
    return text;
}

// Exact, with the sign of zero, and readable when a comparison fails.
QByteArray exact(double value)
{
    return QByteArray::number(value, 'g', 17);
}

int errorOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const RuntimeError &error) {
        return int(error.kind());
    }
    return kNoError;
}

// The value rounded to 15 significant digits (exact ties to even), by other means than the code
// under test. The C library may write the locale's decimal point.
double roundedTo15(double value)
{
    char text[40];
    const int size = std::snprintf(text, sizeof text, "%.14e", value);
    for (char &c : text) {
        if (c == ',')
            c = '.';
    }
    double rounded = 0;
    std::from_chars(text, text + size, rounded);
    return rounded;
}

struct ReadCase {
    const char *name;
    const char16_t *text;
    double value;
};

const ReadCase kAccepted[] = {
    {"whole", u"80", 80},
    {"grouped with blanks around", u"  1.250.000  ", 1250000},
    {"tabs around", u"\t42\t", 42},
    {"grouped with fraction", u"1.250.000,5", 1250000.5},
    {"fraction", u"0,8", 0.8},
    {"no digit before decimal", u",5", 0.5},
    {"no digit after decimal", u"5,", 5},
    {"leading zeros", u"0007", 7},
    {"group anywhere", u"12.34.5", 12345},
    {"group doubled", u"1..5", 15},
    {"group leading", u".5", 5},
    {"group trailing", u"5.", 5},
    {"minus before", u"-100", -100},
    {"plus before", u"+100", 100},
    {"minus after", u"100-", -100},
    {"plus after", u"100+", 100},
    {"blank after minus", u"- 100", -100},
    {"blank before trailing minus", u"100 -", -100},
    {"parentheses", u"(100)", -100},
    {"parentheses with blanks", u"( 100 ) ", -100},
    {"currency before", u"¤100", 100},
    {"currency before with blank", u"¤ 100", 100},
    {"currency after", u"100¤", 100},
    {"currency after with blank", u"100 ¤", 100},
    {"minus then currency", u"-¤100", -100},
    {"currency then minus", u"¤-100", -100},
    {"currency then trailing minus", u"¤100-", -100},
    {"currency inside parentheses", u"(¤1.234,50)", -1234.5},
    {"currency outside parentheses", u"¤(1.234,50)", -1234.5},
    {"currency after parentheses", u"(5) ¤", -5},
    {"exponent", u"1E3", 1000},
    {"exponent lower case", u"1e3", 1000},
    {"exponent plus", u"1,5E+3", 1500},
    {"exponent minus", u"2E-3", 0.002},
    {"exponent leading zeros", u"1e003", 1000},
    {"negative with exponent", u"-1,5e2", -150},
    {"minus zero", u"-0", -0.0},
    {"zero with huge exponent", u"0E999999", 0},
    {"hex", u"&HFF", 255},
    {"hex lower case", u"&hff", 255},
    {"hex with blanks", u"  &H10  ", 16},
    {"hex 16-bit all ones", u"&HFFFF", -1},
    {"hex 16-bit sign bit", u"&H8000", -32768},
    {"hex 16-bit largest", u"&H7FFF", 32767},
    {"hex just beyond 16 bits", u"&H10000", 65536},
    {"hex 32-bit all ones", u"&HFFFFFFFF", -1},
    {"hex 32-bit sign bit", u"&H80000000", -2147483648.0},
    {"hex 32-bit largest", u"&H7FFFFFFF", 2147483647},
    {"hex leading zeros", u"&H000000000001", 1},
    {"octal", u"&O17", 15},
    {"octal lower case 16-bit all ones", u"&o177777", -1},
    {"largest below the range", u"1,79E308", 1.79e308},
    {"largest double", u"1,7976931348623157E308", kMax},
    {"subnormal", u"1E-310", 1e-310},
    {"smallest subnormal", u"4,9E-324", kTiny},
    {"underflow to zero", u"1E-400", 0},
    {"negative underflow to zero", u"-1E-400", -0.0},
    {"underflow by huge exponent", u"1E-99999999999999999999", 0},
};

const ReadCase kOverflow[] = {
    {"1E309", u"1E309", 0},
    {"just beyond the range", u"1,8E308", 0},
    {"negative beyond the range", u"-1,8E308", 0},
    {"beyond the largest double", u"1,7976931348623159E308", 0},
    {"huge exponent", u"1E99999999999999999999", 0},
    {"hex beyond 32 bits", u"&H100000000", 0},
    {"octal beyond 32 bits", u"&O40000000000", 0},
};

const char16_t *const kNoNumber[] = {
    u"", u"   ", u"abc", u"12abc", u"1,2,3", u"1,2.3", u"--5", u"+-5", u"-5-", u"(-5)", u"-(5)", u"(5",
    u"5)", u"((5))", u"()", u"5 5", u"¤¤5", u"¤5¤", u"E5", u"1E", u"1E+", u"1E5,5", u"1E5.5", u",",
    u".", u"-", u"¤", u"&H", u"&", u"&HFG", u"&O8", u"-&HFF", u"&HFF-", u"(&HFF)", u"5%", u"0x10",
    u"1_000",
};

struct WriteCase {
    const char *name;
    double value;
    const char16_t *text;
};

const WriteCase kWritten[] = {
    {"whole", 80, u"80"},
    {"fraction", 0.8, u"0,8"},
    {"one third", 1.0 / 3, u"0,333333333333333"},
    {"two thirds rounds up", 2.0 / 3, u"0,666666666666667"},
    {"0.1 + 0.2", 0.1 + 0.2, u"0,3"},
    {"negative", -50, u"-50"},
    {"negative fraction", -0.5, u"-0,5"},
    {"zero", 0.0, u"0"},
    {"negative zero", -0.0, u"0"},
    {"no grouping", 100000000, u"100000000"},
    {"fraction digits", 123.456, u"123,456"},
    {"1E-04 positional", 0.0001, u"0,0001"},
    {"just below 1E-04 rounds to it", 0.00009999999999999999, u"0,0001"},
    {"below 1E-04", 0.0000999999999999999, u"9,99999999999999E-05"},
    {"8E-05", 0.00008, u"8E-05"},
    {"small with mantissa", 1.5e-7, u"1,5E-07"},
    {"15 digits positional", 999999999999999, u"999999999999999"},
    {"rounded at the 15th digit", 123456789012345.6, u"123456789012346"},
    {"exact tie rounds to even, down", 814724460757632.5, u"814724460757632"},
    {"exact tie rounds to even, up", 814724460757633.5, u"814724460757634"},
    {"rounds up to 1E+15", 999999999999999.5, u"1E+15"},
    {"1E+15", 1e15, u"1E+15"},
    {"2^50", 1125899906842624, u"1,12589990684262E+15"},
    {"1E+100", 1e100, u"1E+100"},
    {"1E-300", 1e-300, u"1E-300"},
    {"largest double", kMax, u"1,79769313486232E+308"},
    {"smallest subnormal", kTiny, u"4,94065645841247E-324"},
    {"negative large", -2.5e20, u"-2,5E+20"},
};

} // namespace

class TestNumberRules : public QObject {
    Q_OBJECT

private slots:
    void formatFromLocale_data();
    void formatFromLocale();
    void reads_data();
    void reads();
    void readFails_data();
    void readFails();
    void writes_data();
    void writes();
    void writeRejectsNonFinite();
    void roundTrip_data();
    void roundTrip();
    void readsLikeFromChars_data();
    void readsLikeFromChars();
    void checkedArithmetic_data();
    void checkedArithmetic();
    void checkedArithmeticMatchesFlags();
    void convert_data();
    void convert();
};

void TestNumberRules::formatFromLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("currency");
    QTest::newRow("tr") << QLocale(QLocale::Turkish, QLocale::Turkey) << u","_s << u"."_s << u"₺"_s;
    QTest::newRow("en") << QLocale(QLocale::English, QLocale::UnitedStates) << u"."_s << u","_s << u"$"_s;
}

void TestNumberRules::formatFromLocale()
{
    QFETCH(QLocale, locale);
    const NumberFormat format = NumberFormat::fromLocale(locale);
    qInfo() << locale.name() << "currency symbol" << locale.currencySymbol();
    QTEST(format.decimal, "decimal");
    QTEST(format.group, "group");
    QTEST(format.currency, "currency");
}

void TestNumberRules::reads_data()
{
    QTest::addColumn<NumberFormat>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    for (const auto &[locale, format] : formats()) {
        for (const ReadCase &row : kAccepted)
            QTest::addRow("%s: %s", locale, row.name) << format << localized(row.text, format) << row.value;
        const QString hundredDigits = u'1' + QString(100, u'0');
        QTest::addRow("%s: longer than the stack buffer", locale) << format << hundredDigits << 1e100;
        QTest::addRow("%s: long fraction", locale)
            << format << (u'0' + format.decimal + QString(400, u'0') + u'1') << 0.0;
        QTest::addRow("%s: long fraction in range", locale)
            << format << (u'0' + format.decimal + QString(300, u'0') + u"125"_s) << 1.25e-301;
    }
    const NumberFormat tr = formats()[0].format;
    const NumberFormat en = formats()[1].format;
    QTest::newRow("tr: full stop groups") << tr << u"1.5"_s << 15.0;
    QTest::newRow("en: comma groups") << en << u"1,5"_s << 15.0;
    QTest::newRow("en: full stop is decimal") << en << u"1.5"_s << 1.5;
    QTest::newRow("en: grouped with fraction") << en << u"1,250,000.75"_s << 1250000.75;
    QTest::newRow("tr: currency format of the locale") << tr << QLocale(QLocale::Turkish, QLocale::Turkey).toCurrencyString(-1234.5) << -1234.5;
    QTest::newRow("en: currency format of the locale") << en << QLocale(QLocale::English, QLocale::UnitedStates).toCurrencyString(-1234.5) << -1234.5;
}

void TestNumberRules::reads()
{
    QFETCH(NumberFormat, format);
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(exact(textToNumber(text, format)), exact(value));
}

void TestNumberRules::readFails_data()
{
    QTest::addColumn<NumberFormat>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    for (const auto &[locale, format] : formats()) {
        for (const char16_t *text : kNoNumber) {
            const QString shown = localized(text, format);
            QTest::addRow("%s: no number \"%s\"", locale, qPrintable(shown)) << format << shown << int(ErrorKind::TypeMismatch);
        }
        for (const ReadCase &row : kOverflow)
            QTest::addRow("%s: overflow %s", locale, row.name) << format << localized(row.text, format) << int(ErrorKind::Overflow);
        QTest::addRow("%s: overflow 400 digits", locale) << format << (u'1' + QString(400, u'0')) << int(ErrorKind::Overflow);
    }
    const NumberFormat tr = formats()[0].format;
    const NumberFormat en = formats()[1].format;
    QTest::newRow("en: two full stops") << en << u"1.250.000"_s << int(ErrorKind::TypeMismatch);
    QTest::newRow("tr: two commas") << tr << u"1,250,000"_s << int(ErrorKind::TypeMismatch);
    QTest::newRow("tr: foreign currency") << tr << u"$5"_s << int(ErrorKind::TypeMismatch);
    QTest::newRow("en: foreign currency") << en << u"₺5"_s << int(ErrorKind::TypeMismatch);
}

void TestNumberRules::readFails()
{
    QFETCH(NumberFormat, format);
    QFETCH(QString, text);
    QTEST(errorOf([&] { textToNumber(text, format); }), "kind");
}

void TestNumberRules::writes_data()
{
    QTest::addColumn<NumberFormat>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    for (const auto &[locale, format] : formats()) {
        for (const WriteCase &row : kWritten)
            QTest::addRow("%s: %s", locale, row.name) << format << row.value << localized(row.text, format);
    }
}

void TestNumberRules::writes()
{
    QFETCH(NumberFormat, format);
    QFETCH(double, value);
    QTEST(numberToText(value, format), "text");
}

void TestNumberRules::writeRejectsNonFinite()
{
    const NumberFormat format = formats()[0].format;
    QCOMPARE(errorOf([&] { numberToText(std::numeric_limits<double>::infinity(), format); }), int(ErrorKind::Overflow));
    QCOMPARE(errorOf([&] { numberToText(std::numeric_limits<double>::quiet_NaN(), format); }), int(ErrorKind::Overflow));
}

void TestNumberRules::roundTrip_data()
{
    QTest::addColumn<NumberFormat>("format");
    for (const auto &[locale, format] : formats())
        QTest::newRow(locale) << format;
}

// Any finite double written and read back is the double nearest its 15-digit rounding.
void TestNumberRules::roundTrip()
{
    QFETCH(NumberFormat, format);
    QRandomGenerator random(20010201);
    const QRegularExpression shape(u"^-?(0|[1-9][0-9]*)(%1[0-9]*[1-9])?(E[+-][0-9]{2,3})?$"_s
                                       .arg(QRegularExpression::escape(format.decimal)));
    for (int i = 0; i < 40000; ++i) {
        double value = 0;
        if (i % 2 == 0) {
            do {
                value = std::bit_cast<double>(random.generate64());
            } while (!std::isfinite(value));
        } else {
            // Everyday magnitudes, where the positional form and its boundaries are.
            value = random.generateDouble() * std::pow(10.0, random.bounded(-7, 19));
        }
        const QString text = numberToText(value, format);
        if (!shape.match(text).hasMatch())
            QFAIL(qPrintable(u"%1 written as %2"_s.arg(QString::fromLatin1(exact(value)), text)));
        if (exact(textToNumber(text, format)) != exact(value == 0 ? 0.0 : roundedTo15(value)))
            QFAIL(qPrintable(u"%1 written as %2 reads back as %3"_s.arg(QString::fromLatin1(exact(value)), text,
                                                                      QString::fromLatin1(exact(textToNumber(text, format))))));
    }
}

void TestNumberRules::readsLikeFromChars_data()
{
    roundTrip_data();
}

// Short numbers take a quicker road than std::from_chars; both must give the same double.
void TestNumberRules::readsLikeFromChars()
{
    QFETCH(NumberFormat, format);
    QRandomGenerator random(4096);
    for (int i = 0; i < 40000; ++i) {
        QByteArray ascii(random.bounded(0, 3), '0');
        const int digits = random.bounded(1, 19);
        for (int d = 0; d < digits; ++d)
            ascii += char('0' + random.bounded(10));
        ascii.insert(random.bounded(0, int(ascii.size()) + 1), '.');
        if (random.bounded(2))
            ascii += 'e' + QByteArray::number(random.bounded(-40, 41));
        double expected = 0;
        std::from_chars(ascii.constData(), ascii.constData() + ascii.size(), expected);
        QString text = QString::fromLatin1(ascii);
        text.replace(u'.', format.decimal);
        const double actual = textToNumber(text, format);
        if (exact(actual) != exact(expected))
            QFAIL(qPrintable(u"%1 reads as %2, not %3"_s.arg(text, QString::fromLatin1(exact(actual)),
                                                           QString::fromLatin1(exact(expected)))));
    }
}

void TestNumberRules::checkedArithmetic_data()
{
    QTest::addColumn<char>("op");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("result");
    QTest::addColumn<int>("kind");
    const int divZero = int(ErrorKind::DivisionByZero);
    const int overflow = int(ErrorKind::Overflow);
    QTest::newRow("add") << '+' << 7.0 << 2.0 << 9.0 << kNoError;
    QTest::newRow("add inexact at the top") << '+' << kMax << 1.0 << kMax << kNoError;
    QTest::newRow("add overflow") << '+' << 1e308 << 1e308 << 0.0 << overflow;
    QTest::newRow("subtract order") << '-' << 2.0 << 7.0 << -5.0 << kNoError;
    QTest::newRow("subtract overflow") << '-' << -kMax << kMax << 0.0 << overflow;
    QTest::newRow("multiply") << '*' << 7.0 << 2.0 << 14.0 << kNoError;
    QTest::newRow("multiply overflow") << '*' << 9e307 << 10.0 << 0.0 << overflow;
    QTest::newRow("multiply underflow") << '*' << 1e-200 << 1e-200 << 0.0 << kNoError;
    QTest::newRow("multiply to subnormal") << '*' << 1e-300 << 1e-10 << 1e-310 << kNoError;
    QTest::newRow("multiply by zero") << '*' << kMax << 0.0 << 0.0 << kNoError;
    QTest::newRow("divide") << '/' << 7.0 << 2.0 << 3.5 << kNoError;
    QTest::newRow("divide underflow") << '/' << 1e-300 << 1e300 << 0.0 << kNoError;
    QTest::newRow("divide overflow") << '/' << 1e308 << 1e-10 << 0.0 << overflow;
    QTest::newRow("divide by zero") << '/' << 5.0 << 0.0 << 0.0 << divZero;
    QTest::newRow("divide negative by zero") << '/' << -5.0 << 0.0 << 0.0 << divZero;
    QTest::newRow("divide by negative zero") << '/' << 5.0 << -0.0 << 0.0 << divZero;
    QTest::newRow("divide subnormal by zero") << '/' << kTiny << 0.0 << 0.0 << divZero;
    QTest::newRow("zero by zero") << '/' << 0.0 << 0.0 << 0.0 << overflow;
    QTest::newRow("zero by nonzero") << '/' << 0.0 << 5.0 << 0.0 << kNoError;
}

void TestNumberRules::checkedArithmetic()
{
    QFETCH(char, op);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, result);
    QFETCH(int, kind);
    double actual = 0;
    const auto run = [&] {
        switch (op) {
        case '+': actual = checkedAdd(a, b); break;
        case '-': actual = checkedSubtract(a, b); break;
        case '*': actual = checkedMultiply(a, b); break;
        default: actual = checkedDivide(a, b); break;
        }
    };
    QCOMPARE(errorOf(run), kind);
    if (kind == kNoError)
        QCOMPARE(exact(actual), exact(result));
}

// The checked operations test results instead of the exception flags; over finite edge values both
// must give the same error.
void TestNumberRules::checkedArithmeticMatchesFlags()
{
    const double edges[] = {0.0, -0.0, 1.0, -1.0, 0.5, 3.0, 1e154, 1e-170, 1e308, -1e308, kMax, -kMax,
                            std::numeric_limits<double>::min(), kTiny, -kTiny};
    using Checked = double (*)(double, double);
    const std::pair<Checked, std::function<double(double, double)>> ops[] = {
        {checkedAdd, std::plus<double>()},
        {checkedSubtract, std::minus<double>()},
        {checkedMultiply, std::multiplies<double>()},
        {checkedDivide, std::divides<double>()},
    };
    for (const auto &[checked, plain] : ops) {
        for (const double a : edges) {
            for (const double b : edges) {
                volatile double va = a;
                volatile double vb = b;
                std::feclearexcept(FE_ALL_EXCEPT);
                volatile double raw = plain(va, vb);
                Q_UNUSED(raw);
                const int flags = std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
                const int expected = (flags & FE_DIVBYZERO) ? int(ErrorKind::DivisionByZero)
                                     : flags                ? int(ErrorKind::Overflow)
                                                            : kNoError;
                const int actual = errorOf([&] { checked(a, b); });
                if (actual != expected)
                    QFAIL(qPrintable(u"%1, %2: error %3, flags say %4"_s.arg(QString::fromLatin1(exact(a)),
                                                                              QString::fromLatin1(exact(b)))
                                         .arg(actual)
                                         .arg(expected)));
            }
        }
    }
}

void TestNumberRules::convert_data()
{
    QTest::addColumn<NumberFormat>("format");
    QTest::addColumn<Direction>("direction");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("detail");
    const auto tl = Direction::TlToCurrency;
    const auto cur = Direction::CurrencyToTl;
    const int mismatch = int(ErrorKind::TypeMismatch);
    const int overflow = int(ErrorKind::Overflow);
    // The boxes' names are those convert() passes; the row's currency is Mark.
    const struct {
        const char *name;
        Direction direction;
        const char16_t *rate;
        const char16_t *amount;
        const char16_t *result;
        int kind;
        const char16_t *detail;
    } rows[] = {
        {"grouped rate and amount", tl, u"1.250.000", u"100.000.000", u"80", kNoError, u""},
        {"result not grouped", cur, u"1.250.000", u"80", u"100000000", kNoError, u""},
        {"one third", tl, u"3", u"1", u"0,333333333333333", kNoError, u""},
        {"small result in exponent form", tl, u"1.250.000", u"100", u"8E-05", kNoError, u""},
        {"rate with blanks", tl, u" 1.250.000 ", u"100.000.000", u"80", kNoError, u""},
        {"negative amount", tl, u"2", u"-100", u"-50", kNoError, u""},
        {"amount with currency", tl, u"2", u"(¤100)", u"-50", kNoError, u""},
        {"large result in exponent form", cur, u"1.000", u"1.000.000.000.000", u"1E+15", kNoError, u""},
        {"rate 0 divides", tl, u"0", u"5", u"", int(ErrorKind::DivisionByZero), u"Para birimi: Mark"},
        {"rate 0 amount 0", tl, u"0", u"0", u"", overflow, u"Para birimi: Mark"},
        {"rate 0 multiplies", cur, u"0", u"5", u"0", kNoError, u""},
        {"quotient beyond range", tl, u"1E-300", u"1E300", u"", overflow, u"Para birimi: Mark"},
        {"product beyond range", cur, u"1E200", u"1E200", u"", overflow, u"Para birimi: Mark"},
        {"quotient underflows", tl, u"1E300", u"1E-300", u"0", kNoError, u""},
        {"both empty", tl, u"", u"", u"", mismatch, u"Miktar kutusu \"\""},
        {"empty amount", cur, u"5", u"", u"", mismatch, u"Miktar kutusu \"\""},
        {"letters in rate", tl, u"abc", u"5", u"", mismatch, u"Kur kutusu \"abc\""},
        {"amount read first: letters", tl, u"1E999", u"abc", u"", mismatch, u"Miktar kutusu \"abc\""},
        {"amount read first: overflow", tl, u"abc", u"1E999", u"", overflow, u"Miktar kutusu \"1E999\""},
        {"rate read first: letters", cur, u"abc", u"1E999", u"", mismatch, u"Kur kutusu \"abc\""},
        {"rate read first: overflow", cur, u"1E999", u"abc", u"", overflow, u"Kur kutusu \"1E999\""},
        // The quoted text keeps twenty characters, the ellipsis among them.
        {"twenty characters quoted whole", cur, u"abcdefghijklmnopqrst", u"1", u"", mismatch,
         u"Kur kutusu \"abcdefghijklmnopqrst\""},
        {"longer text cut", tl, u"2", u"abcdefghijklmnopqrstu", u"", mismatch,
         u"Miktar kutusu \"abcdefghijklmnopqrs…\""},
        {"cut keeps a character whole", tl, u"2", u"aaaaaaaaaaaaaaaaaa😀b", u"", mismatch,
         u"Miktar kutusu \"aaaaaaaaaaaaaaaaaa…\""},
        {"line break quoted as a blank", cur, u"a\nb", u"1", u"", mismatch, u"Kur kutusu \"a b\""},
        // An override or isolate left in would turn the rest of the message's line around.
        {"override and isolate quoted as blanks", tl, u"2", u"ab\u202Ecd\u2066ef", u"", mismatch,
         u"Miktar kutusu \"ab cd ef\""},
        {"every direction control quoted as a blank", cur,
         u"x\u061C\u200E\u200F\u202A\u202B\u202C\u202D\u202E\u2066\u2067\u2068\u2069y", u"1", u"", mismatch,
         u"Kur kutusu \"x            y\""},
    };
    for (const auto &[locale, format] : formats()) {
        for (const auto &row : rows) {
            QTest::addRow("%s: %s %s", locale, row.direction == tl ? "TL->currency" : "currency->TL", row.name)
                << format << row.direction << localized(row.rate, format) << localized(row.amount, format)
                << localized(row.result, format) << row.kind << QString::fromUtf16(row.detail);
        }
    }
}

void TestNumberRules::convert()
{
    QFETCH(NumberFormat, format);
    QFETCH(Direction, direction);
    QFETCH(QString, rate);
    QFETCH(QString, amount);
    QFETCH(int, kind);
    QString result;
    int failure = kNoError;
    QString detail;
    try {
        result = convertTexts(direction, rate, amount, {u"Kur kutusu", u"Miktar kutusu", u"Mark"}, format);
    } catch (const RuntimeError &error) {
        failure = int(error.kind());
        detail = error.detail();
    }
    QCOMPARE(failure, kind);
    QTEST(detail, "detail");
    if (kind == kNoError)
        QTEST(result, "result");
}

QTEST_GUILESS_MAIN(TestNumberRules)
#include "tst_numberrules.moc"
