#include "assets/assets.h"
#include "support/tables.h"
#include "support/windowfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QFontInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

using namespace Qt::StringLiterals;
using varnek::WindowName;

class AboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void textsAreFixed();
    void noteSetsTheNameApart();
    void layoutMatchesTheTable_data();
    void layoutMatchesTheTable();
    void backdropAndOutlineArePainted_data();
    void backdropAndOutlineArePainted();
    void textsFitTheirLabels_data();
    void textsFitTheirLabels();
    void showingAgainKeepsOneWindow();
    void closes_data();
    void closes();

private:
    QWidget *about() { return m_fixture->registry.window(WindowName::frmAbout); }
    QLabel *label(const QString &name) { return m_fixture->control<QLabel>(about(), name); }

    std::optional<WindowFixture> m_fixture;
    const QFont m_platform = QApplication::font();
};

void AboutWindowTest::init()
{
    // The window shrinks its texts to fit as it is built; without a usable font that must stop short
    // of a size Qt refuses.
    QTest::failOnWarning(QRegularExpression(u"Point size <= 0"_s));
    m_fixture.emplace();
    m_fixture->registry.show(WindowName::frmAbout);
}

void AboutWindowTest::cleanup()
{
    m_fixture.reset();
    QApplication::setFont(m_platform);
}

void AboutWindowTest::textsAreFixed()
{
    QCOMPARE(about()->windowTitle(), u"Varnek Version 1.6 Hakkında"_s);
    QCOMPARE(label(u"lblNotice"_s)->text(), u" HAKKINDA"_s);
    QCOMPARE(label(u"Label2"_s)->text(), u"Tüm hakları saklıdır."_s);
    QCOMPARE(m_fixture->control<QAbstractButton>(about(), u"cmdOK"_s)->text(), u"TAMAM"_s);
    QVERIFY(label(u"Label1"_s)->text().startsWith(
        u"Varnek Serisinin çok işinize yarayacağından eminim.Şu an kullandığınız bu versiyon pek kapsamlı olmasa "
        u"bile yine de benim için bir başlangıç olarak iyi sayılır.Program ile neler yapabileceğiniz hakkında "
        u"hazırladığım \"Yardım.hlp\" dosyasında her sorunuza cevap bulabilirsiniz..."_s));
    QVERIFY(!(about()->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(m_fixture->services.messages.isEmpty());
}

void AboutWindowTest::noteSetsTheNameApart()
{
    const QString note = label(u"Label1"_s)->text();
    const QString tail = u"bulabilirsiniz..."_s;
    const QString name = u"VARNEK GELİŞTİRME EKİBİ"_s;
    QVERIFY(note.endsWith(name));
    const qsizetype gapStart = note.indexOf(tail) + tail.size();
    const QString gap = note.mid(gapStart, note.size() - name.size() - gapStart);
    QCOMPARE(gap.size(), 67);
    QCOMPARE(gap.count(u' '), 67);
    QVERIFY(!note.contains(u'\n'));
    QVERIFY(label(u"Label1"_s)->wordWrap());
}

void AboutWindowTest::layoutMatchesTheTable_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("heading") << u"lblNotice"_s << QRect(16, 8, 67, 17);
    QTest::newRow("outline") << u"Shape1"_s << QRect(8, 16, 145, 185);
    QTest::newRow("note") << u"Label1"_s << QRect(16, 24, 129, 169);
    QTest::newRow("rights") << u"Label2"_s << QRect(256, 128, 97, 17);
    QTest::newRow("button") << u"cmdOK"_s << QRect(272, 240, 84, 23);
}

void AboutWindowTest::layoutMatchesTheTable()
{
    QFETCH(QString, control);
    QFETCH(QRect, geometry);

    QCOMPARE(about()->size(), QSize(358, 285));
    QCOMPARE(m_fixture->control<QWidget>(about(), control)->geometry(), geometry);
}

// Pixels where only the window itself, or only the outline, paints.
void AboutWindowTest::backdropAndOutlineArePainted_data()
{
    QTest::addColumn<QPalette>("desktop");
    for (const auto &[name, palette] : desktopPalettes())
        QTest::newRow(name) << palette;
}

// The outline in its own colour, which may differ from the window's where that would not show.
void AboutWindowTest::backdropAndOutlineArePainted()
{
    QFETCH(QPalette, desktop);
    m_fixture.reset();
    const QPalette before = QApplication::palette();
    QApplication::setPalette(desktop);
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    m_fixture.emplace();
    m_fixture->registry.show(WindowName::frmAbout);

    const QImage backdrop = varnek::assets::pixmap(varnek::assets::Picture::Backdrop).toImage();
    QVERIFY(!backdrop.isNull());
    const QImage shown = about()->grab().toImage();
    for (const QPoint p : {QPoint(300, 10), QPoint(200, 230), QPoint(357, 284)})
        QCOMPARE(shown.pixelColor(p), backdrop.pixelColor(p));
    const QColor outline = m_fixture->control<QWidget>(about(), u"Shape1"_s)->palette().color(QPalette::WindowText);
    for (const QPoint p : {QPoint(8, 100), QPoint(152, 100), QPoint(80, 200)})
        QCOMPARE(shown.pixelColor(p), outline);
}

void AboutWindowTest::textsFitTheirLabels_data()
{
    QTest::addColumn<qreal>("points");
    QTest::newRow("platform font") << qreal(0);
    QTest::newRow("large desktop font") << qreal(14);
}

// Nothing of a fixed text, least of all the name at the foot of the note, may be cut off.
void AboutWindowTest::textsFitTheirLabels()
{
    QFETCH(qreal, points);

    const QFont platform = QApplication::font();
    if (QFontInfo(platform).pointSizeF() <= 0)
        QSKIP("No usable font: no text can be measured, nor made to fit.");
    if (points > 0) {
        QFont large = platform;
        large.setPointSizeF(points);
        QApplication::setFont(large);
        m_fixture->registry.window(WindowName::frmAbout)->close();
        QTRY_VERIFY(!m_fixture->registry.existing(WindowName::frmAbout));
        m_fixture->registry.show(WindowName::frmAbout);
    }
    QWidget *w = about();

    for (const QString &name : {u"lblNotice"_s, u"Label1"_s, u"Label2"_s}) {
        QLabel *label = m_fixture->control<QLabel>(w, name);
        const QRect room = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect needed = QFontMetrics(label->font()).boundingRect(room, flags, label->text());
        QVERIFY2(room.contains(needed), qPrintable(name));
        QVERIFY2(label->font().pointSizeF() >= 5, qPrintable(name));
    }
}

void AboutWindowTest::showingAgainKeepsOneWindow()
{
    QWidget *first = about();
    m_fixture->registry.show(WindowName::frmAbout);
    m_fixture->registry.show(WindowName::frmAbout);
    QCOMPARE(about(), first);
    QVERIFY(first->isVisible());
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += w->objectName() == u"frmAbout"_s;
    QCOMPARE(count, 1);
}

void AboutWindowTest::closes_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("TAMAM") << u"TAMAM"_s;
    QTest::newRow("Enter") << u"Enter"_s;
    QTest::newRow("Return") << u"Return"_s;
    QTest::newRow("Esc") << u"Esc"_s;
    QTest::newRow("close button") << u"close"_s;
}

void AboutWindowTest::closes()
{
    QFETCH(QString, how);

    QPointer<QWidget> w = about();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QWidget *focus = QApplication::focusWidget();
    QCOMPARE(focus->objectName(), u"cmdOK"_s);
    if (how == u"TAMAM"_s)
        QTest::mouseClick(focus, Qt::LeftButton);
    else if (how == u"Enter"_s)
        QTest::keyClick(focus, Qt::Key_Enter, Qt::KeypadModifier);
    else if (how == u"Return"_s)
        QTest::keyClick(focus, Qt::Key_Return);
    else if (how == u"Esc"_s)
        QTest::keyClick(focus, Qt::Key_Escape);
    else
        w->close();
    QTRY_VERIFY(!w);
    QVERIFY(!m_fixture->registry.existing(WindowName::frmAbout));

    m_fixture->registry.show(WindowName::frmAbout);
    QVERIFY(about()->isVisible());
}

QTEST_MAIN(AboutWindowTest)
#include "tst_aboutwindow.moc"
