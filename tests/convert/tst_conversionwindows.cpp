#include "convert/conversionwindow.h"
#include "shell/types/currency.h"
#include "shell/types/errors.h"
#include "shell/mdiform1.h"
#include "shell/services/look.h"
#include "shell/services/widgets.h"
#include "support/windowfixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>

using namespace Qt::StringLiterals;
using varnek::WindowName;

class ConversionWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void enterConverts_data();
    void enterConverts();
    void failureKeepsResultAndReports_data();
    void failureKeepsResultAndReports();
    void otherKeysAreTypedAndConvertNothing();
    void enterInRateOrResultBoxDoesNothing();
    void changingRateRecomputes();
    void layoutMatchesTheTables_data();
    void layoutMatchesTheTables();
    void tabOrderAndFirstFocus_data();
    void tabOrderAndFirstFocus();
    void closedWindowComesBackEmpty();
    void doubleClickOnMinimisedTitleBarRestores_data();
    void doubleClickOnMinimisedTitleBarRestores();
    void longTextsArriveWhole_data();
    void longTextsArriveWhole();

private:
    static void addInputColumns();
    QWidget *conversionWindow(const QString &name);
    QLineEdit *typeIntoRow(QWidget *window, int row, const QString &rate, const QString &amount);
    QLineEdit *line(QWidget *window, const QString &name) { return m_fixture->control<QLineEdit>(window, name); }
    QPlainTextEdit *result(QWidget *window, const QString &name)
    {
        return m_fixture->control<QPlainTextEdit>(window, name);
    }
    QString resultText(QWidget *window, const QString &name) { return result(window, name)->toPlainText(); }

    std::optional<WindowFixture> m_fixture;
};

namespace {

const QString tl = u"atldendovize"_s;
const QString dtl = u"adovizdentlye"_s;

struct RowBoxes {
    QString rate, amount, result;
};

const RowBoxes rows[] = {
    {u"Dolarsatilis"_s, u"Paramiktari"_s, u"Sonucdolar"_s},
    {u"Marksatilis"_s, u"Paramiktari2"_s, u"Sonucmark"_s},
    {u"Sterlinsatilis"_s, u"Paramiktari3"_s, u"Sonucsterlin"_s},
    {u"Franksatilis"_s, u"Paramiktari4"_s, u"Sonucfrank"_s},
};

} // namespace

void ConversionWindowsTest::init()
{
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    m_fixture.emplace();
    m_fixture->registry.show(WindowName::MDIForm1);
}

void ConversionWindowsTest::cleanup() { m_fixture.reset(); }

QWidget *ConversionWindowsTest::conversionWindow(const QString &name)
{
    return m_fixture->registry.window(name == tl ? WindowName::atldendovize : WindowName::adovizdentlye);
}

// Which window and row (0 to 3) a case types into, and the texts for its rate and amount boxes.
void ConversionWindowsTest::addInputColumns()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("amount");
}

// Returns the amount box, where Enter converts.
QLineEdit *ConversionWindowsTest::typeIntoRow(QWidget *window, int row, const QString &rate, const QString &amount)
{
    WindowFixture::type(line(window, rows[row].rate), rate);
    QLineEdit *amountBox = line(window, rows[row].amount);
    WindowFixture::type(amountBox, amount);
    return amountBox;
}

void ConversionWindowsTest::enterConverts_data()
{
    addInputColumns();
    QTest::addColumn<QString>("expected");

    for (int row = 0; row < 4; ++row) {
        const QByteArray r = QByteArray::number(row + 1);
        QTest::newRow("tl->currency grouped rate, row " + r) << tl << row << u"1.250.000"_s << u"100.000.000"_s << u"80"_s;
        QTest::newRow("currency->tl no grouping in result, row " + r) << dtl << row << u"1.250.000"_s << u"80"_s
                                                                        << u"100000000"_s;
    }
    QTest::newRow("one third") << tl << 0 << u"3"_s << u"1"_s << u"0,333333333333333"_s;
    QTest::newRow("small result in exponent form") << tl << 1 << u"1.250.000"_s << u"100"_s << u"8E-05"_s;
    QTest::newRow("negative amount") << tl << 2 << u"2"_s << u"-100"_s << u"-50"_s;
    QTest::newRow("rate with blanks around") << tl << 3 << u"  1.250.000  "_s << u"2.500.000"_s << u"2"_s;
    QTest::newRow("large result in exponent form") << dtl << 0 << u"1.000"_s << u"1.000.000.000.000"_s << u"1E+15"_s;
    QTest::newRow("zero rate multiplies to zero") << dtl << 1 << u"0"_s << u"55"_s << u"0"_s;
    QTest::newRow("decimal comma") << dtl << 2 << u"1,5"_s << u"3"_s << u"4,5"_s;
    QTest::newRow("turkish full stop is a group separator") << dtl << 3 << u"1.5"_s << u"2"_s << u"30"_s;
    QTest::newRow("underflow is written") << tl << 0 << u"1E+300"_s << u"1E-300"_s << u"0"_s;
}

void ConversionWindowsTest::enterConverts()
{
    QFETCH(QString, window);
    QFETCH(int, row);
    QFETCH(QString, rate);
    QFETCH(QString, amount);
    QFETCH(QString, expected);

    QWidget *w = conversionWindow(window);
    const RowBoxes &boxes = rows[row];
    QLineEdit *amountBox = typeIntoRow(w, row, rate, amount);
    QTest::keyClick(amountBox, Qt::Key_Return);

    QCOMPARE(resultText(w, boxes.result), expected);
    QCOMPARE(line(w, boxes.rate)->text(), rate);
    QCOMPARE(amountBox->text(), amount);
    QCOMPARE(m_fixture->services.messages.size(), 0);
    // The other rows are untouched.
    for (int other = 0; other < 4; ++other)
        if (other != row)
            QCOMPARE(resultText(w, rows[other].result), QString());
}

void ConversionWindowsTest::failureKeepsResultAndReports_data()
{
    addInputColumns();
    QTest::addColumn<varnek::ErrorKind>("kind");
    QTest::addColumn<QString>("detail"); // the message's second line

    using K = varnek::ErrorKind;
    const int mark = 1;
    QTest::newRow("empty amount") << tl << mark << u"2"_s << QString() << K::TypeMismatch
                                  << u"Para Miktarı: (TL), Mark \"\""_s;
    QTest::newRow("both empty") << dtl << mark << QString() << QString() << K::TypeMismatch
                                << u"Markın Satılış Fiyatı: \"\""_s;
    QTest::newRow("letters in the rate") << dtl << mark << u"abc"_s << u"1"_s << K::TypeMismatch
                                         << u"Markın Satılış Fiyatı: \"abc\""_s;
    QTest::newRow("zero rate, non-zero amount") << tl << mark << u"0"_s << u"5"_s << K::DivisionByZero
                                                << u"Para birimi: Mark"_s;
    QTest::newRow("zero rate, zero amount") << tl << mark << u"0"_s << u"0"_s << K::Overflow << u"Para birimi: Mark"_s;
    QTest::newRow("number beyond double range") << dtl << mark << u"1E309"_s << u"1"_s << K::Overflow
                                                << u"Markın Satılış Fiyatı: \"1E309\""_s;
    QTest::newRow("quotient beyond double range") << tl << mark << u"1E-300"_s << u"1E+300"_s << K::Overflow
                                                  << u"Para birimi: Mark"_s;
    QTest::newRow("product beyond double range") << dtl << mark << u"1E+300"_s << u"1E+300"_s << K::Overflow
                                                 << u"Para birimi: Mark"_s;
    // The text read first decides: the amount in one window, the rate in the other.
    QTest::newRow("tl->currency reads amount first") << tl << mark << u"1E999"_s << u"abc"_s << K::TypeMismatch
                                                     << u"Para Miktarı: (TL), Mark \"abc\""_s;
    QTest::newRow("currency->tl reads rate first") << dtl << mark << u"1E999"_s << u"abc"_s << K::Overflow
                                                   << u"Markın Satılış Fiyatı: \"1E999\""_s;
    // Each window names its boxes by their captions; the currency joins a caption other rows share.
    QTest::newRow("tl->currency amount of the dollar row") << tl << 0 << u"2"_s << u"on beş"_s << K::TypeMismatch
                                                            << u"Para Miktarı: (TL), Dolar \"on beş\""_s;
    QTest::newRow("currency->tl amount of the dollar row") << dtl << 0 << u"2"_s << u"on beş"_s << K::TypeMismatch
                                                            << u"Dolar Miktarı: \"on beş\""_s;
    QTest::newRow("tl->currency rate of the franc row") << tl << 3 << u"1E999"_s << u"5"_s << K::Overflow
                                                         << u"Frankın Satılış Fiyatı: \"1E999\""_s;
    QTest::newRow("currency->tl amount beyond double range") << dtl << 3 << u"2"_s << u"-1E400"_s << K::Overflow
                                                              << u"Frankın Miktarı: \"-1E400\""_s;
    QTest::newRow("sterling rate cut short") << dtl << 2 << u"bir milyon iki yüz elli bin"_s << u"1"_s
                                             << K::TypeMismatch << u"Sterlinin Satılış Fiyatı: \"bir milyon iki yüz …\""_s;
    QTest::newRow("division by zero names the franc") << tl << 3 << u"0"_s << u"-5"_s << K::DivisionByZero
                                                      << u"Para birimi: Frank"_s;
    QTest::newRow("product beyond range names the dollar") << dtl << 0 << u"1E+200"_s << u"1E+200"_s << K::Overflow
                                                           << u"Para birimi: Dolar"_s;
}

void ConversionWindowsTest::failureKeepsResultAndReports()
{
    QFETCH(QString, window);
    QFETCH(int, row);
    QFETCH(QString, rate);
    QFETCH(QString, amount);
    QFETCH(varnek::ErrorKind, kind);
    QFETCH(QString, detail);

    QWidget *w = conversionWindow(window);
    const RowBoxes &boxes = rows[row];
    QPlainTextEdit *resultBox = result(w, boxes.result);
    resultBox->setPlainText(u"önceki"_s);
    QLineEdit *amountBox = typeIntoRow(w, row, rate, amount);
    QTest::keyClick(amountBox, Qt::Key_Enter);

    ScriptedServices &services = m_fixture->services;
    QCOMPARE(resultBox->toPlainText(), u"önceki"_s);
    QCOMPARE(services.onlyMessageKind(), varnek::errorKindText(kind));
    QCOMPARE(services.messages.front().text, varnek::errorKindText(kind) + u'\n' + detail);
    QCOMPARE(services.messages.front().title, u"Varnek Otomasyon v1.6"_s);
    QCOMPARE(services.messages.front().icon, varnek::Services::Icon::Warning);
    // The program goes on: the same window still converts.
    services.messages.clear();
    line(w, boxes.rate)->setText(u"2"_s);
    amountBox->setText(u"8"_s);
    QTest::keyClick(amountBox, Qt::Key_Return);
    QCOMPARE(resultBox->toPlainText(), window == tl ? u"4"_s : u"16"_s);
}

void ConversionWindowsTest::otherKeysAreTypedAndConvertNothing()
{
    QWidget *w = conversionWindow(tl);
    line(w, u"Dolarsatilis"_s)->setText(u"2"_s);
    QLineEdit *amount = line(w, u"Paramiktari"_s);
    WindowFixture::type(amount, u"4ğ"_s);
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(amount->text(), u"4ğ"_s);
    QCOMPARE(resultText(w, u"Sonucdolar"_s), QString());
    QVERIFY(m_fixture->services.messages.isEmpty());
}

void ConversionWindowsTest::enterInRateOrResultBoxDoesNothing()
{
    for (const QString &name : {tl, dtl}) {
        QWidget *w = conversionWindow(name);
        line(w, u"Dolarsatilis"_s)->setText(u"2"_s);
        line(w, u"Paramiktari"_s)->setText(u"4"_s);
        QTest::keyClick(line(w, u"Dolarsatilis"_s), Qt::Key_Return);
        QCOMPARE(resultText(w, u"Sonucdolar"_s), QString());
        QPlainTextEdit *dollarResult = result(w, u"Sonucdolar"_s);
        QTest::keyClick(dollarResult, Qt::Key_Return);
        QCOMPARE(dollarResult->toPlainText(), u"\n"_s); // the box takes the line break, nothing converts
        QVERIFY(m_fixture->services.messages.isEmpty());
    }
}

void ConversionWindowsTest::changingRateRecomputes()
{
    QWidget *w = conversionWindow(dtl);
    QLineEdit *rate = line(w, u"Franksatilis"_s);
    QLineEdit *amount = line(w, u"Paramiktari4"_s);
    rate->setText(u"3"_s);
    amount->setText(u"2"_s);
    QTest::keyClick(amount, Qt::Key_Return);
    QTest::keyClick(amount, Qt::Key_Return);
    QCOMPARE(resultText(w, u"Sonucfrank"_s), u"6"_s);
    rate->setText(u"0,5"_s);
    QTest::keyClick(amount, Qt::Key_Return);
    QCOMPARE(resultText(w, u"Sonucfrank"_s), u"1"_s);
}

void ConversionWindowsTest::layoutMatchesTheTables_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");

    QTest::newRow("tl rate box") << tl << u"Dolarsatilis"_s << QRect(24, 32, 89, 19) << QString();
    QTest::newRow("tl result box") << tl << u"Sonucfrank"_s << QRect(128, 296, 81, 57) << QString();
    QTest::newRow("tl label 1") << tl << u"Label1"_s << QRect(24, 16, 105, 17) << u"Doların Satılış Fiyatı:"_s;
    QTest::newRow("tl label 9") << tl << u"Label9"_s << QRect(128, 192, 97, 17) << u"Sonuç: (Sterlin)"_s;
    QTest::newRow("tl label 11") << tl << u"Label11"_s << QRect(24, 320, 97, 17) << u"Para Miktarı: (TL)"_s;
    QTest::newRow("dtl label 9") << dtl << u"Label9"_s << QRect(128, 192, 89, 17) << u"Sonuç: (TL)"_s;
    QTest::newRow("dtl label 12") << dtl << u"Label12"_s << QRect(128, 280, 81, 17) << u"Sonuç: (TL)"_s;
    QTest::newRow("dtl label 11") << dtl << u"Label11"_s << QRect(24, 320, 97, 17) << u"Frankın Miktarı:"_s;
    QTest::newRow("dtl amount 3") << dtl << u"Paramiktari3"_s << QRect(24, 248, 89, 19) << QString();
    // A green strip two pixels wide, centred on the drawn line: it starts a pixel before it.
    QTest::newRow("tl top line") << tl << u"Line5"_s << QRect(7, 7, 218, 2) << QString();
    QTest::newRow("dtl right line") << dtl << u"Line6"_s << QRect(223, 7, 2, 362) << QString();
}

void ConversionWindowsTest::layoutMatchesTheTables()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);

    QWidget *w = conversionWindow(window);
    auto *widget = m_fixture->control<QWidget>(w, control);
    QCOMPARE(widget->geometry(), geometry);
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    // Texts are bright green; a line is a strip of a darker green.
    if (dynamic_cast<varnek::Line *>(widget))
        QCOMPARE(widget->palette().color(widget->backgroundRole()), varnek::lineGreen);
    else
        QCOMPARE(widget->palette().color(widget->foregroundRole()), QColor(0, 255, 0));
    QCOMPARE(w->findChildren<QLineEdit *>().size(), 8);
    QCOMPARE(w->findChildren<QPlainTextEdit *>().size(), 4);
    QCOMPARE(w->findChildren<QLabel *>().size(), 12);
    QCOMPARE(w->windowTitle(), window == tl ? u"[ TL->Döviz ]"_s : u"[ Döviz->TL ]"_s);
    QVERIFY(!(w->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
}

void ConversionWindowsTest::tabOrderAndFirstFocus_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("tl->currency") << tl
                                  << QStringList{u"Dolarsatilis"_s,   u"Paramiktari"_s,  u"Sonucdolar"_s,
                                                 u"Marksatilis"_s,    u"Paramiktari2"_s, u"Sonucmark"_s,
                                                 u"Sterlinsatilis"_s, u"Paramiktari3"_s, u"Sonucsterlin"_s,
                                                 u"Franksatilis"_s,   u"Paramiktari4"_s, u"Sonucfrank"_s};
    QTest::newRow("currency->tl") << dtl
                                  << QStringList{u"Sonucfrank"_s,   u"Paramiktari4"_s, u"Franksatilis"_s,
                                                 u"Paramiktari3"_s, u"Sterlinsatilis"_s, u"Sonucsterlin"_s,
                                                 u"Dolarsatilis"_s, u"Paramiktari"_s,  u"Marksatilis"_s,
                                                 u"Paramiktari2"_s, u"Sonucdolar"_s,   u"Sonucmark"_s};
}

void ConversionWindowsTest::tabOrderAndFirstFocus()
{
    QFETCH(QString, window);
    QFETCH(QStringList, order);

    auto *w = static_cast<QMdiSubWindow *>(conversionWindow(window));
    m_fixture->registry.setChildState(window == tl ? WindowName::atldendovize : WindowName::adovizdentlye,
                              Qt::WindowNoState);
    QVERIFY(QTest::qWaitForWindowActive(w->window()));
    QCOMPARE(QApplication::focusWidget()->objectName(), order.front());
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
    }
}

void ConversionWindowsTest::closedWindowComesBackEmpty()
{
    QWidget *w = conversionWindow(tl);
    line(w, u"Dolarsatilis"_s)->setText(u"5"_s);
    w->close();
    WindowFixture::deleteClosed();
    QVERIFY(!m_fixture->registry.existing(WindowName::atldendovize));
    QWidget *again = conversionWindow(tl);
    QCOMPARE(line(again, u"Dolarsatilis"_s)->text(), QString());
    QVERIFY(again->isMinimized());
}

void ConversionWindowsTest::doubleClickOnMinimisedTitleBarRestores_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("usedBefore"); // opened, then minimised by the user
    QTest::newRow("tl->currency, as it starts") << tl << false;
    QTest::newRow("currency->tl, as it starts") << dtl << false;
    QTest::newRow("tl->currency, minimised by the user") << tl << true;
    QTest::newRow("currency->tl, minimised by the user") << dtl << true;
}

void ConversionWindowsTest::doubleClickOnMinimisedTitleBarRestores()
{
    QFETCH(QString, window);
    QFETCH(bool, usedBefore);
    auto *w = static_cast<QMdiSubWindow *>(conversionWindow(window));
    QVERIFY(QTest::qWaitForWindowActive(w->window()));
    std::optional<QRect> normal;
    if (usedBefore) {
        w->showNormal();
        normal = w->geometry();
        w->showMinimized();
    }
    // Another window is the active one, as when the user comes back to this one.
    auto *area = static_cast<varnek::MDIForm1 *>(m_fixture->registry.existing(WindowName::MDIForm1))->workspace();
    area->setActiveSubWindow(static_cast<QMdiSubWindow *>(conversionWindow(window == tl ? dtl : tl)));
    QVERIFY(w->isMinimized());

    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(w->width() / 2, w->height() / 2));
    QVERIFY(!w->isMinimized());
    QVERIFY(w->widget()->isVisible());
    QCOMPARE(w->widget()->geometry(), w->contentsRect());
    QCOMPARE(area->activeSubWindow(), w);
    if (normal)
        QCOMPARE(w->geometry(), *normal);
}

void ConversionWindowsTest::longTextsArriveWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("tl->currency") << tl;
    QTest::newRow("currency->tl") << dtl;
}

// A pasted rate reaches the rate box whole, as the rate-entry window holds it, and so does an
// amount pasted into its box; a one-line box would otherwise stop at 32767 characters.
void ConversionWindowsTest::longTextsArriveWhole()
{
    QFETCH(QString, window);
    QWidget *w = conversionWindow(window);
    const QString text = QString(40000, u'5');
    for (const varnek::Currency currency : varnek::allCurrencies) {
        const RowBoxes &row = rows[varnek::currencyIndex(currency)];
        // The way "Tabloya Yapıştır" sets it.
        m_fixture->registry.setRate(window == tl ? WindowName::atldendovize : WindowName::adovizdentlye, currency, text);
        QCOMPARE(line(w, row.rate)->text().size(), text.size());
        line(w, row.amount)->setText(text);
        QCOMPARE(line(w, row.amount)->text().size(), text.size());
    }
}

QTEST_MAIN(ConversionWindowsTest)
#include "tst_conversionwindows.moc"
