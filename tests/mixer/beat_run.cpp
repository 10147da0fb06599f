#include "tests/mixer/beat_run.h"

#include "analysis/analysis_queue.h"
#include "app/main_window.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "mixer/auto_dj.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cmath>
#include <map>

namespace mixer_test {

namespace {
constexpr std::size_t kWindow = 2205; // frames: 50 ms at 44100 Hz
constexpr double kSilentRms = 30;     // of 32768

double longestSilence(const std::vector<short>& output) {
    int longest = 0, silent = 0;
    bool heard = false;
    for (std::size_t at = 0; at + 2 * kWindow <= output.size(); at += 2 * kWindow) {
        double sum = 0;
        for (std::size_t i = at; i < at + 2 * kWindow; ++i)
            sum += static_cast<double>(output[i]) * output[i];
        if (std::sqrt(sum / (2 * kWindow)) >= kSilentRms) {
            heard = true;
            silent = 0;
        } else if (heard) {
            longest = std::max(longest, ++silent);
        }
    }
    return longest * static_cast<double>(kWindow) / 44100;
}
} // namespace

BeatRun BeatRunTest::runBeatMode(const std::vector<synthetic::Track>& tracks, int handOvers,
                                 int fadeBeats) {
    std::vector<std::string> names;
    for (const synthetic::Track& track : tracks) {
        names.push_back(track.name + ".wav");
        synthetic::writeWav(audio_test::fixtureFolder() / names.back(), synthetic::render(track));
    }
    usePlaylist(names);
    std::map<QString, const synthetic::Track*> truth;
    for (std::size_t i = 0; i < tracks.size(); ++i)
        truth[state->playlist.path(static_cast<int>(i))] = &tracks[i];
    state->settings.autoDJMode = core::AutoDJMode::Beats;
    state->settings.autoDJFadeBeats = static_cast<std::int16_t>(fadeBeats);

    // The analyses on the queue's workers, all answered before the run so
    // the run does not depend on how fast this machine analyses.
    analysis::AnalysisQueue& queue = *w->autoDJ().analysisQueue();
    for (int i = 0; i < state->playlist.count(); ++i)
        queue.enqueue(state->playlist.path(i));
    QElapsedTimer waited;
    waited.start();
    while (!queue.idle() && waited.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    loadDeck(0, names[0]);
    w->mixerPanel.desk.crossFaderScroll->setValue(0);
    w->decks->left().play_Click();
    w->mixerPanel.autoDJ->click();

    BeatRun run;
    std::array<bool, 2> wasPlaying{playing(0), playing(1)};
    std::array<core::StreamHandle, 2> streams{};
    std::vector<short> output;
    double fadeEndsAt = 1e9; // clock seconds
    const auto watch = [&] {
        for (int side : {0, 1}) {
            decks::Deck& in = w->decks->deck(side);
            const core::DeckRecord& r = in.record();
            if (r.stream.handle() != streams[static_cast<std::size_t>(side)]) {
                streams[static_cast<std::size_t>(side)] = r.stream.handle();
                run.loaded.push_back(r.loadedFile.section('/', -1).toStdString());
            }
            const bool now = playing(side);
            if (now && !wasPlaying[static_cast<std::size_t>(side)] && playing(1 - side)) {
                // Where the playing track stood when this one started: back
                // from both positions by the time heard since the start.
                decks::Deck& out = w->decks->deck(1 - side);
                const core::DeckRecord& o = out.record();
                const double cueAt =
                    static_cast<double>(r.cuePosition / engine::kBytesPerFrame) / r.fileRate;
                const double heard = (in.positionSeconds() - cueAt) * r.fileRate / r.stream.rate();
                const double at = out.positionSeconds() - heard * o.stream.rate() / o.fileRate;
                const synthetic::Track& t = *truth.at(o.loadedFile);
                const double beat = 60.0 / t.bpm;
                const double beats = (at - t.firstBeat) / beat;
                const double gridBeats = (o.firstBeat - t.firstBeat) / beat;
                BeatHandOver h;
                h.from = o.loadedFile.section('/', -1).toStdString();
                h.to = r.loadedFile.section('/', -1).toStdString();
                h.offBeat = (beats - std::round(beats)) * beat * o.fileRate / o.stream.rate();
                h.gridOff = (gridBeats - std::round(gridBeats)) * beat;
                // A quiet fade-out's music counts as ending halfway through
                // it; the fade's beats are those of the tempo inside the
                // analysis's BPM range.
                double rangeBeat = beat;
                while (60.0 / rangeBeat >= analysis::AnalysisOptions{}.maxBpm)
                    rangeBeat *= 2;
                h.early = (t.musicEnd() - t.fadeOut / 2 - fadeBeats * rangeBeat) - at;
                h.fromBpm = out.effectiveBpm();
                h.toBpm = in.effectiveBpm();
                run.handOvers.push_back(h);
                if (static_cast<int>(run.handOvers.size()) == handOvers)
                    fadeEndsAt = clockMs / 1000.0 + fadeBeats * 60.0 / h.fromBpm + 1.0;
            }
            wasPlaying[static_cast<std::size_t>(side)] = now;
        }
    };
    watch();
    double limit = 0;
    for (const synthetic::Track& t : tracks)
        limit += t.musicEnd() + t.silentTail;
    while (clockMs / 1000.0 < std::min(fadeEndsAt, 2 * limit))
        advance(100, &output, watch);
    run.longestSilence = longestSilence(output);
    run.outputSeconds = clockMs / 1000.0;
    return run;
}

} // namespace mixer_test
