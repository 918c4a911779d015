#pragma once

#include <QString>

namespace varnek {

// Tables hold their texts as char16_t literals, which can live in constexpr arrays.
inline QString tableText(const char16_t *text) { return QString::fromUtf16(text); }

} // namespace varnek
