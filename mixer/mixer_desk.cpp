#include "mixer/mixer_desk.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"

#include <QWidget>

namespace mixer {

MixerDesk::MixerDesk(core::ProgramState& state, const MixerControls& controls)
    : state_(state), controls_(controls) {
    const MixerControls& c = controls_;
    for (Slider* s :
         {c.crossFaderScroll, c.LVolScroll, c.RvolScroll, c.MainVolScroll, c.monitorVolScroll}) {
        if (!s)
            continue;
        for (auto signal : {&Slider::Change, &Slider::Scroll})
            QObject::connect(s, signal, &connections_, [this] { run_volume_timer(); });
        QObject::connect(s, &Slider::MouseMove, &connections_, [this] {
            if (controls_.panel)
                controls_.panel->setFocus();
        });
    }
    for (int i = 0; i < static_cast<int>(c.monitorCMB.size()); ++i)
        if (c.monitorCMB[static_cast<std::size_t>(i)])
            QObject::connect(c.monitorCMB[static_cast<std::size_t>(i)], &QPushButton::clicked,
                             &connections_, [this, i] { monitorCMB_Click(i); });
}

SliderValues MixerDesk::sliderValues() const {
    SliderValues s;
    s.crossfader = controls_.crossFaderScroll->Value();
    s.crossfaderMaximum = controls_.crossFaderScroll->Max();
    s.master = controls_.MainVolScroll->Value();
    s.leftDeck = controls_.LVolScroll->Value();
    s.rightDeck = controls_.RvolScroll->Value();
    s.monitor = controls_.monitorVolScroll->Value();
    // crossMax is the full scale of every slider; until start-up sets it the
    // crossfader's own maximum stands in, so no level is ever divided by 0.
    s.fullScale = state_.crossMax > 0 ? state_.crossMax : s.crossfaderMaximum;
    return s;
}

void MixerDesk::run_volume_timer() {
    const SliderValues sliders = sliderValues();
    if (sliders.fullScale <= 0)
        return;
    const DeckVolumes volumes = mixedDeckVolumes(sliders);
    state_.leftDeckVolume = volumes.left;
    state_.rightDeckVolume = volumes.right;
    // Each stream gets its final levels in one call, so the output never
    // plays a moment of the intermediate "everything on the right" mix. The
    // monitored deck goes last, as its call's result is the one kept.
    const MixLevels levels = streamLevels(sliders, volumes, state_.monitorMode);
    engine::Channel& left = state_.decks[0].stream;
    engine::Channel& right = state_.decks[1].stream;
    if (state_.monitorMode == 1) {
        set_ChannelLevels(right, levels.rightStream.left, levels.rightStream.right);
        set_ChannelLevels(left, levels.leftStream.left, levels.leftStream.right);
    } else {
        set_ChannelLevels(left, levels.leftStream.left, levels.leftStream.right);
        set_ChannelLevels(right, levels.rightStream.left, levels.rightStream.right);
    }
    if (levelsSet)
        levelsSet();
}

void MixerDesk::set_ChannelLevels(engine::Channel& stream, int left, int right) {
    const VolumeAndPan v = volumeAndPanFor(left, right);
    state_.lastResult = stream.setAttributes(engine::kRateUnchanged, v.volume, v.pan);
}

void MixerDesk::monitorCMB_Click(int index) {
    if (index < 0 || index >= static_cast<int>(controls_.monitorCMB.size()))
        return;
    state_.monitorMode = static_cast<std::int16_t>(index + 1);
    for (int i = 0; i < static_cast<int>(controls_.monitorCMB.size()); ++i)
        controls_.monitorCMB[static_cast<std::size_t>(i)]->setBackColor(
            i == index ? app::kColourOn : app::kColourOff);
    run_volume_timer();
}

} // namespace mixer
