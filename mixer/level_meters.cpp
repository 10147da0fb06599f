// The level meters: run from every tick of the 80 ms track timer.
#include "mixer/mixer_desk.h"

#include "controls/peak/qzvPeak.h"
#include "engine/engine_helpers.h"

namespace mixer {

void MixerDesk::run_VUmeterTimer() {
    const SliderValues sliders = sliderValues();
    if (sliders.fullScale <= 0)
        return;
    qzvPeak* deckMeters[] = {controls_.LVUmeter, controls_.RVUmeter};
    for (int deck = 0; deck < 2; ++deck) {
        // Low word left, high word right, 0..128; 0 = silent or not playing,
        // 0xFFFFFFFF = no stream: both read as nothing to show.
        const std::uint32_t level = state_.decks[static_cast<std::size_t>(deck)].stream.level();
        if (static_cast<std::int32_t>(level) <= 0)
            continue;
        const MeterLevels m =
            meterLevels(deck, engine::loWord(level), engine::hiWord(level), sliders);
        qzvPeak* meter = deckMeters[deck];
        meter->setRPeak(m.deckRight);
        meter->setLPeak(m.deckLeft);
        if (deck == 0)
            controls_.mainVolVUmeter->setLPeak(m.master);
        else
            controls_.mainVolVUmeter->setRPeak(m.master);
    }
}

} // namespace mixer
