#include "shell/types/errors.h"
#include "shell/mdiform1.h"
#include "ratepaths.h"
#include "support/tables.h"
#include "support/windowfixture.h"
#include "wholefiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using varnek::WindowName;

class RateEntryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void opensEmptyFromEitherMenu_data();
    void opensEmptyFromEitherMenu();
    void secondOpenKeepsTheTexts();
    void layoutMatchesTheTable_data();
    void layoutMatchesTheTable();
    void tabOrderFollowsTheTable();
    void kaydetWritesOnlyItsFile_data();
    void kaydetWritesOnlyItsFile();
    void silThenOkuBringsTheSavedValueBack_data();
    void silThenOkuBringsTheSavedValueBack();
    void okuOfEmptyFileKeepsTheBox();
    void fileErrorsAreReportedAndChangeNothing_data();
    void fileErrorsAreReportedAndChangeNothing();
    void tumGirdileriSilEmptiesOnlyTheBoxes();
    void pasteFillsBothWindowsInOrder_data();
    void pasteFillsBothWindowsInOrder();
    void pasteRecreatesClosedWindows_data();
    void pasteRecreatesClosedWindows();
    void enterOnAPictureButtonPressesIt();
    void enterInAnyBoxClosesAndDiscards_data();
    void enterInAnyBoxClosesAndDiscards();
    void closingDiscardsTheTexts_data();
    void closingDiscardsTheTexts();
    void escapeDoesNothing();

private:
    QWidget *form() const { return m_fixture->registry.existing(WindowName::Form2); }
    QLineEdit *box(const QString &name) { return m_fixture->control<QLineEdit>(WindowName::Form2, name); }
    QPushButton *button(const QString &name) { return m_fixture->control<QPushButton>(WindowName::Form2, name); }
    void openFromMenu(WindowName from = WindowName::atldendovize);
    QString rateOf(WindowName window, const QString &box);
    QStringList filesInFolder() const { return QDir(m_folder + u'/').entryList(QDir::Files); }

    QTemporaryDir m_home;
    QString m_folder;
    std::optional<WindowFixture> m_fixture;
};

namespace {

struct Row {
    QString box, save, read, clear, file, rateBox;
};

const Row rows[] = {
    {u"Text1"_s, u"Command1"_s, u"Command2"_s, u"Command15"_s, u"dolarsatilis.txt"_s, u"Dolarsatilis"_s},
    {u"Text2"_s, u"Command3"_s, u"Command4"_s, u"Command16"_s, u"marksatilis.txt"_s, u"Marksatilis"_s},
    {u"Text3"_s, u"Command7"_s, u"Command9"_s, u"Command17"_s, u"sterlinsatilis.txt"_s, u"Sterlinsatilis"_s},
    {u"Text4"_s, u"Command8"_s, u"Command10"_s, u"Command18"_s, u"franksatilis.txt"_s, u"Franksatilis"_s},
};

} // namespace

void RateEntryWindowTest::initTestCase()
{
    QVERIFY(m_home.isValid());
    // Test mode puts the data folders under $HOME/.qttest: keep that inside a throwaway folder.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QStandardPaths::setTestModeEnabled(true);
#ifdef Q_OS_WIN
    m_folder = u"C:"_s;
#else
    m_folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QVERIFY(m_folder.startsWith(m_home.path()));
#endif
}

void RateEntryWindowTest::init()
{
#ifdef Q_OS_WIN
    QVERIFY(removeFilesAtRatePaths());
#else
    QVERIFY(QDir(m_folder).removeRecursively());
    QVERIFY(QDir().mkpath(m_folder));
#endif
    m_fixture.emplace();
    m_fixture->registry.show(WindowName::MDIForm1);
}

void RateEntryWindowTest::cleanup() { m_fixture.reset(); }

void RateEntryWindowTest::cleanupTestCase() { QVERIFY(removeFilesAtRatePaths()); }

void RateEntryWindowTest::openFromMenu(WindowName from)
{
    m_fixture->control<QAction>(m_fixture->registry.window(from), u"mnuElleayarla"_s)->trigger();
}

QString RateEntryWindowTest::rateOf(WindowName window, const QString &box)
{
    return m_fixture->registry.existing(window) ? m_fixture->boxText(window, box) : u"(no window)"_s;
}

void RateEntryWindowTest::opensEmptyFromEitherMenu_data()
{
    addConversionWindowRows("from", "from ");
}

void RateEntryWindowTest::opensEmptyFromEitherMenu()
{
    QFETCH(WindowName, from);
    QVERIFY(writeFile(m_folder + u"/dolarsatilis.txt"_s, "\"42\"\r\n")); // opening reads nothing
    QVERIFY(!form());
    openFromMenu(from);

    QVERIFY(form());
    QVERIFY(form()->isVisible());
    QVERIFY(!form()->isModal());
    QCOMPARE(form()->objectName(), u"Form2"_s);
    QCOMPARE(form()->windowTitle(), u"Elle Ayarla"_s);
    QVERIFY(!form()->windowIcon().isNull());
    QVERIFY(!(form()->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(form()->findChildren<QLineEdit *>().size(), 4);
    for (const Row &row : rows)
        QCOMPARE(box(row.box)->text(), QString());
    QVERIFY(button(u"Command14"_s)->isDefault());
    QVERIFY(QTest::qWaitForWindowActive(form()));
    QCOMPARE(QApplication::focusWidget(), box(u"Text1"_s));
}

void RateEntryWindowTest::secondOpenKeepsTheTexts()
{
    openFromMenu();
    QWidget *first = form();
    WindowFixture::type(box(u"Text2"_s), u"1.250,5"_s);
    openFromMenu(WindowName::adovizdentlye);
    QCOMPARE(form(), first);
    QVERIFY(form()->isVisible());
    QCOMPARE(box(u"Text2"_s)->text(), u"1.250,5"_s);
}

void RateEntryWindowTest::layoutMatchesTheTable_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("inFrame");

    QTest::newRow("frame") << u"Frame1"_s << QRect(0, 0, 305, 225) << u"Varnek-Kurlar"_s << false;
    QTest::newRow("sterling label") << u"Label3"_s << QRect(8, 120, 89, 17) << u"Sterlin Satılış Fiyatı:"_s << true;
    QTest::newRow("dollar box") << u"Text1"_s << QRect(104, 24, 129, 19) << QString() << true;
    QTest::newRow("dollar Kaydet") << u"Command1"_s << QRect(104, 48, 49, 17) << u"Kaydet"_s << true;
    QTest::newRow("dollar Oku overlaps Kaydet") << u"Command2"_s << QRect(152, 48, 41, 17) << u"Oku"_s << false;
    QTest::newRow("franc Sil overlaps Oku") << u"Command18"_s << QRect(192, 192, 41, 17) << u"Sil"_s << false;
    QTest::newRow("unlit bulb") << u"Command19"_s << QRect(240, 24, 57, 89) << u"Tüm Girdileri Sil"_s << false;
    QTest::newRow("lit bulb") << u"Command5"_s << QRect(240, 120, 57, 89) << u"Tabloya Yapıştır"_s << true;
    QTest::newRow("Tamam") << u"Command14"_s << QRect(8, 232, 73, 25) << u"Tamam"_s << false;
    QTest::newRow("İptal") << u"Command13"_s << QRect(224, 232, 73, 25) << u"İptal"_s << false;
}

void RateEntryWindowTest::layoutMatchesTheTable()
{
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(bool, inFrame);

    openFromMenu();
    QCOMPARE(form()->size(), QSize(306, 261));
    QCOMPARE(form()->minimumSize(), form()->maximumSize());
    auto *widget = m_fixture->control<QWidget>(WindowName::Form2, control);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->parentWidget()->objectName(), inFrame ? u"Frame1"_s : u"Form2"_s);
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        QCOMPARE(label->text(), caption);
        QVERIFY(QFontMetrics(label->font()).horizontalAdvance(caption) <= label->width());
    } else if (auto *push = qobject_cast<QPushButton *>(widget)) {
        QCOMPARE(push->text(), caption);
        QCOMPARE(push->icon().isNull(), push->height() < 89);
    } else if (auto *frame = qobject_cast<QGroupBox *>(widget)) {
        QCOMPARE(frame->title(), caption);
    }
}

void RateEntryWindowTest::tabOrderFollowsTheTable()
{
    const QStringList order{u"Text1"_s,     u"Text2"_s,     u"Text3"_s,     u"Text4"_s,     u"Command1"_s,
                            u"Command2"_s,  u"Command15"_s, u"Command5"_s,  u"Command3"_s,  u"Command4"_s,
                            u"Command16"_s, u"Command7"_s,  u"Command9"_s,  u"Command17"_s, u"Command8"_s,
                            u"Command10"_s, u"Command18"_s, u"Command14"_s, u"Command13"_s, u"Command19"_s,
                            u"Text1"_s};
    openFromMenu();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    QCOMPARE(QApplication::focusWidget()->objectName(), order.front());
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
    }
}

void RateEntryWindowTest::kaydetWritesOnlyItsFile_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("dollar, digits") << 0 << u"650000"_s << QByteArray("\x22" "650000\x22\x0D\x0A");
    QTest::newRow("mark, empty box") << 1 << QString() << QByteArray("\"\"\r\n");
    QTest::newRow("sterling, decimal comma and blanks") << 2 << u" 1.250,75 "_s << QByteArray("\" 1.250,75 \"\r\n");
    QTest::newRow("franc, turkish letters") << 3 << u"ğüşİıç"_s << QByteArray("\"\xF0\xFC\xFE\xDD\xFD\xE7\"\r\n");
}

void RateEntryWindowTest::kaydetWritesOnlyItsFile()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    openFromMenu();
    const Row &r = rows[row];
    WindowFixture::type(box(r.box), text);
    button(r.save)->click();

    QCOMPARE(contents(m_folder + u'/' + r.file), bytes);
    QCOMPARE(filesInFolder(), QStringList{r.file});
    QCOMPARE(box(r.box)->text(), text);
    QCOMPARE(rateOf(WindowName::atldendovize, r.rateBox), QString());
    QCOMPARE(rateOf(WindowName::adovizdentlye, r.rateBox), QString());
    QVERIFY(m_fixture->services.messages.isEmpty());
}

void RateEntryWindowTest::silThenOkuBringsTheSavedValueBack_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("dollar") << 0;
    QTest::newRow("mark") << 1;
    QTest::newRow("sterling") << 2;
    QTest::newRow("franc") << 3;
}

void RateEntryWindowTest::silThenOkuBringsTheSavedValueBack()
{
    QFETCH(int, row);
    const Row &r = rows[row];
    openFromMenu();
    for (const Row &other : rows)
        box(other.box)->setText(u"diğer"_s);
    box(r.box)->setText(u"1.234,5 İş"_s);
    button(r.save)->click();
    const QByteArray saved = contents(m_folder + u'/' + r.file);

    button(r.clear)->click();
    QCOMPARE(box(r.box)->text(), QString());
    QCOMPARE(contents(m_folder + u'/' + r.file), saved);
    for (const Row &other : rows)
        if (other.box != r.box)
            QCOMPARE(box(other.box)->text(), u"diğer"_s);

    button(r.read)->click();
    QCOMPARE(box(r.box)->text(), u"1.234,5 İş"_s);
    QCOMPARE(box(r.box)->cursorPosition(), 0); // shown from its start
    QVERIFY(m_fixture->services.messages.isEmpty());
}

void RateEntryWindowTest::okuOfEmptyFileKeepsTheBox()
{
    QVERIFY(writeFile(m_folder + u"/sterlinsatilis.txt"_s, QByteArray()));
    QVERIFY(writeFile(m_folder + u"/franksatilis.txt"_s, "1,5\r\n\"7\"\r\n,9"));
    openFromMenu();
    box(u"Text3"_s)->setText(u"kalsın"_s);
    button(u"Command9"_s)->click();
    QCOMPARE(box(u"Text3"_s)->text(), u"kalsın"_s);
    button(u"Command10"_s)->click(); // the last field wins
    QCOMPARE(box(u"Text4"_s)->text(), u"9"_s);
    QVERIFY(m_fixture->services.messages.isEmpty());
}

void RateEntryWindowTest::fileErrorsAreReportedAndChangeNothing_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<varnek::ErrorKind>("kind");

    using K = varnek::ErrorKind;
    QTest::newRow("Oku of a missing file") << u"none"_s << u"Command4"_s << u"önceki"_s << K::FileNotFound;
    QTest::newRow("Oku of a folder") << u"folder"_s << u"Command4"_s << u"önceki"_s << K::FileAccess;
    QTest::newRow("Kaydet where a folder stands") << u"folder"_s << u"Command3"_s << u"5"_s << K::FileAccess;
    QTest::newRow("Kaydet of a lira sign") << u"old file"_s << u"Command3"_s << u"5 ₺"_s << K::FileAccess;
}

void RateEntryWindowTest::fileErrorsAreReportedAndChangeNothing()
{
    QFETCH(QString, setup);
    QFETCH(QString, pressed);
    QFETCH(QString, text);
    QFETCH(varnek::ErrorKind, kind);

    const QString path = m_folder + u"/marksatilis.txt"_s;
    if (setup == u"folder")
        QVERIFY(QDir().mkpath(path));
    else if (setup == u"old file")
        QVERIFY(writeFile(path, "\"eski\"\r\n"));
    openFromMenu();
    WindowFixture::type(box(u"Text2"_s), text);
    button(pressed)->click();

    const ScriptedServices &services = m_fixture->services;
    QCOMPARE(services.onlyMessageKind(), varnek::errorKindText(kind));
    QCOMPARE(services.messages.front().icon, varnek::Services::Icon::Warning);
    if (text.contains(u'₺'))
        QVERIFY(services.messages.front().text.section(u'\n', 1).contains(u'₺'));
    QCOMPARE(box(u"Text2"_s)->text(), text);
    if (setup == u"folder")
        QVERIFY(QFileInfo(path).isDir());
    else if (setup == u"old file")
        QCOMPARE(contents(path), QByteArray("\"eski\"\r\n"));
    else
        QVERIFY(!QFileInfo::exists(path));
    QVERIFY(form()->isVisible());
    // The window goes on: another currency still saves.
    box(u"Text1"_s)->setText(u"1"_s);
    button(u"Command1"_s)->click();
    QCOMPARE(contents(m_folder + u"/dolarsatilis.txt"_s), QByteArray("\"1\"\r\n"));
    QCOMPARE(services.messages.size(), 1);
}

void RateEntryWindowTest::tumGirdileriSilEmptiesOnlyTheBoxes()
{
    QVERIFY(writeFile(m_folder + u"/dolarsatilis.txt"_s, "\"3\"\r\n"));
    openFromMenu();
    m_fixture->setBoxText(WindowName::atldendovize, u"Dolarsatilis"_s, u"8"_s);
    QStringList cleared;
    for (const Row &row : rows) {
        box(row.box)->setText(u"x"_s);
        connect(box(row.box), &QLineEdit::textChanged, this, [&cleared, row] { cleared.append(row.box); });
    }
    button(u"Command19"_s)->click();

    QCOMPARE(cleared, (QStringList{u"Text1"_s, u"Text2"_s, u"Text3"_s, u"Text4"_s}));
    for (const Row &row : rows)
        QCOMPARE(box(row.box)->text(), QString());
    QCOMPARE(contents(m_folder + u"/dolarsatilis.txt"_s), QByteArray("\"3\"\r\n"));
    QCOMPARE(rateOf(WindowName::atldendovize, u"Dolarsatilis"_s), u"8"_s);
    QVERIFY(form()->isVisible());
}

void RateEntryWindowTest::pasteFillsBothWindowsInOrder_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("fromClipboard"); // pasted with the keyboard rather than typed
    QTest::newRow("typed") << QStringList{u"1.250.000"_s, QString(), u"abc"_s, u"2,5"_s} << false;
    // Beyond the 32767 characters a one-line box takes by default.
    QTest::newRow("40000 characters pasted") << QStringList{QString(40000, u'5'), u"2"_s, u"3"_s, u"4"_s} << true;
}

void RateEntryWindowTest::pasteFillsBothWindowsInOrder()
{
    QFETCH(QStringList, texts);
    QFETCH(bool, fromClipboard);
    openFromMenu();
    for (qsizetype i = 0; i < 4; ++i) {
        if (fromClipboard) {
            QGuiApplication::clipboard()->setText(texts[i]);
            QTest::keySequence(box(rows[i].box), QKeySequence::Paste);
            QCOMPARE(box(rows[i].box)->text().size(), texts[i].size());
        } else {
            WindowFixture::type(box(rows[i].box), texts[i]);
        }
    }

    QStringList order;
    for (const WindowName window : {WindowName::atldendovize, WindowName::adovizdentlye}) {
        QWidget *w = m_fixture->registry.window(window);
        m_fixture->setBoxText(window, u"Paramiktari2"_s, u"100"_s);
        for (const Row &row : rows) {
            auto *rate = m_fixture->control<QLineEdit>(w, row.rateBox);
            rate->setText(u"önceki"_s);
            connect(rate, &QLineEdit::textChanged, this,
                    [&order, w, row] { order.append(w->objectName() + u'.' + row.rateBox); });
        }
    }
    button(u"Command5"_s)->click();

    const QStringList expected{u"atldendovize.Dolarsatilis"_s,   u"adovizdentlye.Dolarsatilis"_s,
                               u"atldendovize.Marksatilis"_s,    u"adovizdentlye.Marksatilis"_s,
                               u"atldendovize.Sterlinsatilis"_s, u"adovizdentlye.Sterlinsatilis"_s,
                               u"atldendovize.Franksatilis"_s,   u"adovizdentlye.Franksatilis"_s};
    QCOMPARE(order, expected);
    for (const WindowName window : {WindowName::atldendovize, WindowName::adovizdentlye}) {
        for (qsizetype i = 0; i < 4; ++i) {
            QCOMPARE(rateOf(window, rows[i].rateBox), texts[i]);
            // Shown from its start.
            QCOMPARE(m_fixture->control<QLineEdit>(window, rows[i].rateBox)->cursorPosition(), 0);
        }
        QCOMPARE(rateOf(window, u"Paramiktari2"_s), u"100"_s);
        // Pasting converts nothing.
        QCOMPARE(m_fixture->boxText(window, u"Sonucmark"_s), QString());
    }
    for (qsizetype i = 0; i < 4; ++i)
        QCOMPARE(box(rows[i].box)->text(), texts[i]);
    QVERIFY(form()->isVisible());
    QVERIFY(m_fixture->services.messages.isEmpty());
    QVERIFY(filesInFolder().isEmpty());
}

void RateEntryWindowTest::pasteRecreatesClosedWindows_data()
{
    QTest::addColumn<QString>("closed");
    QTest::newRow("tl->currency closed") << u"atldendovize"_s;
    QTest::newRow("currency->tl closed") << u"adovizdentlye"_s;
    QTest::newRow("main window closed") << u"MDIForm1"_s;
}

void RateEntryWindowTest::pasteRecreatesClosedWindows()
{
    QFETCH(QString, closed);
    openFromMenu();
    const QStringList texts{u"1"_s, u"2"_s, u"3"_s, u"4"_s};
    for (qsizetype i = 0; i < 4; ++i)
        box(rows[i].box)->setText(texts[i]);
    for (const WindowName window : {WindowName::atldendovize, WindowName::adovizdentlye})
        m_fixture->setBoxText(window, u"Paramiktari"_s, u"kalan"_s);
    const WindowName gone = closed == u"MDIForm1"_s       ? WindowName::MDIForm1
                            : closed == u"atldendovize"_s ? WindowName::atldendovize
                                                          : WindowName::adovizdentlye;
    m_fixture->registry.existing(gone)->close();
    WindowFixture::deleteClosed();
    QVERIFY(!m_fixture->registry.existing(gone));

    button(u"Command5"_s)->click();

    auto *main = static_cast<varnek::MDIForm1 *>(m_fixture->registry.existing(WindowName::MDIForm1));
    QVERIFY(main);
    QVERIFY(main->isVisible());
    QCOMPARE(main->workspace()->subWindowList().size(), 2);
    for (const WindowName window : {WindowName::atldendovize, WindowName::adovizdentlye}) {
        auto *w = static_cast<QMdiSubWindow *>(m_fixture->registry.existing(window));
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QVERIFY(w->isMinimized());
        for (qsizetype i = 0; i < 4; ++i) {
            QCOMPARE(rateOf(window, rows[i].rateBox), texts[i]);
            // Shown from its start.
            QCOMPARE(m_fixture->control<QLineEdit>(window, rows[i].rateBox)->cursorPosition(), 0);
        }
        const bool fresh = gone == WindowName::MDIForm1 || gone == window;
        QCOMPARE(rateOf(window, u"Paramiktari"_s), fresh ? QString() : u"kalan"_s);
        for (const QPlainTextEdit *result : w->findChildren<QPlainTextEdit *>())
            QCOMPARE(result->toPlainText(), QString());
    }
    QVERIFY(form()->isVisible());
    QVERIFY(m_fixture->services.messages.isEmpty());
}

void RateEntryWindowTest::enterOnAPictureButtonPressesIt()
{
    openFromMenu();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    box(u"Text1"_s)->setText(u"7"_s);
    button(u"Command5"_s)->setFocus();
    QTest::keyClick(button(u"Command5"_s), Qt::Key_Return);
    QVERIFY(form());
    QCOMPARE(rateOf(WindowName::adovizdentlye, u"Dolarsatilis"_s), u"7"_s);
}

void RateEntryWindowTest::enterInAnyBoxClosesAndDiscards_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("Return in the dollar box") << 0 << Qt::Key_Return;
    QTest::newRow("Return in the mark box") << 1 << Qt::Key_Return;
    QTest::newRow("Return in the sterling box") << 2 << Qt::Key_Return;
    QTest::newRow("keypad Enter in the franc box") << 3 << Qt::Key_Enter;
}

void RateEntryWindowTest::enterInAnyBoxClosesAndDiscards()
{
    QFETCH(int, row);
    QFETCH(Qt::Key, key);
    openFromMenu();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    QLineEdit *target = box(rows[row].box);
    WindowFixture::type(target, u"12"_s);
    QTest::keyClick(target, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    WindowFixture::deleteClosed();

    QVERIFY(!form());
    QVERIFY(filesInFolder().isEmpty());
    QCOMPARE(rateOf(WindowName::atldendovize, rows[row].rateBox), QString());
    openFromMenu();
    QCOMPARE(box(rows[row].box)->text(), QString());
}

void RateEntryWindowTest::closingDiscardsTheTexts_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Tamam") << u"Command14"_s;
    QTest::newRow("İptal") << u"Command13"_s;
    QTest::newRow("title-bar close") << QString();
}

void RateEntryWindowTest::closingDiscardsTheTexts()
{
    QFETCH(QString, how);
    openFromMenu();
    for (const Row &row : rows)
        box(row.box)->setText(u"9"_s);
    if (how.isEmpty())
        form()->close();
    else
        button(how)->click();
    WindowFixture::deleteClosed();

    QVERIFY(!form());
    QVERIFY(filesInFolder().isEmpty());
    QCOMPARE(rateOf(WindowName::atldendovize, u"Dolarsatilis"_s), QString());
    QVERIFY(m_fixture->services.messages.isEmpty());
    openFromMenu();
    for (const Row &row : rows)
        QCOMPARE(box(row.box)->text(), QString());
}

void RateEntryWindowTest::escapeDoesNothing()
{
    openFromMenu();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    box(u"Text1"_s)->setText(u"5"_s);
    QTest::keyClick(box(u"Text1"_s), Qt::Key_Escape);
    WindowFixture::deleteClosed();
    QVERIFY(form());
    QVERIFY(form()->isVisible());
    QCOMPARE(box(u"Text1"_s)->text(), u"5"_s);
}

QTEST_MAIN(RateEntryWindowTest)
#include "tst_rateentrywindow.moc"
