#include "shell/types/errors.h"

using namespace Qt::StringLiterals;

namespace varnek {

QString errorKindText(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::TypeMismatch: return u"Tür uyuşmazlığı"_s;
    case ErrorKind::DivisionByZero: return u"Sıfıra bölme"_s;
    case ErrorKind::Overflow: return u"Taşma"_s;
    case ErrorKind::FileNotFound: return u"Dosya bulunamadı"_s;
    case ErrorKind::FileAccess: return u"Dosya erişim hatası"_s;
    }
    Q_UNREACHABLE();
    return {};
}

namespace {

bool breaksTheLine(QChar c)
{
    return c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The marks, embeddings, overrides and isolates that set the direction of the text after them.
bool turnsTheLine(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

} // namespace

QString boxErrorDetail(QStringView boxName, QStringView text)
{
    constexpr qsizetype shown = 20; // the ellipsis included
    qsizetype kept = text.size();
    if (kept > shown) {
        kept = shown - 1;
        // Never half a character.
        if (text[kept - 1].isHighSurrogate())
            --kept;
    }
    QString detail;
    detail.reserve(boxName.size() + kept + 4);
    detail.append(boxName);
    detail.append(u" \"");
    // A line break would make the message a line longer than its two, and a direction control
    // would turn the rest of the line around.
    for (const QChar c : text.first(kept))
        detail.append(breaksTheLine(c) || turnsTheLine(c) ? QChar(u' ') : c);
    if (kept < text.size())
        detail.append(u'…');
    detail.append(u'"');
    return detail;
}

RuntimeError::RuntimeError(ErrorKind kind, QString detail) : m_kind(kind), m_detail(std::move(detail)) {}

const char *RuntimeError::what() const noexcept
{
    switch (m_kind) {
    case ErrorKind::TypeMismatch: return "type mismatch";
    case ErrorKind::DivisionByZero: return "division by zero";
    case ErrorKind::Overflow: return "overflow";
    case ErrorKind::FileNotFound: return "file not found";
    case ErrorKind::FileAccess: return "file access error";
    }
    return "runtime error";
}

} // namespace varnek
