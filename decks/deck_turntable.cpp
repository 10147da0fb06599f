// The turntable stop: the deck's rate run down step by step every 30 ms
// until the stream stops. Rates are in Hz. Runs on the UI thread.
#include "decks/deck.h"

#include <QTimer>

namespace decks {

namespace {
// The audio library refuses rates below this (error 25) and keeps the old
// one, so the run-down stops instead of asking for a lower rate.
constexpr std::int64_t kLowestRate = 100;
} // namespace

void Deck::turntableStop_Tick() {
    // Only the left deck's timer makes its deck the selected one.
    if (side_ == 0)
        state_.selectedDeck = 0;
    core::DeckRecord& r = record();
    const std::uint32_t rate = r.stream.rate(); // 0 when the deck has no stream
    const std::int64_t next = static_cast<std::int64_t>(rate) - state_.settings.turntableStopSpeed;
    if (next >= kLowestRate) {
        r.stream.setRate(static_cast<int>(next));
        return;
    }
    r.stream.stop();
    controls_.turntableStopTimer->stop();
    // The pitched rate again, for the next play.
    changePitch();
    if (state_.autoDJ.on)
        reportMixPoint();
}

} // namespace decks
