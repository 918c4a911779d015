#include "shell/services/contrast.h"
#include "shell/services/layout.h"
#include "shell/services/rooms.h"
#include "support/captionfit.h"
#include "support/tables.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
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
    void windowsGrowWithTheFont_data();
    void windowsGrowWithTheFont();
    void windowsStayWithinTheScreen();
    void arrangedWindowsTakeTheScale_data();
    void arrangedWindowsTakeTheScale();

private:
    // Opens the window under the desktop font (0 pt: the platform's size), as a platform theme sets
    // it before windows are built.
    QWidget *open(WindowName window, const QString &family, qreal points);

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
        {"24 pt", {}, 24},
        {"Noto Sans 15", u"Noto Sans"_s, 15},
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

    // The test packages install it: missing, the row would prove nothing.
    QVERIFY2(family.isEmpty() || QFontDatabase::hasFamily(family), qPrintable(family + u" is not installed here."_s));
    if (QFontInfo(m_platform).pointSizeF() <= 0)
        QSKIP("No usable font: no text can be measured, nor made to fit.");
    QWidget *w = open(window, family, points);
    const QFont desktop = QApplication::font();

    int checked = 0;
    const QStringList faults = captionFaults(w, desktop, checked);
    QVERIFY(checked > 0);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; ")));

    // Above the usual sizes the windows grow so that captions in the desktop's font keep close to it.
    QList<qreal> ratios;
    for (const QWidget *control : w->findChildren<const QWidget *>()) {
        if (!varnek::captionOf(control).isEmpty() && !control->font().fixedPitch())
            ratios << QFontInfo(control->font()).pointSizeF() / QFontInfo(desktop).pointSizeF();
    }
    if (points <= 11 || ratios.isEmpty())
        return;
    std::sort(ratios.begin(), ratios.end());
    QVERIFY2(ratios.first() >= 0.75, qPrintable(u"smallest caption at %1 of the desktop's size"_s.arg(ratios.first())));
    QVERIFY2(ratios[ratios.size() / 2] >= 0.85,
             qPrintable(u"median caption at %1 of the desktop's size"_s.arg(ratios[ratios.size() / 2])));
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
    QHash<const QWidget *, QRect> placed;
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
            // Open or hidden, every window takes the scale of a large font.
            QVERIFY2(points <= 11 || w->width() > placed.value(w).width(), qPrintable(when + w->objectName()));
            QList<const QWidget *> widgets = w->findChildren<const QWidget *>();
            widgets << w;
            for (const QWidget *control : std::as_const(widgets)) {
                const qreal size = QFontInfo(control->font()).pointSizeF();
                if (step == 0) {
                    first.insert(control, control->font());
                    placed.insert(control, control->geometry());
                } else if (step + 1 == std::size(desktops)) {
                    QVERIFY2(control->font() == first.value(control), qPrintable(when + control->objectName()));
                    // Back at the usual size, every pixel is the tables' own again.
                    QCOMPARE(control->geometry(), placed.value(control));
                }
                else
                    QVERIFY2(size >= previous.value(control) - 0.01,
                             qPrintable(when + control->objectName() + u" smaller than under a smaller font"_s));
                previous.insert(control, size);
            }
        }
        // The main window, maximised meanwhile, is restored at its normal size for this scale.
        if (points == 20) {
            QWidget *main = m_fixture->registry.window(WindowName::MDIForm1);
            QVERIFY(main->isMaximized());
            main->showNormal();
            // Its layout may make it a few pixels taller, for the menu bar at this font.
            QTRY_COMPARE(main->width(), 936);
            QVERIFY(main->height() >= 944);
            main->showMaximized();
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

void DesktopFontsTest::windowsGrowWithTheFont_data()
{
    QTest::addColumn<qreal>("points");
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<qreal>("factor");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("place");

    const WindowName exit = WindowName::uyari, rates = WindowName::Form2;
    const qreal at20 = 26.667 / 11.333;
    QTest::newRow("8 pt") << 8.0 << exit << 1.0 << QSize(233, 103) << u"Command1"_s << QRect(80, 64, 65, 25);
    QTest::newRow("11 pt") << 11.0 << rates << 1.0 << QSize(306, 261) << u"Text1"_s << QRect(104, 24, 129, 19);
    // Built straight after the usual size: the main window, too, must be built at the new scale.
    QTest::newRow("20 pt, TL to currency") << 20.0 << WindowName::atldendovize << at20 << QSize(546, 880)
                                           << u"Dolarsatilis"_s << QRect(56, 75, 210, 45);
    QTest::newRow("12 pt") << 12.0 << exit << 16 / 11.333 << QSize(329, 145) << u"Command1"_s << QRect(113, 90, 92, 36);
    QTest::newRow("20 pt") << 20.0 << exit << at20 << QSize(548, 242) << u"Command1"_s << QRect(188, 151, 153, 58);
    QTest::newRow("20 pt, rate entry") << 20.0 << rates << at20 << QSize(720, 614) << u"Text1"_s
                                       << QRect(245, 56, 303, 45);
    QTest::newRow("20 pt, splash") << 20.0 << WindowName::splash << at20 << QSize(847, 678) << u"Command2"_s
                                   << QRect(678, 546, 153, 59);
    QTest::newRow("20 pt, calculator") << 20.0 << WindowName::hesapmakinesi << at20 << QSize(369, 332) << u"Sayibir"_s
                                       << QRect(169, 56, 172, 45);
    QTest::newRow("24 pt") << 24.0 << WindowName::frmAbout << 32 / 11.333 << QSize(1011, 805) << u"cmdOK"_s
                           << QRect(768, 678, 237, 65);
}

// The desktop's font sets the twips' scale: up to 11 pt every pixel is the tables' own, above it
// the window and its controls grow. A document window's frame grows around its client area, placed
// inside the main window's document area.
void DesktopFontsTest::windowsGrowWithTheFont()
{
    QFETCH(qreal, points);
    QFETCH(WindowName, window);
    QFETCH(qreal, factor);
    QFETCH(QSize, client);
    QFETCH(QString, control);
    QFETCH(QRect, place);

    QWidget *w = open(window, {}, points);
    QVERIFY2(qAbs(varnek::twipScale() - factor) < 0.001, qPrintable(QString::number(varnek::twipScale())));
    auto *child = qobject_cast<QMdiSubWindow *>(w);
    QCOMPARE(child ? child->widget()->size() : w->size(), client);
    QVERIFY(!child || child->contentsRect().contains(child->widget()->geometry()));
    QVERIFY2(!child || (child->x() >= 0 && child->y() >= 0), "placed past the document area's corner");
    QCOMPARE(m_fixture->control<QWidget>(w, control)->geometry(), place);
    if (!child)
        WindowFixture::verifyCentred(w);
}

// At 24 pt (also run on a 1366 x 768 screen) no window, frame and all, is larger than the screen's
// free area, a document window than the main window's document area.
void DesktopFontsTest::windowsStayWithinTheScreen()
{
    for (WindowName window : {WindowName::splash, WindowName::atldendovize, WindowName::Form2, WindowName::frmAbout}) {
        QWidget *w = open(window, {}, 24);
        QVERIFY(varnek::twipScale() > 1);
        const auto *child = qobject_cast<QMdiSubWindow *>(w);
        const QSize room = child ? child->mdiArea()->viewport()->size() : w->screen()->availableSize();
        const QSize size = child ? child->size() : w->frameGeometry().size();
        QVERIFY2(size.width() <= room.width() && size.height() <= room.height(), qPrintable(w->objectName()));
        if (!child)
            WindowFixture::verifyCentred(w);
    }
}

void DesktopFontsTest::arrangedWindowsTakeTheScale_data()
{
    QTest::addColumn<qreal>("points");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QSize>("client"); // empty: the tile decides
    QTest::newRow("10 pt, tiled") << 10.0 << u"mnuDose"_s << QSize();
    QTest::newRow("10 pt, cascaded") << 10.0 << u"mnuBasamakla"_s << QSize(232, 374);
    QTest::newRow("20 pt, tiled") << 20.0 << u"mnuDose"_s << QSize();
    QTest::newRow("20 pt, cascaded") << 20.0 << u"mnuBasamakla"_s << QSize(546, 880);
}

// Both document windows open, arranged through their menu: within the document area, side by side
// without overlapping, or cascaded at the scale's size.
void DesktopFontsTest::arrangedWindowsTakeTheScale()
{
    QFETCH(qreal, points);
    QFETCH(QString, command);
    QFETCH(QSize, client);

    QWidget *w = open(WindowName::atldendovize, {}, points);
    m_fixture->registry.setChildState(WindowName::adovizdentlye, Qt::WindowNoState);
    m_fixture->control<QAction>(w, command)->trigger();
    const auto *area = qobject_cast<QMdiSubWindow *>(w)->mdiArea();
    QList<QRect> placed;
    for (const QMdiSubWindow *child : area->subWindowList()) {
        const QString name = child->objectName();
        QVERIFY2(area->viewport()->rect().contains(child->geometry()), qPrintable(name + u" outside the area"_s));
        QCOMPARE(child->widget()->geometry(), child->contentsRect());
        if (client.isEmpty())
            QVERIFY2(placed.isEmpty() || !placed.first().intersects(child->geometry()), qPrintable(name));
        else
            QCOMPARE(child->widget()->size(), client);
        placed << child->geometry();
    }
    QCOMPARE(placed.size(), 2);
}

QWidget *DesktopFontsTest::open(WindowName window, const QString &family, qreal points)
{
    QFont desktop = m_platform;
    if (!family.isEmpty())
        desktop.setFamily(family);
    if (points > 0)
        desktop.setPointSizeF(points);
    QApplication::setFont(desktop);
    m_fixture.emplace();
    m_fixture->registry.show(window);
    QWidget *w = m_fixture->registry.window(window);
    if (qobject_cast<QMdiSubWindow *>(w))
        m_fixture->registry.setChildState(window, Qt::WindowNoState);
    if (!QTest::qWaitForWindowExposed(w))
        qWarning("%s not shown", qPrintable(w->objectName()));
    QCoreApplication::processEvents(); // what waits for the first paint
    return w;
}

QTEST_MAIN(DesktopFontsTest)
#include "tst_desktopfonts.moc"
