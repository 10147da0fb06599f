// The main window's parts wired to each other: the mixer object on the decks'
// volume sliders and level events, the playlist step buttons, the automatic
// DJ on the crossfader and the decks, the track tick over decks, meters and
// automatic DJ, the next-song box, and the actions with the keyboard that
// sees every key of the window before its controls.
#include "app/main_window.h"
#include "app/track_analyses.h"

#include "controllers/controllers.h"
#include "controls/widgets/console_button.h"
#include "core/program_state.h"
#include "decks/decks.h"
#include "mixer/action_runner.h"
#include "mixer/auto_dj.h"
#include "mixer/headphone_desk.h"
#include "mixer/keyboard_shortcuts.h"
#include "mixer/mixer_desk.h"
#include "mixer/next_song_box.h"
#include "mixer/recording.h"
#include "mixer/track_tick.h"
#include "platform/midi/alsa_sequencer.h"
#include "platform/midi/jack_midi.h"

#include <QDesktopServices>
#include <QFrame>
#include <QUrl>

void halvoranF::build_MixerDesk() {
    decks->left().attachVolume(mixerPanel.desk.LVolScroll);
    decks->right().attachVolume(mixerPanel.desk.RvolScroll);
    decks->events().levelsChanged = [this] { mixerDesk_->run_volume_timer(); };
    connect(mixerPanel.up, &QPushButton::clicked, this, [this] { decks->upCB_Click(); });
    connect(mixerPanel.down, &QPushButton::clicked, this, [this] { decks->downCB_Click(); });
}

void halvoranF::monitorCMB_Click(int index) {
    mixerDesk_->monitorCMB_Click(index);
}

void halvoranF::build_AutoDJ() {
    autoDJ_ = std::make_unique<mixer::AutoDJ>(
        state, *decks,
        mixer::AutoDJControls{mixerPanel.autoDJ, mixerPanel.desk.crossFaderScroll, &tmrAutoFade});
    autoDJ_->setAnalysisQueue(&analyses_->deckQueue());
    trackTick_ = std::make_unique<mixer::TrackTick>(state, *decks, *mixerDesk_);
    connect(&tmrTrackLength, &QTimer::timeout, this, [this] { trackTick_->run(); });
    recording_ = std::make_unique<mixer::Recording>(
        state, mixer::RecordingControls{mixerPanel.rec, mixerPanel.recTime});
    trackTick_->attachRecording(*recording_);
    phones_ = std::make_unique<mixer::HeadphoneDesk>(state, mixerPanel.phones);
    mixerDesk_->levelsSet = [this] {
        phones_->applyPrelisten();
        recording_->noteTracksOnAir();
    };
    mixer::attachNextSongBox(mixerPanel.nextSong, mixerPanel.playList, state);
}

void halvoranF::build_Keyboard() {
    mixer::ActionControls controls;
    controls.mixerPanel = Mixer;
    controls.keyboardTXT = keyboardTXT;
    mixer::WindowActions window;
    window.optionsCB_Click = [this] { optionsCB_Click(); };
    window.playListCB_Click = [this] { playListCB_Click(); };
    window.recCB_Click = [this] { recording_->recCB_Click(); };
    window.changeOctave = [this](int side, int step) { analyses_->changeOctave(side, step); };
    window.openHelpFile = [](const QString& helpFile) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
    };
    actions_ = std::make_unique<mixer::ActionRunner>(state, *decks, *mixerDesk_, *autoDJ_, controls,
                                                     std::move(window));
    actions_->attachHeadphones(*phones_);
    keyboard_ = std::make_unique<mixer::KeyboardShortcuts>(*this, *actions_);
    std::vector<std::unique_ptr<midi::MidiTransport>> transports;
    transports.push_back(std::make_unique<midi::JackMidi>());
    if (auto sequencer = std::make_unique<midi::AlsaSequencer>(); sequencer->open())
        transports.push_back(std::move(sequencer));
    controllers_ =
        std::make_unique<controllers::Controllers>(state, *actions_, std::move(transports));
}

void halvoranF::runAction(mixer::Action action, bool pressed) {
    actions_->run(action, pressed);
}

void halvoranF::hide_keyboard_Shortcuts() {
    runAction(mixer::Action::HideKeyHints);
}
