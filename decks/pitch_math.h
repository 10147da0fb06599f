#pragma once
// A deck's pitch position turned into the stream's sample rate and the
// display text. Position 1000 is no change; `range` (1.0, 1.5, 2.0) makes the
// full travel of 1000 either way 10, 15 or 20 percent.
#include <QString>
#include <cstdint>

namespace decks {

struct Pitch {
    std::int64_t rate = 0; // Hz, rounded to the nearest (halves to even)
    QString text;          // " + 1.25%", " - 20.00%", or " 0.00% " at the centre
    bool centre = false;   // the pitch-zero button is lit
};

Pitch pitchFor(int position, double range, std::uint32_t baseRate);

} // namespace decks
