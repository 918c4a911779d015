#include "shell/mdiform1.h"
#include "shell/services/services.h"
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

private:
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QString focusName() const;
    void openMenuItem(Qt::Key menuKey, Qt::Key itemKey);
    QWidget *activeWindow() const { return QApplication::activeWindow(); }

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

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
