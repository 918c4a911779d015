#include "shell/mdiform1.h"
#include "support/tables.h"
#include "support/windowfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using varnek::WindowName;

class ExitConfirmationTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowLooksAsDesigned();
    void closingMainWindowLeavesOnlyTheQuestion();
    void noAfterCloseBringsBackAFreshMainWindow();
    void kapatThenNoLosesNothing();
    void closingMainWhileAskingLeavesOneQuestion();
    void yesEndsTheProgram_data();
    void yesEndsTheProgram();
    void enterAnswersNoAndEscDoesNothing();
    void closeButtonActsAsNo_data();
    void closeButtonActsAsNo();
    void realYesEndsWithoutClosingStep();

private:
    QWidget *main() const { return m_fixture->registry.existing(WindowName::MDIForm1); }
    QWidget *question() const { return m_fixture->registry.existing(WindowName::uyari); }
    QAbstractButton *button(QWidget *window, const QString &name)
    {
        return m_fixture->control<QAbstractButton>(window, name);
    }
    void closeMain();
    void typeRate(const QString &text) { m_fixture->setBoxText(WindowName::atldendovize, u"Dolarsatilis"_s, text); }
    QString rate() { return m_fixture->boxText(WindowName::atldendovize, u"Dolarsatilis"_s); }

    std::optional<WindowFixture> m_fixture;
};

namespace {

int visibleQuestions()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += w->objectName() == u"uyari"_s && w->isVisible();
    return count;
}

} // namespace

void ExitConfirmationTest::init()
{
    m_fixture.emplace();
    m_fixture->registry.show(WindowName::MDIForm1);
}

void ExitConfirmationTest::cleanup() { m_fixture.reset(); }

void ExitConfirmationTest::closeMain()
{
    main()->close();
    WindowFixture::deleteClosed();
}

void ExitConfirmationTest::windowLooksAsDesigned()
{
    m_fixture->registry.show(WindowName::uyari);
    QWidget *q = question();
    QCOMPARE(q->windowTitle(), u"Dikkat!"_s);
    QCOMPARE(q->size(), QSize(233, 103));
    QVERIFY(!(q->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    auto *label = m_fixture->control<QLabel>(q, u"Label1"_s);
    QCOMPARE(label->text(), u"Programdan çıkarsanız çalışmanız sonlandırılacak.Çımak istediğinize emin misiniz?"_s);
    const QRect needed = label->fontMetrics().boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text());
    QVERIFY2(needed.height() <= label->height(), "the question is cut off");
    QCOMPARE(button(q, u"Command1"_s)->text(), u"Evet"_s);
    QCOMPARE(button(q, u"Command2"_s)->text(), u"Hayır"_s);
    QCOMPARE(button(q, u"Command2"_s)->geometry(), QRect(152, 64, 65, 25));
    QVERIFY(m_fixture->control<QPushButton>(q, u"Command2"_s)->isDefault());
    QVERIFY(!m_fixture->control<QPushButton>(q, u"Command1"_s)->isDefault());
    QVERIFY(!m_fixture->control<QLabel>(q, u"Picture1"_s)->pixmap().isNull());
}

void ExitConfirmationTest::closingMainWindowLeavesOnlyTheQuestion()
{
    typeRate(u"123"_s);
    closeMain();
    QVERIFY(!main());
    QVERIFY(!m_fixture->registry.existing(WindowName::atldendovize));
    QVERIFY(!m_fixture->registry.existing(WindowName::adovizdentlye));
    QCOMPARE(visibleQuestions(), 1);
    QCOMPARE(m_fixture->services.endRequests, 0);
}

void ExitConfirmationTest::noAfterCloseBringsBackAFreshMainWindow()
{
    typeRate(u"123"_s);
    closeMain();
    button(question(), u"Command2"_s)->click();

    QVERIFY(main());
    QVERIFY(main()->isVisible());
    QVERIFY(main()->isMaximized());
    QVERIFY(!question()->isVisible());
    QVERIFY(question()); // hidden, not closed
    auto *area = static_cast<varnek::MDIForm1 *>(main())->workspace();
    QCOMPARE(area->subWindowList().size(), 2);
    for (QMdiSubWindow *child : area->subWindowList())
        QVERIFY(child->isMinimized());
    QCOMPARE(area->currentSubWindow()->objectName(), u"atldendovize"_s);
    QCOMPARE(rate(), QString());
}

void ExitConfirmationTest::kapatThenNoLosesNothing()
{
    typeRate(u"123"_s);
    QWidget *before = main();
    m_fixture->control<QAction>(WindowName::atldendovize, u"mnuKapat"_s)->trigger();
    QCOMPARE(visibleQuestions(), 1);
    QVERIFY(main()->isVisible());
    button(question(), u"Command2"_s)->click();
    QCOMPARE(main(), before);
    QCOMPARE(rate(), u"123"_s);
    QCOMPARE(visibleQuestions(), 0);
}

void ExitConfirmationTest::closingMainWhileAskingLeavesOneQuestion()
{
    m_fixture->control<QAction>(WindowName::adovizdentlye, u"mnuKapat"_s)->trigger();
    QWidget *asked = question();
    closeMain();
    QCOMPARE(question(), asked);
    QCOMPARE(visibleQuestions(), 1);
    QVERIFY(!main());
}

void ExitConfirmationTest::yesEndsTheProgram_data()
{
    addFlagRows("mainClosed", "after closing the main window", "after Kapat");
}

void ExitConfirmationTest::yesEndsTheProgram()
{
    QFETCH(bool, mainClosed);
    if (mainClosed)
        closeMain();
    else
        m_fixture->registry.show(WindowName::uyari);
    button(question(), u"Command1"_s)->click();
    QCOMPARE(m_fixture->services.endRequests, 1);
}

void ExitConfirmationTest::enterAnswersNoAndEscDoesNothing()
{
    closeMain();
    QWidget *q = question();
    QVERIFY(QTest::qWaitForWindowActive(q));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(q->isVisible());
    QVERIFY(!main());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!q->isVisible());
    QVERIFY(main());
    QCOMPARE(m_fixture->services.endRequests, 0);
}

void ExitConfirmationTest::closeButtonActsAsNo_data()
{
    addFlagRows("mainClosed", "main window closed: it comes back", "main window open: the question just goes");
}

void ExitConfirmationTest::closeButtonActsAsNo()
{
    QFETCH(bool, mainClosed);
    typeRate(u"55"_s);
    if (mainClosed)
        closeMain();
    else
        m_fixture->registry.show(WindowName::uyari);
    QWidget *q = question();
    // The user first moves to "Evet", then closes the window with its close button.
    QVERIFY(QTest::qWaitForWindowActive(q));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), button(q, u"Command1"_s));
    q->close();
    WindowFixture::deleteClosed();
    QVERIFY(!q->isVisible());
    QVERIFY(main());
    QVERIFY(main()->isVisible());
    QCOMPARE(rate(), mainClosed ? QString() : u"55"_s);
    QCOMPARE(m_fixture->services.endRequests, 0);

    // Asked again, the question has the focus on "Hayır" once more: Enter does not end the program.
    m_fixture->registry.show(WindowName::uyari);
    QVERIFY(QTest::qWaitForWindowActive(q));
    QCOMPARE(QApplication::focusWidget(), button(q, u"Command2"_s));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!q->isVisible());
    QCOMPARE(m_fixture->services.endRequests, 0);
}

// With the real services, "Evet" leaves the event loop with status 0 while other windows are open,
// and the main window's closing step (a second question) never runs.
void ExitConfirmationTest::realYesEndsWithoutClosingStep()
{
    varnek::QtServices services;
    varnek::Registry registry(services);
    registry.show(WindowName::MDIForm1);
    registry.show(WindowName::uyari);
    QWidget *q = registry.existing(WindowName::uyari);
    QTimer::singleShot(0, [this, q] { button(q, u"Command1"_s)->click(); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(registry.existing(WindowName::MDIForm1)); // not closed: hidden as the program ends
    QVERIFY(!registry.existing(WindowName::MDIForm1)->isVisible());
    QCOMPARE(visibleQuestions(), 0);
}

QTEST_MAIN(ExitConfirmationTest)
#include "tst_exitconfirmation.moc"
