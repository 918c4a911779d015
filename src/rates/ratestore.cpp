#include "rates/ratestore.h"

#include "rates/rules/ratefile.h"
#include "shell/types/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

[[noreturn]] void fail(ErrorKind kind, const QString &detail, const QString &path)
{
    throw RuntimeError(kind, detail.arg(QDir::toNativeSeparators(path)));
}

// Opens the existing file for writing, never creating it, then cuts it to zero length, writes the
// bytes and flushes them. False when any step fails; the file is untouched when the open failed.
bool writeInPlace(const QString &path, const QByteArray &bytes)
{
#ifdef Q_OS_WIN
    // QFile would truncate on open but ignore a failed truncation, leaving old bytes after the new.
    // No write sharing: a program writing the file meanwhile makes the open fail instead.
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                                    GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = SetEndOfFile(file)
        && WriteFile(file, bytes.constData(), DWORD(bytes.size()), &written, nullptr)
        && written == DWORD(bytes.size()) && FlushFileBuffers(file);
    return CloseHandle(file) && ok;
#else
    // O_TRUNC without O_CREAT: the cut comes with the open.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        return false;
    const bool ok = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return ok && file.error() == QFileDevice::NoError;
#endif
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
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // No temporary file beside it: the root of C: refuses ordinary users new files, yet lets
        // them modify one that is there. Qt's own fallback for this exists on Unix only.
        if (!writeInPlace(path, bytes))
            fail(ErrorKind::FileAccess, u"Dosya yazılamadı: %1"_s, path);
        return;
    }
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        file.cancelWriting();
        fail(ErrorKind::FileAccess, u"Dosya yazılamadı: %1"_s, path);
    }
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

} // namespace varnek
