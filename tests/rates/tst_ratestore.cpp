#include "shell/types/errors.h"
#include "filebytes.h"
#include "ratepaths.h"
#include "optionaltext.h"
#include "rates/ratestore.h"
#include "wholefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <utility>

using namespace Qt::StringLiterals;
using namespace varnek;

namespace varnek {
char *toString(const std::optional<ErrorKind> &kind)
{
    return kind ? qstrdup(RuntimeError(*kind).what()) : qstrdup("(no error)");
}
} // namespace varnek

namespace {

const QByteArray oldFile = "\"old\"\r\n";
#ifndef Q_OS_WIN
// Tests that need permission bits to count run the store as this user when they run as root.
constexpr uid_t unprivilegedId = 65534;
#endif

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

template<typename Call>
std::optional<ErrorKind> errorOf(Call call, QString *detail = nullptr)
{
    try {
        call();
    } catch (const RuntimeError &e) {
        if (detail)
            *detail = e.detail();
        return e.kind();
    }
    return std::nullopt;
}

struct ProbeResult {
    int exitCode = -1;
    QString outcome; // "ok", "text:...", "none" or an error kind
    QString detail;
};

// Where rateFilePath() should put the files.
QString rateFolder()
{
#ifdef Q_OS_WIN
    return u"C:"_s;
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
#endif
}

ProbeResult finished(QProcess &probe)
{
    if ((probe.state() != QProcess::NotRunning && !probe.waitForFinished(30000))
        || probe.exitStatus() != QProcess::NormalExit)
        return {};
    // Windows writes text-mode line ends.
    const QString output = QString::fromUtf8(probe.readAllStandardOutput()).remove(u'\r');
    return {probe.exitCode(), output.section(u'\n', 0, 0), output.section(u'\n', 1, 1)};
}

ProbeResult runProbe(const QStringList &arguments, const QString &stateHome = {})
{
    QProcess probe;
    if (!stateHome.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_STATE_HOME"_s, stateHome);
        probe.setProcessEnvironment(environment);
    }
    probe.start(QString::fromUtf8(RATE_PROBE), arguments);
    return finished(probe);
}

} // namespace

class TestRateStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void pathsOfTheFourFiles();
    void everyCurrencySavesAtItsPath_data();
    void everyCurrencySavesAtItsPath();
    void firstSaveCreatesFolder();
    void saveAndRead_data();
    void saveAndRead();
    void savingTwiceKeepsOneRecord();
    void saveKeepsPermissions();
    void refusedTextKeepsOldFile_data();
    void refusedTextKeepsOldFile();
    void saveOverFolder();
    void readFiles_data();
    void readFiles();
    void readErrors_data();
    void readErrors();
    void partialWriteKeepsOldFile_data();
    void partialWriteKeepsOldFile();
    void interruptedSaveInPlace_data();
    void interruptedSaveInPlace();
    void permissions_data();
    void permissions();
    void blockedReplacementKeepsOldFile_data();
    void blockedReplacementKeepsOldFile();
    void noteOfAnInterruptedSave_data();
    void noteOfAnInterruptedSave();
    void twoInstances_data();
    void twoInstances();
    void failedWriteAfterTheCut_data();
    void failedWriteAfterTheCut();
    void killedReplacementIsCleanedUp();

private:
    QStringList asUnprivilegedUser(bool ownFile = true);

    QTemporaryDir m_home;
    std::optional<QTemporaryDir> m_dir;
    QString m_path;
};

void TestRateStore::initTestCase()
{
    QVERIFY(m_home.isValid());
    // Test mode puts the data folders under $HOME/.qttest: keep that inside a throwaway folder.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QStandardPaths::setTestModeEnabled(true);
#ifndef Q_OS_WIN
    QVERIFY(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).startsWith(m_home.path()));
#endif
}

void TestRateStore::init()
{
    qunsetenv("XDG_STATE_HOME");
    QVERIFY(removeFilesAtRatePaths());
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(u"dolarsatilis.txt"_s);
}

void TestRateStore::cleanupTestCase() { QVERIFY(removeFilesAtRatePaths()); }

void TestRateStore::pathsOfTheFourFiles()
{
    const QString folder = rateFolder();
    const QStringList expected{u"dolarsatilis.txt"_s, u"marksatilis.txt"_s, u"sterlinsatilis.txt"_s,
                               u"franksatilis.txt"_s};
    for (std::size_t i = 0; i < allCurrencies.size(); ++i)
        QCOMPARE(rateFilePath(allCurrencies[i]), folder + u'/' + expected[qsizetype(i)]);

#ifndef Q_OS_WIN
    // A data folder named with a slash at its end, as users write it, still makes a clean path, and
    // the message about a missing file shows that path.
    const QString dataHome = m_home.filePath(u"veri/"_s);
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    QStandardPaths::setTestModeEnabled(false);
    const auto restore = qScopeGuard([&] {
        QStandardPaths::setTestModeEnabled(true);
        if (savedDataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", savedDataHome);
    });
    for (std::size_t i = 0; i < allCurrencies.size(); ++i) {
        const QString path = rateFilePath(allCurrencies[i]);
        QVERIFY2(path.startsWith(dataHome) && !path.contains(u"//"_s), qPrintable(path));
        QCOMPARE(QFileInfo(path).fileName(), expected[qsizetype(i)]);
        QString detail;
        QCOMPARE(errorOf([&] { readRate(path); }, &detail), ErrorKind::FileNotFound);
        QCOMPARE(detail, u"Aranan dosya: "_s + path);
    }
#endif
}

void TestRateStore::everyCurrencySavesAtItsPath_data()
{
    QTest::addColumn<Currency>("currency");
    QTest::addColumn<QString>("file");

    QTest::newRow("dollar") << Currency::Dolar << u"dolarsatilis.txt"_s;
    QTest::newRow("mark") << Currency::Mark << u"marksatilis.txt"_s;
    QTest::newRow("sterling") << Currency::Sterlin << u"sterlinsatilis.txt"_s;
    QTest::newRow("franc") << Currency::Frank << u"franksatilis.txt"_s;
}

// The same bytes on every system, Turkish letters included.
void TestRateStore::everyCurrencySavesAtItsPath()
{
    QFETCH(Currency, currency);
    QFETCH(QString, file);
    const QString path = rateFolder() + u'/' + file;
    const QString text = u"1.250,5 çğıİöşü"_s;

    saveRate(rateFilePath(currency), text);
    QCOMPARE(contents(path), QByteArray::fromHex("22312e3235302c3520e7f0fdddf6fefc220d0a"));
    QCOMPARE(readRate(rateFilePath(currency)), std::optional(text));
    const QStringList written = QDir(rateFolder() + u'/').entryList({u"*satilis.txt*"_s}, QDir::AllEntries | QDir::Hidden);
    QCOMPARE(written, QStringList{file});
}

void TestRateStore::firstSaveCreatesFolder()
{
#ifdef Q_OS_WIN
    QSKIP("On Windows the files sit at the root of drive C:, which always exists");
#endif
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QVERIFY(QDir(folder).removeRecursively());
    QCOMPARE(errorOf([] { readRate(rateFilePath(Currency::Frank)); }), std::optional(ErrorKind::FileNotFound));

    saveRate(rateFilePath(Currency::Frank), u"1,25");
    QCOMPARE(contents(folder + u"/franksatilis.txt"_s), QByteArray("\"1,25\"\r\n"));
    QCOMPARE(readRate(rateFilePath(Currency::Frank)), std::optional(u"1,25"_s));
    QCOMPARE(entries(folder), QStringList{u"franksatilis.txt"_s});
}

void TestRateStore::saveAndRead_data()
{
    addFileBytesRows();
    // The longest text saved: its file is exactly as long as readRate allows.
    const QString atLimit(int(maxRateFileSize) - 4, u'9');
    QTest::newRow("file exactly at the size limit") << atLimit << '"' + atLimit.toLatin1() + "\"\r\n";
}

void TestRateStore::saveAndRead()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(errorOf([&] { saveRate(m_path, text); }), std::nullopt);
    QCOMPARE(contents(m_path), bytes);
    QCOMPARE(readRate(m_path), std::optional(text));
}

void TestRateStore::savingTwiceKeepsOneRecord()
{
    saveRate(m_path, u"1.250.000,75");
    saveRate(m_path, u"7");
    QCOMPARE(contents(m_path), QByteArray("\"7\"\r\n"));
    QCOMPARE(entries(m_dir->path()), QStringList{u"dolarsatilis.txt"_s});
}

void TestRateStore::saveKeepsPermissions()
{
#ifdef Q_OS_WIN
    QSKIP("Windows files carry no permission bits; blockedReplacementKeepsOldFile covers the read-only attribute");
#else
    const mode_t mask = umask(0);
    umask(mask);
    struct stat info {};

    saveRate(m_path, u"1");
    QCOMPARE(stat(QFile::encodeName(m_path).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0666 & ~mask);

    QCOMPARE(chmod(QFile::encodeName(m_path).constData(), 0640), 0);
    saveRate(m_path, u"2");
    QCOMPARE(stat(QFile::encodeName(m_path).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0640u);
#endif
}

void TestRateStore::refusedTextKeepsOldFile_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail");

    QTest::newRow("lira sign") << u"650₺"_s << u"₺"_s;
    QTest::newRow("emoji") << u"😀"_s << u"😀"_s;
    QTest::newRow("quote before a comma") << u"x\",y"_s << u"Tırnak işareti"_s;
    QTest::newRow("quote before a final comma") << u"5\","_s << u"Tırnak işareti"_s;
    QTest::newRow("quote before a line end") << u"a\"\nb"_s << u"Tırnak işareti"_s;
    QTest::newRow("longer than a readable file") << QString(int(maxRateFileSize), u'1') << u"çok büyük"_s;
}

void TestRateStore::refusedTextKeepsOldFile()
{
    QFETCH(QString, text);
    QFETCH(QString, detail);
    QVERIFY(writeFile(m_path, oldFile));

    QString shown;
    QCOMPARE(errorOf([&] { saveRate(m_path, text); }, &shown), std::optional(ErrorKind::FileAccess));
    QVERIFY2(shown.contains(detail), qPrintable(shown));
    QCOMPARE(contents(m_path), oldFile);
    QCOMPARE(entries(m_dir->path()), QStringList{u"dolarsatilis.txt"_s});
}

void TestRateStore::saveOverFolder()
{
    QVERIFY(QDir().mkdir(m_path));
    QCOMPARE(errorOf([&] { saveRate(m_path, u"1"); }), std::optional(ErrorKind::FileAccess));
    QVERIFY(QFileInfo(m_path).isDir());
    QVERIFY(entries(m_path).isEmpty());
}

void TestRateStore::readFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<OptionalText>("text");

    QTest::newRow("zero bytes: nothing, no error") << QByteArray() << OptionalText();
    QTest::newRow("hand-written unquoted comma") << QByteArray("1,5\r\n") << OptionalText(u"5"_s);
    QTest::newRow("several lines") << QByteArray("\"1\"\r\n\"2\",\"3\"\r\n") << OptionalText(u"3"_s);
    QTest::newRow("upper bytes") << QByteArray("\"\x80\xdd\"\r\n") << OptionalText(u"€İ"_s);
    const QByteArray atLimit = '"' + QByteArray(int(maxRateFileSize) - 4, '9') + "\"\r\n";
    QTest::newRow("exactly at the size limit") << atLimit << OptionalText(QString(atLimit.size() - 4, u'9'));
}

void TestRateStore::readFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(OptionalText, text);
    QVERIFY(writeFile(m_path, bytes));
    QCOMPARE(readRate(m_path), text);
}

void TestRateStore::readErrors_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<ErrorKind>("kind");

    QTest::newRow("missing file") << u"missing"_s << ErrorKind::FileNotFound;
    QTest::newRow("missing folder") << u"missing folder"_s << ErrorKind::FileNotFound;
    QTest::newRow("folder") << u"folder"_s << ErrorKind::FileAccess;
#ifndef Q_OS_WIN
    QTest::newRow("named pipe") << u"fifo"_s << ErrorKind::FileAccess;
#endif
    QTest::newRow("one byte over the size limit") << u"large"_s << ErrorKind::FileAccess;
}

void TestRateStore::readErrors()
{
    QFETCH(QString, setup);
    QFETCH(ErrorKind, kind);

    QString path = m_path;
    if (setup == u"missing folder")
        path = m_dir->filePath(u"nowhere/dolarsatilis.txt"_s);
    else if (setup == u"folder")
        QVERIFY(QDir().mkdir(path));
#ifndef Q_OS_WIN
    else if (setup == u"fifo" && mkfifo(QFile::encodeName(path).constData(), 0644) != 0)
        QSKIP("cannot make a named pipe here");
#endif
    else if (setup == u"large")
        QVERIFY(writeFile(path, '"' + QByteArray(int(maxRateFileSize) - 3, '9') + "\"\r\n"));

    QString detail;
    QCOMPARE(errorOf([&] { readRate(path); }, &detail), std::optional(kind));
    QVERIFY2(detail.contains(QDir::toNativeSeparators(path)), qPrintable(detail));
    if (setup == u"large")
        QVERIFY2(detail.contains(u"çok büyük"_s), qPrintable(detail));
}

void TestRateStore::partialWriteKeepsOldFile_data()
{
#ifdef Q_OS_WIN
    QSKIP("Windows has no per-process file-size limit to cut a save short");
#endif
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("fits");

    // The new file is length + 4 bytes.
    QTest::newRow("cut inside the text") << 1000 << 5000 << false;
    QTest::newRow("cut before the last byte") << 1003 << 1000 << false;
    QTest::newRow("cut after the first byte") << 1 << 100 << false;
    QTest::newRow("limit just holds the file") << 1004 << 1000 << true;
}

// A full disk in the middle of a save: the process may not grow any file past `limit` bytes.
void TestRateStore::partialWriteKeepsOldFile()
{
    QFETCH(int, limit);
    QFETCH(int, length);
    QFETCH(bool, fits);
    QVERIFY(writeFile(m_path, oldFile));

    const ProbeResult result = runProbe(
        {u"--fsize"_s, QString::number(limit), u"save"_s, m_path, u"8"_s, QString::number(length)});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.outcome, fits ? u"ok"_s : u"FileAccess"_s);
    QCOMPARE(contents(m_path), fits ? '"' + QByteArray(length, '8') + "\"\r\n" : oldFile);
    QCOMPARE(entries(m_dir->path()), QStringList{u"dolarsatilis.txt"_s});
}

void TestRateStore::interruptedSaveInPlace_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("text");

    QTest::newRow("crash after opening the file") << u"opened"_s << u"old"_s;
    QTest::newRow("crash after noting the record") << u"noted"_s << u"old"_s;
    QTest::newRow("crash after cutting it") << u"cut"_s << u"1.250,50"_s;
    QTest::newRow("crash half-way through writing it") << u"half written"_s << u"1.250,50"_s;
    QTest::newRow("crash after writing it") << u"written"_s << u"1.250,50"_s;
    QTest::newRow("crash after flushing it") << u"flushed"_s << u"1.250,50"_s;
    QTest::newRow("crash after closing it") << u"closed"_s << u"1.250,50"_s;
    QTest::newRow("no crash") << u"none"_s << u"1.250,50"_s;
}

// Whatever instant a crash ends a save written in place, the next read gives the old rate or the
// new one, and leaves that one record in the file and no note behind.
void TestRateStore::interruptedSaveInPlace()
{
    QFETCH(QString, step);
    QFETCH(QString, text);
    const QByteArray newFile = "\"1.250,50\"\r\n";
    QVERIFY(writeFile(m_path, oldFile));

    const bool half = step == u"half written";
    const ProbeResult result = runProbe({u"--in-place"_s, half ? u"cut"_s : step, u"save"_s, m_path, u"1.250,50"_s});
    QCOMPARE(result.exitCode, step == u"none" ? 0 : 9);
    QCOMPARE(QFileInfo::exists(pendingRecordPath(m_path)), step != u"none" && step != u"opened" && step != u"closed");
#ifndef Q_OS_WIN
    // Private to the user, though the state folder may be shared.
    struct stat note {};
    struct stat folder {};
    if (stat(QFile::encodeName(pendingRecordPath(m_path)).constData(), &note) == 0) {
        QCOMPARE(stat(QFile::encodeName(QFileInfo(pendingRecordPath(m_path)).absolutePath()).constData(), &folder), 0);
        QCOMPARE(note.st_mode & 0777, 0600u);
        QCOMPARE(folder.st_mode & 0777, 0700u);
    }
#endif
    if (half)
        QVERIFY(writeFile(m_path, newFile.left(5)));
    QCOMPARE(readRate(m_path), std::optional(text));
    QCOMPARE(contents(m_path), text == u"old" ? oldFile : newFile);
    QVERIFY(!QFileInfo::exists(pendingRecordPath(m_path)));
}

void TestRateStore::permissions_data()
{
#ifdef Q_OS_WIN
    QSKIP("These need POSIX permission bits and an unprivileged user; blockedReplacementKeepsOldFile covers Windows");
#endif
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QByteArray>("after");

    const QByteArray newFile = "\"5\"\r\n";
    // The first two show that the unprivileged user reaches the folder at all.
    QTest::newRow("save, writable file") << u"save"_s << u"writable"_s << u"ok"_s << newFile;
    QTest::newRow("read, readable file") << u"read"_s << u"writable"_s << u"text:old"_s << oldFile;
    QTest::newRow("save, read-only file") << u"save"_s << u"read-only file"_s << u"FileAccess"_s << oldFile;
    // A folder that refuses new files but holds a writable rate file, as the root of C: does for
    // an ordinary user on Windows: the file is written in place.
    QTest::newRow("save, writable file in read-only folder")
        << u"save"_s << u"read-only folder"_s << u"ok"_s << newFile;
    QTest::newRow("save, read-only file in read-only folder")
        << u"save"_s << u"read-only file, read-only folder"_s << u"FileAccess"_s << oldFile;
    QTest::newRow("save, new file in read-only folder")
        << u"save"_s << u"read-only folder, no file"_s << u"FileAccess"_s << QByteArray();
    // Written in place, the record is noted first, as long as the file: a short write stops there.
    QTest::newRow("save in place, cut short")
        << u"save"_s << u"read-only folder, cut short"_s << u"FileAccess"_s << oldFile;
    QTest::newRow("save, folder cannot be made")
        << u"save"_s << u"folder cannot be made"_s << u"FileAccess"_s << QByteArray();
    QTest::newRow("read, unreadable file") << u"read"_s << u"unreadable file"_s << u"FileAccess"_s << oldFile;
}

void TestRateStore::permissions()
{
    QFETCH(QString, call);
    QFETCH(QString, setup);
    QFETCH(QString, outcome);
    QFETCH(QByteArray, after);

#ifndef Q_OS_WIN
    const QString folder = m_dir->filePath(u"rates"_s);
    QVERIFY(QDir().mkdir(folder));
    QString path = folder + u"/dolarsatilis.txt"_s;
    if (setup == u"folder cannot be made")
        path = folder + u"/new/dolarsatilis.txt"_s;
    else if (setup != u"read-only folder, no file")
        QVERIFY(writeFile(path, oldFile));

    const QByteArray nativeFolder = QFile::encodeName(folder);
    const QByteArray nativePath = QFile::encodeName(path);
    // A save in place notes its record in the user's own state folder.
    const QByteArray state = QFile::encodeName(m_dir->filePath(u"state"_s));
    QVERIFY(QDir().mkdir(m_dir->filePath(u"state"_s)));
    qputenv("XDG_STATE_HOME", state);
    const auto unsetState = qScopeGuard([] { qunsetenv("XDG_STATE_HOME"); });
    QStringList arguments;
    if (geteuid() == 0) {
        QVERIFY(chmod(QFile::encodeName(m_dir->path()).constData(), 0711) == 0);
        QVERIFY(chown(nativeFolder.constData(), unprivilegedId, unprivilegedId) == 0);
        QVERIFY(chown(state.constData(), unprivilegedId, unprivilegedId) == 0);
        if (QFileInfo::exists(path))
            QVERIFY(chown(nativePath.constData(), unprivilegedId, unprivilegedId) == 0);
        arguments << u"--as"_s << u"%1:%1"_s.arg(unprivilegedId);
    }
    const auto restore = [&] {
        chmod(nativeFolder.constData(), 0755);
        chmod(nativePath.constData(), 0644);
    };
    const auto restoreOnExit = qScopeGuard(restore);
    if (setup.startsWith(u"read-only file"_s))
        QVERIFY(chmod(nativePath.constData(), 0444) == 0);
    else if (setup == u"unreadable file")
        QVERIFY(chmod(nativePath.constData(), 0) == 0);
    if (setup.contains(u"folder"_s))
        QVERIFY(chmod(nativeFolder.constData(), 0555) == 0);
    if (setup.endsWith(u"cut short"_s))
        arguments << u"--fsize"_s << QString::number(3);

    arguments << call << path;
    if (call == u"save")
        arguments << u"5"_s;
    const ProbeResult result = runProbe(arguments);
    if (result.exitCode == 3)
        QSKIP("Running as root and cannot become an unprivileged user: root ignores permission bits, "
              "so these checks would prove nothing");
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.outcome, outcome);

    restore();
    if (after.isEmpty())
        QVERIFY(!QFileInfo::exists(path));
    else
        QCOMPARE(contents(path), after);
    // Nothing half-made is left behind: no temporary file, no folder.
    QCOMPARE(entries(folder).size(), after.isEmpty() ? 0 : 1);
#endif
}

void TestRateStore::blockedReplacementKeepsOldFile_data()
{
#ifndef Q_OS_WIN
    QSKIP("The read-only attribute and sharing modes are Windows' own");
#endif
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("save, read-only file") << u"save"_s << u"read-only"_s << u"FileAccess"_s;
    // A program holding the file open without delete sharing forbids the rename that commits a save.
    QTest::newRow("save, file held open by another program") << u"save"_s << u"held open"_s << u"FileAccess"_s;
    QTest::newRow("read, file held open by another program") << u"read"_s << u"held open"_s << u"text:old"_s;
    QTest::newRow("save, nothing in the way") << u"save"_s << u"none"_s << u"ok"_s;
}

void TestRateStore::blockedReplacementKeepsOldFile()
{
    QFETCH(QString, call);
    QFETCH(QString, setup);
    QFETCH(QString, outcome);
    QVERIFY(writeFile(m_path, oldFile));

    QFile holder(m_path);
    if (setup == u"read-only")
        QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther));
    else if (setup == u"held open")
        QVERIFY(holder.open(QIODevice::ReadWrite));
    const auto restore = qScopeGuard([&] {
        holder.close();
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
    });

    QStringList arguments{call, m_path};
    if (call == u"save")
        arguments << u"5"_s;
    const ProbeResult result = runProbe(arguments);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.outcome, outcome);

    holder.close();
    QCOMPARE(contents(m_path), outcome == u"ok"_s ? QByteArray("\"5\"\r\n") : oldFile);
    QCOMPARE(entries(m_dir->path()), QStringList{u"dolarsatilis.txt"_s});
}

// The probe's arguments that run the store as user 65534 when the tests run as root, whose writes
// nothing refuses, with the folder, the rate file (unless `ownFile` is false) and a state folder
// of that user's.
QStringList TestRateStore::asUnprivilegedUser(bool ownFile)
{
    const QString state = m_dir->filePath(u"state"_s);
    if (!QDir().mkpath(state + u"/varnek"_s) || !QDir().mkpath(m_dir->filePath(u"other"_s)))
        return {u"--state folder"_s};
    qputenv("XDG_STATE_HOME", QFile::encodeName(state));
#ifdef Q_OS_WIN
    static_cast<void>(ownFile);
    return {};
#else
    if (geteuid() != 0)
        return {};
    QStringList owned{m_dir->path(), state, state + u"/varnek"_s, m_dir->filePath(u"other"_s)};
    if (ownFile)
        owned << m_path;
    for (const QString &path : std::as_const(owned)) {
        if (QFileInfo::exists(path) && chown(QFile::encodeName(path).constData(), unprivilegedId, unprivilegedId) != 0)
            return {u"--chown failed"_s};
    }
    return {u"--as"_s, u"%1:%1"_s.arg(unprivilegedId)};
#endif
}

void TestRateStore::noteOfAnInterruptedSave_data()
{
    QTest::addColumn<QString>("since");
    QTest::addColumn<QString>("read");
    QTest::addColumn<bool>("noteKept");
    QTest::addColumn<QString>("save");

    QTest::newRow("another user saved since") << u"other save"_s << u"text:77"_s << false << QString();
    QTest::newRow("another user saved, then emptied from outside")
        << u"other save, emptied"_s << u"none"_s << false << QString();
    QTest::newRow("rewritten from outside") << u"rewritten"_s << u"text:9"_s << false << QString();
    QTest::newRow("emptied from outside") << u"emptied"_s << u"none"_s << false << QString();
    QTest::newRow("note too large") << u"note: large"_s << u"none"_s << false << QString();
    QTest::newRow("note of two records") << u"note: two records"_s << u"none"_s << false << QString();
    QTest::newRow("note of garbage") << u"note: garbage"_s << u"none"_s << false << QString();
#ifndef Q_OS_WIN
    // Kaydet must not replace what it cannot read, nor follow a link.
    QTest::newRow("unreadable note") << u"note: unreadable"_s << u"none"_s << true << u"FileAccess"_s;
    QTest::newRow("named pipe for a note") << u"note: pipe"_s << u"none"_s << true << u"FileAccess"_s;
    QTest::newRow("link for a note") << u"note: link"_s << u"none"_s << true << u"FileAccess"_s;
    QTest::newRow("empty file the user cannot write") << u"root's file"_s << u"none"_s << true << QString();
    QTest::newRow("begun file the user cannot write")
        << u"root's file, begun"_s << u"FileAccess"_s << true << QString();
#endif
}

// A save in place killed right after its cut leaves its note; whatever came since, the next read
// gives no rate older than the file's own, and never one a note could not vouch for.
void TestRateStore::noteOfAnInterruptedSave()
{
    QFETCH(QString, since);
    QFETCH(QString, read);
    QFETCH(bool, noteKept);
    QFETCH(QString, save);
    QVERIFY(writeFile(m_path, oldFile));
    const bool rootsFile = since.startsWith(u"root's file"_s);
    const QStringList user = asUnprivilegedUser(!rootsFile);
    if (rootsFile && user.isEmpty())
        QSKIP("Needs root to give the file to another user");
    const QStringList crashAfterCut{u"--in-place"_s, u"cut"_s, u"save"_s, m_path, u"1.250,50"_s};
    QCOMPARE(runProbe((rootsFile ? QStringList() : user) + crashAfterCut).exitCode, 9);
    const QString note = pendingRecordPath(m_path);
    const QByteArray header = contents(note).split('\n').constFirst() + '\n';
    QThread::msleep(20); // past the clock's step, as any later change would be
    const QStringList saveInPlace{u"--in-place"_s, u"none"_s, u"save"_s, m_path};
    if (since.startsWith(u"other save"_s))
        QCOMPARE(runProbe(user + saveInPlace + QStringList{u"77"_s}, m_dir->filePath(u"other"_s)).outcome, u"ok"_s);
    if (since.endsWith(u"emptied"_s))
        QVERIFY(QFile::resize(m_path, 0));
    if (since == u"rewritten"_s)
        QVERIFY(writeFile(m_path, "\"9\"\r\n"));
    if (since.endsWith(u"begun"_s))
        QVERIFY(writeFile(m_path, "\"1.2"));
    if (since == u"note: large"_s)
        QVERIFY(writeFile(note, header + '"' + QByteArray(int(maxRateFileSize), '1') + "\"\r\n"));
    if (since == u"note: two records"_s)
        QVERIFY(writeFile(note, header + "\"5\"\r\n\"6\"\r\n"));
    if (since == u"note: garbage"_s)
        QVERIFY(writeFile(note, header + "\x93\"5\r,\"\n"));
#ifndef Q_OS_WIN
    const QByteArray nativeNote = QFile::encodeName(note);
    if (since == u"note: unreadable"_s)
        QVERIFY(chmod(nativeNote.constData(), 0) == 0);
    if (since == u"note: pipe"_s)
        QVERIFY(QFile::remove(note) && mkfifo(nativeNote.constData(), 0600) == 0);
    if (since == u"note: link"_s)
        QVERIFY(QFile::remove(note) && QFile::link(m_dir->filePath(u"elsewhere"_s), note));
    if (geteuid() == 0)
        QVERIFY(lchown(nativeNote.constData(), unprivilegedId, unprivilegedId) == 0);
#endif
    const QString before = QString::fromLatin1(contents(m_path));

    const ProbeResult result = runProbe(user + QStringList{u"read"_s, m_path});
    QCOMPARE(result.outcome, read);
    if (read == u"FileAccess"_s)
        QCOMPARE(result.detail, u"Yarım kalan kayıt tamamlanamadı: "_s + QDir::toNativeSeparators(m_path));
    QCOMPARE(QFileInfo(note).exists() || QFileInfo(note).isSymLink(), noteKept);
    if (noteKept)
        QCOMPARE(QString::fromLatin1(contents(m_path)), before);
    if (!save.isEmpty()) {
        QCOMPARE(runProbe(user + saveInPlace + QStringList{u"5"_s}).outcome, save);
        QCOMPARE(QString::fromLatin1(contents(m_path)), before);
        QVERIFY(!QFileInfo::exists(m_dir->filePath(u"elsewhere"_s)));
    }
}

void TestRateStore::twoInstances_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QByteArray>("after");

    // PATH stands for the rate file.
    const QStringList save{u"--in-place"_s, u"none"_s, u"save"_s, u"PATH"_s, u"12,5"_s};
    for (const char *step : {"opened", "noted", "cut", "written", "flushed"}) {
        QTest::addRow("saves while the other is paused after %s", step)
            << step << save << u"ok"_s << QByteArray("\"12,5\"\r\n");
        QTest::addRow("reads while the other is paused after %s", step)
            << step << QStringList{u"read"_s, u"PATH"_s} << u"text:7"_s << QByteArray("\"7\"\r\n");
    }
    QTest::newRow("replaces the file while the other is paused after its cut")
        << u"cut"_s << QStringList{u"save"_s, u"PATH"_s, u"12,5"_s} << u"ok"_s << QByteArray("\"12,5\"\r\n");
    // The first one's rename leaves the second holding the lock of a file no longer there.
    QTest::newRow("saves while the other is about to replace the file")
        << u"replacing"_s << save << u"ok"_s << QByteArray("\"12,5\"\r\n");
    QTest::newRow("gives up a save after a second")
        << u"written"_s << save << u"FileAccess"_s << QByteArray("\"7\"\r\n");
}

// Two Varneks on one rate file take turns: the second waits while the first is anywhere inside
// its save, and goes on once it is done, or gives up after a second.
void TestRateStore::twoInstances()
{
    QFETCH(QString, step);
    QFETCH(QStringList, second);
    QFETCH(QString, outcome);
    QFETCH(QByteArray, after);
    QVERIFY(writeFile(m_path, oldFile));
    const QStringList user = asUnprivilegedUser();
    second.replaceInStrings(u"PATH"_s, m_path);

    QProcess first;
    first.start(QString::fromUtf8(RATE_PROBE),
                user + (step == u"replacing"_s ? QStringList() : QStringList{u"--in-place"_s, u"none"_s})
                    + QStringList{u"--pause"_s, step, u"save"_s, m_path, u"7"_s});
    QVERIFY(first.waitForReadyRead(30000));
    QCOMPARE(first.readLine().trimmed(), QByteArray("paused"));
    QProcess other;
    other.start(QString::fromUtf8(RATE_PROBE), user + second);
    const bool givesUp = outcome == u"FileAccess"_s;
    QCOMPARE(other.waitForFinished(givesUp ? 5000 : 300), givesUp);
    first.write("\n");
    QCOMPARE(finished(first).outcome, u"ok"_s);
    const ProbeResult result = finished(other);
    QCOMPARE(result.outcome, outcome);
    if (givesUp)
        QCOMPARE(result.detail, u"Dosya şu an başka bir Varnek'te kaydediliyor: "_s + QDir::toNativeSeparators(m_path));
    QCOMPARE(contents(m_path), after);
    QVERIFY(!QFileInfo::exists(pendingRecordPath(m_path)));
}

void TestRateStore::failedWriteAfterTheCut_data()
{
    QTest::addColumn<QString>("fails");
    QTest::addColumn<QByteArray>("previous");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("read");

    const QString putBack = u"Dosya yazılamadı, önceki kayıt geri yazıldı: "_s;
    QTest::newRow("the cut fails") << u"cut"_s << oldFile << u"Dosya yazılamadı: "_s << oldFile << u"text:old"_s;
    QTest::newRow("the write fails") << u"written"_s << oldFile << putBack << oldFile << u"text:old"_s;
    QTest::newRow("the flush fails") << u"flushed"_s << oldFile << putBack << oldFile << u"text:old"_s;
    QTest::newRow("the write fails, and putting back")
        << u"written,putback"_s << oldFile << u"Dosya yazılamadı: "_s << oldFile.left(3) << u"text:old"_s;
    QTest::newRow("the flush fails, and putting back")
        << u"flushed,putback"_s << oldFile << u"Dosya yazılamadı: "_s << oldFile.left(3) << u"text:old"_s;
    QTest::newRow("the write fails over an empty file, and putting back")
        << u"written,putback"_s << QByteArray() << u"Dosya yazılamadı: "_s << QByteArray() << u"none"_s;
    QTest::newRow("the write fails over a hand-written file")
        << u"written"_s << QByteArray("1,5\r\n") << putBack << QByteArray("1,5\r\n") << u"text:5"_s;
}

// A save in place that fails after its cut reports it, and the next read gives the previous
// rate: never the one whose save failed, never nothing where there was a rate.
void TestRateStore::failedWriteAfterTheCut()
{
    QFETCH(QString, fails);
    QFETCH(QByteArray, previous);
    QFETCH(QString, detail);
    QFETCH(QByteArray, after);
    QFETCH(QString, read);
    QVERIFY(writeFile(m_path, previous));
    const QStringList user = asUnprivilegedUser();

    const QStringList save{u"--in-place"_s, u"none"_s, u"--fail"_s, fails, u"save"_s, m_path, u"1.250,50"_s};
    const ProbeResult result = runProbe(user + save);
    QCOMPARE(result.outcome, u"FileAccess"_s);
    QCOMPARE(result.detail, detail + QDir::toNativeSeparators(m_path));
    QCOMPARE(contents(m_path), after);
    QCOMPARE(runProbe(user + QStringList{u"read"_s, m_path}).outcome, read);
    QCOMPARE(contents(m_path), previous);
    QVERIFY(!QFileInfo::exists(pendingRecordPath(m_path)));
}

// A save killed just before its temporary file replaces the rate file leaves that file; the next
// read or save removes it, and only it: files of the user's that look alike stay.
void TestRateStore::killedReplacementIsCleanedUp()
{
    QVERIFY(writeFile(m_path, oldFile));
    const QStringList users{u"dolarsatilis.txt"_s, u"dolarsatilis.txt.eskisi"_s,
                            u"dolarsatilis.txt.varnek-0123456789abcdef"_s};
    for (const QString &name : users.sliced(1))
        QVERIFY(writeFile(m_dir->filePath(name), "\"kendi\"\r\n"));
    const QStringList user = asUnprivilegedUser();
    for (const QStringList &next : {QStringList{u"read"_s, m_path}, QStringList{u"save"_s, m_path, u"5"_s}}) {
        QCOMPARE(runProbe(user + QStringList{u"--crash"_s, u"replacing"_s, u"save"_s, m_path, u"9"_s}).exitCode, 9);
        QCOMPARE(entries(m_dir->path()).size(), users.size() + 3); // and the state folders
        QCOMPARE(runProbe(user + next).exitCode, 0);
        QCOMPARE(entries(m_dir->path()), QStringList(users) << u"other"_s << u"state"_s);
    }
    QCOMPARE(contents(m_path), QByteArray("\"5\"\r\n"));
}

QTEST_GUILESS_MAIN(TestRateStore)
#include "tst_ratestore.moc"
