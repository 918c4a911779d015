#include "shell/types/errors.h"
#include "convert/rules/numberrules.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace varnek;

// The program reads and writes numbers in the format of the user's locale as the system reports
// it: on Linux from LANG and LC_*, on Windows from the user's regional settings, which Wine takes
// from LANG and LC_* when it starts a program. A program learns its locale when it starts, so
// CTest runs this test once per locale and names the locale it gave in VARNEK_USER_LOCALE.
class SystemLocaleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void systemReportsTheUserLocale();
    void numbersBothWays_data();
    void numbersBothWays();

private:
    QString m_expected;
};

void SystemLocaleTest::initTestCase()
{
    m_expected = qEnvironmentVariable("VARNEK_USER_LOCALE");
    if (m_expected.isEmpty())
        QSKIP("VARNEK_USER_LOCALE does not say which locale this run was given");
}

void SystemLocaleTest::systemReportsTheUserLocale()
{
    QCOMPARE(QLocale().name(), m_expected);
    // Qt takes the currency from LC_MONETARY, the numbers from LC_NUMERIC.
    QCOMPARE(QLocale().currencySymbol(), QLocale(m_expected).currencySymbol());
}

void SystemLocaleTest::numbersBothWays_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("written");

    struct Row {
        const char *locale;
        const char *name;
        const char16_t *text;
        double value;
        const char16_t *written;
    };
    const Row rows[] = {
        {"tr_TR", "comma is the decimal", u"1,5", 1.5, u"1,5"},
        {"tr_TR", "full stop groups", u"1.250,75", 1250.75, u"1250,75"},
        {"tr_TR", "a lone full stop groups too", u"1.5", 15, u"15"},
        {"en_US", "full stop is the decimal", u"1.5", 1.5, u"1.5"},
        {"en_US", "comma groups", u"1,250.75", 1250.75, u"1250.75"},
        {"en_US", "a lone comma groups too", u"1,5", 15, u"15"},
        {"C", "full stop is the decimal", u"1.5", 1.5, u"1.5"},
        {"C", "comma groups", u"1,250.75", 1250.75, u"1250.75"},
    };
    for (const Row &row : rows) {
        if (m_expected == QLatin1StringView(row.locale))
            QTest::newRow(row.name) << QString::fromUtf16(row.text) << row.value << QString::fromUtf16(row.written);
    }
}

void SystemLocaleTest::numbersBothWays()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(QString, written);
    const NumberFormat format = NumberFormat::fromLocale(QLocale());
    QCOMPARE(textToNumber(text, format), value);
    QCOMPARE(numberToText(value, format), written);
}

QTEST_GUILESS_MAIN(SystemLocaleTest)
#include "tst_systemlocale.moc"
