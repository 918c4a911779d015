#include "convert/rules/checkedmath.h"

#include "shell/types/errors.h"

#include <cmath>

namespace varnek {

// For finite operands a non-finite result is raised exactly when the invalid-operation or overflow flag
// would be, so the result is tested instead of the flags: that needs no FENV_ACCESS and cannot be
// undone by the compiler moving the operation past the test.
namespace {

double checked(double result)
{
    if (!std::isfinite(result))
        throw RuntimeError(ErrorKind::Overflow);
    return result;
}

} // namespace

double checkedAdd(double a, double b)
{
    return checked(a + b);
}

double checkedSubtract(double a, double b)
{
    return checked(a - b);
}

double checkedMultiply(double a, double b)
{
    return checked(a * b);
}

double checkedDivide(double a, double b)
{
    if (b == 0)
        throw RuntimeError(a == 0 || std::isnan(a) ? ErrorKind::Overflow : ErrorKind::DivisionByZero);
    return checked(a / b);
}

} // namespace varnek
