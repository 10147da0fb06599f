// Track analysis over synthetic tracks of known tempo, first beat and music
// span, decoded from the files as the decks would play them.
#include "analysis/analyser.h"
#include "engine/channel.h"
#include "engine/engine_lifecycle.h"
#include "tests/analysis/synthetic_tracks.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

class Analysis : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(engine::startEngine(-1, 44100, nullptr).failure, ""); }
    void TearDown() override {
        engine::Channel none;
        engine::stopEngine(none, none);
    }
    QString write(const synthetic::Track& track) {
        const QString path = dir.filePath(QString::fromStdString(track.name) + ".wav");
        synthetic::writeWav(path.toStdString(), synthetic::render(track));
        return path;
    }
    QTemporaryDir dir;
};

// Tolerances: tempo 0.02 BPM, first beat 10 ms, the music's start 0.15 s and
// an abrupt end 0.3 s (the analysis works in 100 ms loudness blocks); a
// fade-out's end falls in the fade's last half.
TEST_F(Analysis, FindsTempoFirstBeatAndMusicOfEverySyntheticTrack) {
    const analysis::AnalysisOptions options;
    for (const synthetic::Track& track : synthetic::benchmarkSet()) {
        SCOPED_TRACE(track.name);
        const analysis::AnalysisOutcome outcome = analyseFile(write(track), options);
        ASSERT_TRUE(outcome.result) << outcome.error.toStdString();
        const analysis::TrackAnalysis& r = *outcome.result;
        const double expected = track.bpm >= options.maxBpm ? track.bpm / 2 : track.bpm;
        EXPECT_NEAR(r.bpm, expected, 0.02);
        EXPECT_NEAR(r.firstBeat, track.firstBeat, 0.010);
        EXPECT_NEAR(r.musicStart, track.firstBeat, 0.15);
        if (track.fadeOut > 0) {
            EXPECT_GT(r.musicEnd, track.musicEnd() - track.fadeOut / 2);
            EXPECT_LT(r.musicEnd, track.musicEnd());
        } else {
            EXPECT_NEAR(r.musicEnd, track.musicEnd(), 0.3);
        }
        printf("%-18s bpm %8.3f first %6.3f (%6.3f) start %6.3f end %6.3f (%6.3f) lufs %6.2f\n",
               track.name.c_str(), r.bpm, r.firstBeat, track.firstBeat, r.musicStart, r.musicEnd,
               track.musicEnd(), r.loudness);
    }
}

} // namespace
