#pragma once

#include "convert/rules/numberrules.h"

#include <QStringView>

namespace varnek {

// Reads the number at the start of an operand text the calculator's lenient way: blanks, tabs and line
// feeds are ignored wherever they stand, reading stops at the first character that does not fit, and
// text that does not begin with a number reads as 0. The period is a decimal point, and so is the
// format's decimal separator when that is a comma. "&H"/"&O" read hexadecimal/octal integers.
// Rejects no text; throws RuntimeError(Overflow) only for a number beyond the double range or a
// hexadecimal/octal value beyond 32 bits.
double leadingNumber(QStringView text, const NumberFormat &format);

// As above; an overflow names the box as the user knows it and quotes its text on its second line.
double leadingNumber(QStringView text, QStringView boxName, const NumberFormat &format);

} // namespace varnek
