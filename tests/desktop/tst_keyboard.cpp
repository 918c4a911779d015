#include "shell/mdiform1.h"
#include "shell/services/services.h"
#include "support/accessibilityevents.h"
#include "support/tables.h"
#include "support/windowfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using varnek::WindowName;

// Everything here goes through the keyboard alone: keys to the widget that has the focus, or to
// the menu that is open.
class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menuAccessKeysOpenTheirMenus_data();
    void menuAccessKeysOpenTheirMenus();
    void accessKeysAreUniqueInEveryMenu();
    void tabCyclesInLayoutOrder_data();
    void tabCyclesInLayoutOrder();
    void calculatorOperationsByAccessKey_data();
    void calculatorOperationsByAccessKey();
    void wholeRunWithoutAMouse();
    void focusComesBackAfterAnErrorBox_data();
    void focusComesBackAfterAnErrorBox();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void firstKeyAfterTheStart_data();
    void firstKeyAfterTheStart();
    void switchingWindowsIsReportedAndKeepsTheFocus_data();
    void switchingWindowsIsReportedAndKeepsTheFocus();
    void documentWindowKeys_data();
    void documentWindowKeys();

private:
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QString focusName() const;
    void openMenuItem(Qt::Key menuKey, Qt::Key itemKey);
    QWidget *activeWindow() const { return QApplication::activeWindow(); }
    QMdiSubWindow *conversionWindow(WindowName name) const
    {
        return static_cast<QMdiSubWindow *>(m_fixture->registry.existing(name));
    }
    // Starts as a user does: the splash window, then Çalıştır.
    varnek::MDIForm1 *start();

    std::optional<WindowFixture> m_fixture;
};

void KeyboardTest::initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

void KeyboardTest::init() { m_fixture.emplace(); }

void KeyboardTest::cleanup() { m_fixture.reset(); }

void KeyboardTest::key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = QApplication::activePopupWidget();
    if (!target)
        target = QApplication::focusWidget();
    if (!target)
        target = activeWindow();
    QVERIFY2(target, "nothing has the keyboard");
    QTest::keyClick(target, key, modifiers);
}

QString KeyboardTest::focusName() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus ? focus->objectName() : u"<none>"_s;
}

void KeyboardTest::openMenuItem(Qt::Key menuKey, Qt::Key itemKey)
{
    key(menuKey, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    key(itemKey);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

void KeyboardTest::menuAccessKeysOpenTheirMenus_data()
{
    QTest::addColumn<Qt::Key>("accessKey");
    QTest::addColumn<QString>("menu");

    QTest::newRow("Alt+D Dosya") << Qt::Key_D << u"mnuDosya"_s;
    QTest::newRow("Alt+Ç Çevirme İşlemleri") << Qt::Key_Ccedilla << u"mnuIslemler"_s;
    QTest::newRow("Alt+A Ayarlar") << Qt::Key_A << u"mnuAyarlar"_s;
    QTest::newRow("Alt+G Günün Kurları") << Qt::Key_G << u"mnuGununkurları"_s;
    QTest::newRow("Alt+E Ek") << Qt::Key_E << u"mnuEk"_s;
    QTest::newRow("Alt+P Pencere") << Qt::Key_P << u"mnuPencere"_s;
    QTest::newRow("Alt+Y Yardım") << Qt::Key_Y << u"mnuYardim"_s;
}

void KeyboardTest::menuAccessKeysOpenTheirMenus()
{
    QFETCH(Qt::Key, accessKey);
    QFETCH(QString, menu);
    m_fixture->registry.show(WindowName::MDIForm1);
    QVERIFY(QTest::qWaitForWindowActive(m_fixture->registry.window(WindowName::MDIForm1)));

    key(accessKey, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QCOMPARE(QApplication::activePopupWidget()->objectName(), menu);
    key(Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

// Two items with one access key in the same menu would make the key only cycle between them.
void KeyboardTest::accessKeysAreUniqueInEveryMenu()
{
    m_fixture->registry.show(WindowName::MDIForm1);
    auto *main = static_cast<QMainWindow *>(m_fixture->registry.window(WindowName::MDIForm1));
    QList<QList<QAction *>> groups{main->menuBar()->actions()};
    for (QAction *menu : main->menuBar()->actions())
        groups.append(menu->menu()->actions());
    // The title-bar menu of each conversion window: Qt's items in our catalogue's words.
    for (const WindowName child : {WindowName::atldendovize, WindowName::adovizdentlye})
        groups.append(static_cast<QMdiSubWindow *>(m_fixture->registry.window(child))->systemMenu()->actions());
    for (const QList<QAction *> &group : groups) {
        QSet<QKeySequence> seen;
        for (QAction *action : group) {
            if (action->isSeparator())
                continue;
            const QKeySequence keys = QKeySequence::mnemonic(action->text());
            QVERIFY2(!keys.isEmpty(), qPrintable(action->text() + u" has no access key"_s));
            QVERIFY2(!seen.contains(keys), qPrintable(action->text() + u" repeats "_s + keys.toString()));
            seen.insert(keys);
        }
    }
}

void KeyboardTest::tabCyclesInLayoutOrder_data()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QStringList>("order"); // from the control that has the focus when it opens

    QTest::newRow("splash") << WindowName::splash << QStringList{u"Command1"_s, u"Command2"_s, u"Command1"_s};
    QTest::newRow("exit question, Hayır first")
        << WindowName::uyari << QStringList{u"Command2"_s, u"Command1"_s, u"Command2"_s};
    QTest::newRow("about") << WindowName::frmAbout << QStringList{u"cmdOK"_s, u"cmdOK"_s};
    QTest::newRow("calculator, labels left out")
        << WindowName::hesapmakinesi << QStringList{u"Sayibir"_s, u"Sayiiki"_s, u"Sonuc"_s, u"Sayibir"_s};
}

void KeyboardTest::tabCyclesInLayoutOrder()
{
    QFETCH(WindowName, window);
    QFETCH(QStringList, order);
    m_fixture->registry.show(window);
    QVERIFY(QTest::qWaitForWindowActive(m_fixture->registry.window(window)));

    QStringList visited{focusName()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        key(Qt::Key_Tab);
        visited << focusName();
    }
    QCOMPARE(visited, order);
}

void KeyboardTest::calculatorOperationsByAccessKey_data()
{
    QTest::addColumn<Qt::Key>("accessKey");
    QTest::addColumn<QString>("result");

    for (const CalculatorOperation &operation : calculatorOperations) {
        QTest::addRow("%s %s", operation.keys, operation.caption)
            << operation.accessKey << QString::fromUtf8(operation.resultOf7And2);
    }
}

void KeyboardTest::calculatorOperationsByAccessKey()
{
    QFETCH(Qt::Key, accessKey);
    QFETCH(QString, result);
    m_fixture->registry.show(WindowName::hesapmakinesi);
    QWidget *calculator = m_fixture->registry.window(WindowName::hesapmakinesi);
    QVERIFY(QTest::qWaitForWindowActive(calculator));

    key(Qt::Key_Backspace);
    WindowFixture::type(QApplication::focusWidget(), u"7"_s);
    key(Qt::Key_Tab);
    key(Qt::Key_Backspace);
    WindowFixture::type(QApplication::focusWidget(), u"2"_s);
    key(accessKey, Qt::AltModifier);

    QCOMPARE(m_fixture->boxText(WindowName::hesapmakinesi, u"Sonuc"_s), result);
    // The key is not typed into the box that has the focus.
    QCOMPARE(m_fixture->boxText(WindowName::hesapmakinesi, u"Sayiiki"_s), u"2"_s);
    QCOMPARE(focusName(), u"Sayiiki"_s);
}

void KeyboardTest::wholeRunWithoutAMouse()
{
    m_fixture->registry.show(WindowName::splash);
    QVERIFY(QTest::qWaitForWindowActive(m_fixture->registry.window(WindowName::splash)));
    QCOMPARE(focusName(), u"Command1"_s);
    key(Qt::Key_Space);
    auto *main = static_cast<varnek::MDIForm1 *>(m_fixture->registry.existing(WindowName::MDIForm1));
    QVERIFY(main && main->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(main));

    // Çevirme İşlemleri → TL'den Döviz'e restores the minimised window, ready to type into.
    openMenuItem(Qt::Key_Ccedilla, Qt::Key_T);
    auto *child = static_cast<QMdiSubWindow *>(m_fixture->registry.existing(WindowName::atldendovize));
    QVERIFY(!child->isMinimized());
    QCOMPARE(main->workspace()->activeSubWindow(), child);
    QCOMPARE(focusName(), u"Dolarsatilis"_s);
    WindowFixture::type(QApplication::focusWidget(), u"38,5"_s);
    key(Qt::Key_Tab);
    QCOMPARE(focusName(), u"Paramiktari"_s);
    WindowFixture::type(QApplication::focusWidget(), u"77"_s);
    key(Qt::Key_Return);
    QCOMPARE(m_fixture->boxText(WindowName::atldendovize, u"Sonucdolar"_s), u"2"_s);

    // Günün Kurları → Elle Ayarla; Enter presses its default button, which closes it.
    openMenuItem(Qt::Key_G, Qt::Key_E);
    QPointer<QWidget> rates = m_fixture->registry.existing(WindowName::Form2);
    QVERIFY(rates && QTest::qWaitForWindowActive(rates));
    QCOMPARE(focusName(), u"Text1"_s);
    key(Qt::Key_Return);
    QTRY_VERIFY(!rates);

    // Yardım → Hakkında; Esc closes it. (Offscreen there is no window manager to give the focus
    // back to the main window when a window closes.)
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    openMenuItem(Qt::Key_Y, Qt::Key_H);
    QPointer<QWidget> about = m_fixture->registry.existing(WindowName::frmAbout);
    QVERIFY(about && QTest::qWaitForWindowActive(about));
    key(Qt::Key_Escape);
    QTRY_VERIFY(!about);

    // Dosya → Kapat asks the question; Enter answers Hayır and the typed values stay.
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    openMenuItem(Qt::Key_D, Qt::Key_K);
    QWidget *question = m_fixture->registry.existing(WindowName::uyari);
    QVERIFY(question && QTest::qWaitForWindowActive(question));
    key(Qt::Key_Return);
    QVERIFY(!question->isVisible());
    QVERIFY(main->isVisible());
    QCOMPARE(m_fixture->boxText(WindowName::atldendovize, u"Sonucdolar"_s), u"2"_s);
    QVERIFY(m_fixture->services.messages.isEmpty());
    QCOMPARE(m_fixture->services.endRequests, 0);
}

void KeyboardTest::focusComesBackAfterAnErrorBox_data()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QStringList>("texts"); // box, text, box, text...
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QKeyCombination>("command"); // none: the window asks the real prompt itself
    QTest::addColumn<QString>("kind");            // the box's first line, or the prompt's question

    QTest::newRow("calculator, Böl by zero")
        << WindowName::hesapmakinesi << QStringList{u"Sayibir"_s, u"1"_s, u"Sayiiki"_s, u"0"_s} << u"Sayiiki"_s
        << QKeyCombination(Qt::AltModifier, Qt::Key_B) << u"Sıfıra bölme"_s;
    QTest::newRow("rate-entry window, a save that is refused")
        << WindowName::Form2 << QStringList{u"Text1"_s, u"x\",y"_s} << u"Command1"_s
        << QKeyCombination(Qt::Key_Space) << u"Dosya erişim hatası"_s;
    QTest::newRow("conversion window, Enter on letters")
        << WindowName::atldendovize << QStringList{u"Dolarsatilis"_s, u"abc"_s, u"Paramiktari"_s, u"1"_s}
        << u"Paramiktari"_s << QKeyCombination(Qt::Key_Return) << u"Tür uyuşmazlığı"_s;
    QTest::newRow("rate-entry window, a prompt answered")
        << WindowName::Form2 << QStringList{} << u"Text2"_s << QKeyCombination() << u"Markın Satılış Fiyatı?"_s;
}

// With the real message box and prompt. Under a window manager (tests/desktop/under_wm.sh runs
// this on X with openbox) the manager picks the window that gets the keyboard when the box goes:
// openbox passes over tool windows such as the rate-entry window and the calculator for the main
// window, activated before them. That hand-over happens only once the box really has the keyboard,
// so the box is answered only after the window manager has given it the keyboard. Offscreen
// nobody picks, so the test hands the keyboard to the main window itself as the box goes.
void KeyboardTest::focusComesBackAfterAnErrorBox()
{
    QFETCH(WindowName, window);
    QFETCH(QStringList, texts);
    QFETCH(QString, focus);
    QFETCH(QKeyCombination, command);
    QFETCH(QString, kind);

    varnek::QtServices services;
    varnek::Registry registry(services);
    registry.show(WindowName::MDIForm1);
    QWidget *main = registry.window(WindowName::MDIForm1);
    QVERIFY(QTest::qWaitForWindowActive(main));
    if (window == WindowName::atldendovize)
        registry.setChildState(window, Qt::WindowNoState);
    else
        registry.show(window);
    QWidget *failing = registry.window(window);
    QTRY_COMPARE(QGuiApplication::focusWindow(), failing->window()->windowHandle());
    for (qsizetype i = 0; i + 1 < texts.size(); i += 2)
        m_fixture->control<QLineEdit>(failing, texts[i])->setText(texts[i + 1]);
    QWidget *control = m_fixture->control<QWidget>(failing, focus);
    control->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), control);

    const bool windowManager = QGuiApplication::platformName() != u"offscreen"_s;
    QString shown;
    bool boxHadTheKeyboard = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!box)
            return;
        // Not QTest::qWaitForWindowActive: a box counts as active while its owner is.
        boxHadTheKeyboard = QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == box->windowHandle(); });
        if (auto *message = qobject_cast<QMessageBox *>(box))
            shown = message->text().section(u'\n', 0, 0);
        if (auto *input = qobject_cast<QInputDialog *>(box)) {
            shown = input->labelText();
            input->setTextValue(u"5"_s);
        }
        QTest::keyClick(box, Qt::Key_Return);
        if (!windowManager)
            main->activateWindow();
    });
    if (command.key() == Qt::Key_unknown)
        QCOMPARE(services.prompt(kind, u"MARK"_s), std::optional(u"5"_s));
    else
        QTest::keyClick(control, command.key(), command.keyboardModifiers());
    QVERIFY2(boxHadTheKeyboard, "the box never had the keyboard");
    QCOMPARE(shown, kind);

    QTRY_COMPARE(QApplication::activeWindow(), failing->window());
    QCOMPARE(QApplication::focusWidget(), control);
}

varnek::MDIForm1 *KeyboardTest::start()
{
    m_fixture->registry.show(WindowName::splash);
    auto *splash = m_fixture->registry.window(WindowName::splash);
    if (!QTest::qWaitForWindowActive(splash))
        return nullptr;
    m_fixture->control<QAbstractButton>(WindowName::splash, u"Command1"_s)->click();
    auto *main = static_cast<varnek::MDIForm1 *>(m_fixture->registry.existing(WindowName::MDIForm1));
    if (!main || !QTest::qWaitForWindowActive(main))
        return nullptr;
    return main;
}

enum class AfterEnter { MainWindowShown, ProgramEnds, DollarBoxEmptied, WindowClosed };

void KeyboardTest::enterPressesTheFocusedButton_data()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QString>("button");
    QTest::addColumn<AfterEnter>("after");

    QTest::newRow("splash, Çalıştır") << WindowName::splash << u"Command1"_s << AfterEnter::MainWindowShown;
    QTest::newRow("splash, Çıkış") << WindowName::splash << u"Command2"_s << AfterEnter::ProgramEnds;
    QTest::newRow("rate entry, the dollar row's Sil, not Tamam")
        << WindowName::Form2 << u"Command15"_s << AfterEnter::DollarBoxEmptied;
    QTest::newRow("rate entry, İptal") << WindowName::Form2 << u"Command13"_s << AfterEnter::WindowClosed;
    QTest::newRow("exit question, Evet, not Hayır") << WindowName::uyari << u"Command1"_s << AfterEnter::ProgramEnds;
    QTest::newRow("about, TAMAM") << WindowName::frmAbout << u"cmdOK"_s << AfterEnter::WindowClosed;
}

// As on Windows: Enter presses the push button that has the keyboard; a window's default button takes
// it only when the keyboard is on no other button.
void KeyboardTest::enterPressesTheFocusedButton()
{
    QFETCH(WindowName, window);
    QFETCH(QString, button);
    QFETCH(AfterEnter, after);
    m_fixture->registry.show(window);
    QPointer<QWidget> shown = m_fixture->registry.window(window);
    QVERIFY(QTest::qWaitForWindowActive(shown));
    if (window == WindowName::Form2)
        m_fixture->setBoxText(window, u"Text1"_s, u"5"_s);
    auto *pressed = m_fixture->control<QPushButton>(window, button);
    pressed->setFocus();
    QTRY_VERIFY(pressed->hasFocus());

    key(Qt::Key_Return);

    switch (after) {
    case AfterEnter::MainWindowShown: {
        QWidget *main = m_fixture->registry.existing(WindowName::MDIForm1);
        QVERIFY(main && main->isVisible());
        QCOMPARE(m_fixture->services.endRequests, 0);
        break;
    }
    case AfterEnter::ProgramEnds:
        QCOMPARE(m_fixture->services.endRequests, 1);
        break;
    case AfterEnter::DollarBoxEmptied:
        QCOMPARE(m_fixture->boxText(window, u"Text1"_s), QString());
        QVERIFY(shown && shown->isVisible());
        break;
    case AfterEnter::WindowClosed:
        QTRY_VERIFY(!shown || !shown->isVisible());
        break;
    }
    // The splash window keeps no default button, however Enter was taken.
    if (window == WindowName::splash) {
        for (const QString &name : {u"Command1"_s, u"Command2"_s})
            QVERIFY(!m_fixture->control<QPushButton>(WindowName::splash, name)->isDefault());
    }
}

void KeyboardTest::firstKeyAfterTheStart_data()
{
    QTest::addColumn<QKeyCombination>("command");
    QTest::addColumn<QString>("lastBox"); // the box that had the keyboard before it was minimised
    QTest::addColumn<QString>("focus");

    QTest::newRow("Enter") << QKeyCombination(Qt::Key_Return) << QString() << u"Dolarsatilis"_s;
    QTest::newRow("keypad Enter") << QKeyCombination(Qt::KeypadModifier, Qt::Key_Enter) << QString()
                                  << u"Dolarsatilis"_s;
    QTest::newRow("Ctrl+F5") << QKeyCombination(Qt::ControlModifier, Qt::Key_F5) << QString() << u"Dolarsatilis"_s;
    QTest::newRow("Enter, minimised from the franc amount")
        << QKeyCombination(Qt::Key_Return) << u"Paramiktari4"_s << u"Paramiktari4"_s;
}

// After Çalıştır the keyboard rests on the minimised TL-to-currency window, which says it is
// minimised; one key opens it, with the keyboard in a box.
void KeyboardTest::firstKeyAfterTheStart()
{
    QFETCH(QKeyCombination, command);
    QFETCH(QString, lastBox);
    QFETCH(QString, focus);
    varnek::MDIForm1 *main = start();
    QVERIFY(main);
    QMdiSubWindow *window = conversionWindow(WindowName::atldendovize);
    QCOMPARE(main->workspace()->activeSubWindow(), window);
    QVERIFY(window->isMinimized());
    if (!lastBox.isEmpty()) {
        key(command.key(), command.keyboardModifiers());
        m_fixture->control<QWidget>(window, lastBox)->setFocus();
        window->showMinimized();
        window->setFocus();
    }
    QTRY_COMPARE(QApplication::focusWidget(), window);
    QCOMPARE(window->accessibleDescription(), u"Simge durumunda"_s);

    key(command.key(), command.keyboardModifiers());

    QVERIFY(!window->isMinimized());
    QTRY_COMPARE(focusName(), focus);
    QCOMPARE(window->accessibleDescription(), QString());
}

enum class Switch { CtrlTab, CtrlF6, CtrlShiftF6, Menu, Restoring, ClosingTheOther };

void KeyboardTest::switchingWindowsIsReportedAndKeepsTheFocus_data()
{
    QTest::addColumn<Switch>("way");

    QTest::newRow("Ctrl+Tab") << Switch::CtrlTab;
    QTest::newRow("Ctrl+F6") << Switch::CtrlF6;
    QTest::newRow("Ctrl+Shift+F6") << Switch::CtrlShiftF6;
    QTest::newRow("Çevirme İşlemleri, Döviz'den TL'ye") << Switch::Menu;
    QTest::newRow("Ctrl+F6 onto it minimised, then Enter") << Switch::Restoring;
    QTest::newRow("Ctrl+F4 on the other one") << Switch::ClosingTheOther;
}

// Leaving [ Döviz->TL ] with the keyboard in the franc rate box and coming back: a screen reader
// hears the window's title first, then the franc rate box, which has the keyboard again.
void KeyboardTest::switchingWindowsIsReportedAndKeepsTheFocus()
{
    QFETCH(Switch, way);
    AccessibilityEvents reports;
    varnek::MDIForm1 *main = start();
    QVERIFY(main);
    m_fixture->registry.setChildState(WindowName::adovizdentlye, Qt::WindowNoState);
    m_fixture->registry.setChildState(WindowName::atldendovize, Qt::WindowNoState);
    main->arrange(varnek::Arrangement::TileSideBySide);
    QMdiSubWindow *back = conversionWindow(WindowName::adovizdentlye);
    QMdiSubWindow *other = conversionWindow(WindowName::atldendovize);
    auto *franc = m_fixture->control<QWidget>(back, u"Franksatilis"_s);
    main->workspace()->setActiveSubWindow(back);
    franc->setFocus();
    QTRY_VERIFY(franc->hasFocus());
    if (way == Switch::Restoring)
        back->showMinimized();
    main->workspace()->setActiveSubWindow(other);
    m_fixture->control<QWidget>(other, u"Paramiktari"_s)->setFocus();
    QTRY_COMPARE(focusName(), u"Paramiktari"_s);
    QCOMPARE(main->workspace()->activeSubWindow(), other);
    reports.clear();

    switch (way) {
    case Switch::CtrlTab:
        key(Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Control);
        break;
    case Switch::CtrlF6:
        key(Qt::Key_F6, Qt::ControlModifier);
        break;
    case Switch::CtrlShiftF6:
        key(Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
        break;
    case Switch::Menu:
        openMenuItem(Qt::Key_Ccedilla, Qt::Key_D);
        break;
    case Switch::Restoring:
        key(Qt::Key_F6, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), back);
        key(Qt::Key_Return);
        break;
    case Switch::ClosingTheOther:
        key(Qt::Key_F4, Qt::ControlModifier);
        QTRY_VERIFY(!m_fixture->registry.existing(WindowName::atldendovize));
        break;
    }

    QTRY_COMPARE(main->workspace()->activeSubWindow(), back);
    QVERIFY(!back->isMinimized());
    QTRY_COMPARE(QApplication::focusWidget(), franc);
    // Offscreen Qt reports nothing; the reports are checked on X (keyboard_under_window_manager).
    if (!AccessibilityEvents::listening()) {
        QVERIFY2(!AccessibilityEvents::required(), "no accessibility events reach the test");
        return;
    }
    // The last report of the window, by its title, comes before the box's, and no other box of the
    // window is reported after it.
    const auto focused = reports.ofType(QAccessible::Focus);
    qsizetype windowAt = -1;
    for (qsizetype i = 0; i < focused.size(); ++i)
        if (focused[i]->object == back)
            windowAt = i;
    QVERIFY2(windowAt >= 0, "the window was not reported");
    QCOMPARE(focused[windowAt]->name, u"[ Döviz->TL ]"_s);
    QStringList after;
    for (qsizetype i = windowAt + 1; i < focused.size(); ++i)
        after << (focused[i]->object ? focused[i]->object->objectName() : u"<gone>"_s);
    QCOMPARE(after, QStringList{u"Franksatilis"_s});
}

enum class KeysIn { MainWindow, RateEntry, Calculator };

void KeyboardTest::documentWindowKeys_data()
{
    QTest::addColumn<KeysIn>("where");
    QTest::addColumn<int>("openBefore"); // conversion windows: 2 both, 1 the TL-to-currency one, 0 none
    QTest::addColumn<QKeyCombination>("command");
    QTest::addColumn<int>("openAfter");
    QTest::addColumn<bool>("windowMenu");

    const QKeyCombination ctrlF4(Qt::ControlModifier, Qt::Key_F4), ctrlF6(Qt::ControlModifier, Qt::Key_F6),
        ctrlShiftF6(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_F6), altMinus(Qt::AltModifier, Qt::Key_Minus),
        ctrlF5(Qt::ControlModifier, Qt::Key_F5);
    const auto main = KeysIn::MainWindow;
    QTest::newRow("Ctrl+F4, none open") << main << 0 << ctrlF4 << 0 << false;
    QTest::newRow("Ctrl+F6, none open") << main << 0 << ctrlF6 << 0 << false;
    QTest::newRow("Ctrl+Shift+F6, none open") << main << 0 << ctrlShiftF6 << 0 << false;
    QTest::newRow("Alt+-, none open") << main << 0 << altMinus << 0 << false;
    QTest::newRow("Ctrl+F5, none open") << main << 0 << ctrlF5 << 0 << false;
    QTest::newRow("Ctrl+F4 closes the active one") << main << 2 << ctrlF4 << 1 << false;
    QTest::newRow("Ctrl+F4 closes the last one, not the main window") << main << 1 << ctrlF4 << 0 << false;
    QTest::newRow("Alt+- opens the window menu") << main << 2 << altMinus << 2 << true;
    QTest::newRow("Ctrl+F4 in Elle Ayarla") << KeysIn::RateEntry << 2 << ctrlF4 << 2 << false;
    QTest::newRow("Ctrl+F6 in Elle Ayarla") << KeysIn::RateEntry << 2 << ctrlF6 << 2 << false;
    QTest::newRow("Alt+- in Elle Ayarla") << KeysIn::RateEntry << 2 << altMinus << 2 << false;
    QTest::newRow("Ctrl+F4 in the calculator") << KeysIn::Calculator << 2 << ctrlF4 << 2 << false;
}

// Windows' keys for document windows work on the conversion windows, and on nothing else: with none
// open, or the keyboard in a window of its own, they do nothing, and they never close the main window.
void KeyboardTest::documentWindowKeys()
{
    QFETCH(KeysIn, where);
    QFETCH(int, openBefore);
    QFETCH(QKeyCombination, command);
    QFETCH(int, openAfter);
    QFETCH(bool, windowMenu);
    varnek::MDIForm1 *main = start();
    QVERIFY(main);
    m_fixture->registry.setChildState(WindowName::atldendovize, Qt::WindowNoState);
    if (openBefore < 2)
        m_fixture->registry.unload(WindowName::adovizdentlye);
    if (openBefore < 1)
        m_fixture->registry.unload(WindowName::atldendovize);
    WindowFixture::deleteClosed();
    QMdiSubWindow *active = main->workspace()->activeSubWindow();
    if (where != KeysIn::MainWindow) {
        const WindowName window = where == KeysIn::RateEntry ? WindowName::Form2 : WindowName::hesapmakinesi;
        m_fixture->registry.show(window);
        QVERIFY(QTest::qWaitForWindowActive(m_fixture->registry.window(window)));
    }
    QWidget *keysGoTo = activeWindow();

    key(command.key(), command.keyboardModifiers());
    if (windowMenu) {
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(QApplication::activePopupWidget(), active->systemMenu());
        key(Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
    } else {
        QVERIFY(!QApplication::activePopupWidget());
    }
    WindowFixture::deleteClosed();

    const int open = int(main->workspace()->subWindowList().size());
    QCOMPARE(open, openAfter);
    if (openAfter == openBefore)
        QCOMPARE(main->workspace()->activeSubWindow(), active);
    QCOMPARE(m_fixture->registry.existing(WindowName::MDIForm1), main);
    QVERIFY(main->isVisible());
    QWidget *question = m_fixture->registry.existing(WindowName::uyari);
    QVERIFY(!question || !question->isVisible());
    QVERIFY(keysGoTo && keysGoTo->isVisible());
    QCOMPARE(m_fixture->services.endRequests, 0);
}

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
