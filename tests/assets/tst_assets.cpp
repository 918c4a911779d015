#include "assets/assets.h"

#include <QDir>
#include <QImage>
#include <QSet>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using varnek::assets::Picture;

namespace {

// The standard 16-colour palette that every icon is drawn in.
const QSet<QRgb> standardColours = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

// Empty when every pixel is either fully transparent or one of the standard colours.
QString paletteFault(const QImage &image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x) {
            const QRgb pixel = pixels.pixel(x, y);
            if (qAlpha(pixel) == 0)
                continue;
            if (qAlpha(pixel) != 255)
                return u"pixel %1,%2 is partly transparent"_s.arg(x).arg(y);
            if (!standardColours.contains(pixel))
                return u"pixel %1,%2 is #%3, not a standard colour"_s.arg(x).arg(y).arg(
                    pixel & 0xffffff, 6, 16, QLatin1Char('0'));
        }
    return {};
}

int countColour(const QImage &image, QRgb colour)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            count += pixels.pixel(x, y) == colour ? 1 : 0;
    return count;
}

} // namespace

class TestAssets : public QObject {
    Q_OBJECT

private:
    // Sizes largest first. Everything but the backdrop is a 16-colour picture.
    static void pictures(bool withBackdrop = true)
    {
        QTest::addColumn<Picture>("picture");
        QTest::addColumn<QList<QSize>>("sizes");
        const QSize s32(32, 32), s16(16, 16), button(24, 22);
        if (withBackdrop)
            QTest::newRow("backdrop") << Picture::Backdrop << QList<QSize>{{360, 288}};
        QTest::newRow("main window icon") << Picture::MainIcon << QList<QSize>{s32, s16};
        QTest::newRow("conversion window icon") << Picture::ConversionIcon << QList<QSize>{s32, s16};
        QTest::newRow("run button") << Picture::RunButton << QList<QSize>{s32, s16};
        QTest::newRow("rate entry icon") << Picture::RateEntryIcon << QList<QSize>{s32, s16};
        QTest::newRow("unlit bulb") << Picture::BulbOff << QList<QSize>{s32};
        QTest::newRow("lit bulb") << Picture::BulbOn << QList<QSize>{s32};
        QTest::newRow("calculator icon") << Picture::CalculatorIcon << QList<QSize>{s32, s16};
        QTest::newRow("speech bubble button") << Picture::SpeechBubble << QList<QSize>{button};
        QTest::newRow("envelope button") << Picture::Envelope << QList<QSize>{button};
        QTest::newRow("close disc") << Picture::CloseDisc << QList<QSize>{s32, s16};
        QTest::newRow("about icon") << Picture::AboutIcon << QList<QSize>{s32};
        QTest::newRow("warning icon") << Picture::WarningIcon << QList<QSize>{s32};
    }

private slots:
    void pixmapIsTheLargestImage_data() { pictures(); }
    void pixmapIsTheLargestImage()
    {
        QFETCH(Picture, picture);
        QFETCH(QList<QSize>, sizes);
        const QPixmap image = varnek::assets::pixmap(picture);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), sizes.constFirst());
    }

    void iconHasEverySize_data() { pictures(); }
    void iconHasEverySize()
    {
        QFETCH(Picture, picture);
        QFETCH(QList<QSize>, sizes);
        const QIcon icon = varnek::assets::icon(picture);
        QList<QSize> available = icon.availableSizes();
        auto byWidth = [](QSize a, QSize b) { return a.width() > b.width(); };
        std::sort(available.begin(), available.end(), byWidth);
        QCOMPARE(available, sizes);
        for (const QSize &size : sizes)
            QCOMPARE(icon.pixmap(size).size(), size);
    }

    void iconsUseTheStandardSixteenColours_data() { pictures(false); }
    void iconsUseTheStandardSixteenColours()
    {
        QFETCH(Picture, picture);
        QFETCH(QList<QSize>, sizes);
        const QIcon icon = varnek::assets::icon(picture);
        for (const QSize &size : sizes) {
            const QString fault = paletteFault(icon.pixmap(size).toImage());
            QVERIFY2(fault.isEmpty(), qPrintable(u"%1x%2: %3"_s.arg(size.width()).arg(size.height()).arg(fault)));
        }
    }

    void backdropIsAnOpaqueFullColourPicture()
    {
        const QImage image = varnek::assets::pixmap(Picture::Backdrop).toImage();
        QVERIFY(!image.hasAlphaChannel());
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        // A photograph-like picture; a palette image would stop at 256.
        QVERIFY2(colours.size() > 4096, qPrintable(QString::number(colours.size())));
    }

    // The splash shows the version in large figures, drawn into the picture: a new version needs
    // the pictures drawn again (cmake --build BUILD --target varnek_generate_assets).
    void backdropIsDrawnForThisVersion()
    {
        for (const QString &file : {u"backdrop.png"_s, u"backdrop@2x.png"_s})
            QCOMPARE(QImage(u":/varnek/"_s + file).text(u"Version"_s), QStringLiteral(VARNEK_VERSION));
    }

    void buttonPicturesSitOnAnOpaqueFace_data()
    {
        QTest::addColumn<Picture>("picture");
        QTest::newRow("speech bubble") << Picture::SpeechBubble;
        QTest::newRow("envelope") << Picture::Envelope;
    }
    void buttonPicturesSitOnAnOpaqueFace()
    {
        QFETCH(Picture, picture);
        const QImage image = varnek::assets::pixmap(picture).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(countColour(image, qRgba(0, 0, 0, 0)), 0);
        // The raised face: light at the top left corner, dark at the bottom right.
        QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(image.width() - 1, image.height() - 1), qRgb(0, 0, 0));
    }

    void closeDiscIsWhiteOnATransparentGround_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("32") << 32;
        QTest::newRow("16") << 16;
    }
    void closeDiscIsWhiteOnATransparentGround()
    {
        QFETCH(int, size);
        const QImage image = varnek::assets::icon(Picture::CloseDisc).pixmap(QSize(size, size)).toImage();
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(size - 1, size - 1)), 0);
        QCOMPARE(image.pixel(size / 2, size / 2), qRgb(255, 255, 255));
        QVERIFY(countColour(image, qRgb(0, 0, 0)) > 0);
    }

    void onlyTheLitBulbGlows()
    {
        const QRgb yellow = qRgb(255, 255, 0);
        QVERIFY(countColour(varnek::assets::pixmap(Picture::BulbOn).toImage(), yellow) > 50);
        QCOMPARE(countColour(varnek::assets::pixmap(Picture::BulbOff).toImage(), yellow), 0);
    }

    // The build embeds whatever PNGs the pictures' folder holds: a file that the list no longer
    // names would be carried along unseen, and a missing double-size copy only blurs on a dense screen.
    void embeddedFilesAreTheListedOnes()
    {
        QStringList listed;
        for (const varnek::assets::PictureFiles &files : varnek::assets::pictureFiles) {
            const QList<int> sizes = varnek::assets::fileSizes(files);
            for (int size : sizes)
                listed << varnek::assets::fileName(files, size);
            listed << varnek::assets::fileName(files, sizes.constFirst(), 2);
        }
        QStringList embedded = QDir(u":/varnek"_s).entryList(QDir::Files);
        listed.sort();
        embedded.sort();
        QCOMPARE(embedded, listed);
    }

    void unknownPictureGivesNothing()
    {
        const auto unknown = static_cast<Picture>(-1);
        QVERIFY(varnek::assets::pixmap(unknown).isNull());
        QVERIFY(varnek::assets::icon(unknown).isNull());
    }
};

QTEST_MAIN(TestAssets)
#include "tst_assets.moc"
