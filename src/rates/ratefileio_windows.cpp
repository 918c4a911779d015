// The rate store's file calls on Windows.

#include "rates/ratefileio.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <utility>

#include <windows.h>

#include <string>

namespace varnek::fileio {

namespace {

const HANDLE noHandle = INVALID_HANDLE_VALUE;
const DWORD replacing = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

std::wstring wide(const QString &path) { return QDir::toNativeSeparators(path).toStdWString(); }

// Far past the end of any rate file: Windows' byte-range locks forbid other handles the bytes they
// cover, and the file's own bytes must stay free for the handle that writes them.
OVERLAPPED lockRange()
{
    OVERLAPPED range{};
    range.OffsetHigh = 0x40000000;
    return range;
}

bool sameFile(HANDLE handle, const QString &path)
{
    const HANDLE named = CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (named == noHandle)
        return false;
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    const bool same = GetFileInformationByHandle(handle, &a) && GetFileInformationByHandle(named, &b)
        && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh
        && a.nFileIndexLow == b.nFileIndexLow;
    CloseHandle(named);
    return same;
}

qint64 ticks(FILETIME time) { return qint64((quint64(time.dwHighDateTime) << 32) | time.dwLowDateTime); }

bool writeAll(HANDLE handle, QByteArrayView bytes)
{
    DWORD written = 0;
    return WriteFile(handle, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == DWORD(bytes.size());
}

bool rewind(HANDLE handle) { return SetFilePointerEx(handle, LARGE_INTEGER{}, nullptr, FILE_BEGIN); }

} // namespace

// Each try opens, locks and closes again, so that no waiting handle stands in the way of the
// rename that ends another Varnek's save.
Opened RateFile::open(const QString &path, LockMode mode, bool writing)
{
    const QDeadlineTimer deadline(lockWaitMs);
    const std::wstring name = wide(path);
    for (;; QThread::msleep(pollMs)) {
        close();
        // A writer shares no writing, so that a program writing the file meanwhile makes it wait.
        HANDLE handle = writing
            ? CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
            : noHandle;
        DWORD error = GetLastError();
        m_writable = handle != noHandle;
        if (!m_writable && (!writing || error == ERROR_ACCESS_DENIED)) {
            handle = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            error = GetLastError();
        }
        if (handle == noHandle) {
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return Opened::Missing;
            if (error != ERROR_SHARING_VIOLATION)
                return Opened::Refused;
            if (deadline.hasExpired())
                return Opened::Busy;
            continue;
        }
        m_handle = handle;
        if (GetFileType(handle) != FILE_TYPE_DISK) {
            close();
            return Opened::NotAFile;
        }
        OVERLAPPED range = lockRange();
        const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (mode == LockMode::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
        if (LockFileEx(handle, flags, 0, 1, 0, &range) && sameFile(handle, path))
            return Opened::Ok;
        if (deadline.hasExpired()) {
            close();
            return Opened::Busy;
        }
    }
}

std::optional<FileState> RateFile::state() const
{
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandle(m_handle, &info)
        || !GetFileInformationByHandleEx(m_handle, FileBasicInfo, &basic, sizeof basic))
        return std::nullopt;
    return FileState{info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                     qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow), ticks(info.ftLastWriteTime),
                     basic.ChangeTime.QuadPart};
}

std::optional<QByteArray> RateFile::read(qint64 limit) const
{
    if (!rewind(m_handle))
        return std::nullopt;
    QByteArray bytes(limit, Qt::Uninitialized);
    qsizetype at = 0;
    for (DWORD n = 0; at < bytes.size(); at += n) {
        if (!ReadFile(m_handle, bytes.data() + at, DWORD(bytes.size() - at), &n, nullptr))
            return std::nullopt;
        if (n == 0)
            break;
    }
    bytes.truncate(at);
    return bytes;
}

bool RateFile::cut() { return m_writable && rewind(m_handle) && SetEndOfFile(m_handle); }
bool RateFile::write(QByteArrayView bytes) { return m_writable && rewind(m_handle) && writeAll(m_handle, bytes); }
bool RateFile::flush() { return FlushFileBuffers(m_handle); }

void RateFile::close()
{
    if (m_handle != noHandle)
        CloseHandle(std::exchange(m_handle, noHandle));
}

PrivateFile readPrivateFile(const QString &path, qint64 limit)
{
    // Never through a link: the link itself is opened, and refused below.
    const HANDLE handle = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == noHandle) {
        const DWORD error = GetLastError();
        return {error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PrivateFile::Missing
                                                                               : PrivateFile::Unreadable, {}};
    }
    PrivateFile file{PrivateFile::Unreadable, {}};
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info)
        && !(info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
        QByteArray bytes(limit, Qt::Uninitialized);
        DWORD n = 0;
        qsizetype at = 0;
        bool ok = true;
        while (at < bytes.size() && (ok = ReadFile(handle, bytes.data() + at, DWORD(bytes.size() - at), &n, nullptr))
               && n > 0)
            at += n;
        if (ok)
            file = {PrivateFile::Read, bytes.left(at)};
    }
    CloseHandle(handle);
    return file;
}

bool writePrivateFile(const QString &path, QByteArrayView bytes)
{
    // The user's own application data folder is private to the user already.
    const QString fresh = path + QStringLiteral(".new");
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    DeleteFileW(wide(fresh).c_str());
    const HANDLE handle = CreateFileW(wide(fresh).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == noHandle)
        return false;
    const bool written = writeAll(handle, bytes) && FlushFileBuffers(handle);
    CloseHandle(handle);
    if (written && MoveFileExW(wide(fresh).c_str(), wide(path).c_str(), replacing))
        return true;
    DeleteFileW(wide(fresh).c_str());
    return false;
}

bool removePrivateFile(const QString &path)
{
    return DeleteFileW(wide(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool privateFileExists(const QString &path)
{
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

NewFile::~NewFile() { discard(); }

bool NewFile::create(const QString &path, const QString &)
{
    m_handle = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_handle == noHandle)
        return false;
    m_path = path;
    return true;
}

bool NewFile::write(QByteArrayView bytes) { return writeAll(m_handle, bytes); }
bool NewFile::flush() { return FlushFileBuffers(m_handle); }

bool NewFile::commit(const QString &target)
{
    CloseHandle(std::exchange(m_handle, noHandle));
    // A reader or a Varnek trying for the lock may hold the old file for an instant.
    const QDeadlineTimer deadline(lockWaitMs);
    while (!MoveFileExW(wide(m_path).c_str(), wide(target).c_str(), replacing)) {
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || deadline.hasExpired()) {
            discard();
            return false;
        }
        QThread::msleep(pollMs);
    }
    m_path.clear();
    return true;
}

void NewFile::discard()
{
    if (m_handle != noHandle)
        CloseHandle(std::exchange(m_handle, noHandle));
    if (!m_path.isEmpty())
        DeleteFileW(wide(std::exchange(m_path, QString())).c_str());
}

void removeLeftFile(const QString &path)
{
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES
        && !(attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        DeleteFileW(wide(path).c_str());
}

} // namespace varnek::fileio
