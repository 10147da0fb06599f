// Key lock on the offline output: the tempo changes, the key stays, the
// length is the input's over the speed, what is heard stays where it is when
// key lock is switched, and key lock off is plain varispeed.
#include "tests/platform/audio/audio_test_support.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <thread>

using namespace audio_test;

namespace {

// A 16-bit stereo WAV at 44100 Hz of `seconds`, a 440 Hz sine at half scale,
// or (bursts given) silence with 30 ms 1 kHz bursts starting at `bursts` seconds.
std::string writeWav(const std::string& name, double seconds, std::vector<double> bursts = {}) {
    const auto path = (fixtureFolder() / name).string();
    const auto frames = static_cast<std::uint32_t>(seconds * 44100);
    std::vector<std::int16_t> samples(frames * 2, 0);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double t = i / 44100.0;
        double value = bursts.empty() ? 16384 * std::sin(2 * M_PI * 440 * t) : 0;
        for (const double at : bursts)
            if (t >= at && t < at + 0.030)
                value = 16384 * std::sin(2 * M_PI * 1000 * (t - at));
        samples[i * 2] = samples[i * 2 + 1] = static_cast<std::int16_t>(std::lround(value));
    }
    std::ofstream out(path, std::ios::binary);
    const auto put32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto put16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    put32(36 + frames * 4);
    out.write("WAVEfmt ", 8);
    put32(16), put16(1), put16(2), put32(44100), put32(44100 * 4), put16(4), put16(16);
    out.write("data", 4);
    put32(frames * 4);
    out.write(reinterpret_cast<const char*>(samples.data()),
              static_cast<std::streamsize>(samples.size() * 2));
    return path;
}

// First frame at or after `from` where the left channel passes a quarter of full scale.
std::size_t onset(const std::vector<short>& samples, std::size_t from) {
    for (std::size_t i = from; i < samples.size() / 2; ++i)
        if (std::abs(samples[i * 2]) > 8192)
            return i;
    return samples.size() / 2;
}

std::vector<short> append(std::vector<short> a, const std::vector<short>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Tempo {
    const char* name;
    int rate; // Hz for the 44100 Hz file
};
const Tempo tempos[] = {{"plus 8 %", 47628}, {"minus 8 %", 40572}};

} // namespace

class KeyLock : public OfflineEngine {
protected:
    HSTREAM open(const std::string& path) {
        const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
        EXPECT_NE(stream, 0u) << path;
        return stream;
    }
};

TEST_F(KeyLock, StretchedToneKeepsItsPitchAndPlaysInputOverSpeed) {
    const std::string path = writeWav("a440.wav", 6.0);
    for (const Tempo& tempo : tempos) {
        for (const DWORD mode : {BASS_KEYLOCK_FASTER, BASS_KEYLOCK_FINER}) {
            SCOPED_TRACE(std::string(tempo.name) + " mode " + std::to_string(mode));
            const HSTREAM stream = open(path);
            ASSERT_TRUE(BASS_ChannelSetAttributes(stream, tempo.rate, -1, -101));
            ASSERT_TRUE(BASS_ChannelSetKeyLock(stream, mode));
            ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
            std::vector<short> heard;
            for (int guard = 0; guard < 400 && BASS_ChannelIsActive(stream) == BASS_ACTIVE_PLAYING;
                 ++guard)
                heard = append(std::move(heard), render(4096));
            const std::vector<short> middle(heard.begin() + 44100 * 2, heard.begin() + 44100 * 4);
            const double cents = 1200 * std::log2(frequency(middle, 0, outputRate) / 440.0);
            EXPECT_NEAR(cents, 0.0, 2.0);
            // The sound lasts 6 s / speed, to within a period of the tone.
            std::size_t last = heard.size() / 2;
            while (last > 0 && std::abs(heard[(last - 1) * 2]) < 4096)
                --last;
            const double expected = 6.0 * 44100 * 44100 / tempo.rate;
            EXPECT_NEAR(static_cast<double>(last), expected, 44100 / 440.0);
            EXPECT_EQ(BASS_ChannelGetPosition(stream), 6u * 44100 * 4);
            BASS_StreamFree(stream);
        }
    }
}

TEST_F(KeyLock, SwitchingWhilePlayingKeepsWhatIsHeardInPlace) {
    // Bursts at 1.5 s and 3 s of the file; key lock goes on at 1 s heard and
    // off at 2 s heard; each burst is heard at its time over the speed.
    const std::string path = writeWav("bursts.wav", 5.0, {1.5, 3.0});
    for (const Tempo& tempo : tempos) {
        SCOPED_TRACE(tempo.name);
        const double speed = tempo.rate / 44100.0;
        const HSTREAM stream = open(path);
        ASSERT_TRUE(BASS_ChannelSetAttributes(stream, tempo.rate, -1, -101));
        ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
        std::vector<short> heard = render(44100);
        const QWORD before = BASS_ChannelGetPosition(stream);
        ASSERT_TRUE(BASS_ChannelSetKeyLock(stream, BASS_KEYLOCK_FASTER));
        EXPECT_EQ(BASS_ChannelGetPosition(stream), before);
        heard = append(std::move(heard), render(44100));
        ASSERT_TRUE(BASS_ChannelSetKeyLock(stream, BASS_KEYLOCK_OFF));
        heard = append(std::move(heard), render(2 * 44100));
        const std::size_t first = onset(heard, 44100), second = onset(heard, first + 4410);
        const double fiveMs = 0.005 * outputRate;
        EXPECT_NEAR(static_cast<double>(first), 1.5 * 44100 / speed, fiveMs);
        EXPECT_NEAR(static_cast<double>(second), 3.0 * 44100 / speed, fiveMs);
        // The position follows the speed through both switches.
        EXPECT_NEAR(BASS_ChannelGetPosition(stream) / 4.0, 4 * 44100 * speed, 1.0);
        BASS_StreamFree(stream);
    }
}

TEST_F(KeyLock, TempoChangesWhilePlayingAreSmooth) {
    // The tempo sweeps from -8 % to +8 % and back, a step every 512 frames:
    // no sample moves further from the last than the sine itself can (a
    // click would), and no 10 ms of it falls quiet (a gap would).
    const std::string path = writeWav("a440.wav", 6.0);
    const HSTREAM stream = open(path);
    ASSERT_TRUE(BASS_ChannelSetKeyLock(stream, BASS_KEYLOCK_FASTER));
    ASSERT_TRUE(BASS_ChannelSetAttributes(stream, tempos[1].rate, -1, -101));
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    std::vector<short> heard = render(4096); // past the stretcher's start
    heard.clear();
    for (int step = 0; step < 160; ++step) {
        const double share = step < 80 ? step / 79.0 : (159 - step) / 79.0;
        const int rate = tempos[1].rate +
                         static_cast<int>(std::lround(share * (tempos[0].rate - tempos[1].rate)));
        ASSERT_TRUE(BASS_ChannelSetAttributes(stream, rate, -1, -101));
        heard = append(std::move(heard), render(512));
    }
    const double steepest = 16384 * 2 * M_PI * 440 / 44100;
    int largest = 0;
    for (std::size_t i = 1; i < heard.size() / 2; ++i)
        largest = std::max(largest, std::abs(heard[i * 2] - heard[(i - 1) * 2]));
    EXPECT_LT(largest, 1.3 * steepest);
    for (std::size_t from = 0; from + 441 <= heard.size() / 2; from += 441) {
        int peak = 0;
        for (std::size_t i = from; i < from + 441; ++i)
            peak = std::max(peak, std::abs(static_cast<int>(heard[i * 2])));
        EXPECT_GT(peak, 12000) << "quiet at frame " << from;
    }
    BASS_StreamFree(stream);
}

TEST_F(KeyLock, OffIsPlainVarispeedBitForBit) {
    const std::string path = writeWav("a440.wav", 6.0);
    const auto play = [&](bool lockedOnceBefore) {
        const HSTREAM stream = open(path);
        if (lockedOnceBefore) {
            BASS_ChannelSetKeyLock(stream, BASS_KEYLOCK_FASTER);
            BASS_ChannelSetKeyLock(stream, BASS_KEYLOCK_OFF);
        }
        BASS_ChannelSetAttributes(stream, tempos[0].rate, -1, -101);
        BASS_StreamPlay(stream, FALSE, 0);
        const std::vector<short> heard = render(3 * 44100);
        BASS_StreamFree(stream);
        return heard;
    };
    const std::vector<short> plain = play(false);
    EXPECT_NEAR(frequency(plain, 0, outputRate), 440.0 * tempos[0].rate / 44100, 0.5);
    EXPECT_EQ(play(true), plain);
    EXPECT_EQ(BASS_ChannelSetKeyLock(0, BASS_KEYLOCK_FASTER), FALSE);
}

// On a real-time output the decode worker stretches just ahead of the output:
// a key-locked stream sounds, moves at its tempo and can be switched while it plays.
TEST(KeyLockInRealTime, WorkerStretchesAheadOfTheOutput) {
    ::setenv("VORLAN_AUDIO", "silent", 1);
    ASSERT_TRUE(BASS_Init(BASS_DEVICE_DEFAULT, 44100, 32, nullptr));
    ASSERT_TRUE(BASS_Start());
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, mp3Cbr().c_str(), 0, 0, BASS_MP3_SETPOS);
    ASSERT_TRUE(BASS_ChannelSetAttributes(stream, tempos[0].rate, -1, -101));
    ASSERT_TRUE(BASS_ChannelSetKeyLock(stream, BASS_KEYLOCK_FASTER));
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    for (const DWORD mode : {BASS_KEYLOCK_OFF, BASS_KEYLOCK_FINER, BASS_KEYLOCK_FASTER}) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        EXPECT_TRUE(BASS_ChannelSetKeyLock(stream, mode));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_GT(BASS_ChannelGetLevel(stream) & 0xFFFF, 30u);
    const double seconds = BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream));
    EXPECT_GT(seconds, 0.3);
    EXPECT_LT(seconds, 1.5);
    BASS_StreamFree(stream);
    BASS_Stop();
    BASS_Free();
    ::setenv("VORLAN_AUDIO", "offline", 1);
}
