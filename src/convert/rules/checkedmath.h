#pragma once

namespace varnek {

// Double arithmetic that fails like the floating-point exceptions it would raise: a non-zero number
// divided by zero throws RuntimeError(DivisionByZero); an invalid operation (0 / 0) or a result beyond
// the double range throws RuntimeError(Overflow). Underflow and inexact results are no error.
double checkedAdd(double a, double b);
double checkedSubtract(double a, double b);
double checkedMultiply(double a, double b);
double checkedDivide(double a, double b);

} // namespace varnek
