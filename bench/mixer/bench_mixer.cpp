// What a level change and a track-timer meter update cost: run_volume_timer
// (volume and pan of both decks' streams) plus one run_VUmeterTimer (both
// stream levels, six meter writes), with both decks playing tones on the
// offline output. Measured against an empty call through an event function
// in the same run.
#include "controls/peak/qzvPeak.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "mixer/mixer_desk.h"
#include "platform/audio/bass.h"
#include "platform/audio/offline.h"
#include "platform/ui/qt_dialogs.h"
#include "tests/fixtures/fixtures.h"

#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>

namespace {

// A mixer panel of its own controls over two playing decks.
struct Rig {
    Rig() : state(dialogs) {
        BASS_Init(BASS_DEVICE_OFFLINE, 44100, 32, nullptr);
        BASS_Start();
        state.crossMax = 100;
        auto slider = [this](Qt::Orientation o, int value) {
            auto* s = new Slider(o, &panel);
            s->setRange(0, 100);
            s->setValue(value);
            return s;
        };
        mixer::MixerControls c;
        c.crossFaderScroll = slider(Qt::Horizontal, 40);
        c.LVolScroll = slider(Qt::Vertical, 10);
        c.RvolScroll = slider(Qt::Vertical, 30);
        c.MainVolScroll = slider(Qt::Horizontal, 80);
        c.monitorVolScroll = slider(Qt::Vertical, 20);
        for (auto& b : c.monitorCMB)
            b = new ConsoleButton("", "", &panel);
        c.LVUmeter = new qzvPeak(&panel);
        c.RVUmeter = new qzvPeak(&panel);
        c.mainVolVUmeter = new qzvPeak(&panel);
        desk = std::make_unique<mixer::MixerDesk>(state, c);
        desk->monitorCMB_Click(0);
        for (int deck = 0; deck < 2; ++deck) {
            fixtures::Tone tone;
            tone.format = fixtures::Format::Wav;
            tone.frequency = deck == 0 ? 440 : 1000;
            tone.seconds = 5;
            const auto path = fixtures::makeTone(
                (folder.path() + QString("/deck%1.wav").arg(deck)).toStdString(), tone);
            engine::Channel& stream = state.decks[static_cast<std::size_t>(deck)].stream;
            stream = engine::Channel::openMain(QByteArray(path.c_str()), 0);
            stream.play();
        }
        BASS_Offline_Render(nullptr, 4096);
    }
    ~Rig() {
        BASS_Stop();
        BASS_Free();
    }
    ui::QtDialogs dialogs;
    core::ProgramState state;
    QTemporaryDir folder;
    QWidget panel;
    std::unique_ptr<mixer::MixerDesk> desk;
};

// Baseline: a call through an event function that does nothing.
void BM_EmptyEventCall(benchmark::State& state) {
    int calls = 0;
    const std::function<void()> event = [&calls] { benchmark::DoNotOptimize(++calls); };
    for (auto _ : state)
        event();
}

void BM_VolumeTimerAndMeterUpdate(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) {
        rig.desk->run_volume_timer();
        rig.desk->run_VUmeterTimer();
    }
    if (rig.desk->controls().LVUmeter->LPeak() <= 0 || rig.state.lastResult == 0)
        state.SkipWithError("the decks did not play");
}

BENCHMARK(BM_EmptyEventCall)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VolumeTimerAndMeterUpdate)->Unit(benchmark::kMicrosecond);

} // namespace
