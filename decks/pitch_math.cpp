#include "decks/pitch_math.h"

#include "core/number_text.h"

#include <cstdlib>

namespace decks {

Pitch pitchFor(int position, double range, std::uint32_t baseRate) {
    Pitch pitch;
    const double base = baseRate;
    if (position == 1000) {
        pitch.rate = baseRate;
        pitch.text = QStringLiteral(" 0.00% ");
        pitch.centre = true;
        return pitch;
    }
    const double percent = std::abs(position - 1000) * range / 100.0;
    const bool faster = position > 1000;
    pitch.rate =
        core::roundHalfEven(faster ? base + base * percent / 100.0 : base - base * percent / 100.0);
    pitch.text = (faster ? " + " : " - ") + QString::number(percent, 'f', 2) + "%";
    return pitch;
}

} // namespace decks
