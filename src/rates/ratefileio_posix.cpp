// The rate store's file calls on Linux and other POSIX systems.

#include "rates/ratefileio.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnek::fileio {

namespace {

bool writeAll(int fd, QByteArrayView bytes, off_t offset)
{
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.data() + at, std::size_t(bytes.size() - at), offset + at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
    }
    return true;
}

// Read through Qt rather than pread: the buffer's size is known only at run time, so a call of our
// own could not be fortified, and a release build would carry an unchecked libc read for nothing.
// Every write names its offset, so moving the descriptor's own offset here disturbs none.
std::optional<QByteArray> readAll(int fd, qint64 limit)
{
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle) || !file.seek(0))
        return std::nullopt;
    QByteArray bytes = file.read(limit);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// The notes' folder, made if missing, and kept private when it is the user's own.
bool makePrivateFolder(const QString &folder)
{
    const QByteArray name = QFile::encodeName(folder);
    if (!QDir().mkpath(QFileInfo(folder).absolutePath()))
        return false;
    if (::mkdir(name.constData(), 0700) == 0)
        return true;
    struct stat info {};
    if (errno != EEXIST || ::lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    if (info.st_uid == ::geteuid() && (info.st_mode & 077) != 0)
        return ::chmod(name.constData(), 0700) == 0;
    return true;
}

} // namespace

Opened RateFile::open(const QString &path, LockMode mode, bool writing)
{
    const QByteArray name = QFile::encodeName(path);
    const QDeadlineTimer deadline(lockWaitMs);
    for (;;) {
        close();
        m_fd = writing ? ::open(name.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC) : -1;
        m_writable = m_fd >= 0;
        if (m_fd < 0)
            m_fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0)
            return errno == ENOENT ? Opened::Missing : Opened::Refused;
        struct stat own {};
        if (::fstat(m_fd, &own) != 0 || !S_ISREG(own.st_mode)) {
            close();
            return Opened::NotAFile;
        }
        const int operation = (mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
        int locked = 0;
        while ((locked = ::flock(m_fd, operation)) != 0 && (errno == EWOULDBLOCK || errno == EINTR)) {
            if (deadline.hasExpired()) {
                close();
                return Opened::Busy;
            }
            QThread::msleep(pollMs);
        }
        // A file system without locks: as safe as it was without them.
        static_cast<void>(locked);
        struct stat named {};
        if (::stat(name.constData(), &named) == 0 && named.st_dev == own.st_dev && named.st_ino == own.st_ino)
            return Opened::Ok;
        if (deadline.hasExpired()) {
            close();
            return Opened::Busy;
        }
    }
}

std::optional<FileState> RateFile::state() const
{
    struct stat info {};
    if (::fstat(m_fd, &info) != 0)
        return std::nullopt;
    const auto ns = [](const timespec &t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; };
    return FileState{quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size), ns(info.st_mtim),
                     ns(info.st_ctim)};
}

std::optional<QByteArray> RateFile::read(qint64 limit) const { return readAll(m_fd, limit); }
bool RateFile::cut() { return m_writable && ::ftruncate(m_fd, 0) == 0; }
bool RateFile::write(QByteArrayView bytes) { return m_writable && writeAll(m_fd, bytes, 0); }
bool RateFile::flush() { return ::fsync(m_fd) == 0; }

void RateFile::close()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

PrivateFile readPrivateFile(const QString &path, qint64 limit)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {errno == ENOENT ? PrivateFile::Missing : PrivateFile::Unreadable, {}};
    PrivateFile file{PrivateFile::Unreadable, {}};
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        if (std::optional<QByteArray> bytes = readAll(fd, limit))
            file = {PrivateFile::Read, *bytes};
    }
    ::close(fd);
    return file;
}

bool writePrivateFile(const QString &path, QByteArrayView bytes)
{
    if (!makePrivateFolder(QFileInfo(path).absolutePath()))
        return false;
    const QByteArray fresh = QFile::encodeName(path + QStringLiteral(".new"));
    ::unlink(fresh.constData());
    const int fd = ::open(fresh.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, bytes, 0) && ::fsync(fd) == 0;
    if (::close(fd) == 0 && written && ::rename(fresh.constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    ::unlink(fresh.constData());
    return false;
}

bool removePrivateFile(const QString &path)
{
    return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}

bool privateFileExists(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

NewFile::~NewFile() { discard(); }

bool NewFile::create(const QString &path, const QString &replacing)
{
    struct stat old {};
    const bool keepMode = ::stat(QFile::encodeName(replacing).constData(), &old) == 0;
    m_fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  keepMode ? 0600 : 0666);
    if (m_fd < 0)
        return false;
    m_path = path;
    // The replaced file's permissions, exactly; a new one gets what the user's umask allows.
    if (keepMode && ::fchmod(m_fd, old.st_mode & 07777) != 0) {
        discard();
        return false;
    }
    return true;
}

bool NewFile::write(QByteArrayView bytes) { return writeAll(m_fd, bytes, 0); }
bool NewFile::flush() { return ::fsync(m_fd) == 0; }

bool NewFile::commit(const QString &target)
{
    if (::close(std::exchange(m_fd, -1)) != 0
        || ::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(target).constData()) != 0) {
        discard();
        return false;
    }
    m_path.clear();
    return true;
}

void NewFile::discard()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_path.isEmpty())
        ::unlink(QFile::encodeName(std::exchange(m_path, QString())).constData());
}

void removeLeftFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid())
        ::unlink(name.constData());
}

} // namespace varnek::fileio
