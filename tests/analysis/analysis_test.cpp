// Track analysis over synthetic tracks of known tempo, first beat and music
// span, decoded from the files as the decks would play them.
#include "analysis/analyser.h"
#include "analysis/analysis_cache.h"
#include "analysis/analysis_queue.h"
#include "engine/channel.h"
#include "engine/engine_lifecycle.h"
#include "tests/analysis/synthetic_tracks.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <map>

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

// Sound without beats has no tempo (the display shows "--"), though its
// music is found: a steady tone, white noise, and a chord swelling and
// fading every four seconds.
TEST_F(Analysis, SoundWithoutBeatsHasNoTempo) {
    const int rate = 44100;
    std::vector<short> tone, noise, pad;
    unsigned state = 12345;
    for (int i = 0; i < 30 * rate; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double swell = 0.6 + 0.4 * std::sin(2 * M_PI * 0.25 * t);
        state = state * 1664525u + 1013904223u;
        const double chord = (std::sin(2 * M_PI * 220 * t) + std::sin(2 * M_PI * 277.2 * t) +
                              std::sin(2 * M_PI * 329.6 * t)) /
                             3;
        for (std::vector<short>* samples : {&tone, &noise, &pad}) {
            const double value = samples == &tone ? 0.3 * std::sin(2 * M_PI * 523.25 * t)
                                 : samples == &noise
                                     ? 0.3 * (static_cast<double>(state >> 8) / (1 << 23) - 1)
                                     : 0.3 * swell * chord;
            samples->insert(samples->end(), 2, static_cast<short>(std::lround(32767 * value)));
        }
    }
    for (const auto& [name, samples] :
         {std::pair{"tone", &tone}, std::pair{"noise", &noise}, std::pair{"pad", &pad}}) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(QString(name) + ".wav");
        synthetic::writeWav(path.toStdString(), *samples);
        const analysis::AnalysisOutcome outcome = analysis::analyseFile(path, {});
        ASSERT_TRUE(outcome.result) << outcome.error.toStdString();
        EXPECT_EQ(outcome.result->bpm, 0);
        EXPECT_LT(outcome.result->musicStart, 0.5);
        EXPECT_GT(outcome.result->musicEnd, 29.0);
    }
}

} // namespace

namespace {

// Runs the event loop until `done` holds or 60 s pass.
template <typename Done> bool waitFor(Done&& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST_F(Analysis, QueueAnalysesOnWorkersKeepsResultsUntilTheFileChangesAndCanBeStopped) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    analysis::AnalysisCache cache(dir.filePath("data/analysis.db"));
    analysis::AnalysisQueue queue(&cache);
    queue.setWorkers(2);
    std::map<QString, analysis::TrackAnalysis> results;
    QStringList failures;
    QObject::connect(&queue, &analysis::AnalysisQueue::analysed,
                     [&](const QString& file, const analysis::TrackAnalysis& r) {
                         EXPECT_EQ(QThread::currentThread(), app.thread());
                         results[file] = r;
                     });
    QObject::connect(
        &queue, &analysis::AnalysisQueue::failed,
        [&](const QString& file, const QString& message) { failures << file + ": " + message; });

    synthetic::Track track;
    track.name = "queued";
    track.bpm = 126;
    track.music = 12;
    const QString file = write(track);
    const QString missing = dir.filePath("missing.mp3");
    queue.enqueue(file);
    queue.enqueue(missing);
    ASSERT_TRUE(waitFor([&] { return queue.idle(); }));
    ASSERT_EQ(results.count(file), 1u);
    EXPECT_NEAR(results[file].bpm, 126, 0.05);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(missing + ": Cannot open")) << failures[0].toStdString();

    // The result is kept with the DJ's choice, until the file changes.
    EXPECT_TRUE(cache.setOctaveShift(file, -1));
    const std::optional<analysis::TrackAnalysis> kept = cache.find(file);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->bpm, results[file].bpm);
    EXPECT_DOUBLE_EQ(kept->effectiveBpm(), kept->bpm / 2);
    QFile touched(file);
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(touched.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                    QFileDevice::FileModificationTime));
    touched.close();
    EXPECT_FALSE(cache.find(file));
    results.clear();
    queue.enqueue(file);
    ASSERT_TRUE(waitFor([&] { return queue.idle(); }));
    ASSERT_EQ(results.count(file), 1u);
    EXPECT_EQ(results[file].octaveShift, 0) << "analysed again, not read back";
    ASSERT_TRUE(cache.find(file));
    EXPECT_EQ(cache.find(file)->octaveShift, -1);

    // Stopped: the waiting files are dropped and nothing more is reported.
    results.clear();
    for (int i = 0; i < 6; ++i) {
        track.name = "batch" + std::to_string(i);
        queue.enqueue(write(track));
    }
    queue.stop();
    EXPECT_TRUE(queue.idle());
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(results.empty());
}

// The cache is only a cache: a file that is not one is set aside and a new
// one started, and a row changed outside the program is analysed again.
TEST_F(Analysis, ADamagedCacheIsSetAsideAndImplausibleRowsAreNotAnswered) {
    const QString db = dir.filePath("data/analysis.db");
    QDir().mkpath(dir.filePath("data"));
    QFile garbage(db);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    const QString file = dir.filePath("song.wav");
    QFile song(file);
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.write("RIFF");
    song.close();

    analysis::AnalysisCache cache(db);
    analysis::TrackAnalysis stored;
    stored.bpm = 128;
    stored.length = 60;
    stored.musicEnd = 59;
    ASSERT_TRUE(cache.store(file, stored)) << cache.error().toStdString();
    ASSERT_TRUE(cache.find(file));
    EXPECT_EQ(cache.find(file)->bpm, 128);
    EXPECT_TRUE(QFile::exists(db + ".damaged"));
    EXPECT_FALSE(cache.setOctaveShift(file, 40));

    for (const char* edit : {"UPDATE tracks SET bpm = -5", "UPDATE tracks SET octave_shift = 40",
                             "UPDATE tracks SET music_start = 1e300"}) {
        SCOPED_TRACE(edit);
        ASSERT_TRUE(cache.store(file, stored));
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(db).constData(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, edit, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(other);
        EXPECT_FALSE(cache.find(file));
    }
    ASSERT_TRUE(cache.store(file, stored)); // a new analysis mends the row
    ASSERT_TRUE(cache.find(file));
    EXPECT_EQ(cache.find(file)->octaveShift, 0);
}

} // namespace
