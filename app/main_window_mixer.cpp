// The main window's mixer: the mixer object on the mixer panel's controls,
// the decks' slider and level events to it, and the playlist step buttons.
#include "app/main_window.h"

#include "controls/widgets/console_button.h"
#include "core/program_state.h"
#include "decks/decks.h"
#include "mixer/mixer_desk.h"

#include <QFrame>

void halvoranF::build_MixerDesk() {
    mixer::MixerControls c;
    c.panel = Mixer;
    c.crossFaderScroll = crossFaderScroll;
    c.LVolScroll = LVolScroll;
    c.RvolScroll = RvolScroll;
    c.MainVolScroll = MainVolScroll;
    c.monitorVolScroll = monitorVolScroll;
    c.monitorCMB = monitorCMB;
    c.LVUmeter = LVUmeter;
    c.RVUmeter = RVUmeter;
    c.mainVolVUmeter = mainVolVUmeter;
    mixerDesk_ = std::make_unique<mixer::MixerDesk>(state, c);

    decks->left().attachVolume(LVolScroll);
    decks->right().attachVolume(RvolScroll);
    decks->events().levelsChanged = [this] { mixerDesk_->run_volume_timer(); };
    connect(upCB, &QPushButton::clicked, this, [this] { decks->upCB_Click(); });
    connect(downCB, &QPushButton::clicked, this, [this] { decks->downCB_Click(); });
}

void halvoranF::monitorCMB_Click(int index) {
    mixerDesk_->monitorCMB_Click(index);
}
