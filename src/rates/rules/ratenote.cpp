#include "rates/rules/ratenote.h"

#include "shell/types/errors.h"

#include <QList>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

constexpr QByteArrayView noteMark = "varnek-note 1";

} // namespace

QByteArray encodeRateNote(const RateNote &note)
{
    QByteArray bytes = noteMark.toByteArray();
    if (const auto &s = note.afterCut) {
        for (const qint64 field : {qint64(s->device), qint64(s->inode), s->size, s->modified, s->changed})
            bytes.append(' ').append(QByteArray::number(field));
    }
    return bytes.append('\n').append(note.record);
}

std::optional<RateNote> decodeRateNote(QByteArrayView bytes)
{
    const qsizetype lineEnd = bytes.indexOf('\n');
    if (bytes.size() > maxRateNoteSize || lineEnd < 0)
        return std::nullopt;
    const QList<QByteArray> fields = bytes.first(lineEnd).toByteArray().split(' ');
    if (fields.size() < 2 || fields[0] + ' ' + fields[1] != noteMark)
        return std::nullopt;
    RateNote note;
    note.record = bytes.sliced(lineEnd + 1).toByteArray();
    if (!note.record.isEmpty() && !isOneRecord(note.record))
        return std::nullopt;
    if (fields.size() == 2)
        return note;
    if (fields.size() != 7)
        return std::nullopt;
    qint64 values[5] = {};
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        values[i] = fields[i + 2].toLongLong(&ok);
        if (!ok)
            return std::nullopt;
    }
    note.afterCut = FileState{quint64(values[0]), quint64(values[1]), values[2], values[3], values[4]};
    return note;
}

bool isOneRecord(QByteArrayView bytes)
{
    if (bytes.size() < 4 || bytes.size() > maxRateFileSize || !bytes.startsWith('"') || !bytes.endsWith("\"\r\n"))
        return false;
    const std::optional<QString> text = decodeRateFile(bytes);
    try {
        return text && encodeRateFile(*text) == bytes;
    } catch (const RuntimeError &) {
        return false;
    }
}

bool noteStillApplies(const RateNote &note, const FileState &state, QByteArrayView bytes)
{
    if (!note.afterCut)
        return false;
    const FileState &cut = *note.afterCut;
    if (state.device != cut.device || state.inode != cut.inode || bytes == note.record)
        return false;
    if (state == cut)
        return true;
    // A record never begins with another whole one, so a later save's record never passes; an
    // emptied file does not either, as only the cut left it empty.
    return !bytes.isEmpty() && bytes.size() < note.record.size() && note.record.startsWith(bytes)
        && state.changed >= cut.changed;
}

QString temporaryRateFileName(QStringView rateFileName, quint64 random)
{
    return rateFileName.toString() + u".varnek-"_s + u"%1"_s.arg(random, 16, 16, QLatin1Char('0'));
}

bool isTemporaryRateFileName(QStringView rateFileName, QStringView name)
{
    static const QRegularExpression suffix(u"^\\.varnek-[0-9a-f]{16}$"_s);
    return name.startsWith(rateFileName) && suffix.match(name.sliced(rateFileName.size())).hasMatch();
}

} // namespace varnek
