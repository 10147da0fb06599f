// A deck's pitch: the slider and the bend buttons move the pitch position,
// which sets the stream's sample rate (speed and pitch together, or with key
// lock the tempo only) and the display's pitch text.
#include "decks/deck.h"
#include "decks/decks.h"
#include "decks/pitch_math.h"

#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "core/number_text.h"

#include <QWidget>

namespace decks {

namespace {
// A bend moves 1 % of the slider's half-travel per step, at most 20 % away
// from the slider.
constexpr double kBendStepPercent = 1;
constexpr double kBendLimitPercent = 20;
} // namespace

void Deck::changePitch() {
    core::DeckRecord& r = record();
    Pitch pitch = pitchFor(r.pitchPosition, state_.settings.pitchRange, r.baseRate);
    // Where SYNC put the pitch, its exact rate; any other position ends it.
    if (r.syncedRate > 0 && r.pitchPosition == r.syncedPosition)
        pitch.rate = r.syncedRate;
    else
        r.syncedRate = 0;
    // Also without a stream: the engine then refuses the call.
    r.stream.setRate(static_cast<int>(pitch.rate));
    applyKeyLock();
    controls_.pitchZero->setBackColor(pitch.centre ? app::kColourOn : app::kColourOff);
    controls_.lcd->setPitch(pitch.text);
    showBpm();
}

void Deck::pitchStep() {
    core::DeckRecord& r = record();
    const int value = controls_.pitch->Value();
    const double half = controls_.pitch->Max() / 2.0;
    const auto step = static_cast<std::int16_t>(core::roundHalfEven(half * kBendStepPercent / 100));
    if (!r.bendUpHeld && !r.bendDownHeld) {
        if (value == r.lastSliderValue)
            return;
        r.pitchPosition = static_cast<std::int16_t>(value);
        changePitch();
        r.lastSliderValue = value;
    } else if (r.bendUpHeld) {
        if (value + half * kBendLimitPercent / 100 > r.pitchPosition) {
            r.pitchPosition = static_cast<std::int16_t>(r.pitchPosition + step);
            changePitch();
            r.lastSliderValue = r.pitchPosition;
        }
    } else if (value - half * kBendLimitPercent / 100 < r.pitchPosition) {
        r.pitchPosition = static_cast<std::int16_t>(r.pitchPosition - step);
        changePitch();
        r.lastSliderValue = r.pitchPosition;
    }
}

void Deck::bend_MouseDown(bool up) {
    state_.selectedDeck = static_cast<std::int16_t>(side_);
    (up ? record().bendUpHeld : record().bendDownHeld) = -1;
    decks_.run_pitchTimer_timer();
}

void Deck::bend_MouseUp(bool up) {
    (up ? record().bendUpHeld : record().bendDownHeld) = 0;
    decks_.run_pitchTimer_timer();
    if (decks_.host().focusMixer)
        decks_.host().focusMixer();
}

void Deck::pitchZero_Click() {
    controls_.pitch->setValue(static_cast<int>(core::roundHalfEven(controls_.pitch->Max() / 2.0)));
}

void Deck::toggleKeyLock() {
    record().keyLock = !record().keyLock;
    applyKeyLock();
}

void Deck::applyKeyLock() {
    core::DeckRecord& r = record();
    const engine::KeyLock mode = !r.keyLock                     ? engine::KeyLock::off
                                 : state_.settings.keyLockFiner ? engine::KeyLock::finer
                                                                : engine::KeyLock::faster;
    if (r.stream)
        r.stream.setKeyLock(mode);
    controls_.keyLock->setBackColor(r.keyLock ? app::kColourOn : app::kColourOff);
}

void Deck::rate_Click(bool rate44100) {
    state_.selectedDeck = static_cast<std::int16_t>(side_);
    (rate44100 ? controls_.rate44100 : controls_.rate22050)->setBackColor(app::kColourOn);
    (rate44100 ? controls_.rate22050 : controls_.rate44100)->setBackColor(app::kColourOff);
    record().baseRate = rate44100 ? 44100 : 22050;
    record().syncedRate = 0;
    changePitch();
    if (!record().filePath.isEmpty())
        decks_.levelsChanged();
}

} // namespace decks
