#include "mixer/auto_dj.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "engine/engine_helpers.h"
#include "platform/ui/dialogs.h"

#include <QTimer>
#include <algorithm>

namespace mixer {

namespace {
// Crossfader units (0 left deck only .. 100 right deck only) per fade step.
constexpr int kFadeStep = 2;
// The incoming deck is pressed Play once the crossfader has come this far.
constexpr int kPlayRightFrom = 40;
constexpr int kPlayLeftFrom = 60;
} // namespace

AutoDJ::AutoDJ(app::ProgramState& state, decks::Decks& decks, const AutoDJControls& controls)
    : state_(state), decks_(decks), controls_(controls) {}

void AutoDJ::autoDJCB_Click() {
    if (controls_.autoDJCB->BackColor() == app::kColourOn) {
        switchOff();
        return;
    }
    if (state_.playlist.count() > 0) {
        switchOn();
        return;
    }
    state_.dialogs.msgBox("Please load or create a playlist first...", ui::vbInformation,
                          "AutoDJ - No playlist loaded...");
}

void AutoDJ::switchOn() {
    controls_.autoDJCB->setBackColor(app::kColourOn);
    state_.autoDJ_On = -1;
    // Switching on again while the right deck is due waits for the next trigger.
    if (state_.rightAtMixPoint)
        return;
    state_.leftAtMixPoint = -1;
    state_.rightAtMixPoint = 0;
    controls_.tmrAutoFade->start();
    run_autoDJ();
}

void AutoDJ::switchOff() {
    // The decks keep playing; a fade stops where it is.
    controls_.autoDJCB->setBackColor(app::kColourOff);
    state_.autoDJ_On = 0;
    controls_.tmrAutoFade->stop();
}

void AutoDJ::advanceSong(int count) {
    if (count > 0)
        state_.playlist.selectNext();
}

bool AutoDJ::loadNextSong(decks::Deck& deck) {
    app::DeckRecord& r = deck.record();
    const app::StreamHandle before = r.stream;
    r.filePath = state_.playlist.nextSongPath();
    loading_ = true;
    deck.init_Player();
    loading_ = false;
    if (r.stream != 0 && r.stream != before)
        return true;
    // The deck keeps the song it had.
    r.filePath = r.loadedFile;
    return false;
}

void AutoDJ::run_autoDJ() {
    if (loading_)
        return;
    if (!state_.leftAtMixPoint && !state_.rightAtMixPoint)
        return;
    const int count = state_.playlist.count();
    if (count <= 0) {
        // The playlist was emptied while the mode was on.
        switchOff();
        state_.dialogs.msgBox("Please load or create a playlist first...", ui::vbInformation,
                              "AutoDJ - No playlist loaded...");
        return;
    }
    for (int failed = 0; failed < count; ++failed) {
        advanceSong(count);
        if (!state_.leftOnAir && !state_.rightOnAir)
            state_.leftOnAir = -1; // the first fade goes to the right deck
        const bool toRight = state_.leftOnAir && state_.leftAtMixPoint;
        if (!toRight && !(state_.rightOnAir && state_.rightAtMixPoint))
            return; // nothing is due on air; the index has still advanced
        // The hand-over as it stands, to try again with the following entry.
        const std::int16_t due[] = {state_.leftAtMixPoint, state_.rightAtMixPoint};
        decks::Deck& incoming = decks_.deck(toRight ? 1 : 0);
        state_.leftOnAir = toRight ? 0 : -1;
        state_.rightOnAir = toRight ? -1 : 0;
        if (loadNextSong(incoming)) {
            incoming.controls().volume->setValue(incoming.controls().volume->Min());
            controls_.tmrAutoFade->start();
            return;
        }
        state_.leftOnAir = toRight ? -1 : 0;
        state_.rightOnAir = toRight ? 0 : -1;
        state_.leftAtMixPoint = due[0];
        state_.rightAtMixPoint = due[1];
    }
    // One pass over the whole playlist and no song would load.
    switchOff();
    state_.dialogs.msgBox("AutoDJ could not load any song of the playlist: every file is missing "
                          "or cannot be played.\n\nAutoDJ is now off.",
                          ui::vbInformation, "AutoDJ - No playable song...");
}

void AutoDJ::get_next_song() {
    if (state_.playlist.nextSongPath().isEmpty())
        return;
    decks::Deck& deck = decks_.selected();
    deck.record().filePath = state_.playlist.nextSongPath();
    deck.init_Player();
}

void AutoDJ::tmrAutoFade_Timer() {
    Slider& fader = *controls_.crossFaderScroll;
    const int x = fader.Value();
    if (state_.rightOnAir) {
        if (x < fader.Max())
            fader.setValue(std::min(x + kFadeStep, fader.Max()));
        else
            controls_.tmrAutoFade->stop();
        decks::Deck& right = decks_.right();
        if (fader.Value() >= kPlayRightFrom && !engine::isChannelPlaying(right.record().stream))
            right.play_Click();
    } else if (state_.leftOnAir) {
        if (x >= fader.Min() + 1)
            fader.setValue(std::max(x - kFadeStep, fader.Min()));
        else
            controls_.tmrAutoFade->stop();
        decks::Deck& left = decks_.left();
        if (fader.Value() <= kPlayLeftFrom && !engine::isChannelPlaying(left.record().stream))
            left.play_Click();
    }
}

} // namespace mixer
