// The main window's mixer: the decks' volume sliders and level events to the
// mixer object, and the playlist step buttons.
#include "app/main_window.h"

#include "controls/widgets/console_button.h"
#include "core/program_state.h"
#include "decks/decks.h"
#include "mixer/mixer_desk.h"

#include <QFrame>

void halvoranF::build_MixerDesk() {
    decks->left().attachVolume(LVolScroll);
    decks->right().attachVolume(RvolScroll);
    decks->events().levelsChanged = [this] { mixerDesk_->run_volume_timer(); };
    connect(upCB, &QPushButton::clicked, this, [this] { decks->upCB_Click(); });
    connect(downCB, &QPushButton::clicked, this, [this] { decks->downCB_Click(); });
}

void halvoranF::monitorCMB_Click(int index) {
    mixerDesk_->monitorCMB_Click(index);
}
