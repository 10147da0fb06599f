// The listener clock of a device output, driven with scripted callback times.
#include "platform/audio/audible_clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <thread>

namespace {

using audio::AudibleClock;

constexpr double outputRate = 44100;
constexpr std::size_t period = 512;
constexpr double periodSeconds = period / outputRate;

// Ticks (source frames x output rate) to source frames.
double framesOf(std::int64_t ticks) {
    return static_cast<double>(ticks) / outputRate;
}

// A device callback as the output runs it: renders `period` frames at a
// time, each heard `latency` seconds after its callback.
struct ScriptedDevice {
    AudibleClock& clock;
    double latency = 0.1;
    double callbackAt = 100.0; // monotonic seconds of the next callback
    std::int64_t ticks = 0;    // rendered position

    // One callback at `rate` Hz; `produced` frames came out (fewer on an underrun).
    void render(int rate = 44100, std::size_t produced = period, std::uint32_t peaks = 0) {
        AudibleClock::Chunk chunk;
        chunk.audibleAt = callbackAt + latency;
        chunk.seconds = periodSeconds;
        chunk.startTicks = ticks;
        chunk.endTicks = ticks + static_cast<std::int64_t>(produced) * rate;
        chunk.ticksPerSecond = rate * outputRate;
        chunk.peaks = peaks;
        clock.record(chunk);
        ticks = chunk.endTicks;
        callbackAt += periodSeconds;
    }
    void renderMany(int count, int rate = 44100) {
        for (int i = 0; i < count; ++i)
            render(rate);
    }
};

TEST(AudibleClock, ReportsThePositionReachingTheListenerNotTheOneRendered) {
    AudibleClock clock;
    ScriptedDevice device{clock};
    const double start = device.callbackAt;
    device.render();
    // Rendered but not yet heard: the play start.
    EXPECT_EQ(clock.ticksAt(start + 0.05), 0);

    device.renderMany(19);
    const double now = device.callbackAt;
    const double heard = (now - start - device.latency) * outputRate;
    EXPECT_NEAR(framesOf(clock.ticksAt(now)), heard, 1.0);
    EXPECT_NEAR(framesOf(device.ticks) - framesOf(clock.ticksAt(now)), 0.1 * outputRate, 1.0);
    // Within one chunk the position moves on with the time.
    EXPECT_NEAR(framesOf(clock.ticksAt(now + 0.003)) - framesOf(clock.ticksAt(now)),
                0.003 * outputRate, 1.0);
}

TEST(AudibleClock, InterpolatesAtEachChunksOwnSpeed) {
    AudibleClock clock;
    ScriptedDevice device{clock, 0.05};
    const double start = device.callbackAt;
    device.renderMany(5, 48510); // 1.1 x
    device.renderMany(5, 22050); // 0.5 x
    // 2 ms into the fourth chunk, then 2 ms into the eighth.
    const double fourth = start + 0.05 + 3 * periodSeconds + 0.002;
    EXPECT_NEAR(framesOf(clock.ticksAt(fourth)), (3 * period + 0.002 * outputRate) * 1.1, 1.0);
    const double eighth = start + 0.05 + 7 * periodSeconds + 0.002;
    EXPECT_NEAR(framesOf(clock.ticksAt(eighth)),
                5 * period * 1.1 + (2 * period + 0.002 * outputRate) * 0.5, 1.0);
}

TEST(AudibleClock, SeekForgetsWhatWasRenderedBeforeAndStartsFromTheNewPosition) {
    AudibleClock clock;
    ScriptedDevice device{clock};
    device.renderMany(400); // ~4.6 s rendered, ~4.5 s heard
    const std::int64_t oneSecond = static_cast<std::int64_t>(outputRate * outputRate);
    clock.restart(oneSecond); // backwards
    device.ticks = oneSecond;
    const double seekAt = device.callbackAt;
    EXPECT_EQ(clock.ticksAt(seekAt), oneSecond);
    device.renderMany(10);
    // The new audio is not heard yet: the seek target, not the old position.
    EXPECT_EQ(clock.ticksAt(seekAt + 0.09), oneSecond);
    EXPECT_NEAR(framesOf(clock.ticksAt(seekAt + 0.1 + 0.01)), outputRate + 0.01 * outputRate, 1.0);
}

TEST(AudibleClock, PauseLetsTheDeviceBufferPlayOutAndThenHolds) {
    AudibleClock clock;
    ScriptedDevice device{clock};
    device.renderMany(20);
    const std::int64_t rendered = device.ticks;
    const double pausedAt = device.callbackAt;
    // Still hearing what the device holds...
    EXPECT_LT(clock.ticksAt(pausedAt), rendered);
    EXPECT_GT(clock.ticksAt(pausedAt + 0.05), clock.ticksAt(pausedAt));
    // ...then exactly the end of what was rendered, however long the pause.
    EXPECT_EQ(clock.ticksAt(pausedAt + device.latency), rendered);
    EXPECT_EQ(clock.ticksAt(pausedAt + 60), rendered);

    // Resume a minute later: held until the new audio arrives, then on from there.
    clock.setFloor(rendered);
    device.callbackAt = pausedAt + 60;
    device.renderMany(10);
    EXPECT_EQ(clock.ticksAt(pausedAt + 60.05), rendered);
    EXPECT_NEAR(framesOf(clock.ticksAt(pausedAt + 60.11)), framesOf(rendered) + 0.01 * outputRate,
                1.0);
}

TEST(AudibleClock, ResumingSoonAfterPauseNeverGoesBackBeforeTheResumePoint) {
    AudibleClock clock;
    ScriptedDevice device{clock};
    device.renderMany(20);
    const std::int64_t rendered = device.ticks;
    const double resumedAt = device.callbackAt + 0.02; // the device still plays the old audio
    clock.setFloor(rendered);
    EXPECT_EQ(clock.ticksAt(resumedAt), rendered);
}

TEST(AudibleClock, AnUnderrunHoldsThePositionForTheSilentRestOfTheChunk) {
    AudibleClock clock;
    ScriptedDevice device{clock, 0.0};
    const double start = device.callbackAt;
    device.render(44100, 100);
    EXPECT_NEAR(framesOf(clock.ticksAt(start + 50 / outputRate)), 50, 1.0);
    EXPECT_EQ(framesOf(clock.ticksAt(start + 300 / outputRate)), 100);
}

TEST(AudibleClock, LatencyLongerThanTheRingExtrapolatesFromTheOldestRecord) {
    AudibleClock clock;
    ScriptedDevice device{clock, 5.0};
    const double start = device.callbackAt;
    device.renderMany(static_cast<int>(AudibleClock::capacity) * 2, 48510);
    // Every record left is still to be heard; the position heard now follows
    // from the oldest one at its speed.
    const double now = device.callbackAt;
    const double heard = (now - start - 5.0) * 48510;
    EXPECT_NEAR(framesOf(clock.ticksAt(now)), heard, 1.0);
    // Before the play start was heard: the play start.
    EXPECT_EQ(clock.ticksAt(start + 1.0), 0);
}

TEST(AudibleClock, DelayComesFromTheDeviceTimesOrElseFromTheReportedLatency) {
    using audio::audibleDelaySeconds;
    EXPECT_DOUBLE_EQ(audibleDelaySeconds(12.25, 12.2, 0.04), 12.25 - 12.2);
    EXPECT_DOUBLE_EQ(audibleDelaySeconds(0, 0, 0.04), 0.04);       // no times given
    EXPECT_DOUBLE_EQ(audibleDelaySeconds(0, 12.2, 0.04), 0.04);    // half given
    EXPECT_DOUBLE_EQ(audibleDelaySeconds(12.0, 12.2, 0.04), 0.04); // heard before now
    EXPECT_DOUBLE_EQ(audibleDelaySeconds(1e6, 12.2, 0.04), 0.04);  // implausible
    EXPECT_DOUBLE_EQ(audibleDelaySeconds(0, 0, -1.0), 0.0);        // latency unknown
    EXPECT_DOUBLE_EQ(audibleDelaySeconds(0, 0, std::nan("")), 0.0);

    // With the reported latency alone, the position is the rendered one less
    // that latency at the stream's speed.
    AudibleClock clock;
    ScriptedDevice device{clock, audibleDelaySeconds(0, 0, 0.04)};
    device.renderMany(30, 48510);
    EXPECT_NEAR(framesOf(device.ticks) - framesOf(clock.ticksAt(device.callbackAt)), 0.04 * 48510,
                1.0);
}

TEST(AudibleClock, LevelIsThatOfTheChunksHeardNotOfThoseRendered) {
    AudibleClock clock;
    ScriptedDevice device{clock, 0.2};
    const double start = device.callbackAt;
    EXPECT_EQ(clock.peaksAt(start, 0.02), 0u);
    for (int i = 0; i < 10; ++i)
        device.render(44100, period, 10 | (20u << 16)); // quiet
    for (int i = 0; i < 10; ++i)
        device.render(44100, period, 100 | (90u << 16)); // loud, not heard yet
    EXPECT_EQ(clock.peaksAt(device.callbackAt, 0.02), 10 | (20u << 16));
    // Loud from 10 chunks in; the window reaches back over the change.
    const double change = start + device.latency + 10 * periodSeconds;
    EXPECT_EQ(clock.peaksAt(change + 0.01, 0.02), 100 | (90u << 16));
    EXPECT_EQ(clock.peaksAt(change - 0.001, 0.02), 10 | (20u << 16));
    // Long after the last chunk was heard: nothing.
    EXPECT_EQ(clock.peaksAt(device.callbackAt + 10, 0.02), 0u);
}

// The output thread records while the user-interface thread reads: every
// answer comes from one whole record. Records k: heard at k seconds,
// covering ticks k*step..(k+1)*step, so the answer at t is t*step.
TEST(AudibleClock, ReadsWhileTheOutputWritesSeeWholeRecords) {
    AudibleClock clock;
    constexpr double step = 1000;
    constexpr int records = 20000;
    std::atomic<int> written{0};
    std::thread writer([&] {
        for (int k = 0; k < records; ++k) {
            AudibleClock::Chunk chunk;
            chunk.audibleAt = k;
            chunk.seconds = 1;
            chunk.startTicks = static_cast<std::int64_t>(k * step);
            chunk.endTicks = static_cast<std::int64_t>((k + 1) * step);
            chunk.ticksPerSecond = step;
            clock.record(chunk);
            written.store(k + 1);
        }
    });
    int wrong = 0, reads = 0;
    while (written.load() < records) {
        const int newest = written.load();
        if (newest == 0)
            continue;
        // Somewhere in the last few records, which the writer is about to overwrite.
        const double at = std::max(0, newest - static_cast<int>(AudibleClock::capacity) + 3) + 0.5;
        const std::int64_t ticks = clock.ticksAt(at);
        if (std::llabs(ticks - static_cast<std::int64_t>(at * step)) > 1) {
            if (wrong < 5)
                ADD_FAILURE() << "at " << at << ": " << ticks;
            ++wrong;
        }
        ++reads;
    }
    writer.join();
    EXPECT_EQ(wrong, 0) << "of " << reads << " reads";
}

} // namespace
