#pragma once
// Numbers as the settings store them: plain decimal text, read back by
// taking the numeric prefix of the text.
#include <QString>

namespace core {

// The number at the start of `text`: blanks skipped, an optional sign, digits
// with an optional decimal point and exponent. Text that does not start with
// a number gives 0.
double numericPrefix(const QString& text);

// Plain decimal text of a number ("1.1", "4000", "-1"), "." as the point.
QString numberText(double value);

// Rounds to the nearest integer, halves to the even one.
long long roundHalfEven(double value);

} // namespace core
