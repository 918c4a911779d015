// Faults around the rate files, seen through the rate-entry window where a user would meet them:
// a save killed half-way, links, files too large to read, bytes no box was ever meant to hold,
// and permission bits that refuse.

#include "shell/types/errors.h"
#include "rates/rules/ratefile.h"
#include "rates/ratestore.h"
#include "support/tables.h"
#include "support/windowfixture.h"
#include "wholefiles.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using varnek::ErrorKind;
using varnek::WindowName;

namespace {

constexpr uid_t unprivilegedId = 65534;

QByteArray native(const QString &path) { return QFile::encodeName(path); }

// What a file looks like from outside, cheaply enough for a file of gigabytes.
QString fingerprint(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return u"link to "_s + info.symLinkTarget() + (info.exists() ? u""_s : u" (dangling)"_s);
    if (info.isDir())
        return u"folder"_s;
    if (!info.exists())
        return u"missing"_s;
    if (info.size() > varnek::maxRateFileSize)
        return u"%1 bytes"_s.arg(info.size());
    return QString::fromLatin1(contents(path).toHex(' '));
}

// Root passes every permission check, so the test becomes an unprivileged user for a while. The
// saved id stays root's, which lets it come back (and keeps its capabilities for then); the real id
// changes too, since access() asks about that one. A test run by a user needs nothing: its own
// permission bits count.
class AsUnprivilegedUser {
public:
    AsUnprivilegedUser()
    {
        if (getuid() != 0)
            return;
        m_switched =
            setresgid(unprivilegedId, unprivilegedId, 0) == 0 && setresuid(unprivilegedId, unprivilegedId, 0) == 0;
    }
    ~AsUnprivilegedUser()
    {
        if (m_switched) {
            setresuid(0, 0, 0);
            setresgid(0, 0, 0);
        }
    }
    AsUnprivilegedUser(const AsUnprivilegedUser &) = delete;
    AsUnprivilegedUser &operator=(const AsUnprivilegedUser &) = delete;

    bool works() const { return geteuid() != 0 && getuid() != 0; }

private:
    bool m_switched = false;
};

} // namespace

class RateFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void killedSaveLeavesOneWholeRecord();
    void failedReadKeepsTheBox_data();
    void failedReadKeepsTheBox();
    void failedSaveKeepsTheFile_data();
    void failedSaveKeepsTheFile();
    void savingThroughALink_data();
    void savingThroughALink();
    void oddBytesReadAndSaveBack_data();
    void oddBytesReadAndSaveBack();

private:
    QWidget *form() const { return m_fixture->registry.existing(WindowName::Form2); }
    QLineEdit *dollarBox() { return m_fixture->control<QLineEdit>(WindowName::Form2, u"Text1"_s); }
    void press(const QString &button) { m_fixture->control<QPushButton>(WindowName::Form2, button)->click(); }
    void openForm();
    void handOverToUser();

    QTemporaryDir m_home;
    QString m_folder; // where the rate files live
    QString m_path;   // the dollar rate file
    std::optional<WindowFixture> m_fixture;
};

void RateFaultsTest::initTestCase()
{
    QVERIFY(m_home.isValid());
    // Test mode puts the data folders under $HOME/.qttest: keep that inside a throwaway folder.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QStandardPaths::setTestModeEnabled(true);
    m_path = varnek::rateFilePath(varnek::Currency::Dolar);
    m_folder = QFileInfo(m_path).absolutePath();
    QVERIFY(m_folder.startsWith(m_home.path()));
}

void RateFaultsTest::init()
{
    chmod(native(m_folder).constData(), 0755);
    QVERIFY(QDir(m_folder).removeRecursively());
    QVERIFY(QDir().mkpath(m_folder));
    m_fixture.emplace();
}

void RateFaultsTest::cleanup()
{
    m_fixture.reset();
    chmod(native(m_folder).constData(), 0755);
}

void RateFaultsTest::openForm()
{
    m_fixture->control<QAction>(m_fixture->registry.window(WindowName::atldendovize), u"mnuElleayarla"_s)->trigger();
    QVERIFY(form());
}

// Lets the unprivileged user reach the rate folder and own what is in it, as its owner would.
void RateFaultsTest::handOverToUser()
{
    if (getuid() != 0)
        return;
    for (QString folder = m_folder; folder.startsWith(m_home.path()); folder = QFileInfo(folder).absolutePath())
        QVERIFY(chmod(native(folder).constData(), 0711) == 0);
    QVERIFY(chmod(native(m_folder).constData(), 0755) == 0);
    QVERIFY(chown(native(m_folder).constData(), unprivilegedId, unprivilegedId) == 0);
    // A save in place notes its record in the user's own state folder.
    const QString state = m_home.filePath(u".local/state"_s);
    QVERIFY(QDir().mkpath(state + u"/varnek"_s) && chmod(native(QFileInfo(state).absolutePath()).constData(), 0711) == 0);
    for (const QString &name : {state, state + u"/varnek"_s})
        QVERIFY(chown(native(name).constData(), unprivilegedId, unprivilegedId) == 0);
    for (const QString &name : QDir(m_folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        QVERIFY(lchown(native(m_folder + u'/' + name).constData(), unprivilegedId, unprivilegedId) == 0);
}

// The process dies (SIGKILL) at many points while it saves large records by turns, spending nearly
// all its time inside a save: the file is always one whole record, never a mix.
void RateFaultsTest::killedSaveLeavesOneWholeRecord()
{
    constexpr int length = 60000; // near the size limit, so a save takes a while
    const QByteArray old = "\"eski\"\r\n";
    const QByteArray first = '"' + QByteArray(length, 'a') + "\"\r\n";
    const QByteArray second = '"' + QByteArray(length, 'b') + "\"\r\n";
    // Kill points spread over the first few saves; how long one takes depends on the disk.
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 4; ++i)
        varnek::saveRate(m_path, QString(length, u'c'));
    const auto saveTime = quint32(clock.nsecsElapsed() / 4000);
    QVERIFY(writeFile(m_path, old));

    QRandomGenerator random(1254);
    int kills = 0;
    int firstSeen = 0;
    int secondSeen = 0;
    int leftovers = 0;
    for (; kills < 60; ++kills) {
        QProcess probe;
        probe.start(QString::fromUtf8(RATE_PROBE),
                    {u"save-by-turns"_s, m_path, u"a"_s, u"b"_s, QString::number(length)});
        QVERIFY(probe.waitForReadyRead(30000));
        QCOMPARE(probe.readLine(), QByteArray("saving\n"));
        QThread::usleep(random.bounded(4 * saveTime + 1));
        QVERIFY(::kill(pid_t(probe.processId()), SIGKILL) == 0);
        QVERIFY(probe.waitForFinished(30000));
        QCOMPARE(probe.exitStatus(), QProcess::CrashExit);

        const QByteArray now = contents(m_path);
        QVERIFY2(now == old || now == first || now == second,
                 qPrintable(u"after kill %1: %2 bytes, starting %3"_s.arg(kills)
                                .arg(now.size())
                                .arg(QString::fromLatin1(now.left(8)))));
        firstSeen += now == first;
        secondSeen += now == second;
        // Killed between naming its temporary file and the rename, the saver leaves that file
        // behind; it is never the rate file itself.
        for (const QString &name : QDir(m_folder).entryList(QDir::Files | QDir::Hidden)) {
            if (name == u"dolarsatilis.txt"_s)
                continue;
            QVERIFY2(name.startsWith(u"dolarsatilis.txt."_s), qPrintable(name));
            ++leftovers;
            QFile::remove(m_folder + u'/' + name);
        }
    }
    qInfo("%d kills within %u µs of the start: %d left the first record, %d the second, %d a temporary file", kills,
          4 * saveTime, firstSeen, secondSeen, leftovers);
    // Kills at different points leave different records.
    QVERIFY(firstSeen > 0 && secondSeen > 0);
    // What the dead process left does not stand in the way of the next save.
    varnek::saveRate(m_path, u"1");
    QCOMPARE(contents(m_path), QByteArray("\"1\"\r\n"));
}

void RateFaultsTest::failedReadKeepsTheBox_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<ErrorKind>("kind");
    QTest::addColumn<QString>("detail");

    QTest::newRow("dangling symbolic link") << u"dangling link"_s << ErrorKind::FileNotFound << u"Aranan dosya: "_s;
    QTest::newRow("one byte over 64 KiB") << u"over the limit"_s << ErrorKind::FileAccess << u"Dosya çok büyük: "_s;
    QTest::newRow("five megabytes") << u"megabytes"_s << ErrorKind::FileAccess << u"Dosya çok büyük: "_s;
    QTest::newRow("sparse file of four gigabytes") << u"sparse"_s << ErrorKind::FileAccess << u"Dosya çok büyük: "_s;
    QTest::newRow("unreadable file") << u"unreadable"_s << ErrorKind::FileAccess << u"Dosya okunamadı: "_s;
}

// Oku on a file it cannot read: one report naming the file, the box and the file as they were, and
// the window goes on.
void RateFaultsTest::failedReadKeepsTheBox()
{
    QFETCH(QString, setup);
    QFETCH(ErrorKind, kind);
    QFETCH(QString, detail);

    if (setup == u"dangling link") {
        QVERIFY(QFile::link(m_folder + u"/gone.txt"_s, m_path));
    } else if (setup == u"over the limit") {
        QVERIFY(writeFile(m_path, '"' + QByteArray(int(varnek::maxRateFileSize) - 3, '9') + "\"\r\n"));
    } else if (setup == u"megabytes") {
        QVERIFY(writeFile(m_path, '"' + QByteArray(5 << 20, '9') + "\"\r\n"));
    } else if (setup == u"sparse") {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("\"1\"\r\n") == 5);
        if (!file.resize(qint64(4) << 30))
            QSKIP("this file system holds no sparse file of 4 GiB");
    } else if (setup == u"unreadable") {
        QVERIFY(writeFile(m_path, "\"1\"\r\n"));
        handOverToUser();
        QVERIFY(chmod(native(m_path).constData(), 0) == 0);
    }
    const QString before = fingerprint(m_path);

    openForm();
    dollarBox()->setText(u"önceki"_s);
    if (setup == u"unreadable") {
        const AsUnprivilegedUser user;
        if (!user.works())
            QSKIP("Cannot become an unprivileged user: root ignores permission bits, so this would prove nothing");
        const int fd = ::open(native(m_path).constData(), O_RDONLY);
        if (fd >= 0) {
            ::close(fd);
            QSKIP("Permission bits do not count for this user here");
        }
        press(u"Command2"_s);
    } else {
        press(u"Command2"_s);
    }

    QCOMPARE(m_fixture->services.onlyMessageKind(), varnek::errorKindText(kind));
    const QString second = m_fixture->services.messages.front().text.section(u'\n', 1);
    QCOMPARE(second, detail + QDir::toNativeSeparators(m_path));
    QCOMPARE(dollarBox()->text(), u"önceki"_s);
    QCOMPARE(fingerprint(m_path), before);
    QVERIFY(form()->isVisible());

    // The window goes on: the same button reads the file once it is sound.
    chmod(native(m_path).constData(), 0644);
    QVERIFY(QFile::remove(m_path));
    QVERIFY(writeFile(m_path, "\"12,5\"\r\n"));
    press(u"Command2"_s);
    QCOMPARE(dollarBox()->text(), u"12,5"_s);
    QCOMPARE(m_fixture->services.messages.size(), 1);
}

void RateFaultsTest::failedSaveKeepsTheFile_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("detail");

    // The first shows that the unprivileged user reaches the folder at all.
    QTest::newRow("writable file") << u"writable"_s << QString();
    QTest::newRow("read-only file") << u"read-only file"_s << u"Dosya salt okunur: "_s;
    // The file is written in place there, as at the root of C: on Windows.
    QTest::newRow("writable file in a folder that cannot be written") << u"read-only folder"_s << QString();
    QTest::newRow("new file in a folder that cannot be written")
        << u"read-only folder, no file"_s << u"Dosya yazılamadı: "_s;
    QTest::newRow("dangling link into a missing folder") << u"link into nowhere"_s << u"Dosya yazılamadı: "_s;
}

// Kaydet where the file can be neither replaced nor written: one report, the old file whole,
// nothing half-made left in the folder, and the window goes on. Rows without a detail save.
void RateFaultsTest::failedSaveKeepsTheFile()
{
    QFETCH(QString, setup);
    QFETCH(QString, detail);

    if (setup == u"link into nowhere")
        QVERIFY(QFile::link(m_folder + u"/nowhere/dolarsatilis.txt"_s, m_path));
    else if (setup != u"read-only folder, no file")
        QVERIFY(writeFile(m_path, "\"eski\"\r\n"));
    handOverToUser();
    if (setup == u"read-only file")
        QVERIFY(chmod(native(m_path).constData(), 0444) == 0);
    else if (setup.startsWith(u"read-only folder"_s))
        QVERIFY(chmod(native(m_folder).constData(), 0555) == 0);
    const QString before = fingerprint(m_path);
    const QStringList entries =
        QDir(m_folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);

    openForm();
    dollarBox()->setText(u"5,25"_s);
    {
        const AsUnprivilegedUser user;
        if (!user.works())
            QSKIP("Cannot become an unprivileged user: root ignores permission bits, so this would prove nothing");
        press(u"Command1"_s);
    }
    chmod(native(m_folder).constData(), 0755);

    if (detail.isEmpty()) {
        QVERIFY(m_fixture->services.messages.isEmpty());
        QCOMPARE(contents(m_path), QByteArray("\"5,25\"\r\n"));
        QCOMPARE(QDir(m_folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), entries);
        return;
    }
    QCOMPARE(m_fixture->services.onlyMessageKind(), varnek::errorKindText(ErrorKind::FileAccess));
    QCOMPARE(m_fixture->services.messages.front().text.section(u'\n', 1), detail + QDir::toNativeSeparators(m_path));
    QCOMPARE(fingerprint(m_path), before);
    QCOMPARE(QDir(m_folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), entries);
    QCOMPARE(dollarBox()->text(), u"5,25"_s);

    // The window goes on: with the obstacle gone the same button saves.
    chmod(native(m_path).constData(), 0644);
    QFile::remove(m_path);
    press(u"Command1"_s);
    QCOMPARE(contents(m_path), QByteArray("\"5,25\"\r\n"));
    QCOMPARE(m_fixture->services.messages.size(), 1);
}

void RateFaultsTest::savingThroughALink_data()
{
    addFlagRows("targetExists", "link to a rate file kept elsewhere", "dangling link");
}

// A rate file may be a link to one kept elsewhere. Saving writes the file the link names, creating
// it if it is gone, and leaves the link in place, so Oku reads what Kaydet wrote.
void RateFaultsTest::savingThroughALink()
{
    QFETCH(bool, targetExists);
    const QString target = m_home.filePath(u"kept elsewhere.txt"_s);
    if (targetExists)
        QVERIFY(writeFile(target, "\"eski\"\r\n"));
    QVERIFY(QFile::link(target, m_path));

    openForm();
    dollarBox()->setText(u"7,5"_s);
    press(u"Command1"_s);
    QVERIFY(m_fixture->services.messages.isEmpty());
    QVERIFY(QFileInfo(m_path).isSymLink());
    QCOMPARE(QFileInfo(m_path).symLinkTarget(), target);
    QCOMPARE(contents(target), QByteArray("\"7,5\"\r\n"));
    QCOMPARE(QDir(m_folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             QStringList{u"dolarsatilis.txt"_s});

    dollarBox()->clear();
    press(u"Command2"_s);
    QCOMPARE(dollarBox()->text(), u"7,5"_s);
    QVERIFY(m_fixture->services.messages.isEmpty());
}

void RateFaultsTest::oddBytesReadAndSaveBack_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("NUL bytes") << QByteArray("\"1\0002\0\"\r\n", 8) << u"1\u00002\u0000"_s;
    QTest::newRow("bytes Windows-1254 leaves undefined")
        << QByteArray("\"\x81\x8d\x8e\x8f\x90\x9d\x9e\"\r\n") << u"\u0081\u008d\u008e\u008f\u0090\u009d\u009e"_s;
    QTest::newRow("line break inside the quotes") << QByteArray("\"1\r\n2\"") << u"1\r\n2"_s;
    QByteArray noise(4096, '\0');
    QRandomGenerator(1254).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QTest::newRow("random bytes") << noise << QString();
}

// Whatever bytes a rate file holds, Oku puts some text in the box without a complaint, and Kaydet
// stores that text so that Oku gives it back unchanged.
void RateFaultsTest::oddBytesReadAndSaveBack()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QVERIFY(writeFile(m_path, bytes));

    openForm();
    dollarBox()->setText(u"önceki"_s);
    press(u"Command2"_s);
    QVERIFY(m_fixture->services.messages.isEmpty());
    const QString read = dollarBox()->text();
    if (!text.isNull())
        QCOMPARE(read, text);

    press(u"Command1"_s);
    QVERIFY(m_fixture->services.messages.isEmpty());
    if (bytes.startsWith('"') && bytes.endsWith("\"\r\n"))
        QCOMPARE(contents(m_path), bytes);
    dollarBox()->clear();
    press(u"Command2"_s);
    QCOMPARE(dollarBox()->text(), read);
    QVERIFY(m_fixture->services.messages.isEmpty());
}

QTEST_MAIN(RateFaultsTest)
#include "tst_ratefaults.moc"
