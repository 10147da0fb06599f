#pragma once
// Time texts of the deck displays: "hh:mm:ss", each part at least two digits.
#include <QString>

namespace decks {

// Text of `seconds` (rounded to the nearest whole second, halves to even;
// a negative time shows as 00:00:00).
QString timeText(double seconds);

} // namespace decks
