#pragma once

#include <QMetaType>
#include <QString>
#include <QTest>

#include <optional>

// A text that may be absent, as a column of a test table.
using OptionalText = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalText)

// Found by argument-dependent lookup (QString's namespace), so failures show the values.
inline char *toString(const std::optional<QString> &text)
{
    return text ? QTest::toString(*text) : qstrdup("(nothing)");
}
