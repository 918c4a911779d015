#include "shell/types/errors.h"
#include "calculator/rules/leadingnumber.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;
using namespace varnek;

Q_DECLARE_METATYPE(varnek::NumberFormat)

namespace {

constexpr int kNoError = -1;

QByteArray exact(double value)
{
    return QByteArray::number(value, 'g', 17);
}

struct Case {
    const char *name;
    const char16_t *text;
    double turkish; // read with a comma decimal separator
    double english; // read with a full stop decimal separator
};

const Case kCases[] = {
    {"empty", u"", 0, 0},
    {"blanks only", u"  \t ", 0, 0},
    {"whole", u"7", 7, 7},
    {"trailing letters", u"12abc", 12, 12},
    {"leading letters", u"abc12", 0, 0},
    {"second point ends", u"1.2.3", 1.2, 1.2},
    {"full stop is a point everywhere", u"1.000", 1, 1},
    {"point without digits after", u"5.", 5, 5},
    {"point without digits before", u".5", 0.5, 0.5},
    {"negative point without digits before", u"-.5", -0.5, -0.5},
    {"plus", u"+7", 7, 7},
    {"minus, blank, digit", u"- 4", -4, -4},
    {"blank inside digits", u"1 000", 1000, 1000},
    {"tab and line feed inside digits", u"1\t0\n0", 100, 100},
    {"two signs", u"--4", 0, 0},
    {"sign alone", u"-", 0, 0},
    {"point alone", u".", 0, 0},
    {"comma alone", u",", 0, 0},
    {"exponent", u"1e3", 1000, 1000},
    {"exponent upper case with sign", u"1.5E+3", 1500, 1500},
    {"negative exponent", u"1e-2", 0.01, 0.01},
    {"exponent then letters", u"1E2x", 100, 100},
    {"exponent with blank", u"1 e 3", 1000, 1000},
    {"exponent without digits", u"1e", 1, 1},
    {"exponent sign without digits", u"1e+", 1, 1},
    {"exponent letter only", u"e5", 0, 0},
    {"comma decimal", u"2,5", 2.5, 2},
    {"comma then comma", u"1,2,3", 1.2, 1},
    {"comma then full stop", u"1,2.3", 1.2, 1},
    {"full stop then comma", u"1.2,3", 1.2, 1.2},
    {"comma with exponent", u"1,5e2", 150, 1},
    {"currency before", u"₺5", 0, 0},
    {"dollar before", u"$5", 0, 0},
    {"currency after", u"5₺", 5, 5},
    {"hex", u"&HFF", 255, 255},
    {"hex lower case", u"&hff", 255, 255},
    {"hex with blanks", u" & H F F ", 255, 255},
    {"hex 16-bit all ones", u"&HFFFF", -1, -1},
    {"hex 16-bit sign bit", u"&H8000", -32768, -32768},
    {"hex just beyond 16 bits", u"&H10000", 65536, 65536},
    {"hex 32-bit all ones", u"&HFFFFFFFF", -1, -1},
    {"hex 32-bit sign bit", u"&H80000000", -2147483648.0, -2147483648.0},
    {"hex 32-bit largest", u"&H7FFFFFFF", 2147483647, 2147483647},
    {"hex 32-bit high half", u"&HFFFF0000", -65536, -65536},
    {"hex then letters", u"&HFFz", 255, 255},
    {"hex without digits", u"&H", 0, 0},
    {"hex with a non-digit", u"&HG", 0, 0},
    {"octal", u"&O17", 15, 15},
    {"octal lower case", u"&o10", 8, 8},
    {"octal stops at 8", u"&O18", 1, 1},
    {"octal 16-bit all ones", u"&O177777", -1, -1},
    {"sign before hex", u"-&HFF", 0, 0},
    {"ampersand alone", u"&", 0, 0},
    {"ampersand and other letter", u"&X1", 0, 0},
    {"largest below the range", u"1.79e308", 1.79e308, 1.79e308},
    {"subnormal", u"4.9e-324", std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::denorm_min()},
    {"underflow", u"1e-400", 0, 0},
};

const char16_t *const kOverflow[] = {
    u"9e999", u"-9e999", u"1.8e308", u"9e999abc", u"&H100000000", u"&HFFFFFFFFF", u"&O40000000000",
};

} // namespace

class TestLeadingNumber : public QObject {
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
};

void TestLeadingNumber::reads_data()
{
    QTest::addColumn<NumberFormat>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("kind");
    const NumberFormat tr = NumberFormat::fromLocale(QLocale(QLocale::Turkish, QLocale::Turkey));
    const NumberFormat en = NumberFormat::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const Case &row : kCases) {
        const QString text = QString::fromUtf16(row.text);
        QTest::addRow("tr: %s", row.name) << tr << text << row.turkish << kNoError;
        QTest::addRow("en: %s", row.name) << en << text << row.english << kNoError;
    }
    for (const char16_t *overflow : kOverflow) {
        const QString text = QString::fromUtf16(overflow);
        QTest::addRow("tr: overflow %s", qPrintable(text)) << tr << text << 0.0 << int(ErrorKind::Overflow);
        QTest::addRow("en: overflow %s", qPrintable(text)) << en << text << 0.0 << int(ErrorKind::Overflow);
    }
}

void TestLeadingNumber::reads()
{
    QFETCH(NumberFormat, format);
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(int, kind);
    try {
        const double actual = leadingNumber(text, format);
        QCOMPARE(kNoError, kind);
        QCOMPARE(exact(actual), exact(value));
    } catch (const RuntimeError &error) {
        QCOMPARE(int(error.kind()), kind);
    }
}

QTEST_GUILESS_MAIN(TestLeadingNumber)
#include "tst_leadingnumber.moc"
