#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

// A broken property ends the process, so libFuzzer keeps the input and the replay fails.
[[noreturn]] inline void fail(const char *property, const QString &detail = {})
{
    std::fprintf(stderr, "property broken: %s\n%s\n", property, detail.toUtf8().constData());
    std::abort();
}

// The detail is made only when the property is broken: inputs may be long.
template <typename Detail>
void check(bool holds, const char *property, Detail detail)
{
    if (!holds)
        fail(property, detail());
}

inline void check(bool holds, const char *property)
{
    if (!holds)
        fail(property);
}

// Code units in hex: the texts may hold controls and lone surrogates.
inline QString units(QStringView text)
{
    QString shown;
    for (const QChar c : text)
        shown += QString::number(c.unicode(), 16).rightJustified(4, u'0') + u' ';
    return shown;
}

// UTF-8 (invalid sequences become U+FFFD) or raw UTF-16 units, which lets lone surrogates in.
inline QString textOf(const std::uint8_t *data, std::size_t size, bool utf16)
{
    if (!utf16)
        return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QString text;
    text.reserve(qsizetype(size / 2));
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += QChar(char16_t(data[i] | data[i + 1] << 8));
    return text;
}

} // namespace fuzz
