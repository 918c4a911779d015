#include "rates/ratestore.h"

#include "rates/ratefileio.h"
#include "rates/rules/ratenote.h"
#include "shell/types/errors.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

using namespace fileio;

[[noreturn]] void fail(ErrorKind kind, const QString &detail, const QString &path)
{
    throw RuntimeError(kind, detail.arg(QDir::toNativeSeparators(path)));
}

InPlaceSaveProbe inPlaceProbe;

bool reached(InPlaceStep step, bool ok)
{
    if (ok && inPlaceProbe.afterStep)
        inPlaceProbe.afterStep(step);
    return ok;
}

bool failsHere(InPlaceStep step) { return inPlaceProbe.fails && inPlaceProbe.fails(step); }

// A write the probe fails stops half-way, as a full disk would.
bool writeRecord(RateFile &file, const QByteArray &bytes, InPlaceStep step)
{
    if (!failsHere(step))
        return file.write(bytes);
    file.write(bytes.first(bytes.size() / 2));
    return false;
}

// The user's own folder for what a save keeps beside a rate file: one name per rate file wherever
// it lies.
QString stateFilePath(const QString &path, QStringView suffix)
{
#ifdef Q_OS_WIN
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    // XDG's folder for state that outlives a run but is no document; not the data folder.
    QString home = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(home))
        home = QDir::homePath() + u"/.local/state"_s;
#endif
    const QByteArray key = QCryptographicHash::hash(QFileInfo(path).absoluteFilePath().toUtf8(),
                                                    QCryptographicHash::Sha256).toHex().left(16);
    return QDir::cleanPath(home + u"/varnek/"_s + QFileInfo(path).fileName() + u'.' + QLatin1StringView(key)
                           + suffix.toString());
}

QString temporaryRecordPath(const QString &path) { return stateFilePath(path, u".temp"); }

// The file a save writes: a link's target, so that the link stays and the temporary file lies
// beside the file it replaces.
QString linkTarget(const QString &path)
{
    QString target = path;
    for (int hops = 0; hops < 16 && QFileInfo(target).isSymLink(); ++hops)
        target = QFileInfo(target).symLinkTarget();
    return target;
}

// What a save killed between making its temporary file and the rename left beside `target`,
// removed by the name it recorded: never a file of the user's that merely looks alike.
void removeLeftTemporaryFile(const QString &path, const QString &target)
{
    const QString record = temporaryRecordPath(path);
    const PrivateFile named = readPrivateFile(record, 4096);
    if (named.status != PrivateFile::Read)
        return;
    const QFileInfo left(QFile::decodeName(named.bytes));
    const QFileInfo rate(target);
    if (left.absolutePath() == rate.absolutePath() && isTemporaryRateFileName(rate.fileName(), left.fileName()))
        removeLeftFile(left.absoluteFilePath());
    removePrivateFile(record);
}

void openLocked(RateFile &file, const QString &path, LockMode mode, bool writing)
{
    switch (file.open(path, mode, writing)) {
    case Opened::Ok:
        return;
    case Opened::Missing:
        fail(ErrorKind::FileNotFound, u"Aranan dosya: %1"_s, path);
    case Opened::NotAFile:
        fail(ErrorKind::FileAccess, u"Bu bir dosya değil: %1"_s, path);
    case Opened::Refused:
        fail(ErrorKind::FileAccess, writing ? u"Dosya yazılamadı: %1"_s : u"Dosya okunamadı: %1"_s, path);
    case Opened::Busy:
        fail(ErrorKind::FileAccess, u"Dosya şu an başka bir Varnek'te kaydediliyor: %1"_s, path);
    }
}

enum class Completion { NoNote, UnreadableNote, Done, Failed };

// A save written in place that a crash or a failure interrupted is finished from its note while
// the file is still as that save left it; a note that no longer applies (a later save, a file
// rewritten or emptied from outside) goes, so that no older rate comes back. A note that cannot be
// read stays.
Completion finishInterruptedSave(RateFile &file, const QString &notePath)
{
    const PrivateFile noted = readPrivateFile(notePath, maxRateNoteSize + 1);
    if (noted.status != PrivateFile::Read)
        return noted.status == PrivateFile::Missing ? Completion::NoNote : Completion::UnreadableNote;
    const std::optional<RateNote> note = decodeRateNote(noted.bytes);
    const std::optional<FileState> state = file.state();
    const std::optional<QByteArray> current = file.read(maxRateFileSize + 1);
    if (!state || !current)
        return Completion::UnreadableNote;
    if (!note || !noteStillApplies(*note, *state, *current)) {
        removePrivateFile(notePath);
        return Completion::NoNote;
    }
    if (file.cut() && file.write(note->record) && file.flush()) {
        removePrivateFile(notePath);
        return Completion::Done;
    }
    // Half done, the note must still fit what the file now is.
    if (const std::optional<FileState> now = file.state(); now && *now != *state)
        writePrivateFile(notePath, encodeRateNote({now, note->record}));
    return Completion::Failed;
}

// After a failure past the cut: the previous record goes back, noted first, so that the failed
// one never comes back; where even that fails, the note keeps the previous record for the next
// read or save to write.
[[noreturn]] void putBack(RateFile &file, const QString &path, const QString &notePath, const QByteArray &previous)
{
    const QByteArray kept = isOneRecord(previous) ? previous : QByteArray();
    const bool restored = file.cut() && writePrivateFile(notePath, encodeRateNote({file.state(), kept}))
        && writeRecord(file, previous, InPlaceStep::PutBack) && file.flush();
    if (restored) {
        removePrivateFile(notePath);
        fail(ErrorKind::FileAccess, u"Dosya yazılamadı, önceki kayıt geri yazıldı: %1"_s, path);
    }
    writePrivateFile(notePath, encodeRateNote({file.state(), kept}));
    fail(ErrorKind::FileAccess, u"Dosya yazılamadı: %1"_s, path);
}

// The record is noted before the file is cut and the file's state right after it, so that a
// crash at any instant leaves the old record, the new one, or a file the note completes.
void saveInPlace(RateFile &file, const QString &path, const QString &notePath, const QByteArray &bytes)
{
    reached(InPlaceStep::Opened, true);
    const std::optional<QByteArray> previous = file.read(maxRateFileSize + 1);
    if (!file.canWrite() || !previous)
        fail(ErrorKind::FileAccess, u"Dosya yazılamadı: %1"_s, path);
    if (!reached(InPlaceStep::Noted, writePrivateFile(notePath, encodeRateNote({std::nullopt, bytes}))))
        fail(ErrorKind::FileAccess, u"Kaydın bir kopyası yazılamadı: %1"_s, notePath);
    if (failsHere(InPlaceStep::Cut) || !file.cut()) {
        removePrivateFile(notePath);
        fail(ErrorKind::FileAccess, u"Dosya yazılamadı: %1"_s, path);
    }
    const std::optional<FileState> cut = file.state();
    if (!reached(InPlaceStep::Cut, cut && writePrivateFile(notePath, encodeRateNote({cut, bytes})))
        || !reached(InPlaceStep::Written, writeRecord(file, bytes, InPlaceStep::Written))
        || !reached(InPlaceStep::Flushed, !failsHere(InPlaceStep::Flushed) && file.flush()))
        putBack(file, path, notePath, *previous);
    removePrivateFile(notePath);
    file.close();
    reached(InPlaceStep::Closed, true);
}

// Windows renames nothing over a file held open, the lock's own handle included; elsewhere the
// lock stays until the new file is in place.
bool releaseBeforeRename(RateFile &locked)
{
#ifdef Q_OS_WIN
    locked.close();
#else
    static_cast<void>(locked);
#endif
    return true;
}

// Replaces the file with a new one written beside it. False when the folder refuses that file.
bool replaceWhole(RateFile &locked, const QString &path, const QString &target, const QByteArray &bytes)
{
    const QFileInfo rate(target);
    const QString temporary = rate.absolutePath() + u'/'
        + temporaryRateFileName(rate.fileName(), QRandomGenerator::system()->generate64());
    // Recorded before it exists, so that a kill at any later instant leaves a name to clean up by.
    const QString record = temporaryRecordPath(path);
    const bool recorded = writePrivateFile(record, QFile::encodeName(temporary));
    NewFile file;
    const bool made = file.create(temporary, target);
    if (made) {
        const bool written = file.write(bytes) && file.flush() && reached(InPlaceStep::Replacing, true)
            && releaseBeforeRename(locked) && file.commit(target);
        if (!written)
            file.discard();
        if (recorded)
            removePrivateFile(record);
        if (!written)
            fail(ErrorKind::FileAccess, u"Dosya yazılamadı: %1"_s, path);
    } else if (recorded) {
        removePrivateFile(record);
    }
    return made;
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

    const QString target = linkTarget(path);
    const QString notePath = pendingRecordPath(path);
    RateFile file;
    // A file that is not there yet has nothing to lock, nor a note.
    const bool exists = QFileInfo::exists(target);
    Completion completion = Completion::NoNote;
    if (exists) {
        openLocked(file, target, LockMode::Exclusive, true);
        completion = finishInterruptedSave(file, notePath);
        if (completion == Completion::Failed)
            fail(ErrorKind::FileAccess, u"Yarım kalan kayıt tamamlanamadı: %1"_s, path);
    }
    removeLeftTemporaryFile(path, target);
    if (!inPlaceProbe.always && replaceWhole(file, path, target, bytes))
        return;
    // No temporary file beside it: the root of C: refuses ordinary users new files, yet lets them
    // modify one that is there.
    if (!exists)
        fail(ErrorKind::FileAccess, u"Dosya yazılamadı: %1"_s, path);
    // A note it cannot read may hold a record no later save has written over: it is not replaced.
    if (completion == Completion::UnreadableNote)
        fail(ErrorKind::FileAccess, u"Yarım kalan kayıt okunamadı: %1"_s, notePath);
    saveInPlace(file, path, notePath, bytes);
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

    // Shared with other reads unless a note may need writing back.
    const QString notePath = pendingRecordPath(path);
    RateFile file;
    for (;;) {
        const bool noted = privateFileExists(notePath);
        openLocked(file, path, noted ? LockMode::Exclusive : LockMode::Shared, noted);
        if (noted || !privateFileExists(notePath))
            break;
    }
    removeLeftTemporaryFile(path, linkTarget(path));
    const Completion completion = finishInterruptedSave(file, notePath);
    // One byte past the limit shows a file that grew after its size was checked.
    const std::optional<QByteArray> bytes = file.read(maxRateFileSize + 1);
    if (!bytes)
        fail(ErrorKind::FileAccess, u"Dosya okunamadı: %1"_s, path);
    if (completion == Completion::Failed) {
        // An empty file reads as no field, whatever was meant to be in it.
        if (bytes->isEmpty())
            return std::nullopt;
        fail(ErrorKind::FileAccess, u"Yarım kalan kayıt tamamlanamadı: %1"_s, path);
    }
    if (bytes->size() > maxRateFileSize)
        fail(ErrorKind::FileAccess, u"Dosya çok büyük: %1"_s, path);
    return decodeRateFile(*bytes);
}

QString pendingRecordPath(const QString &path) { return stateFilePath(path, u".pending"); }

void setInPlaceSaveProbe(InPlaceSaveProbe probe) { inPlaceProbe = probe; }

} // namespace varnek
