// A controller's fader to sound on a private JACK server (dummy backend,
// 44.1 kHz, 256-frame periods): the started program with its output on the
// server and a mapping binding a control to the left deck's volume; a test
// client sends the control from silent to full while the deck plays, and the
// time until the first sound reaches the server's port is measured, 600
// times. It counts from the moment the message is queued in the sending
// client, so it holds the sender's period, the program's MIDI period, the
// poll of the UI thread and the output's period. Compare with
// bench_audio's VolumeToSoundOnJack (the same volume change made by a call).
// The program mixes at its default 22.05 kHz, converted to the server's rate.
// action_p99_ms: message to the slider moving; after_action_p99_ms: from
// there to the sound; period_p99_ms: the server's periods as they came.
#include "app/main_window.h"
#include "app/splash_window.h"
#include "controllers/controllers.h"
#include "controls/widgets/slider.h"
#include "core/program_state.h"
#include "decks/decks.h"
#include "platform/audio/bass.h"
#include "platform/registry/registry.h"
#include "platform/ui/qt_dialogs.h"
#include "tests/controllers/midi_test_client.h"
#include "tests/fixtures/fixtures.h"
#include "tests/platform/audio/jack_recorder.h"
#include "tests/platform/audio/jack_server.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>

namespace {

constexpr int tries = 600;

double steadyNow() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Runs the program's event loop for `ms` milliseconds, waiting for events as
// the running program does (a MIDI wake is taken as soon as it comes).
void runEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(fraction * values.size()))];
}

void ControlToSoundOnJack(benchmark::State& state) {
    static audio_test::JackServer server(44100);
    if (!server.running()) {
        state.SkipWithError(("JACK cannot start here: " + server.failure()).c_str());
        return;
    }
    server.select();
    ::unsetenv("VORLAN_AUDIO");
    QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", (folder.path() + "/data").toUtf8());
    reg::RegUseDatabase(folder.path() + "/registry.db");
    fixtures::Tone tone;
    tone.format = fixtures::Format::Wav;
    tone.seconds = 120;
    const std::string song = fixtures::makeTone((folder.path() + "/tone.wav").toStdString(), tone);
    QFile mapping(folder.path() + "/volume.json");
    mapping.open(QIODevice::WriteOnly);
    mapping.write(R"({"bindings": [{"action": "mixer.left.volume", "channel": 1, "cc": 7}]})");
    mapping.close();

    std::vector<double> frames;
    std::vector<double> toAction, toSound; // ms: message to action, action to sound
    std::vector<double> intervals;         // ms between the server's periods
    double period = 0;
    for (auto _ : state) {
        ui::QtDialogs dialogs;
        core::ProgramState program(dialogs);
        program.endProgram = [](int) {};
        loadingF::load(program)->tmrLoad_Timer();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        halvoranF* w = program.mainWindow;
        audio_test::JackRecorder recorder(server.name(), tries * 0.1 + 2);
        controllers_test::MidiTestClient device(server.name(), "controller", false);
        if (!w || !recorder.open() || !recorder.connectToEngine() || !device.open() ||
            !w->controllers().useMapping(mapping.fileName())) {
            state.SkipWithError("the program did not start on the JACK server");
            return;
        }
        w->mixerPanel.desk.crossFaderScroll->setValue(0);
        program.decks[0].filePath = QString::fromStdString(song);
        w->decks->left().init_Player();
        w->decks->left().play_Click();
        runEvents(300); // the controller is connected
        recorder.start();
        // When the fader's slider moved (the action ran on the UI thread).
        double actionAt = 0;
        QObject::connect(w->mixerPanel.desk.LVolScroll, &Slider::Change,
                         [&] { actionAt = steadyNow(); });
        for (int i = 0; i < tries; ++i) {
            device.send(midi::kControlChange, 0, 7, 0);
            runEvents(40); // the silence reaches the port
            const std::size_t from = recorder.frames();
            const double sentAt = steadyNow();
            device.send(midi::kControlChange, 0, 7, 127);
            runEvents(40);
            for (std::size_t f = from; f < recorder.frames(); ++f)
                if (recorder.samples()[f * 2] != 0.0f) {
                    frames.push_back((recorder.arrival(f) - sentAt) * recorder.rate());
                    toAction.push_back(1000 * (actionAt - sentAt));
                    toSound.push_back(1000 * (recorder.arrival(f) - actionAt));
                    break;
                }
        }
        recorder.stop();
        period = recorder.period();
        // The server's periods as they came: the time between cycles reaching
        // the recorder, which a message waits for on top of the program.
        const auto step = static_cast<std::size_t>(period);
        for (std::size_t f = step; step > 0 && f < recorder.frames(); f += step)
            intervals.push_back(1000 * (recorder.arrival(f) - recorder.arrival(f - step)));
        program.decks[0].stream.free();
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        BASS_Free();
    }
    reg::RegUseDatabase({});
    ::setenv("VORLAN_AUDIO", "offline", 1);
    if (frames.empty()) {
        state.SkipWithError("no sound reached the port");
        return;
    }
    const double p50 = percentile(frames, 0.50), p99 = percentile(frames, 0.99);
    state.counters["p50_ms"] = 1000 * p50 / 44100;
    state.counters["p99_ms"] = 1000 * p99 / 44100;
    state.counters["action_p99_ms"] = percentile(toAction, 0.99);
    state.counters["after_action_p99_ms"] = percentile(toSound, 0.99);
    state.counters["period_ms"] = 1000 * period / 44100;
    state.counters["period_p99_ms"] = percentile(intervals, 0.99);
    state.counters["measured"] = static_cast<double>(frames.size());
}
BENCHMARK(ControlToSoundOnJack)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
