#include "rates/ratestore.h"

#include "rates/rules/ratefile.h"
#include "shell/types/errors.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

[[noreturn]] void fail(ErrorKind kind, const QString &detail, const QString &path)
{
    throw RuntimeError(kind, detail.arg(QDir::toNativeSeparators(path)));
}

InPlaceSaveProbe inPlaceProbe;

// The existing file, opened for writing without being created or cut, so that each step of a save
// written in place is one call.
class InPlaceFile {
public:
#ifdef Q_OS_WIN
    // No write sharing: a program writing the file meanwhile makes the open fail instead.
    bool open(const QString &path)
    {
        m_file = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                             GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return m_file != INVALID_HANDLE_VALUE;
    }
    bool cut() { return SetEndOfFile(m_file); }
    bool write(const QByteArray &bytes)
    {
        DWORD written = 0;
        return WriteFile(m_file, bytes.constData(), DWORD(bytes.size()), &written, nullptr)
            && written == DWORD(bytes.size());
    }
    bool flush() { return FlushFileBuffers(m_file); }
    bool close() { return CloseHandle(std::exchange(m_file, INVALID_HANDLE_VALUE)); }
    ~InPlaceFile() { if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file); }

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
#else
    bool open(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
        return m_fd >= 0;
    }
    bool cut() { return ::ftruncate(m_fd, 0) == 0; }
    bool write(const QByteArray &bytes)
    {
        for (qsizetype at = 0; at < bytes.size();) {
            const ssize_t n = ::write(m_fd, bytes.constData() + at, std::size_t(bytes.size() - at));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            at += n;
        }
        return true;
    }
    bool flush() { return ::fsync(m_fd) == 0; }
    bool close() { return ::close(std::exchange(m_fd, -1)) == 0; }
    ~InPlaceFile() { if (m_fd >= 0) ::close(m_fd); }

private:
    int m_fd = -1;
#endif
};

// Writes the record a save is about to write where a crash cannot cut it short.
bool writeNote(const QString &pending, const QByteArray &bytes)
{
    QSaveFile note(pending);
    return QDir().mkpath(QFileInfo(pending).absolutePath()) && note.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && note.write(bytes) == bytes.size() && note.commit();
}

// Opens the existing file, notes the bytes at `pending` unless that is empty, cuts the file to zero
// length, writes the bytes, flushes and closes it. Gives the last step done; nothing when the open
// failed.
std::optional<InPlaceStep> writeInPlace(const QString &path, const QByteArray &bytes, const QString &pending)
{
    InPlaceFile file;
    std::optional<InPlaceStep> last;
    const auto step = [&last](InPlaceStep reached, bool ok) {
        if (ok) {
            last = reached;
            if (inPlaceProbe.afterStep)
                inPlaceProbe.afterStep(reached);
        }
        return ok;
    };
    static_cast<void>(step(InPlaceStep::Opened, file.open(path))
                      && (pending.isEmpty() || step(InPlaceStep::Noted, writeNote(pending, bytes)))
                      && step(InPlaceStep::Cut, file.cut()) && step(InPlaceStep::Written, file.write(bytes))
                      && step(InPlaceStep::Flushed, file.flush()) && step(InPlaceStep::Closed, file.close()));
    return last;
}

// A file or nothing: at most one byte more than a rate file may hold, so that a larger one shows.
std::optional<QByteArray> readSmallFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(maxRateFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// A crash between the cut and the close of a save written in place leaves the file a proper prefix
// of the record it noted (empty, if it came right after the cut): that record is written back. The
// note is removed once the file is whole or was never touched; false when it could not be written.
bool finishInterruptedSave(const QString &path)
{
    const QString pending = pendingRecordPath(path);
    const std::optional<QByteArray> noted = readSmallFile(pending);
    if (!noted)
        return true;
    const std::optional<QByteArray> current = readSmallFile(path);
    if (!current)
        return true; // reported by the read or the save that follows, the note kept for later
    if (*current != *noted && noted->startsWith(*current) && writeInPlace(path, *noted, {}) != InPlaceStep::Closed)
        return false;
    QFile::remove(pending);
    return true;
}

// The record is noted before the file is cut, so that whatever instant a crash comes, the file holds
// the old record or the new one, or is completed from the note.
void saveInPlace(const QString &path, const QByteArray &bytes)
{
    if (!finishInterruptedSave(path))
        fail(ErrorKind::FileAccess, u"Yarım kalan kayıt tamamlanamadı: %1"_s, path);
    const QString pending = pendingRecordPath(path);
    const std::optional<InPlaceStep> last = writeInPlace(path, bytes, pending);
    const bool cutShort = last >= InPlaceStep::Cut && last != InPlaceStep::Closed;
    if (!cutShort)
        QFile::remove(pending);
    if (last == InPlaceStep::Opened)
        fail(ErrorKind::FileAccess, u"Kaydın bir kopyası yazılamadı: %1"_s, pending);
    if (last != InPlaceStep::Closed)
        fail(ErrorKind::FileAccess, u"Dosya yazılamadı: %1"_s, path);
}

} // namespace

QString rateFilePath(Currency currency)
{
#ifdef Q_OS_WIN
    return u"C:/"_s + rateFileName(currency);
#else
    // The data folder comes from the environment, which may end in a slash of its own.
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u'/'
                           + rateFileName(currency));
#endif
}

void saveRate(const QString &path, QStringView text)
{
    const QByteArray bytes = encodeRateFile(text);
    // Never write what readRate would refuse.
    if (bytes.size() > maxRateFileSize)
        fail(ErrorKind::FileAccess, u"Dosya çok büyük: %1"_s, path);

    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        fail(ErrorKind::FileAccess, u"Bu bir dosya değil: %1"_s, path);
    // The new file replaces the old one by a rename, which asks only the folder's permission:
    // a read-only rate file would be replaced without this check.
    if (info.exists() && !info.isWritable())
        fail(ErrorKind::FileAccess, u"Dosya salt okunur: %1"_s, path);
    if (!QDir().mkpath(info.absolutePath()))
        fail(ErrorKind::FileAccess, u"Klasör oluşturulamadı: %1"_s, info.absolutePath());

    QSaveFile file(path);
    // Unbuffered, so that write() counts what reached the file rather than a buffer: Qt can let a
    // short write through to a successful commit(), leaving a cut-off file.
    if (inPlaceProbe.always || !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // No temporary file beside it: the root of C: refuses ordinary users new files, yet lets
        // them modify one that is there. Qt's own fallback for this exists on Unix only.
        saveInPlace(path, bytes);
        return;
    }
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        file.cancelWriting();
        fail(ErrorKind::FileAccess, u"Dosya yazılamadı: %1"_s, path);
    }
    // A note an interrupted save in place left is older than the file now whole.
    QFile::remove(pendingRecordPath(path));
}

std::optional<QString> readRate(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        fail(ErrorKind::FileNotFound, u"Aranan dosya: %1"_s, path);
    if (!info.isFile())
        fail(ErrorKind::FileAccess, u"Bu bir dosya değil: %1"_s, path);
    if (info.size() > maxRateFileSize)
        fail(ErrorKind::FileAccess, u"Dosya çok büyük: %1"_s, path);

    if (!finishInterruptedSave(path))
        fail(ErrorKind::FileAccess, u"Yarım kalan kayıt tamamlanamadı: %1"_s, path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo::exists(path))
            fail(ErrorKind::FileNotFound, u"Aranan dosya: %1"_s, path);
        fail(ErrorKind::FileAccess, u"Dosya okunamadı: %1"_s, path);
    }
    // One byte past the limit shows a file that grew after its size was checked.
    const QByteArray bytes = file.read(maxRateFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        fail(ErrorKind::FileAccess, u"Dosya okunamadı: %1"_s, path);
    if (bytes.size() > maxRateFileSize)
        fail(ErrorKind::FileAccess, u"Dosya çok büyük: %1"_s, path);
    return decodeRateFile(bytes);
}

QString pendingRecordPath(const QString &path)
{
#ifdef Q_OS_WIN
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    // XDG's folder for state that outlives a run but is no document; not the data folder.
    QString home = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(home))
        home = QDir::homePath() + u"/.local/state"_s;
#endif
    // One note per rate file wherever it lies.
    const QByteArray key = QCryptographicHash::hash(QFileInfo(path).absoluteFilePath().toUtf8(),
                                                    QCryptographicHash::Sha256).toHex().left(16);
    return QDir::cleanPath(home + u"/varnek/"_s + QFileInfo(path).fileName() + u'.' + QLatin1StringView(key)
                           + u".pending"_s);
}

void setInPlaceSaveProbe(InPlaceSaveProbe probe) { inPlaceProbe = probe; }

} // namespace varnek
