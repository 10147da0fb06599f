// The main window's deck operations and deck control handlers: each is one
// call into the decks.
#include "app/main_window.h"
#include "app/version.h"

#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "core/program_state.h"
#include "decks/decks.h"

#include <QFrame>

void halvoranF::build_Decks() {
    decks::DeckControls left{playCB2,       stopCB2,      LpauseCB,
                             openFileCB2,   Lplay_cue[0], speedCB[1],
                             speedCB[2],    LpitchScroll, LpitchZeroIndicator,
                             LpBend_PlusCB, LpBend_Minus, LVolScroll,
                             LCD_L,         &tmrLcue,     &tmrLTurntableStop};
    left.cue = cueCB2;
    left.cueBack = LcueBackCB;
    left.cueForward = LcueFowardCB;
    left.resetCue = cmdReset_Lcue;
    left.panel = Left_Deck;
    decks::DeckControls right{
        playCB,       stopCB,     pauseCB,      openFileCB1,        Rplay_cue[0],
        speedCB[3],   speedCB[4], RpitchScroll, pitchZeroIndicator, RpBend_plusCB,
        RpBend_Minus, RvolScroll, LCD_R,        &tmrRcue,           &tmrRTurntableStop};
    right.cue = cueCB;
    right.cueBack = cueBackCB;
    right.cueForward = cueFowardCB;
    right.resetCue = cmdReset_Rcue;
    right.panel = Right_Deck;
    decks = std::make_unique<decks::Decks>(
        state,
        decks::DeckHost{app::kProductName, Mixer,
                        [this](const QString& message) { ThrowError(message); }},
        left, right);

    for (QTimer* t : {&tmrTrackLength, &tmrLTurntableStop, &tmrRTurntableStop})
        t->setTimerType(Qt::PreciseTimer);
    connect(&tmrTrackLength, &QTimer::timeout, this, &halvoranF::tmrTrackLength_Timer);
    connect(&tmrLcue, &QTimer::timeout, this, &halvoranF::tmrLcue_Timer);
    connect(&tmrRcue, &QTimer::timeout, this, &halvoranF::tmrRcue_Timer);
    connect(&tmrLTurntableStop, &QTimer::timeout, this, &halvoranF::tmrLTurntableStop_Timer);
    connect(&tmrRTurntableStop, &QTimer::timeout, this, &halvoranF::tmrRTurntableStop_Timer);

    connect(playCB2, &QPushButton::clicked, this, &halvoranF::playCB2_Click);
    connect(playCB, &QPushButton::clicked, this, &halvoranF::playCB_Click);
    connect(playCB2, &ConsoleButton::MouseDown, this, &halvoranF::playCB2_MouseDown);
    connect(playCB, &ConsoleButton::MouseDown, this, &halvoranF::playCB_MouseDown);
    connect(LpauseCB, &QPushButton::clicked, this, &halvoranF::LpauseCB_Click);
    connect(pauseCB, &QPushButton::clicked, this, &halvoranF::pauseCB_Click);
    connect(stopCB2, &ConsoleButton::MouseDown, this, &halvoranF::stopCB2_MouseDown);
    connect(stopCB, &ConsoleButton::MouseDown, this, &halvoranF::stopCB_MouseDown);
    connect(openFileCB2, &QPushButton::clicked, this, &halvoranF::openFileCB2_Click);
    connect(openFileCB1, &QPushButton::clicked, this, &halvoranF::openFileCB1_Click);
    connect(LpitchZeroIndicator, &QPushButton::clicked, this,
            &halvoranF::LpitchZeroIndicator_Click);
    connect(pitchZeroIndicator, &QPushButton::clicked, this, &halvoranF::pitchZeroIndicator_Click);
    connect(LpBend_PlusCB, &ConsoleButton::MouseDown, this, &halvoranF::LpBend_PlusCB_MouseDown);
    connect(LpBend_PlusCB, &ConsoleButton::MouseUp, this, &halvoranF::LpBend_PlusCB_MouseUp);
    connect(LpBend_Minus, &ConsoleButton::MouseDown, this, &halvoranF::LpBend_Minus_MouseDown);
    connect(LpBend_Minus, &ConsoleButton::MouseUp, this, &halvoranF::LpBend_Minus_MouseUp);
    connect(RpBend_plusCB, &ConsoleButton::MouseDown, this, &halvoranF::RpBend_plusCB_MouseDown);
    connect(RpBend_plusCB, &ConsoleButton::MouseUp, this, &halvoranF::RpBend_plusCB_MouseUp);
    connect(RpBend_Minus, &ConsoleButton::MouseDown, this, &halvoranF::RpBend_Minus_MouseDown);
    connect(RpBend_Minus, &ConsoleButton::MouseUp, this, &halvoranF::RpBend_Minus_MouseUp);
    for (int i = 1; i <= 4; ++i)
        connect(speedCB[i], &QPushButton::clicked, this, [this, i] { speedCB_Click(i); });
    connect(cueCB2, &ConsoleButton::MouseDown, this, &halvoranF::cueCB2_MouseDown);
    connect(cueCB, &ConsoleButton::MouseDown, this, &halvoranF::cueCB_MouseDown);
    connect(cueCB2, &QPushButton::clicked, this, &halvoranF::cueCB2_Click);
    connect(cueCB, &QPushButton::clicked, this, &halvoranF::cueCB_Click);
    connect(LcueBackCB, &ConsoleButton::MouseDown, this, &halvoranF::LcueBackCB_MouseDown);
    connect(LcueBackCB, &ConsoleButton::MouseUp, this, &halvoranF::LcueBackCB_MouseUp);
    connect(LcueFowardCB, &ConsoleButton::MouseDown, this, &halvoranF::LcueFowardCB_MouseDown);
    connect(LcueFowardCB, &ConsoleButton::MouseUp, this, &halvoranF::LcueFowardCB_MouseUp);
    connect(cueBackCB, &ConsoleButton::MouseDown, this, &halvoranF::cueBackCB_MouseDown);
    connect(cueBackCB, &ConsoleButton::MouseUp, this, &halvoranF::cueBackCB_MouseUp);
    connect(cueFowardCB, &ConsoleButton::MouseDown, this, &halvoranF::cueFowardCB_MouseDown);
    connect(cueFowardCB, &ConsoleButton::MouseUp, this, &halvoranF::cueFowardCB_MouseUp);
    connect(cmdReset_Lcue, &QPushButton::clicked, this, &halvoranF::cmdReset_Lcue_Click);
    connect(cmdReset_Rcue, &QPushButton::clicked, this, &halvoranF::cmdReset_Rcue_Click);
    connect(Lplay_cue[0], &QPushButton::clicked, this, [this] { Lplay_cue_Click(0); });
    connect(Rplay_cue[0], &QPushButton::clicked, this, [this] { Rplay_cue_Click(0); });
    connect(upCB, &QPushButton::clicked, this, &halvoranF::upCB_Click);
    connect(downCB, &QPushButton::clicked, this, &halvoranF::downCB_Click);

    // The pitch sliders: both value notifications run a pitch step; any
    // mouse event gives the keyboard back to the mixer panel.
    connect(LpitchScroll, &Slider::Change, this, &halvoranF::LpitchScroll_Change);
    connect(LpitchScroll, &Slider::Scroll, this, &halvoranF::LpitchScroll_Change);
    connect(RpitchScroll, &Slider::Change, this, &halvoranF::RpitchScroll_Change);
    connect(RpitchScroll, &Slider::Scroll, this, &halvoranF::RpitchScroll_Change);
    for (Slider* pitch : {LpitchScroll, RpitchScroll})
        for (auto signal : {&Slider::MouseDown, &Slider::MouseMove, &Slider::MouseUp})
            connect(pitch, signal, Mixer, [this] { Mixer->setFocus(); });
    build_Drops();
}

void halvoranF::init_LeftPlayer() {
    decks->left().init_Player();
}
void halvoranF::init_RightPlayer() {
    decks->right().init_Player();
}
void halvoranF::play_now() {
    decks->play_now();
}
void halvoranF::changeLpitch() {
    decks->left().changePitch();
}
void halvoranF::changeRpitch() {
    decks->right().changePitch();
}
void halvoranF::run_pitchTimer_timer() {
    decks->run_pitchTimer_timer();
}
void halvoranF::tmrTrackLength_Timer() {
    decks->tmrTrackLength_Timer();
}

void halvoranF::playCB2_Click() {
    decks->left().play_Click();
}
void halvoranF::playCB_Click() {
    decks->right().play_Click();
}
void halvoranF::playCB2_MouseDown(int button) {
    decks->left().play_MouseDown(button);
}
void halvoranF::playCB_MouseDown(int button) {
    decks->right().play_MouseDown(button);
}
void halvoranF::LpauseCB_Click() {
    decks->left().pause_Click();
}
void halvoranF::pauseCB_Click() {
    decks->right().pause_Click();
}
void halvoranF::stopCB2_MouseDown() {
    decks->left().stop_MouseDown();
}
void halvoranF::stopCB_MouseDown() {
    decks->right().stop_MouseDown();
}
void halvoranF::openFileCB2_Click() {
    decks->left().openFile_Click();
}
void halvoranF::openFileCB1_Click() {
    decks->right().openFile_Click();
}

void halvoranF::LpitchScroll_Change() {
    decks->run_pitchTimer_timer();
}
void halvoranF::RpitchScroll_Change() {
    decks->run_pitchTimer_timer();
}
void halvoranF::LpitchZeroIndicator_Click() {
    decks->left().pitchZero_Click();
}
void halvoranF::pitchZeroIndicator_Click() {
    decks->right().pitchZero_Click();
}
void halvoranF::LpBend_PlusCB_MouseDown() {
    decks->left().bend_MouseDown(true);
}
void halvoranF::LpBend_PlusCB_MouseUp() {
    decks->left().bend_MouseUp(true);
}
void halvoranF::LpBend_Minus_MouseDown() {
    decks->left().bend_MouseDown(false);
}
void halvoranF::LpBend_Minus_MouseUp() {
    decks->left().bend_MouseUp(false);
}
void halvoranF::RpBend_plusCB_MouseDown() {
    decks->right().bend_MouseDown(true);
}
void halvoranF::RpBend_plusCB_MouseUp() {
    decks->right().bend_MouseUp(true);
}
void halvoranF::RpBend_Minus_MouseDown() {
    decks->right().bend_MouseDown(false);
}
void halvoranF::RpBend_Minus_MouseUp() {
    decks->right().bend_MouseUp(false);
}
void halvoranF::speedCB_Click(int index) {
    decks->speedCB_Click(index);
}
void halvoranF::upCB_Click() {
    decks->upCB_Click();
}
void halvoranF::downCB_Click() {
    decks->downCB_Click();
}

void halvoranF::cueCB2_MouseDown(int /*button*/) {
    decks->left().cue_MouseDown();
}
void halvoranF::cueCB_MouseDown(int /*button*/) {
    decks->right().cue_MouseDown();
}
void halvoranF::cueCB2_Click() {
    decks->left().cue_Click();
}
void halvoranF::cueCB_Click() {
    decks->right().cue_Click();
}
void halvoranF::LcueBackCB_MouseDown() {
    decks->left().scrub_MouseDown(false);
}
void halvoranF::LcueBackCB_MouseUp() {
    decks->left().scrub_MouseUp(false);
}
void halvoranF::LcueFowardCB_MouseDown() {
    decks->left().scrub_MouseDown(true);
}
void halvoranF::LcueFowardCB_MouseUp() {
    decks->left().scrub_MouseUp(true);
}
void halvoranF::cueBackCB_MouseDown() {
    decks->right().scrub_MouseDown(false);
}
void halvoranF::cueBackCB_MouseUp() {
    decks->right().scrub_MouseUp(false);
}
void halvoranF::cueFowardCB_MouseDown() {
    decks->right().scrub_MouseDown(true);
}
void halvoranF::cueFowardCB_MouseUp() {
    decks->right().scrub_MouseUp(true);
}
void halvoranF::cmdReset_Lcue_Click() {
    decks->left().resetCue_Click();
}
void halvoranF::cmdReset_Rcue_Click() {
    decks->right().resetCue_Click();
}
void halvoranF::Lplay_cue_Click(int index) {
    decks->left().playFromMemory_Click(index);
}
void halvoranF::Rplay_cue_Click(int index) {
    decks->right().playFromMemory_Click(index);
}
void halvoranF::tmrLcue_Timer() {
    decks->left().scrubTimer_Tick();
}
void halvoranF::tmrRcue_Timer() {
    decks->right().scrubTimer_Tick();
}
void halvoranF::tmrLTurntableStop_Timer() {
    decks->left().turntableStop_Tick();
}
void halvoranF::tmrRTurntableStop_Timer() {
    decks->right().turntableStop_Tick();
}
void halvoranF::do_dragDrop() {
    decks->left().dragDrop();
}
void halvoranF::do_dragdrop_RIGHT() {
    decks->right().dragDrop();
}
