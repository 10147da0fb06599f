#include "mixer/auto_dj.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
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

using core::AutoDJStage;

// The deck on air: 0 left (also before the first hand-over), 1 right.
int onAirSide(AutoDJStage stage) {
    return stage == AutoDJStage::RightOnAir || stage == AutoDJStage::RightDue ? 1 : 0;
}

// The deck whose mix point came last: 0 left, 1 right, -1 none yet.
int dueSide(AutoDJStage stage) {
    switch (stage) {
    case AutoDJStage::LeftDue:
    case AutoDJStage::RightOnAir:
        return 0;
    case AutoDJStage::RightDue:
    case AutoDJStage::LeftOnAir:
        return 1;
    case AutoDJStage::NotStarted:
        break;
    }
    return -1;
}

AutoDJStage stageOf(int onAir, int due) {
    if (onAir == 0)
        return due == 0 ? AutoDJStage::LeftDue : AutoDJStage::LeftOnAir;
    return due == 1 ? AutoDJStage::RightDue : AutoDJStage::RightOnAir;
}
} // namespace

AutoDJ::AutoDJ(core::ProgramState& state, decks::Decks& decks, const AutoDJControls& controls)
    : state_(state), decks_(decks), controls_(controls) {
    decks_.events().mixPointReached = [this](int side) { mixPointReached(side); };
    QObject::connect(controls_.autoDJCB, &QPushButton::clicked, controls_.autoDJCB,
                     [this] { autoDJCB_Click(); });
    QObject::connect(controls_.tmrAutoFade, &QTimer::timeout, controls_.tmrAutoFade,
                     [this] { tmrAutoFade_Timer(); });
    fadeStartTimer_.setSingleShot(true);
    QObject::connect(&fadeStartTimer_, &QTimer::timeout, controls_.autoDJCB,
                     [this] { fadeStartTimer_Timer(); });
}

void AutoDJ::showMode() {
    controls_.autoDJCB->setBackColor(state_.autoDJ.on ? app::kColourOn : app::kColourOff);
}

void AutoDJ::mixPointReached(int side) {
    core::AutoDJState& dj = state_.autoDJ;
    if (dueSide(dj.stage) == side)
        return;
    if (beatFade_.armed)
        return; // a cued song whose music is short waits for its own fade
    dj.stage = stageOf(onAirSide(dj.stage), side);
    run_autoDJ();
}

void AutoDJ::autoDJCB_Click() {
    if (state_.autoDJ.on) {
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
    core::AutoDJState& dj = state_.autoDJ;
    dj.on = true;
    showMode();
    // Switching on again while the right deck is due waits for the next trigger.
    if (dueSide(dj.stage) == 1)
        return;
    if (beatMode()) {
        // A deck that plays is on air until its music ends.
        analyseAhead();
        const int onAir = onAirSide(dj.stage);
        if (decks_.deck(onAir).record().stream.isPlaying()) {
            dj.stage = stageOf(onAir, 1 - onAir);
            return;
        }
    }
    dj.stage = stageOf(onAirSide(dj.stage), 0);
    controls_.tmrAutoFade->start();
    run_autoDJ();
}

void AutoDJ::switchOff() {
    // The decks keep playing; a fade stops where it is.
    state_.autoDJ.on = false;
    showMode();
    controls_.tmrAutoFade->stop();
    fadeStartTimer_.stop();
    beatFade_ = {};
    controls_.tmrAutoFade->setInterval(kStepFadeIntervalMs);
}

void AutoDJ::advanceSong(int count) {
    if (count > 0)
        state_.playlist.selectNext();
}

bool AutoDJ::loadNextSong(decks::Deck& deck) {
    core::DeckRecord& r = deck.record();
    const core::StreamHandle before = r.stream.handle();
    r.filePath = state_.playlist.nextSongPath();
    loading_ = true;
    deck.init_Player();
    loading_ = false;
    if (r.stream && r.stream.handle() != before)
        return true;
    // The deck keeps the song it had.
    r.filePath = r.loadedFile;
    return false;
}

void AutoDJ::run_autoDJ() {
    if (loading_)
        return;
    core::AutoDJState& dj = state_.autoDJ;
    if (dueSide(dj.stage) < 0)
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
        // The hand-over as it stands, to try again with the following entry.
        const AutoDJStage due = dj.stage;
        if (due != AutoDJStage::LeftDue && due != AutoDJStage::RightDue)
            return; // the deck on air is not due; the index has still advanced
        if (beatMode() && nextSongSilent())
            continue; // passed over like a song that cannot be played
        const bool toRight = due == AutoDJStage::LeftDue;
        decks::Deck& incoming = decks_.deck(toRight ? 1 : 0);
        dj.stage = toRight ? AutoDJStage::RightOnAir : AutoDJStage::LeftOnAir;
        if (loadNextSong(incoming)) {
            incoming.controls().volume->setValue(incoming.controls().volume->Min());
            if (beatMode()) {
                analyseAhead();
                if (prepareBeatFade(incoming, decks_.deck(toRight ? 0 : 1)))
                    return;
            }
            controls_.tmrAutoFade->start();
            return;
        }
        dj.stage = due;
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
    if (beatFade_.running) {
        beatFadeStep();
        return;
    }
    Slider& fader = *controls_.crossFaderScroll;
    const int x = fader.Value();
    const AutoDJStage stage = state_.autoDJ.stage;
    if (stage == AutoDJStage::NotStarted)
        return;
    if (onAirSide(stage) == 1) {
        if (x < fader.Max())
            fader.setValue(std::min(x + kFadeStep, fader.Max()));
        else
            controls_.tmrAutoFade->stop();
        decks::Deck& right = decks_.right();
        if (fader.Value() >= kPlayRightFrom && !right.record().stream.isPlaying())
            right.play_Click();
    } else {
        if (x >= fader.Min() + 1)
            fader.setValue(std::max(x - kFadeStep, fader.Min()));
        else
            controls_.tmrAutoFade->stop();
        decks::Deck& left = decks_.left();
        if (fader.Value() <= kPlayLeftFrom && !left.record().stream.isPlaying())
            left.play_Click();
    }
}

} // namespace mixer
