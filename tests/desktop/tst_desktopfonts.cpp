#include "support/captionfit.h"
#include "support/windowfixture.h"

#include <QApplication>
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

private:
    QFont m_platform;
    std::optional<WindowFixture> m_fixture;
};

void DesktopFontsTest::cleanup()
{
    m_fixture.reset();
    QApplication::setFont(m_platform);
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

QTEST_MAIN(DesktopFontsTest)
#include "tst_desktopfonts.moc"
