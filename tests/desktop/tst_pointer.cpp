#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using varnek::WindowName;

// The pointer as the user moves it: X input made by xdotool on the test's own X server, under a
// window manager (tests/desktop/under_wm.sh). Mouse events that Qt is handed directly did not
// resize the conversion windows' frames where a real drag did.
class PointerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void conversionWindowsKeepTheirSize_data();
    void conversionWindowsKeepTheirSize();

private:
    static void xdotool(const QStringList &arguments);

    std::optional<WindowFixture> m_fixture;
    const QFont m_platform = QApplication::font();
};

void PointerTest::initTestCase()
{
    if (QGuiApplication::platformName() != u"xcb"_s)
        QSKIP("needs an X server: run through under_wm.sh");
    if (QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
        QSKIP("needs xdotool");
}

void PointerTest::init() { m_fixture.emplace(); }

void PointerTest::cleanup()
{
    m_fixture.reset();
    QApplication::setFont(m_platform);
}

void PointerTest::xdotool(const QStringList &arguments)
{
    QCOMPARE(QProcess::execute(u"xdotool"_s, arguments), 0);
    // The X events are queued for us; let them in.
    QTest::qWait(50);
}

void PointerTest::conversionWindowsKeepTheirSize_data()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QPointF>("grip"); // where the button goes down, as a share of the frame's size
    QTest::addColumn<bool>("moves");   // a drag on the title bar, which shows the pointer arrives
    QTest::addColumn<qreal>("points"); // the desktop's font; 0: the platform's

    for (const auto &[window, tag] : {std::pair{WindowName::atldendovize, "TL->Döviz"},
                                      std::pair{WindowName::adovizdentlye, "Döviz->TL"}}) {
        QTest::addRow("%s, bottom-right corner", tag) << window << QPointF(1, 1) << false << 0.0;
        QTest::addRow("%s, right edge", tag) << window << QPointF(1, 0.5) << false << 0.0;
        QTest::addRow("%s, bottom edge", tag) << window << QPointF(0.5, 1) << false << 0.0;
        QTest::addRow("%s, title bar", tag) << window << QPointF(0.5, 0) << true << 0.0;
    }
    // Grown with a large font, it is as fixed as before.
    QTest::newRow("TL->Döviz at 20 pt, bottom-right corner") << WindowName::atldendovize << QPointF(1, 1) << false << 20.0;
    QTest::newRow("TL->Döviz at 20 pt, title bar") << WindowName::atldendovize << QPointF(0.5, 0) << true << 20.0;
}

// Pressed on its frame's corner or edge and dragged by (120, 90), a conversion window stays the
// size it was made; dragged by its title bar, it moves. Its title-bar menu offers no "Size".
void PointerTest::conversionWindowsKeepTheirSize()
{
    QFETCH(WindowName, window);
    QFETCH(QPointF, grip);
    QFETCH(bool, moves);
    QFETCH(qreal, points);

    if (points > 0) {
        QFont large = QApplication::font();
        large.setPointSizeF(points);
        QApplication::setFont(large);
    }
    m_fixture->registry.show(WindowName::MDIForm1);
    QVERIFY(QTest::qWaitForWindowActive(m_fixture->registry.window(WindowName::MDIForm1)));
    m_fixture->registry.setChildState(window, Qt::WindowNoState);
    auto *frame = static_cast<QMdiSubWindow *>(m_fixture->registry.window(window));
    QTRY_VERIFY(frame->isVisible() && !frame->isMinimized());
    QTest::qWait(100);

    const QRect before = frame->geometry();
    // One pixel inside the frame's outer edge; the title bar halfway down the strip above the form.
    const int titleBar = frame->widget()->geometry().top();
    const QPoint local(std::min(int(grip.x() * before.width()), before.width() - 2),
                       grip.y() == 0 ? titleBar / 2 : std::min(int(grip.y() * before.height()), before.height() - 2));
    const QPoint start = frame->mapToGlobal(local);
    const QPoint by(120, 90);

    xdotool({u"mousemove"_s, u"--sync"_s, QString::number(start.x()), QString::number(start.y())});
    xdotool({u"mousedown"_s, u"1"_s});
    for (int step = 1; step <= 4; ++step) {
        const QPoint at = start + by * step / 4;
        xdotool({u"mousemove"_s, u"--sync"_s, QString::number(at.x()), QString::number(at.y())});
    }
    xdotool({u"mouseup"_s, u"1"_s});
    QTest::qWait(100);

    const QRect after = frame->geometry();
    qInfo("frame %dx%d at (%d, %d) before, %dx%d at (%d, %d) after", before.width(), before.height(), before.x(),
          before.y(), after.width(), after.height(), after.x(), after.y());
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.topLeft(), moves ? before.topLeft() + by : before.topLeft());
    // The form still fills the frame's inside: no grey band.
    QCOMPARE(frame->widget()->geometry(), frame->contentsRect());

    const QString size = QCoreApplication::translate("QMdiSubWindow", "&Size");
    for (QAction *action : frame->systemMenu()->actions())
        QVERIFY2(action->text() != size || !action->isVisible() || !action->isEnabled(), "the title-bar menu offers Size");
}

QTEST_MAIN(PointerTest)
#include "tst_pointer.moc"
