#include "shell/services/contrast.h"
#include "support/captionfit.h"
#include "support/tables.h"
#include "support/windowfixture.h"

#include <QApplication>
#include <QLabel>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMdiSubWindow>
#include <QTest>

using namespace Qt::StringLiterals;
using varnek::WindowName;

// The fonts desktops really give, set as a platform theme sets them: before any window is built.
class DesktopFontsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_platform = QApplication::font(); }
    void cleanup();
    void everyCaptionFitsItsRoom_data();
    void everyCaptionFitsItsRoom();
    void followsTheDesktopWhileOpen();

private:
    QFont m_platform;
    const QPalette m_palette = QApplication::palette();
    std::optional<WindowFixture> m_fixture;
};

void DesktopFontsTest::cleanup()
{
    m_fixture.reset();
    QApplication::setFont(m_platform);
    QApplication::setPalette(m_palette);
}

void DesktopFontsTest::everyCaptionFitsItsRoom_data()
{
    QTest::addColumn<QString>("family"); // empty: the platform's own
    QTest::addColumn<qreal>("points");
    QTest::addColumn<WindowName>("window");

    const struct {
        const char *name;
        QString family;
        qreal points;
    } fonts[] = {
        {"platform font", {}, 0},
        {"Cantarell 11", u"Cantarell"_s, 11},
        {"Cantarell 15", u"Cantarell"_s, 15},
        {"Noto Sans 10", u"Noto Sans"_s, 10},
        {"Liberation Sans 9", u"Liberation Sans"_s, 9},
        {"12 pt", {}, 12},
        {"14 pt", {}, 14},
        {"16 pt", {}, 16},
        {"20 pt", {}, 20},
    };
    const struct {
        const char *name;
        WindowName window;
    } windows[] = {
        {"splash", WindowName::splash},         {"TL to currency", WindowName::atldendovize},
        {"currency to TL", WindowName::adovizdentlye}, {"rate entry", WindowName::Form2},
        {"calculator", WindowName::hesapmakinesi}, {"about", WindowName::frmAbout},
        {"exit question", WindowName::uyari},
    };
    for (const auto &font : fonts)
        for (const auto &window : windows)
            QTest::addRow("%s, %s", font.name, window.name) << font.family << font.points << window.window;
}

void DesktopFontsTest::everyCaptionFitsItsRoom()
{
    QFETCH(QString, family);
    QFETCH(qreal, points);
    QFETCH(WindowName, window);

    QFont desktop = m_platform;
    if (!family.isEmpty()) {
        // The test packages install it: missing, the row would prove nothing.
        QVERIFY2(QFontDatabase::hasFamily(family), qPrintable(family + u" is not installed here."_s));
        desktop.setFamily(family);
    }
    if (points > 0)
        desktop.setPointSizeF(points);
    if (QFontInfo(desktop).pointSizeF() <= 0)
        QSKIP("No usable font: no text can be measured, nor made to fit.");
    QApplication::setFont(desktop);

    m_fixture.emplace();
    m_fixture->registry.show(window);
    QWidget *w = m_fixture->registry.window(window);
    if (qobject_cast<QMdiSubWindow *>(w))
        m_fixture->registry.setChildState(window, Qt::WindowNoState);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCoreApplication::processEvents(); // what waits for the first paint

    int checked = 0;
    const QStringList faults = captionFaults(w, desktop, checked);
    QVERIFY(checked > 0);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; ")));
}

// The desktop's font and colours changed while every window is open (one of them hidden), as a
// platform theme does, and changed back: each time every caption fits again, from the desktop's
// font, none smaller than under a smaller font, and the texts on the About picture stand out.
void DesktopFontsTest::followsTheDesktopWhileOpen()
{
    using namespace varnek;
    if (QFontInfo(m_platform).pointSizeF() <= 0)
        QSKIP("No usable font: no text can be measured, nor made to fit.");
    m_fixture.emplace();
    const WindowName names[] = {WindowName::splash, WindowName::atldendovize, WindowName::adovizdentlye,
                                WindowName::Form2, WindowName::hesapmakinesi, WindowName::frmAbout, WindowName::uyari};
    for (WindowName name : names) {
        m_fixture->registry.show(name);
        if (name == WindowName::atldendovize || name == WindowName::adovizdentlye)
            m_fixture->registry.setChildState(name, Qt::WindowNoState);
        QVERIFY(QTest::qWaitForWindowExposed(m_fixture->registry.window(name)));
    }
    m_fixture->registry.hide(WindowName::uyari);
    QCoreApplication::processEvents();

    QHash<const QWidget *, qreal> previous;
    QHash<const QWidget *, QFont> first;
    const QPalette dark = desktopPalettes()[1].second;
    // A size off the half points (10.25) must not come out smaller than the one before it.
    const std::pair<qreal, bool> desktops[] = {{0, false}, {10, false}, {10.25, false}, {12, true}, {16, true},
                                               {20, false}, {0, false}};
    for (std::size_t step = 0; step < std::size(desktops); ++step) {
        const auto [points, darkScheme] = desktops[step];
        QFont desktop = m_platform;
        if (points > 0)
            desktop.setPointSizeF(points);
        QApplication::setFont(desktop);
        QApplication::setPalette(darkScheme ? dark : m_palette);
        QCoreApplication::processEvents();
        const QString when = u"at %1 pt%2: "_s.arg(QFontInfo(desktop).pointSizeF()).arg(darkScheme ? u", dark"_s : QString());
        for (WindowName name : names) {
            QWidget *w = m_fixture->registry.window(name);
            int checked = 0;
            const QStringList faults = captionFaults(w, desktop, checked);
            QVERIFY2(faults.isEmpty(), qPrintable(when + faults.join(u"; ")));
            for (const QWidget *control : w->findChildren<const QWidget *>()) {
                const qreal size = QFontInfo(control->font()).pointSizeF();
                if (step == 0)
                    first.insert(control, control->font());
                else if (step + 1 == std::size(desktops))
                    QVERIFY2(control->font() == first.value(control), qPrintable(when + control->objectName()));
                else
                    QVERIFY2(size >= previous.value(control) - 0.01,
                             qPrintable(when + control->objectName() + u" smaller than under a smaller font"_s));
                previous.insert(control, size);
            }
        }
        // Drawn on the picture: against the mean of what the window paints beneath each.
        QWidget *about = m_fixture->registry.window(WindowName::frmAbout);
        QImage picture(about->size(), QImage::Format_RGB32);
        about->render(&picture, {}, {}, QWidget::DrawWindowBackground);
        for (const QString &name : {u"Label1"_s, u"Label2"_s}) {
            const auto *label = m_fixture->control<QLabel>(about, name);
            const qreal ratio = contrastRatio(relativeLuminance(label->palette().color(QPalette::WindowText)),
                                              meanLuminance(picture, label->geometry()));
            QVERIFY2(ratio >= 4.5, qPrintable(when + name + u" at %1:1"_s.arg(ratio)));
            if (!darkScheme)
                QCOMPARE(label->palette().color(QPalette::WindowText), m_palette.color(QPalette::WindowText));
        }
    }
}

QTEST_MAIN(DesktopFontsTest)
#include "tst_desktopfonts.moc"
