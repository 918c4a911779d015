#include "shell/mdiform1.h"
#include "shell/registry.h"
#include "support/scriptedservices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
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
    QWidget *main() const { return m_registry->existing(WindowName::MDIForm1); }
    QWidget *question() const { return m_registry->existing(WindowName::uyari); }
    void closeMain();
    void typeRate(const QString &text);
    QString rate();

    ScriptedServices *m_services = nullptr;
    varnek::Registry *m_registry = nullptr;
};

namespace {

void deleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

int visibleQuestions()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += w->objectName() == u"uyari"_s && w->isVisible();
    return count;
}

QAbstractButton *button(QWidget *window, const QString &name) { return window->findChild<QAbstractButton *>(name); }

} // namespace

void ExitConfirmationTest::init()
{
    m_services = new ScriptedServices;
    m_registry = new varnek::Registry(*m_services);
    m_registry->show(WindowName::MDIForm1);
}

void ExitConfirmationTest::cleanup()
{
    delete m_registry;
    delete m_services;
}

void ExitConfirmationTest::closeMain()
{
    main()->close();
    deleteClosed();
}

void ExitConfirmationTest::typeRate(const QString &text)
{
    varnek::setBoxText(m_registry->window(WindowName::atldendovize), u"Dolarsatilis"_s, text);
}

QString ExitConfirmationTest::rate()
{
    return varnek::boxText(m_registry->window(WindowName::atldendovize), u"Dolarsatilis"_s);
}

void ExitConfirmationTest::windowLooksAsDesigned()
{
    m_registry->show(WindowName::uyari);
    QWidget *q = question();
    QCOMPARE(q->windowTitle(), u"Dikkat!"_s);
    QCOMPARE(q->size(), QSize(233, 103));
    QVERIFY(!(q->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(q->findChild<QLabel *>(u"Label1"_s)->text(),
             u"Programdan çıkarsanız çalışmanız sonlandırılacak.Çımak istediğinize emin misiniz?"_s);
    auto *label = q->findChild<QLabel *>(u"Label1"_s);
    const QRect needed = label->fontMetrics().boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text());
    QVERIFY2(needed.height() <= label->height(), "the question is cut off");
    QCOMPARE(button(q, u"Command1"_s)->text(), u"Evet"_s);
    QCOMPARE(button(q, u"Command2"_s)->text(), u"Hayır"_s);
    QCOMPARE(button(q, u"Command2"_s)->geometry(), QRect(152, 64, 65, 25));
    QVERIFY(q->findChild<QPushButton *>(u"Command2"_s)->isDefault());
    QVERIFY(!q->findChild<QPushButton *>(u"Command1"_s)->isDefault());
    QVERIFY(!q->findChild<QLabel *>(u"Picture1"_s)->pixmap().isNull());
}

void ExitConfirmationTest::closingMainWindowLeavesOnlyTheQuestion()
{
    typeRate(u"123"_s);
    closeMain();
    QVERIFY(!main());
    QVERIFY(!m_registry->existing(WindowName::atldendovize));
    QVERIFY(!m_registry->existing(WindowName::adovizdentlye));
    QCOMPARE(visibleQuestions(), 1);
    QCOMPARE(m_services->endRequests, 0);
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
    m_registry->window(WindowName::atldendovize)->findChild<QAction *>(u"mnuKapat"_s)->trigger();
    QCOMPARE(visibleQuestions(), 1);
    QVERIFY(main()->isVisible());
    button(question(), u"Command2"_s)->click();
    QCOMPARE(main(), before);
    QCOMPARE(rate(), u"123"_s);
    QCOMPARE(visibleQuestions(), 0);
}

void ExitConfirmationTest::closingMainWhileAskingLeavesOneQuestion()
{
    m_registry->window(WindowName::adovizdentlye)->findChild<QAction *>(u"mnuKapat"_s)->trigger();
    QWidget *asked = question();
    closeMain();
    QCOMPARE(question(), asked);
    QCOMPARE(visibleQuestions(), 1);
    QVERIFY(!main());
}

void ExitConfirmationTest::yesEndsTheProgram_data()
{
    QTest::addColumn<bool>("mainClosed");
    QTest::newRow("after closing the main window") << true;
    QTest::newRow("after Kapat") << false;
}

void ExitConfirmationTest::yesEndsTheProgram()
{
    QFETCH(bool, mainClosed);
    if (mainClosed)
        closeMain();
    else
        m_registry->show(WindowName::uyari);
    button(question(), u"Command1"_s)->click();
    QCOMPARE(m_services->endRequests, 1);
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
    QCOMPARE(m_services->endRequests, 0);
}

void ExitConfirmationTest::closeButtonActsAsNo_data()
{
    QTest::addColumn<bool>("mainClosed");
    QTest::newRow("main window closed: it comes back") << true;
    QTest::newRow("main window open: the question just goes") << false;
}

void ExitConfirmationTest::closeButtonActsAsNo()
{
    QFETCH(bool, mainClosed);
    typeRate(u"55"_s);
    if (mainClosed)
        closeMain();
    else
        m_registry->show(WindowName::uyari);
    QWidget *q = question();
    q->close();
    deleteClosed();
    QVERIFY(!q->isVisible());
    QVERIFY(main());
    QVERIFY(main()->isVisible());
    QCOMPARE(rate(), mainClosed ? QString() : u"55"_s);
    QCOMPARE(m_services->endRequests, 0);
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
    QTimer::singleShot(0, [q] { button(q, u"Command1"_s)->click(); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(registry.existing(WindowName::MDIForm1)); // not closed: hidden as the program ends
    QVERIFY(!registry.existing(WindowName::MDIForm1)->isVisible());
    QCOMPARE(visibleQuestions(), 0);
}

QTEST_MAIN(ExitConfirmationTest)
#include "tst_exitconfirmation.moc"
