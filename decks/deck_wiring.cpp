// A deck's controls connected to its operations: clicks, mouse presses and
// releases, the pitch slider and the deck's own timers. UI thread only.
#include "decks/deck.h"
#include "decks/decks.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"

namespace decks {

void Deck::connectControls() {
    const DeckControls& c = controls_;
    QObject* on = &connections_;
    auto click = [on](ConsoleButton* button, auto operation) {
        QObject::connect(button, &QPushButton::clicked, on, operation);
    };
    auto press = [on](ConsoleButton* button, auto down, auto up) {
        QObject::connect(button, &ConsoleButton::MouseDown, on, down);
        QObject::connect(button, &ConsoleButton::MouseUp, on, up);
    };
    click(c.play, [this] { play_Click(); });
    QObject::connect(c.play, &ConsoleButton::MouseDown, on,
                     [this](int button) { play_MouseDown(button); });
    click(c.pause, [this] { pause_Click(); });
    QObject::connect(c.stop, &ConsoleButton::MouseDown, on, [this] { stop_MouseDown(); });
    click(c.openFile, [this] { openFile_Click(); });
    click(c.pitchZero, [this] { pitchZero_Click(); });
    click(c.sync, [this] { sync(); });
    click(c.keyLock, [this] { toggleKeyLock(); });
    press(
        c.bendUp, [this] { bend_MouseDown(true); }, [this] { bend_MouseUp(true); });
    press(
        c.bendDown, [this] { bend_MouseDown(false); }, [this] { bend_MouseUp(false); });
    click(c.rate22050, [this] { rate_Click(false); });
    click(c.rate44100, [this] { rate_Click(true); });
    QObject::connect(c.cue, &ConsoleButton::MouseDown, on, [this] { cue_MouseDown(); });
    click(c.cue, [this] { cue_Click(); });
    press(
        c.cueBack, [this] { scrub_MouseDown(false); }, [this] { scrub_MouseUp(false); });
    press(
        c.cueForward, [this] { scrub_MouseDown(true); }, [this] { scrub_MouseUp(true); });
    click(c.resetCue, [this] { resetCue_Click(); });
    click(c.playFromMemory, [this] { playFromMemory_Click(0); });

    // Both value notifications of the pitch slider run a pitch step of both
    // decks; any mouse event on it gives the keyboard back to the mixer.
    for (auto signal : {&Slider::Change, &Slider::Scroll})
        QObject::connect(c.pitch, signal, on, [this] { decks_.run_pitchTimer_timer(); });
    for (auto signal : {&Slider::MouseDown, &Slider::MouseMove, &Slider::MouseUp})
        QObject::connect(c.pitch, signal, on, [this] {
            if (decks_.host().focusMixer)
                decks_.host().focusMixer();
        });

    QObject::connect(&scrubTimer_, &QTimer::timeout, on, [this] { scrubTimer_Tick(); });
    QObject::connect(&runDownTimer_, &QTimer::timeout, on, [this] { turntableStop_Tick(); });
}

} // namespace decks
