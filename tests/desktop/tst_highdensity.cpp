#include "assets/assets.h"
#include "support/captionfit.h"
#include "support/windowfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>

#include <algorithm>
#include <ranges>

using namespace Qt::StringLiterals;
using varnek::WindowName;
using varnek::assets::Picture;

// Runs with every screen at twice the density (QT_SCALE_FACTOR=2, set in main below); the result
// boxes' frames also at fractional ones (CMakeLists.txt).
class HighDensityTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void screensAreTwiceAsDense();
    void windowsKeepTheirSize_data();
    void windowsKeepTheirSize();
    void noTextIsClipped_data();
    void noTextIsClipped();
    void picturesComeAtTwiceTheirSize_data();
    void picturesComeAtTwiceTheirSize();
    void picturesInWindowsAreTheSharpOnes_data();
    void picturesInWindowsAreTheSharpOnes();
    void backdropIsDrawnFromTheSharpPicture_data();
    void backdropIsDrawnFromTheSharpPicture();
    void resultBoxFramesAreWhole_data();
    void resultBoxFramesAreWhole();

private:
    static void allWindows();

    std::optional<WindowFixture> m_fixture;
};

namespace {

QImage resourceImage(const QString &file)
{
    QImage image(u":/varnek/"_s + file);
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void HighDensityTest::init() { m_fixture.emplace(); }

void HighDensityTest::cleanup() { m_fixture.reset(); }

void HighDensityTest::screensAreTwiceAsDense() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

void HighDensityTest::allWindows()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QSize>("size"); // of the client area, in logical pixels

    QTest::newRow("splash") << WindowName::splash << QSize(360, 288);
    QTest::newRow("TL to currency") << WindowName::atldendovize << QSize(232, 374);
    QTest::newRow("currency to TL") << WindowName::adovizdentlye << QSize(232, 374);
    QTest::newRow("rate entry") << WindowName::Form2 << QSize(306, 261);
    QTest::newRow("calculator") << WindowName::hesapmakinesi << QSize(157, 141);
    QTest::newRow("about") << WindowName::frmAbout << QSize(358, 285);
    QTest::newRow("exit question") << WindowName::uyari << QSize(233, 103);
}

void HighDensityTest::windowsKeepTheirSize_data() { allWindows(); }

// The same logical size as on an ordinary screen, so twice as many pixels: nothing moves
// relative to anything else.
void HighDensityTest::windowsKeepTheirSize()
{
    QFETCH(WindowName, window);
    QFETCH(QSize, size);
    m_fixture->registry.show(window);
    QWidget *w = m_fixture->registry.window(window);
    if (auto *child = qobject_cast<QMdiSubWindow *>(w)) {
        m_fixture->registry.setChildState(window, Qt::WindowNoState);
        w = child->widget();
    }
    QCOMPARE(w->size(), size);
    QCOMPARE(w->devicePixelRatio(), 2.0);
}

void HighDensityTest::noTextIsClipped_data() { allWindows(); }

void HighDensityTest::noTextIsClipped()
{
    QFETCH(WindowName, window);
    m_fixture->registry.show(window);
    if (window == WindowName::atldendovize || window == WindowName::adovizdentlye)
        m_fixture->registry.setChildState(window, Qt::WindowNoState);
    QWidget *w = m_fixture->registry.window(window);

    int checked = 0;
    const QStringList faults = captionFaults(w, QApplication::font(), checked);
    QVERIFY(checked > 0);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; ")));
}

void HighDensityTest::picturesComeAtTwiceTheirSize_data()
{
    QTest::addColumn<Picture>("picture");
    QTest::addColumn<QSize>("size"); // logical
    QTest::addColumn<QString>("dense"); // the file drawn for dense screens

    QTest::newRow("backdrop") << Picture::Backdrop << QSize(360, 288) << u"backdrop@2x.png"_s;
    QTest::newRow("main window icon") << Picture::MainIcon << QSize(32, 32) << u"main-32@2x.png"_s;
    QTest::newRow("conversion icon") << Picture::ConversionIcon << QSize(32, 32) << u"conversion-32@2x.png"_s;
    QTest::newRow("run button") << Picture::RunButton << QSize(32, 32) << u"run-32@2x.png"_s;
    QTest::newRow("rate entry icon") << Picture::RateEntryIcon << QSize(32, 32) << u"rate-entry-32@2x.png"_s;
    QTest::newRow("unlit bulb") << Picture::BulbOff << QSize(32, 32) << u"bulb-off-32@2x.png"_s;
    QTest::newRow("lit bulb") << Picture::BulbOn << QSize(32, 32) << u"bulb-on-32@2x.png"_s;
    QTest::newRow("calculator icon") << Picture::CalculatorIcon << QSize(32, 32) << u"calculator-32@2x.png"_s;
    QTest::newRow("speech bubble") << Picture::SpeechBubble << QSize(24, 22) << u"speech-bubble@2x.png"_s;
    QTest::newRow("envelope") << Picture::Envelope << QSize(24, 22) << u"envelope@2x.png"_s;
    QTest::newRow("close disc") << Picture::CloseDisc << QSize(32, 32) << u"close-disc-32@2x.png"_s;
    QTest::newRow("about icon") << Picture::AboutIcon << QSize(32, 32) << u"about-32@2x.png"_s;
    QTest::newRow("warning icon") << Picture::WarningIcon << QSize(32, 32) << u"warning-32@2x.png"_s;
}

void HighDensityTest::picturesComeAtTwiceTheirSize()
{
    QFETCH(Picture, picture);
    QFETCH(QSize, size);
    QFETCH(QString, dense);

    const QImage expected = resourceImage(dense);
    QCOMPARE(expected.size(), size * 2);

    const QPixmap image = varnek::assets::pixmap(picture);
    QCOMPARE(image.devicePixelRatio(), 2.0);
    QCOMPARE(image.deviceIndependentSize(), QSizeF(size));
    QCOMPARE(image.toImage().convertToFormat(QImage::Format_ARGB32), expected);

    // The same for the icon, and not a blown-up copy of the ordinary picture.
    const QPixmap drawn = varnek::assets::icon(picture).pixmap(size, 2.0);
    QCOMPARE(drawn.devicePixelRatio(), 2.0);
    QCOMPARE(drawn.toImage().convertToFormat(QImage::Format_ARGB32), expected);
}

void HighDensityTest::picturesInWindowsAreTheSharpOnes_data()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("dense");

    QTest::newRow("exit question picture") << WindowName::uyari << u"Picture1"_s << u"warning-32@2x.png"_s;
    QTest::newRow("calculator signature") << WindowName::hesapmakinesi << u"Picture1"_s << u"speech-bubble@2x.png"_s;
    QTest::newRow("calculator e-mail") << WindowName::hesapmakinesi << u"Picture2"_s << u"envelope@2x.png"_s;
    QTest::newRow("calculator close") << WindowName::hesapmakinesi << u"Picture3"_s << u"close-disc-32@2x.png"_s;
}

void HighDensityTest::picturesInWindowsAreTheSharpOnes()
{
    QFETCH(WindowName, window);
    QFETCH(QString, control);
    QFETCH(QString, dense);
    m_fixture->registry.show(window);

    const QWidget *widget = m_fixture->control<QWidget>(window, control);
    // A picture label shows its pixmap; a picture button, its icon at its icon size.
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    const QPixmap shown = button ? button->icon().pixmap(button->iconSize(), button->devicePixelRatio())
                                 : qobject_cast<const QLabel *>(widget)->pixmap();
    QCOMPARE(shown.devicePixelRatio(), 2.0);
    QCOMPARE(shown.toImage().convertToFormat(QImage::Format_ARGB32), resourceImage(dense));
}

void HighDensityTest::backdropIsDrawnFromTheSharpPicture_data()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QRect>("area"); // logical, clear of any control

    QTest::newRow("splash") << WindowName::splash << QRect(20, 20, 60, 40);
    QTest::newRow("about") << WindowName::frmAbout << QRect(170, 200, 60, 30);
}

// A picture blown up from the ordinary one would differ pixel by pixel from the sharp one.
void HighDensityTest::backdropIsDrawnFromTheSharpPicture()
{
    QFETCH(WindowName, window);
    QFETCH(QRect, area);
    m_fixture->registry.show(window);

    const QPixmap screen = m_fixture->registry.window(window)->grab();
    QCOMPARE(screen.devicePixelRatio(), 2.0);
    const QRect pixels(area.topLeft() * 2, area.size() * 2);
    QCOMPARE(screen.toImage().convertToFormat(QImage::Format_ARGB32).copy(pixels),
             resourceImage(u"backdrop@2x.png"_s).copy(pixels));
}

void HighDensityTest::resultBoxFramesAreWhole_data()
{
    // Moved by 0 to 3 pixels, the boxes start on every fraction of a device pixel there is at 1.25.
    QTest::addColumn<int>("shift");
    for (int shift = 0; shift < 4; ++shift)
        QTest::addRow("moved %d", shift) << shift;
}

// Qt gives a widget the device pixels between its edges rounded; the frame has those of them its
// contents (viewport, scroll bar) leave. On each side, at every pixel between the corners, it shows.
void HighDensityTest::resultBoxFramesAreWhole()
{
    QFETCH(int, shift);
    m_fixture->registry.setChildState(WindowName::atldendovize, Qt::WindowNoState);
    QWidget *child = m_fixture->registry.window(WindowName::atldendovize);
    child->move(child->pos() + QPoint(shift, shift));
    const QImage screen = child->window()->grab().toImage();
    const qreal dpr = screen.devicePixelRatio();
    for (const QPlainTextEdit *box : child->findChildren<QPlainTextEdit *>()) {
        const auto pixels = [&](const QRect &r) {
            const QRectF at(QPointF(box->mapTo(child->window(), r.topLeft())) * dpr, QSizeF(r.size()) * dpr);
            return QRect(QPoint(qRound(at.left()), qRound(at.top())),
                         QPoint(qRound(at.right()) - 1, qRound(at.bottom()) - 1));
        };
        const QRect out = pixels(box->rect()), in = pixels(box->contentsRect());
        const std::pair<const char *, QRect> sides[] = {
            {"top", QRect(QPoint(in.left(), out.top()), QPoint(in.right(), in.top() - 1))},
            {"bottom", QRect(QPoint(in.left(), in.bottom() + 1), QPoint(in.right(), out.bottom()))},
            {"left", QRect(QPoint(out.left(), in.top()), QPoint(in.left() - 1, in.bottom()))},
            {"right", QRect(QPoint(in.right() + 1, in.top()), QPoint(out.right(), in.bottom()))}};
        for (const auto &[name, side] : sides) {
            QImage strip = screen.copy(side); // turned to run downwards: a row for each pixel along the side
            if (side.width() > side.height())
                strip = strip.transformed(QTransform().rotate(90));
            const auto black = [&](int y) {
                return std::ranges::all_of(std::views::iota(0, strip.width()),
                                           [&](int x) { return strip.pixel(x, y) == qRgb(0, 0, 0); });
            };
            const auto gaps = std::ranges::count_if(std::views::iota(0, strip.height()), black);
            QVERIFY2(gaps == 0, qPrintable(u"%1 at %2: %3 side black at %4 of %5 pixels"_s.arg(box->objectName())
                                               .arg(dpr).arg(QLatin1String(name)).arg(gaps).arg(strip.height())));
        }
    }
}

int main(int argc, char **argv)
{
    // Before the application exists, so that every screen, font and picture sees it.
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HighDensityTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdensity.moc"
