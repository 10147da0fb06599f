// The automatic DJ's beat mode: the analyses it asks for ahead, the incoming
// deck cued at its music's start and synced, the fade started on the
// playing track's beat by a precise timer and the crossfader moved over the
// fade from the incoming deck's position. UI thread.
#include "mixer/auto_dj.h"

#include "analysis/analysis_queue.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "decks/tempo_sync.h"
#include "engine/channel.h"

#include <QTimer>
#include <algorithm>
#include <cmath>

namespace mixer {

namespace {
// The crossfader's update interval while a fade on the beat runs, ms.
constexpr int kBeatFadeIntervalMs = 20;
// A fade start closer than this (seconds heard) is on time.
constexpr double kOnTime = 0.0005;
// The fade's first beat is at least this far (track seconds) after the
// position at the arming, so the timer has time to run.
constexpr double kArmMargin = 0.02;
// Playlist entries after the cursor asked for ahead.
constexpr int kEntriesAhead = 2;

// Seconds heard of `trackSeconds` of a track playing at `rate` Hz, its file's rate being
// `fileRate`.
double heardSeconds(double trackSeconds, std::uint32_t rate, std::uint32_t fileRate) {
    return rate > 0 ? trackSeconds * fileRate / rate : trackSeconds;
}
} // namespace

void AutoDJ::setAnalysisQueue(analysis::AnalysisQueue* queue) {
    if (queue_)
        QObject::disconnect(queue_, nullptr, controls_.autoDJCB, nullptr);
    queue_ = queue;
    if (queue_)
        QObject::connect(queue_, &analysis::AnalysisQueue::analysed, controls_.autoDJCB,
                         [this](const QString& file, const analysis::TrackAnalysis& result) {
                             takeAnalysis(file, result);
                         });
}

void AutoDJ::takeAnalysis(const QString& file, const analysis::TrackAnalysis& result) {
    analyses_.insert(file, result);
    for (int side : {0, 1}) {
        decks::Deck& deck = decks_.deck(side);
        if (!deck.record().analysed)
            deck.applyAnalysis(file, result);
    }
}

const analysis::TrackAnalysis* AutoDJ::analysisOf(const QString& file) const {
    const auto found = analyses_.constFind(file);
    return found == analyses_.constEnd() ? nullptr : &found.value();
}

void AutoDJ::analyseAhead() {
    QStringList files;
    for (int side : {0, 1}) {
        decks::Deck& deck = decks_.deck(side);
        const core::DeckRecord& r = deck.record();
        if (!r.stream || r.analysed)
            continue;
        if (const analysis::TrackAnalysis* known = analysisOf(r.loadedFile))
            deck.applyAnalysis(r.loadedFile, *known);
        else
            files << r.loadedFile;
    }
    const int count = state_.playlist.count();
    for (int ahead = 1; ahead <= std::min(kEntriesAhead, count); ++ahead)
        files << state_.playlist.path(((state_.playlist.cursor() + ahead) % count + count) % count);
    for (const QString& file : files) {
        if (!queue_)
            break;
        if (file.isEmpty() || analyses_.contains(file) || asked_.contains(file))
            continue;
        asked_.insert(file);
        queue_->enqueue(file);
    }
}

bool AutoDJ::nextSongSilent() const {
    const analysis::TrackAnalysis* known = analysisOf(state_.playlist.nextSongPath());
    return known && !known->hasMusic();
}

bool AutoDJ::prepareBeatFade(decks::Deck& incoming, decks::Deck& outgoing) {
    core::DeckRecord& in = incoming.record();
    if (const analysis::TrackAnalysis* known = analysisOf(in.loadedFile))
        incoming.applyAnalysis(in.loadedFile, *known);
    double cueAt = 0;
    if (in.analysed && in.musicEnd > in.musicStart) {
        // The beat that starts the music, so the two tracks' beats coincide.
        cueAt = decks::nearestBeat(in.musicStart, {in.firstBeat, in.bpm > 0 ? 60.0 / in.bpm : 0.0});
        in.cuePosition =
            static_cast<std::uint64_t>(std::llround(cueAt * in.fileRate)) * engine::kBytesPerFrame;
        in.stream.seek(in.cuePosition);
    } else {
        cueAt = incoming.positionSeconds();
    }
    const core::DeckRecord& out = outgoing.record();
    if (!out.stream.isPlaying())
        return false;
    const double startAt = outgoing.beatMixPoint(state_.settings.autoDJFadeBeats,
                                                 outgoing.positionSeconds() + kArmMargin);
    if (startAt < 0)
        return false;
    if (in.bpm > 0)
        incoming.sync();
    beatFade_ = {};
    beatFade_.armed = true;
    beatFade_.incoming = incoming.side();
    beatFade_.startAt = startAt;
    beatFade_.cueAt = cueAt;
    beatFade_.seconds = state_.settings.autoDJFadeBeats * 60.0 / outgoing.effectiveBpm();
    if (armFadeStart())
        startBeatFade();
    return true;
}

bool AutoDJ::armFadeStart() {
    decks::Deck& outgoing = decks_.deck(1 - beatFade_.incoming);
    const core::DeckRecord& out = outgoing.record();
    if (!out.stream.isPlaying())
        return true; // nothing left to wait for
    const double left = heardSeconds(beatFade_.startAt - outgoing.positionSeconds(),
                                     out.stream.rate(), out.fileRate);
    if (left <= kOnTime)
        return true;
    fadeStartTimer_.start(std::max(1, static_cast<int>(std::lround(left * 1000))));
    return false;
}

void AutoDJ::fadeStartTimer_Timer() {
    if (!beatFade_.armed || !state_.autoDJ.on)
        return;
    if (armFadeStart())
        startBeatFade();
}

void AutoDJ::startBeatFade() {
    beatFade_.armed = false;
    beatFade_.running = true;
    beatFade_.from = controls_.crossFaderScroll->Value();
    decks_.deck(beatFade_.incoming).play_Click();
    controls_.tmrAutoFade->setInterval(kBeatFadeIntervalMs);
    controls_.tmrAutoFade->start();
}

void AutoDJ::beatFadeStep() {
    Slider& fader = *controls_.crossFaderScroll;
    decks::Deck& incoming = decks_.deck(beatFade_.incoming);
    const core::DeckRecord& in = incoming.record();
    const int to = beatFade_.incoming == 1 ? fader.Max() : fader.Min();
    const double played =
        heardSeconds(incoming.positionSeconds() - beatFade_.cueAt, in.stream.rate(), in.fileRate);
    const double share =
        beatFade_.seconds > 0 ? std::clamp(played / beatFade_.seconds, 0.0, 1.0) : 1.0;
    if (share < 1.0 && in.stream.isPlaying()) {
        fader.setValue(
            static_cast<int>(std::lround(beatFade_.from + (to - beatFade_.from) * share)));
        return;
    }
    fader.setValue(to);
    beatFade_.running = false;
    controls_.tmrAutoFade->stop();
    controls_.tmrAutoFade->setInterval(kStepFadeIntervalMs);
    analyseAhead();
}

} // namespace mixer
