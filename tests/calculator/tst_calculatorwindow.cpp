#include "shell/types/errors.h"
#include "support/tables.h"
#include "support/windowfixture.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QTest>
#include <QToolTip>

using namespace Qt::StringLiterals;
using varnek::WindowName;

class CalculatorWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void operationWritesResult_data();
    void operationWritesResult();
    void freshWindowAddsAndFailsToDivide();
    void failureKeepsAllBoxes_data();
    void failureKeepsAllBoxes();
    void typingIsLimited_data();
    void typingIsLimited();
    void picturesShowMessages_data();
    void picturesShowMessages();
    void releaseOutsideIsNoClick();
    void closingDiscardsTheBoxes_data();
    void closingDiscardsTheBoxes();
    void showingAgainKeepsTheWindow();
    void enterAndEscDoNothing();
    void layoutMatchesTheTable_data();
    void layoutMatchesTheTable();
    void tabOrderSkipsTheLabels();

private:
    QWidget *calculator() { return m_fixture->registry.window(WindowName::hesapmakinesi); }
    QLineEdit *box(const QString &name) { return m_fixture->control<QLineEdit>(calculator(), name); }
    // The operation labels and the pictures are buttons; the captions are labels.
    QWidget *control(const QString &name) { return m_fixture->control<QWidget>(calculator(), name); }
    void click(const QString &name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    void fill(const QString &first, const QString &second);
    QStringList boxTexts();
    // The tooltip shown over the box, and the description a screen reader is given.
    static QStringList toldOf(QWidget *box)
    {
        QHelpEvent help(QEvent::ToolTip, box->rect().center(), box->mapToGlobal(box->rect().center()));
        QApplication::sendEvent(box, &help);
        return {help.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString(),
                QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description)};
    }

    std::optional<WindowFixture> m_fixture;
};

void CalculatorWindowTest::init()
{
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    m_fixture.emplace();
    m_fixture->registry.show(WindowName::hesapmakinesi);
}

void CalculatorWindowTest::cleanup() { m_fixture.reset(); }

void CalculatorWindowTest::fill(const QString &first, const QString &second)
{
    box(u"Sayibir"_s)->clear();
    WindowFixture::type(box(u"Sayibir"_s), first);
    box(u"Sayiiki"_s)->clear();
    WindowFixture::type(box(u"Sayiiki"_s), second);
}

QStringList CalculatorWindowTest::boxTexts()
{
    return {box(u"Sayibir"_s)->text(), box(u"Sayiiki"_s)->text(), box(u"Sonuc"_s)->text()};
}

void CalculatorWindowTest::operationWritesResult_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("expected");

    const QLocale tr(QLocale::Turkish, QLocale::Turkey);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QString add = u"Label1"_s, subtract = u"Label2"_s, multiply = u"Label3"_s, divide = u"Label4"_s;

    QTest::newRow("7 Topla 2") << tr << u"7"_s << u"2"_s << add << u"9"_s;
    QTest::newRow("7 Çıkar 2") << tr << u"7"_s << u"2"_s << subtract << u"5"_s;
    QTest::newRow("7 Çarp 2") << tr << u"7"_s << u"2"_s << multiply << u"14"_s;
    QTest::newRow("7 Böl 2, turkish") << tr << u"7"_s << u"2"_s << divide << u"3,5"_s;
    QTest::newRow("7 Böl 2, english") << en << u"7"_s << u"2"_s << divide << u"3.5"_s;
    QTest::newRow("first minus second") << tr << u"2"_s << u"7"_s << subtract << u"-5"_s;
    QTest::newRow("first divided by second") << tr << u"2"_s << u"8"_s << divide << u"0,25"_s;
    QTest::newRow("comma is the decimal point in turkish") << tr << u"1,5"_s << u"1"_s << add << u"2,5"_s;
    QTest::newRow("comma ends the number in english") << en << u"1,5"_s << u"1"_s << add << u"2"_s;
    QTest::newRow("full stop is a decimal point in turkish") << tr << u"1.5"_s << u"1"_s << add << u"2,5"_s;
    QTest::newRow("own result reads back") << tr << u"3,5"_s << u"2"_s << multiply << u"7"_s;
    QTest::newRow("long result written in full") << tr << u"123456789"_s << u"987654321"_s << multiply
                                                 << u"1,21932631112635E+17"_s;
    QTest::newRow("fifteen digits") << tr << u"1"_s << u"3"_s << divide << u"0,333333333333333"_s;
    QTest::newRow("text reads as zero") << tr << u"&HFF"_s << u"ğabc"_s << add << u"255"_s;
    QTest::newRow("blanks ignored, letters end") << en << u"1 000x"_s << u"- 4"_s << subtract << u"1004"_s;
    QTest::newRow("underflow is written") << en << u"1E-300"_s << u"1E-300"_s << multiply << u"0"_s;
    QTest::newRow("result wider than its box") << tr << u"999999999"_s << u"999999999"_s << multiply
                                               << u"9,99999998E+17"_s;
    // The box shows nine characters, not ten; the tooltip holds them all.
    QTest::newRow("ten characters are cut") << tr << u"1"_s << u"999999999"_s << subtract << u"-999999998"_s;
    QTest::newRow("nine characters fit") << tr << u"999999999"_s << u"0"_s << add << u"999999999"_s;
}

void CalculatorWindowTest::operationWritesResult()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, operation);
    QFETCH(QString, expected);

    QLocale::setDefault(locale);
    fill(first, second);
    // Whoever writes it, the narrow box shows its whole text as tooltip, and a screen reader, which
    // reads the text itself, hears it only once.
    const QString before = QString(30, u'8');
    m_fixture->setBoxText(WindowName::hesapmakinesi, u"Sonuc"_s, before);
    QLineEdit *result = box(u"Sonuc"_s);
    QCOMPARE(toldOf(result), (QStringList{before, QString()}));
    click(operation);

    QCOMPARE(boxTexts(), (QStringList{first, second, expected}));
    QCOMPARE(m_fixture->services.messages.size(), 0);
    // Shown from its first character, not scrolled to its end.
    QCOMPARE(result->cursorPosition(), 0);
    QCOMPARE(toldOf(result), (QStringList{expected, QString()}));
}

void CalculatorWindowTest::freshWindowAddsAndFailsToDivide()
{
    click(u"Label1"_s);
    QCOMPARE(boxTexts(), (QStringList{u"0"_s, u"0"_s, u"0"_s}));
    QVERIFY(m_fixture->services.messages.isEmpty());

    box(u"Sonuc"_s)->setText(u"önceki"_s);
    click(u"Label4"_s);
    QCOMPARE(m_fixture->services.onlyMessageKind(), u"Taşma"_s);
    QCOMPARE(boxTexts(), (QStringList{u"0"_s, u"0"_s, u"önceki"_s}));
}

void CalculatorWindowTest::failureKeepsAllBoxes_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<varnek::ErrorKind>("kind");
    QTest::addColumn<QString>("detail"); // the message's second line, if it has one

    using K = varnek::ErrorKind;
    QTest::newRow("non-zero by empty") << u"5"_s << QString() << u"Label4"_s << K::DivisionByZero << QString();
    QTest::newRow("non-zero by letters") << u"-5"_s << u"abc"_s << u"Label4"_s << K::DivisionByZero << QString();
    QTest::newRow("empty by empty") << QString() << QString() << u"Label4"_s << K::Overflow << QString();
    QTest::newRow("product beyond range") << u"1e308"_s << u"10"_s << u"Label3"_s << K::Overflow << QString();
    QTest::newRow("sum beyond range") << u"1e308"_s << u"1e308"_s << u"Label1"_s << K::Overflow << QString();
    QTest::newRow("difference beyond range") << u"-1e308"_s << u"1e308"_s << u"Label2"_s << K::Overflow << QString();
    QTest::newRow("first operand beyond range") << u"9e999"_s << u"1"_s << u"Label1"_s << K::Overflow
                                                << u"1.Sayı: \"9e999\""_s;
    QTest::newRow("second operand beyond range") << u"1"_s << u"9e999"_s << u"Label3"_s << K::Overflow
                                                 << u"2.Sayı: \"9e999\""_s;
    // The second number is read first.
    QTest::newRow("both operands beyond range") << u"-9e999"_s << u" 9e 999"_s << u"Label4"_s << K::Overflow
                                                << u"2.Sayı: \" 9e 999\""_s;
}

void CalculatorWindowTest::failureKeepsAllBoxes()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, operation);
    QFETCH(varnek::ErrorKind, kind);
    QFETCH(QString, detail);

    fill(first, second);
    box(u"Sonuc"_s)->setText(u"önceki"_s);
    click(operation);

    QCOMPARE(m_fixture->services.onlyMessageKind(), varnek::errorKindText(kind));
    QCOMPARE(m_fixture->services.messages.front().text,
             detail.isEmpty() ? varnek::errorKindText(kind) : varnek::errorKindText(kind) + u'\n' + detail);
    QCOMPARE(m_fixture->services.messages.front().title, u"Varnek Otomasyon v1.6"_s);
    QCOMPARE(m_fixture->services.messages.front().icon, varnek::Services::Icon::Warning);
    QCOMPARE(boxTexts(), (QStringList{first, second, u"önceki"_s}));

    // The window goes on working.
    fill(u"6"_s, u"3"_s);
    click(operation);
    QCOMPARE(m_fixture->services.messages.size(), 1);
    QVERIFY(box(u"Sonuc"_s)->text() != u"önceki"_s);
}

void CalculatorWindowTest::typingIsLimited_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("toldWhole"); // the whole text as tooltip
    QTest::newRow("first number") << u"Sayibir"_s << 9 << false;
    QTest::newRow("second number") << u"Sayiiki"_s << 9 << false;
    QTest::newRow("result") << u"Sonuc"_s << 81 << true;
}

void CalculatorWindowTest::typingIsLimited()
{
    QFETCH(QString, name);
    QFETCH(int, limit);

    QString text;
    for (int i = 0; i <= limit; ++i)
        text += i % 2 ? u'ş' : QChar(u'0' + i % 10);
    QFETCH(bool, toldWhole);

    QLineEdit *target = box(name);
    target->clear();
    WindowFixture::type(target, text);
    QCOMPARE(target->text(), text.left(limit));
    QCOMPARE(toldOf(target), (QStringList{toldWhole ? target->text() : QString(), QString()}));
    for (int i = 0; i < limit - 1; ++i)
        QTest::keyClick(target, Qt::Key_Backspace);
    QCOMPARE(target->text(), text.left(1));
    QCOMPARE(toldOf(target), (QStringList{toldWhole ? target->text() : QString(), QString()}));
}

void CalculatorWindowTest::picturesShowMessages_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::newRow("speech bubble: signature") << u"Picture1"_s
                                              << u"       Varnek Geliştirme Ekibi\n         01.02.2001"_s
                                              << u"Hakkında"_s;
    QTest::newRow("envelope: contact") << u"Picture2"_s << u"    destek@varnek.example"_s << u"E-mail"_s;
}

void CalculatorWindowTest::picturesShowMessages()
{
    QFETCH(QString, picture);
    QFETCH(QString, text);
    QFETCH(QString, title);

    fill(u"7"_s, u"2"_s);
    box(u"Sonuc"_s)->setText(u"önceki"_s);
    QWidget *before = calculator();
    click(picture);

    QCOMPARE(m_fixture->services.messages.size(), 1);
    QCOMPARE(m_fixture->services.messages.front().text, text);
    QCOMPARE(m_fixture->services.messages.front().title, title);
    QCOMPARE(m_fixture->services.messages.front().icon, varnek::Services::Icon::None);
    QCOMPARE(boxTexts(), (QStringList{u"7"_s, u"2"_s, u"önceki"_s}));
    QCOMPARE(m_fixture->registry.existing(WindowName::hesapmakinesi), before);
    QVERIFY(before->isVisible());
}

void CalculatorWindowTest::releaseOutsideIsNoClick()
{
    fill(u"7"_s, u"2"_s);
    QWidget *add = control(u"Label1"_s);
    QTest::mousePress(add, Qt::LeftButton);
    QTest::mouseRelease(add, Qt::LeftButton, {}, add->rect().bottomRight() + QPoint(5, 5));
    QWidget *signature = control(u"Picture1"_s);
    QTest::mousePress(signature, Qt::LeftButton);
    QTest::mouseRelease(signature, Qt::LeftButton, {}, QPoint(-3, 4));
    QCOMPARE(box(u"Sonuc"_s)->text(), u"0"_s);
    QVERIFY(m_fixture->services.messages.isEmpty());
}

void CalculatorWindowTest::closingDiscardsTheBoxes_data()
{
    addFlagRows("byPicture", "white disc", "close button");
}

void CalculatorWindowTest::closingDiscardsTheBoxes()
{
    QFETCH(bool, byPicture);

    fill(u"7"_s, u"2"_s);
    click(u"Label1"_s);
    QPointer<QWidget> old = calculator();
    if (byPicture)
        click(u"Picture3"_s);
    else
        old->close();
    QTRY_VERIFY(!old);
    QVERIFY(!m_fixture->registry.existing(WindowName::hesapmakinesi));
    QVERIFY(m_fixture->services.messages.isEmpty());

    m_fixture->registry.show(WindowName::hesapmakinesi);
    QVERIFY(calculator()->isVisible());
    QCOMPARE(boxTexts(), (QStringList{u"0"_s, u"0"_s, u"0"_s}));
}

void CalculatorWindowTest::showingAgainKeepsTheWindow()
{
    fill(u"42"_s, u"ğ"_s);
    QWidget *first = calculator();
    first->hide();
    m_fixture->registry.show(WindowName::hesapmakinesi);
    m_fixture->registry.show(WindowName::hesapmakinesi);

    QCOMPARE(calculator(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(boxTexts(), (QStringList{u"42"_s, u"ğ"_s, u"0"_s}));
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += w->objectName() == u"hesapmakinesi"_s;
    QCOMPARE(count, 1);
}

void CalculatorWindowTest::enterAndEscDoNothing()
{
    fill(u"7"_s, u"2"_s);
    QPointer<QWidget> w = calculator();
    const QList<QWidget *> targets{box(u"Sayibir"_s), box(u"Sayiiki"_s), box(u"Sonuc"_s), w};
    for (QWidget *target : targets) {
        for (auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(target, key);
            QTest::qWait(0);
            QVERIFY2(w && w->isVisible(), qPrintable(target->objectName()));
        }
    }

    QCOMPARE(m_fixture->registry.existing(WindowName::hesapmakinesi), w.data());
    QCOMPARE(boxTexts(), (QStringList{u"7"_s, u"2"_s, u"0"_s}));
    QVERIFY(m_fixture->services.messages.isEmpty());
}

void CalculatorWindowTest::layoutMatchesTheTable_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPalette>("desktop");
    QTest::addColumn<QColor>("boxText");

    // The boxes' text: the desktop's, unless it falls below 4.5 : 1 on the green.
    const auto palettes = desktopPalettes();
    const QPalette light = palettes[0].second;
    QTest::newRow("title") << u"Baslik"_s << QRect(24, 0, 113, 17) << u"HESAP MAKİNESİ"_s << light << QColor();
    QTest::newRow("first caption") << u"Label5"_s << QRect(8, 24, 57, 17) << u"1.Sayı:"_s << light << QColor();
    QTest::newRow("result caption") << u"Label7"_s << QRect(16, 72, 49, 17) << u"Sonuç:"_s << light << QColor();
    QTest::newRow("first box") << u"Sayibir"_s << QRect(72, 24, 73, 19) << u"0"_s << light << QColor(Qt::black);
    QTest::newRow("result box") << u"Sonuc"_s << QRect(72, 72, 73, 19) << u"0"_s << light << QColor(Qt::black);
    QTest::newRow("Çıkar") << u"Label2"_s << QRect(80, 104, 41, 17) << u"Çıkar"_s << light << QColor();
    QTest::newRow("Böl") << u"Label4"_s << QRect(80, 120, 25, 17) << u"Böl"_s << light << QColor();
    QTest::newRow("envelope") << u"Picture2"_s << QRect(0, 120, 25, 25) << QString() << light << QColor();
    QTest::newRow("white disc") << u"Picture3"_s << QRect(120, 104, 33, 33) << QString() << light << QColor();
    // White on the green is 1.4 : 1.
    QTest::newRow("result box, dark desktop")
        << u"Sonuc"_s << QRect(72, 72, 73, 19) << u"0"_s << palettes[1].second << QColor(Qt::black);
    QTest::newRow("Çıkar, dark desktop")
        << u"Label2"_s << QRect(80, 104, 41, 17) << u"Çıkar"_s << palettes[1].second << QColor();
    QTest::newRow("result box, high contrast desktop")
        << u"Sonuc"_s << QRect(72, 72, 73, 19) << u"0"_s << palettes[2].second << QColor(Qt::black);
}

void CalculatorWindowTest::layoutMatchesTheTable()
{
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(QPalette, desktop);
    QFETCH(QColor, boxText);

    const QPalette before = QApplication::palette();
    QApplication::setPalette(desktop);
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    QWidget *w = calculator();
    QCOMPARE(w->windowTitle(), u"Hesap Makinesi"_s);
    QCOMPARE(w->size(), QSize(157, 141));
    QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(w->palette().color(QPalette::Window), QColor(Qt::black));

    auto *widget = m_fixture->control<QWidget>(w, control);
    QCOMPARE(widget->geometry(), geometry);
    // The captions are labels; the operations and pictures, buttons drawn as labels.
    if (!qobject_cast<QLineEdit *>(widget)) {
        QCOMPARE(widget->property("text").toString(), text);
        QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
        QCOMPARE(widget->palette().color(widget->backgroundRole()), QColor(Qt::black));
        if (!text.isEmpty())
            QCOMPARE(widget->palette().color(widget->foregroundRole()), QColor(0, 255, 0));
    } else {
        auto *edit = qobject_cast<QLineEdit *>(widget);
        QCOMPARE(edit->text(), text);
        QCOMPARE(edit->palette().color(QPalette::Base), QColor(0, 255, 0));
        QCOMPARE(edit->palette().color(QPalette::Text), boxText);
    }
}

void CalculatorWindowTest::tabOrderSkipsTheLabels()
{
    QWidget *w = calculator();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(QApplication::focusWidget(), box(u"Sayibir"_s));
    click(u"Label1"_s);
    QCOMPARE(QApplication::focusWidget(), box(u"Sayibir"_s));
    for (const QString &next : {u"Sayiiki"_s, u"Sonuc"_s, u"Sayibir"_s}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), next);
    }
}

QTEST_MAIN(CalculatorWindowTest)
#include "tst_calculatorwindow.moc"
