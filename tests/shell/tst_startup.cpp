#include "shell/mdiform1.h"
#include "support/tables.h"
#include "support/windowfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>
#include <stdexcept>

using namespace Qt::StringLiterals;
using varnek::WindowName;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_fixture.emplace(); }
    void cleanup() { m_fixture.reset(); }

    void onlyTheSplashExistsAtStart();
    void runOpensMaximisedMainWindowWithMinimisedChildren();
    void quitEndsWithoutClosingStep();
    void childAskedForWithoutMainWindowIsCreatedOnce_data();
    void childAskedForWithoutMainWindowIsCreatedOnce();
    void realEndLeavesEventLoopWithoutClosingStep();
    void childCallsOnAnotherWindowFailLoudly_data();
    void childCallsOnAnotherWindowFailLoudly();

private:
    QAbstractButton *button(QWidget *window, const QString &name)
    {
        return m_fixture->control<QAbstractButton>(window, name);
    }

    std::optional<WindowFixture> m_fixture;
};

namespace {

// Calls `seen` with each event of the given type that reaches `watched`, before the object has it,
// for as long as the watch lives.
class EventWatch : public QObject {
public:
    EventWatch(QObject *watched, QEvent::Type type, std::function<void()> seen)
        : m_type(type), m_seen(std::move(seen))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            m_seen();
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_seen;
};

} // namespace

void StartupTest::onlyTheSplashExistsAtStart()
{
    varnek::Registry &registry = m_fixture->registry;
    registry.show(WindowName::splash);

    QWidget *splash = registry.existing(WindowName::splash);
    QVERIFY(splash);
    QVERIFY(splash->isVisible());
    QCOMPARE(splash->size(), QSize(360, 288));
    WindowFixture::verifyCentred(splash);
    QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(QApplication::topLevelWidgets().size(), 1);
    for (auto name : {WindowName::MDIForm1, WindowName::atldendovize, WindowName::adovizdentlye, WindowName::uyari})
        QVERIFY(!registry.existing(name));
    QCOMPARE(QApplication::focusWidget(), button(splash, u"Command1"_s));
}

void StartupTest::runOpensMaximisedMainWindowWithMinimisedChildren()
{
    varnek::Registry &registry = m_fixture->registry;
    registry.show(WindowName::splash);
    QWidget *splash = registry.existing(WindowName::splash);
    // The main window is on the screen before the splash goes.
    std::optional<bool> mainShownAtSplashHide;
    const EventWatch watch(splash, QEvent::Hide, [&] {
        const QWidget *main = registry.existing(WindowName::MDIForm1);
        mainShownAtSplashHide = main && main->isVisible();
    });
    button(splash, u"Command1"_s)->click();
    QCOMPARE(mainShownAtSplashHide, std::optional(true));

    auto *main = qobject_cast<varnek::MDIForm1 *>(registry.existing(WindowName::MDIForm1));
    QVERIFY(main);
    QVERIFY(main->isVisible());
    QVERIFY(main->isMaximized());
    QCOMPARE(main->windowTitle(), u"Varnek Otomasyon v1.6"_s);
    QCOMPARE(main->workspace()->background().color(), QColor(Qt::black));

    QVERIFY(!splash->isVisible());
    QCOMPARE(registry.existing(WindowName::splash), splash); // hidden, not closed

    const QList<QMdiSubWindow *> children = main->workspace()->subWindowList(QMdiArea::CreationOrder);
    QCOMPARE(children.size(), 2);
    QCOMPARE(children[0]->objectName(), u"adovizdentlye"_s);
    QCOMPARE(children[1]->objectName(), u"atldendovize"_s);
    for (QMdiSubWindow *child : children) {
        QVERIFY(child->isVisible());
        QVERIFY(child->isMinimized());
    }
    QCOMPARE(main->workspace()->currentSubWindow(), children[1]);
    QVERIFY(m_fixture->services.messages.isEmpty());

    // Restored, it stands in the middle of the screen.
    main->showNormal();
    QTRY_VERIFY(!main->isMaximized());
    WindowFixture::verifyCentred(main);
}

void StartupTest::quitEndsWithoutClosingStep()
{
    varnek::Registry &registry = m_fixture->registry;
    registry.show(WindowName::splash);
    button(registry.existing(WindowName::splash), u"Command2"_s)->click();
    QCOMPARE(m_fixture->services.endRequests, 1);
    QVERIFY(!registry.existing(WindowName::uyari));
    QVERIFY(!registry.existing(WindowName::MDIForm1));
}

void StartupTest::childAskedForWithoutMainWindowIsCreatedOnce_data()
{
    addConversionWindowRows("child");
}

void StartupTest::childAskedForWithoutMainWindowIsCreatedOnce()
{
    QFETCH(WindowName, child);
    varnek::Registry &registry = m_fixture->registry;
    QWidget *w = registry.window(child);
    auto *main = qobject_cast<varnek::MDIForm1 *>(registry.existing(WindowName::MDIForm1));
    QVERIFY(main);
    QVERIFY(main->isVisible());
    QCOMPARE(main->workspace()->findChildren<QMdiSubWindow *>().size(), 2);
    QCOMPARE(registry.window(child), w);
    QCOMPARE(w->parentWidget()->parentWidget(), main->workspace());
}

// With the real services: the event loop ends with status 0 and the main window's closing step
// (which would bring up the exit question) never runs.
void StartupTest::realEndLeavesEventLoopWithoutClosingStep()
{
    varnek::QtServices services;
    varnek::Registry registry(services);
    registry.show(WindowName::splash);
    button(registry.existing(WindowName::splash), u"Command1"_s)->click();
    QVERIFY(registry.existing(WindowName::MDIForm1)->isVisible());

    QTimer::singleShot(0, [&] { button(registry.existing(WindowName::splash), u"Command2"_s)->click(); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!registry.existing(WindowName::uyari));
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

QTEST_MAIN(StartupTest)
void StartupTest::childCallsOnAnotherWindowFailLoudly_data()
{
    QTest::addColumn<WindowName>("window");
    QTest::newRow("splash") << WindowName::splash;
    QTest::newRow("main window") << WindowName::MDIForm1;
    QTest::newRow("rate-entry window") << WindowName::Form2;
    QTest::newRow("calculator") << WindowName::hesapmakinesi;
    QTest::newRow("about") << WindowName::frmAbout;
    QTest::newRow("exit question") << WindowName::uyari;
}

// A misdirected call is a programming error: it must stop in every build, not write into a wrong
// window or through a null pointer, and it creates nothing on the way.
void StartupTest::childCallsOnAnotherWindowFailLoudly()
{
    QFETCH(WindowName, window);
    varnek::WindowHub &hub = m_fixture->registry;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, hub.setRate(window, varnek::Currency::Mark, u"1"_s));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, hub.setChildState(window, Qt::WindowNoState));
    QVERIFY(!m_fixture->registry.existing(window));
}

#include "tst_startup.moc"
