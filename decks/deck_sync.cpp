// A deck's tempo and SYNC: the tempo heard follows the stream's rate; SYNC
// sets this deck's pitch to the other deck's tempo and, with both playing,
// seeks this one into the other's beat.
#include "analysis/track_analysis.h"
#include "decks/deck.h"
#include "decks/decks.h"
#include "decks/pitch_math.h"
#include "decks/tempo_sync.h"

#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/slider.h"

#include <QTimer>
#include <algorithm>
#include <cmath>

namespace decks {

namespace {
// What the display says, and how long (ms), when SYNC is out of the pitch's range.
const QString kOutOfRange = QStringLiteral("SYNC: OUT OF PITCH RANGE");
constexpr int kOutOfRangeMs = 2000;

BeatGrid gridOf(const core::DeckRecord& r) {
    return {r.firstBeat, r.bpm > 0 ? 60.0 / r.bpm : 0.0};
}

// The record's stream position in seconds of the track; -1 when unknown.
double recordSeconds(const core::DeckRecord& r) {
    return r.stream.seconds(r.stream.position());
}
} // namespace

double Deck::effectiveBpm() const {
    const core::DeckRecord& r = record();
    if (r.bpm <= 0 || !r.stream)
        return 0;
    return decks::effectiveBpm(r.bpm, r.stream.rate(), r.fileRate);
}

bool Deck::applyAnalysis(const QString& file, const analysis::TrackAnalysis& result) {
    core::DeckRecord& r = record();
    if (file.isEmpty() || file != r.loadedFile)
        return false;
    r.bpm = result.effectiveBpm();
    r.firstBeat = result.firstBeat;
    r.musicStart = result.musicStart;
    r.musicEnd = result.musicEnd;
    r.analysed = true;
    r.analysisFailed = false;
    showBpm();
    return true;
}

void Deck::analysisFailed(const QString& file) {
    core::DeckRecord& r = record();
    if (file.isEmpty() || file != r.loadedFile || r.analysed)
        return;
    r.analysisFailed = true;
    showBpm();
}

void Deck::showBpm() {
    const core::DeckRecord& r = record();
    QString text;
    if (r.loadedFile.isEmpty() || !r.stream)
        text.clear();
    else if (r.analysed && r.bpm > 0)
        text = QString::number(effectiveBpm(), 'f', 1);
    else if (r.analysed || r.analysisFailed)
        text = QStringLiteral("--");
    else
        text = QStringLiteral("...");
    controls_.lcd->setBpm(text);
}

double Deck::positionSeconds() const {
    const core::DeckRecord& r = record();
    if (!r.stream || r.fileRate == 0)
        return -1;
    return static_cast<double>(r.stream.position() / engine::kBytesPerFrame) / r.fileRate;
}

double Deck::beatMixPoint(int fadeBeats, double notBefore) const {
    const core::DeckRecord& r = record();
    if (!r.analysed || r.bpm <= 0 || r.musicEnd <= r.musicStart)
        return -1;
    const BeatGrid grid = gridOf(r);
    return beatAtOrAfter(std::max(r.musicEnd - fadeBeats * grid.beatSeconds, notBefore), grid);
}

void Deck::sync() {
    state_.selectedDeck = static_cast<std::int16_t>(side_);
    Deck& other = decks_.deck(1 - side_);
    const double target = other.effectiveBpm();
    core::DeckRecord& r = record();
    if (target <= 0 || r.bpm <= 0 || !r.stream)
        return; // a tempo not known yet: nothing to match
    const std::optional<int> position =
        syncPosition(r.bpm, target, r.baseRate, r.fileRate, state_.settings.pitchRange);
    if (!position) {
        // The title line says so for a while, then shows the title again
        // (unless something else was shown meanwhile).
        qzvLCD* lcd = controls_.lcd;
        const QString title = lcd->Song();
        lcd->setSong(kOutOfRange);
        QTimer::singleShot(kOutOfRangeMs, lcd, [lcd, title] {
            if (lcd->Song() == kOutOfRange)
                lcd->setSong(title);
        });
        return;
    }
    // The slider to the nearest step, the stream to the exact rate, which the
    // pitch keeps while the slider stays there.
    r.syncedPosition = static_cast<std::int16_t>(*position);
    r.syncedRate = syncRate(r.bpm, target, r.fileRate);
    controls_.pitch->setValue(*position);
    pitchStep();
    changePitch();
    const core::DeckRecord& o = other.record();
    if (r.stream.isPlaying() && o.stream.isPlaying()) {
        const double here = recordSeconds(r), there = recordSeconds(o);
        if (here >= 0 && there >= 0) {
            const double aligned = phaseAlignedPosition(here, gridOf(r), there, gridOf(o));
            const auto frame =
                static_cast<std::uint64_t>(std::llround(std::max(0.0, aligned) * r.fileRate));
            r.stream.seek(frame * engine::kBytesPerFrame);
        }
    }
    decks_.levelsChanged();
}

} // namespace decks
