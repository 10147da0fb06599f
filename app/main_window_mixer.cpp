// The main window's mixer: the mixer object on the mixer panel's controls,
// the program links into it, and the mixer controls' handlers.
#include "app/main_window.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "core/program_state.h"
#include "mixer/mixer_desk.h"

#include <QFrame>

void halvoranF::build_MixerDesk() {
    mixer::MixerControls c;
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

    struct SliderHandlers {
        Slider* slider;
        void (halvoranF::*change)();
        void (halvoranF::*scroll)();
        void (halvoranF::*mouseMove)(int, int, int, int);
    };
    const SliderHandlers sliders[] = {
        {crossFaderScroll, &halvoranF::crossFaderScroll_Change, &halvoranF::crossFaderScroll_Scroll,
         &halvoranF::crossFaderScroll_MouseMove},
        {LVolScroll, &halvoranF::LVolScroll_Change, &halvoranF::LVolScroll_Scroll,
         &halvoranF::LVolScroll_MouseMove},
        {RvolScroll, &halvoranF::RvolScroll_Change, &halvoranF::RvolScroll_Scroll,
         &halvoranF::RvolScroll_MouseMove},
        {MainVolScroll, &halvoranF::MainVolScroll_Change, &halvoranF::MainVolScroll_Scroll,
         &halvoranF::MainVolScroll_MouseMove},
        {monitorVolScroll, &halvoranF::monitorVolScroll_Change, &halvoranF::monitorVolScroll_Scroll,
         &halvoranF::monitorVolScroll_MouseMove},
    };
    for (const SliderHandlers& h : sliders) {
        connect(h.slider, &Slider::Change, this, h.change);
        connect(h.slider, &Slider::Scroll, this, h.scroll);
        connect(h.slider, &Slider::MouseMove, this, h.mouseMove);
    }
    for (int i = 0; i < static_cast<int>(monitorCMB.size()); ++i)
        connect(monitorCMB[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { monitorCMB_Click(i); });
}

void halvoranF::connect_MixerLinks() {
    state.links.runVolumeTimer = [this] { run_volume_timer(); };
    state.links.runVUmeterTimer = [this] { run_VUmeterTimer(); };
    state.links.runAutoDJ = [this] { run_autoDJ(); };
}

void halvoranF::run_volume_timer() {
    mixerDesk_->run_volume_timer();
}

void halvoranF::run_VUmeterTimer() {
    mixerDesk_->run_VUmeterTimer();
}

void halvoranF::monitorCMB_Click(int index) {
    mixerDesk_->monitorCMB_Click(index);
}

void halvoranF::crossFaderScroll_Change() {
    run_volume_timer();
}
void halvoranF::crossFaderScroll_Scroll() {
    run_volume_timer();
}
void halvoranF::crossFaderScroll_MouseMove(int, int, int, int) {
    Mixer->setFocus();
}
void halvoranF::LVolScroll_Change() {
    run_volume_timer();
}
void halvoranF::LVolScroll_Scroll() {
    run_volume_timer();
}
void halvoranF::LVolScroll_MouseMove(int, int, int, int) {
    Mixer->setFocus();
}
void halvoranF::RvolScroll_Change() {
    run_volume_timer();
}
void halvoranF::RvolScroll_Scroll() {
    run_volume_timer();
}
void halvoranF::RvolScroll_MouseMove(int, int, int, int) {
    Mixer->setFocus();
}
void halvoranF::MainVolScroll_Change() {
    run_volume_timer();
}
void halvoranF::MainVolScroll_Scroll() {
    run_volume_timer();
}
void halvoranF::MainVolScroll_MouseMove(int, int, int, int) {
    Mixer->setFocus();
}
void halvoranF::monitorVolScroll_Change() {
    run_volume_timer();
}
void halvoranF::monitorVolScroll_Scroll() {
    run_volume_timer();
}
void halvoranF::monitorVolScroll_MouseMove(int, int, int, int) {
    Mixer->setFocus();
}
