#pragma once

#include "rates/rules/ratenote.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The file-system calls the rate store needs, one class or function per kind of file, with each
// platform's own calls behind them.
namespace varnek::fileio {

// How long a save or a read waits for another Varnek's, and how often it looks again.
inline constexpr int lockWaitMs = 1000;
inline constexpr int pollMs = 10;

enum class LockMode { Shared, Exclusive };
enum class Opened { Ok, Missing, NotAFile, Refused, Busy };

// The rate file itself, opened as a regular file without blocking (a named pipe in its place must
// not hang the window) and locked against every other Varnek's saves and reads of the same file.
// The lock is on the file, not on a file beside it, which the root of C: would refuse; the path is
// checked to name the locked file still, as a save that replaces it leaves the waiters holding
// the old one. Waits at most a second for the lock.
class RateFile {
public:
    RateFile() = default;
    RateFile(const RateFile &) = delete;
    RateFile &operator=(const RateFile &) = delete;
    ~RateFile() { close(); }

    // Opens for reading and, where allowed, writing when `writing` is set.
    Opened open(const QString &path, LockMode mode, bool writing);
    bool canWrite() const { return m_writable; }
    std::optional<FileState> state() const;
    // From the first byte, at most `limit` bytes; nothing on a read error.
    std::optional<QByteArray> read(qint64 limit) const;
    bool cut();
    // From the first byte; false when not all of it was written.
    bool write(QByteArrayView bytes);
    bool flush();
    void close();

private:
#ifdef Q_OS_WIN
    void *m_handle = reinterpret_cast<void *>(-1);
#else
    int m_fd = -1;
#endif
    bool m_writable = false;
};

// Files in the user's own folder (notes, the names of temporary files): never read or written
// through a link, never blocking, regular files only; made private to the user (0600 in a 0700
// folder).
struct PrivateFile {
    enum { Missing, Unreadable, Read } status = Missing;
    QByteArray bytes;
};
// Reads at most `limit` bytes.
PrivateFile readPrivateFile(const QString &path, qint64 limit);
// All or nothing: a new file, then renamed over the old one.
bool writePrivateFile(const QString &path, QByteArrayView bytes);
bool removePrivateFile(const QString &path);
bool privateFileExists(const QString &path);

// A file written beside the rate file that then replaces it: created anew, never over a file that
// is there, with the permissions of the file it replaces.
class NewFile {
public:
    NewFile() = default;
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;
    ~NewFile();

    // False when the folder refuses the file.
    bool create(const QString &path, const QString &replacing);
    bool write(QByteArrayView bytes);
    bool flush();
    // Closes the file and renames it over `target`; on failure it removes the file.
    bool commit(const QString &target);
    // Closes and removes it.
    void discard();

private:
    QString m_path;
#ifdef Q_OS_WIN
    void *m_handle = reinterpret_cast<void *>(-1);
#else
    int m_fd = -1;
#endif
};

// Removes a temporary file that a killed save of this user left, by its recorded path: only a
// regular file, never through a link.
void removeLeftFile(const QString &path);

} // namespace varnek::fileio
