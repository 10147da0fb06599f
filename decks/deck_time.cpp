// The deck's time on its display: total and remaining time, progress, and
// seeking by the display's position bar.
#include "decks/deck.h"
#include "decks/time_text.h"

#include "controls/lcd/qzvLCD.h"
#include "core/number_text.h"

#include <algorithm>

namespace decks {

QString Deck::getSongLength() {
    core::DeckRecord& r = record();
    r.length = r.stream.length();
    return timeText(r.stream.seconds(r.length));
}

QString Deck::getTimeRemain(std::uint64_t position, std::uint64_t length) const {
    if (position >= length)
        return timeText(0);
    return timeText(record().stream.seconds(length - position));
}

void Deck::showTrackTime() {
    core::DeckRecord& r = record();
    if (!r.stream)
        return;
    qzvLCD& lcd = *controls_.lcd;
    const short progress = lcd.Progress();
    QString text;
    if (progress == r.lastProgress) {
        if (r.length > 0) {
            const std::uint64_t position = record().stream.position();
            lcd.setProgress(static_cast<short>(
                core::roundHalfEven(std::min(position, r.length) * 100.0 / r.length)));
            text = getTimeRemain(position, r.length);
        } else {
            lcd.setProgress(0);
            text = getSongLength();
        }
    } else {
        // The user dragged the position bar since the last tick.
        record().stream.seek(
            static_cast<std::uint64_t>(core::roundHalfEven(progress / 100.0 * r.length)));
        text = getTimeRemain(record().stream.position(), r.length);
    }
    lcd.setRemain(text);
}

void Deck::rememberProgress() {
    record().lastProgress = controls_.lcd->Progress();
}

bool Deck::pastMixPoint() const {
    const core::DeckRecord& r = record();
    if (!r.stream || r.length == 0)
        return false;
    if (state_.settings.autoDJMode == core::AutoDJMode::Beats) {
        const double mixPoint = beatMixPoint(state_.settings.autoDJFadeBeats);
        if (mixPoint >= 0)
            return positionSeconds() >= mixPoint - kBeatMixLead;
    }
    // Percent of the track played, rounded as the display's progress is.
    const long long played =
        core::roundHalfEven(std::min(record().stream.position(), r.length) * 100.0 / r.length);
    return played >= 100 || played > state_.settings.automixStart;
}

} // namespace decks
