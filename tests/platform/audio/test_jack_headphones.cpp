// The headphone pair on a JACK server paced in real time: the pre-listened
// stream and the main mix measured per tone at the phones ports for each
// position of the cue/main knob, the volume and the split; the main ports
// meanwhile exactly as the offline output renders them without headphones.
#include "platform/audio/headphones.h"
#include "tests/platform/audio/jack_take.h"

#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>

using namespace audio_test;

namespace {

constexpr double kCueTone = 440, kMainTone = 1000;
constexpr std::size_t kMeasured = 8820; // 0.2 s: whole periods of both tones

Song toneSong(double frequency) {
    fixtures::Tone tone;
    tone.format = fixtures::Format::Wav;
    tone.frequency = frequency;
    return {fixture("phones" + std::to_string(static_cast<int>(frequency)) + ".wav", tone)};
}

// RMS of the `frequency` component of one channel over the last measured
// frames but a tenth of a second.
double toneRms(const JackRecorder& take, int channel, double frequency) {
    const std::size_t end = take.frames() - 4410, begin = end - kMeasured;
    std::complex<double> sum;
    for (std::size_t i = begin; i < end; ++i)
        sum += static_cast<double>(take.samples()[i * 2 + channel]) *
               std::polar(1.0, -2 * std::numbers::pi * frequency * static_cast<double>(i) / 44100);
    return std::sqrt(2.0) * std::abs(sum) / kMeasured;
}

struct Setting {
    double mainShare, volume;
    bool split;
};

class Headphones : public JackOutput {
protected:
    void TearDown() override {
        phones.reset();
        JackOutput::TearDown();
        audio::setHeadphonesWanted(false);
    }
    // The cue tone's stream pre-listened at volume 0, the main tone's heard.
    void play(const Setting& s) {
        const HSTREAM cue = cueSong.open(), main = mainSong.open();
        BASS_ChannelSetAttributes(cue, -1, 0, 0);
        audio::setPrelisten(cue, true);
        audio::setHeadphoneMix(s.mainShare, s.volume, s.split);
        cueSong.play(cue);
        mainSong.play(main);
    }
    // One take with the headphone output; false when JACK cannot run here.
    bool take(const Setting& s, int engineRate = 44100) {
        audio::setHeadphonesWanted(true);
        startOnJack(44100, engineRate);
        if (!ready())
            return false;
        EXPECT_TRUE(audio::headphonesReady());
        phones = std::make_unique<JackRecorder>(jackServerAt(44100).name(), 5);
        EXPECT_TRUE(phones->connectToEngine("phones_"));
        sleepMs(20);
        phones->start();
        play(s);
        sleepMs(600);
        phones->stop();
        recorder->stop();
        connections = portConnections("Vorlan:phones_l") + portConnections("Vorlan:phones_r");
        freeEngine();
        return true;
    }
    // What `jack_lsp` lists as connected to `port` on the test server.
    static std::string portConnections(const std::string& port) {
        const std::string command =
            "jack_lsp -s " + jackServerAt(44100).name() + " -c " + port + " 2>/dev/null";
        std::string text;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, pipe))
                text += line;
            pclose(pipe);
        }
        return text;
    }
    const Song cueSong = toneSong(kCueTone), mainSong = toneSong(kMainTone);
    std::unique_ptr<JackRecorder> phones;
    std::string connections;
};

TEST_F(Headphones, ThePhonesCarryThePrelistenAndTheMainAtTheKnobsSettings) {
    struct Row {
        Setting setting;
        double cueLeft, cueRight, mainLeft, mainRight; // shares of the tone at full gain
    };
    const Row rows[] = {
        {{0.0, 1.0, false}, 1, 1, 0, 0}, {{0.25, 1.0, false}, 0.75, 0.75, 0.25, 0.25},
        {{1.0, 1.0, false}, 0, 0, 1, 1}, {{0.5, 0.5, false}, 0.25, 0.25, 0.25, 0.25},
        {{0.5, 1.0, true}, 1, 0, 0, 1},
    };
    const std::vector<float> expectedMain =
        renderOffline(44100, 44100, 30000, [&](std::int64_t at) {
            if (at == 0)
                play({0.5, 1.0, false});
        });
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "main share " << r.setting.mainShare << ", volume "
                                        << r.setting.volume << (r.setting.split ? ", split" : ""));
        // The main ports: exactly as without headphones. A server starved of
        // processor time drops periods of every client alike; such a take is
        // not evidence, so the best of three counts.
        double difference = HUGE_VAL;
        for (int attempt = 0; attempt < 3 && difference > 0; ++attempt) {
            if (!take(r.setting))
                return;
            if (const auto onset = alignment(*recorder, expectedMain))
                difference = largestDifference(*recorder, *onset, expectedMain, 13000);
        }
        EXPECT_EQ(difference, 0.0);
        // The phones went to the server's third and fourth playback ports.
        EXPECT_NE(connections.find("system:playback_3"), std::string::npos) << connections;
        EXPECT_NE(connections.find("system:playback_4"), std::string::npos) << connections;
        const double full = toneRms(*recorder, 0, kMainTone);
        ASSERT_GT(full, 0.3);
        EXPECT_LT(toneRms(*recorder, 1, kCueTone), 0.001);
        // The phones ports, per tone and ear.
        constexpr double tolerance = 0.01;
        EXPECT_NEAR(toneRms(*phones, 0, kCueTone) / full, r.cueLeft, tolerance);
        EXPECT_NEAR(toneRms(*phones, 1, kCueTone) / full, r.cueRight, tolerance);
        EXPECT_NEAR(toneRms(*phones, 0, kMainTone) / full, r.mainLeft, tolerance);
        EXPECT_NEAR(toneRms(*phones, 1, kMainTone) / full, r.mainRight, tolerance);
    }
}

// A mix made at another rate than the server's (22.05 kHz, the program's
// default) reaches the phones through the rate conversion too, and the main
// ports stay exactly as the conversion renders them without headphones.
TEST_F(Headphones, ThePhonesWorkThroughTheRateConversion) {
    const std::vector<float> expectedMain =
        renderOffline(22050, 44100, 30000, [&](std::int64_t at) {
            if (at == 0)
                play({0.5, 1.0, true});
        });
    double difference = HUGE_VAL;
    for (int attempt = 0; attempt < 3 && difference > 0; ++attempt) {
        if (!take({0.5, 1.0, true}, 22050))
            return;
        if (const auto onset = alignment(*recorder, expectedMain))
            difference = largestDifference(*recorder, *onset, expectedMain, 13000);
    }
    EXPECT_EQ(difference, 0.0);
    const double full = toneRms(*recorder, 0, kMainTone);
    ASSERT_GT(full, 0.3);
    // Split: the pre-listened tone in the left ear, the main in the right.
    EXPECT_NEAR(toneRms(*phones, 0, kCueTone) / full, 1.0, 0.02);
    EXPECT_NEAR(toneRms(*phones, 1, kMainTone) / full, 1.0, 0.02);
    EXPECT_LT(toneRms(*phones, 0, kMainTone) / full, 0.01);
}

} // namespace
