// Seeks on every format and sample rate the decks meet: the audio after a
// seek equals a straight decode from that frame, and an accurate stream's
// length is what the straight decode gives; in the containers that mark the
// codec's delay and padding, the straight decode is the music's own frames. Rendered at the file's
// own rate so that the output hands over the decoded frames unchanged.
#include "tests/platform/audio/audio_test_support.h"

#include <algorithm>
#include <cmath>
#include <string>

using namespace audio_test;

namespace {

struct SeekCase {
    fixtures::Format format;
    int rate;
    int channels;
    int bits = 16;
};

bool wmaAddOn(fixtures::Format format) {
    return format == fixtures::Format::Wma || format == fixtures::Format::Asf;
}

std::string nameOf(const SeekCase& c) {
    return "seek_" + std::to_string(c.rate) + "_" + std::to_string(c.channels) + "_" +
           std::to_string(c.bits) + "_" + std::to_string(static_cast<int>(c.format)) + "." +
           fixtures::extensionOf(c.format);
}

// Formats whose containers give the exact count of the music's frames.
bool marksPadding(fixtures::Format format) {
    using fixtures::Format;
    return format >= Format::Flac;
}

// How many frames the left channel lags the tone's own sine (within half a
// period): the shift that fits frames [1000, 3000) best.
int toneLag(const std::vector<short>& heard, const fixtures::Tone& tone) {
    const double step = 2.0 * 3.14159265358979323846 * tone.frequency / tone.sampleRate;
    const int halfPeriod = static_cast<int>(tone.sampleRate / tone.frequency / 2);
    int best = 0;
    double bestError = 1e300;
    for (int lag = -halfPeriod; lag <= halfPeriod; ++lag) {
        double error = 0;
        for (int i = 1000; i < 3000; ++i) {
            const double d = heard[static_cast<std::size_t>(i) * 2] / 32768.0 -
                             tone.amplitude * std::sin(step * (i - lag));
            error += d * d;
        }
        if (error < bestError) {
            bestError = error;
            best = lag;
        }
    }
    return best;
}

class Seeks : public ::testing::Test {
protected:
    void TearDown() override { BASS_Free(); }

    void startAt(int rate) {
        BASS_Free();
        ::setenv("VORLAN_AUDIO", "offline", 1);
        ASSERT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, static_cast<DWORD>(rate), 32, nullptr));
        ASSERT_TRUE(BASS_Start());
    }
    static HSTREAM open(const std::string& path, bool wma, DWORD flags) {
        return wma ? BASS_WMA_StreamCreateFile(FALSE, path.c_str(), 0, 0, flags)
                   : BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, flags);
    }
    static QWORD length(HSTREAM stream, bool wma) {
        return wma ? BASS_WMA_StreamGetLength(stream) : BASS_StreamGetLength(stream);
    }
};

// Frames of `heard` that differ from the frames at `from`.
std::size_t differingFrames(const std::vector<short>& heard,
                            std::vector<short>::const_iterator from) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < heard.size(); i += 2)
        count += heard[i] != from[i] || heard[i + 1] != from[i + 1];
    return count;
}

} // namespace

TEST_F(Seeks, AudioAfterEverySeekEqualsTheStraightDecode) {
    using fixtures::Format;
    std::vector<SeekCase> cases;
    for (const int rate : {16000, 22050, 24000, 32000, 44100, 48000})
        for (const int channels : {1, 2}) {
            cases.push_back({channels == 1 ? Format::Mp3Vbr : Format::Mp3Cbr, rate, channels});
            cases.push_back({channels == 1 ? Format::Wma : Format::Asf, rate, channels});
        }
    // MPEG-2.5 rates, and the add-on's other name at two rates.
    cases.push_back({Format::Mp3Cbr, 8000, 1});
    cases.push_back({Format::Mp3Vbr, 11025, 2});
    cases.push_back({Format::Mp3Cbr, 12000, 2});
    cases.push_back({Format::Wma, 22050, 2});
    cases.push_back({Format::Asf, 44100, 1});
    // The containers with the codecs' own delay and padding marked, at 16
    // and 24 bits and float, mono and stereo, 44.1 to 96 kHz.
    cases.push_back({Format::Flac, 44100, 2});
    cases.push_back({Format::Flac, 96000, 1, 24});
    cases.push_back({Format::Aiff, 44100, 2});
    cases.push_back({Format::Aiff, 88200, 1, 24});
    cases.push_back({Format::Aiff, 48000, 2, 32});
    cases.push_back({Format::M4aAac, 44100, 2});
    cases.push_back({Format::M4aAac, 48000, 1});
    cases.push_back({Format::M4aAac, 96000, 2});
    cases.push_back({Format::M4aAlac, 44100, 2});
    cases.push_back({Format::M4aAlac, 88200, 1, 24});
    cases.push_back({Format::OggVorbis, 44100, 2});
    cases.push_back({Format::OggVorbis, 48000, 1});
    cases.push_back({Format::Opus, 48000, 2});
    cases.push_back({Format::Opus, 48000, 1});

    constexpr std::size_t compared = 4096; // frames after each seek
    for (const SeekCase& c : cases) {
        fixtures::Tone tone;
        tone.format = c.format;
        tone.sampleRate = c.rate;
        tone.channels = c.channels;
        tone.bits = c.bits;
        // Ogg pages hold about a second of a tone: long enough for a final page.
        tone.seconds = c.format == Format::OggVorbis || c.format == Format::Opus ? 6 : 1.5;
        tone.frequency = 441.0;
        const std::string path = fixture(nameOf(c), tone);
        SCOPED_TRACE(path);
        const bool wma = wmaAddOn(c.format);
        startAt(c.rate);

        const HSTREAM reference = open(path, wma, BASS_MP3_SETPOS);
        ASSERT_NE(reference, 0u);
        const QWORD exactLength = length(reference, wma);
        const std::vector<short> straight = playToEnd(reference);
        EXPECT_EQ(exactLength, straight.size() * 2);
        EXPECT_EQ(BASS_ChannelGetPosition(reference), exactLength);
        BASS_StreamFree(reference);
        const QWORD frames = straight.size() / 2;
        if (marksPadding(c.format)) {
            EXPECT_EQ(frames, static_cast<QWORD>(tone.seconds * c.rate));
            // Frame 0 is the tone's first sample (the lossy codecs may blur
            // the phase by a frame or two).
            EXPECT_LE(std::abs(toneLag(straight, tone)), 2);
        }
        ASSERT_GT(frames, compared * 2);

        for (const DWORD flags : {DWORD{0}, DWORD{BASS_MP3_SETPOS}}) {
            SCOPED_TRACE(flags);
            const HSTREAM stream = open(path, wma, flags);
            ASSERT_NE(stream, 0u);
            // The start, within the first frames, eight points along, and the
            // last stretch twice (in Ogg, the second time on the final page,
            // which the demuxer now knows).
            std::vector<QWORD> targets{0, 333};
            for (QWORD k = 1; k < 8; ++k)
                targets.push_back((frames - compared) * k / 8 + 7 * k);
            targets.insert(targets.end(), {frames - compared, frames - compared});
            for (const QWORD frame : targets) {
                SCOPED_TRACE(frame);
                ASSERT_TRUE(wma ? BASS_WMA_ChannelSetPosition(stream, frame * 4, 0)
                                : BASS_ChannelSetPosition(stream, frame * 4));
                if (!wma) {
                    ASSERT_TRUE(BASS_StreamPreBuf(stream));
                }
                ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0) ||
                            BASS_WMA_StreamPlay(stream, FALSE, 0));
                const std::vector<short> heard = render(compared);
                const auto from = straight.begin() + static_cast<std::ptrdiff_t>(frame * 2);
                const auto mismatch = std::mismatch(heard.begin(), heard.end(), from);
                EXPECT_EQ(mismatch.first, heard.end())
                    << "first difference at frame " << (mismatch.first - heard.begin()) / 2 << ", "
                    << differingFrames(heard, from) << " frames differ";
                BASS_ChannelStop(stream);
            }
            BASS_StreamFree(stream);
        }
    }
}
