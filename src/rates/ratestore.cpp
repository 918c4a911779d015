#include "rates/ratestore.h"

#include "rates/rules/ratefile.h"
#include "shell/types/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

[[noreturn]] void fail(ErrorKind kind, const QString &detail, const QString &path)
{
    throw RuntimeError(kind, detail.arg(QDir::toNativeSeparators(path)));
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
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(ErrorKind::FileAccess, u"Dosya yazılamadı: %1"_s, path);
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
