// The headphone mix through PortAudio, on channels 3-4 of a four-channel
// sound card or on a second card. The cards are ALSA devices of this test's
// own configuration: ALSA's JACK plugin on a private JACK server paced like a
// card. The pre-listened tone must be in the left ear, the main mix on both
// main channels and in the right ear (split).
#include "platform/audio/bass.h"
#include "platform/audio/headphones.h"
#include "platform/audio/phones_device.h"
#include "tests/fixtures/fixtures.h"
#include "tests/platform/audio/jack_recorder.h"
#include "tests/platform/audio/jack_server.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <numbers>
#include <thread>

namespace {

using audio_test::JackRecorder;

// RMS of the `frequency` component of one channel over 0.2 s of a take,
// ending a tenth of a second before its end, in full scale.
double toneRms(const JackRecorder& take, int channel, double frequency) {
    constexpr std::size_t measured = 8820;
    const std::size_t end = take.frames() - 4410, begin = end - measured;
    std::complex<double> sum;
    for (std::size_t i = begin; i < end; ++i)
        sum += static_cast<double>(take.samples()[i * 2 + static_cast<std::size_t>(channel)]) *
               std::polar(1.0, -2 * std::numbers::pi * frequency * static_cast<double>(i) / 44100);
    return std::sqrt(2.0) * std::abs(sum) / measured;
}

// The test's ALSA cards, played into a private JACK server: "vorlan_four"
// has four channels, its first pair going to one recorder and its second to
// another; "vorlan_main" and "vorlan_phones" are two stereo cards going to
// one recorder each.
const char* kCards = R"(
pcm.vorlan_four {
 type jack
 playback_ports { 0 recorder:in_0  1 recorder:in_1  2 recorder-01:in_0  3 recorder-01:in_1 }
 hint { show on description "Four channels" }
}
pcm.vorlan_main {
 type jack
 playback_ports { 0 recorder:in_0  1 recorder:in_1 }
 hint { show on description "Main card" }
}
pcm.vorlan_phones {
 type jack
 playback_ports { 0 recorder-01:in_0  1 recorder-01:in_1 }
 hint { show on description "Headphone card" }
}
)";

class PortAudioHeadphones : public testing::Test {
protected:
    void SetUp() override {
        if (!server.running())
            GTEST_SKIP() << "JACK cannot start here: " << server.failure();
        server.select();
        // One home for the whole run: ALSA reads its configuration once.
        QFile config(home().filePath(".asoundrc"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(kCards);
        config.close();
        ::setenv("HOME", QFile::encodeName(home().path()).constData(), 1);
        ::unsetenv("VORLAN_AUDIO");
        fixtures::Tone tone;
        tone.format = fixtures::Format::Wav;
        tone.frequency = 440;
        cuePath = fixtures::makeTone((home().path() + "/cue.wav").toStdString(), tone);
        tone.frequency = 1000;
        mainPath = fixtures::makeTone((home().path() + "/main.wav").toStdString(), tone);
    }
    void TearDown() override {
        audio::setHeadphonesWanted(false);
        audio::setHeadphonesDevice(-1);
        ::setenv("VORLAN_AUDIO", "offline", 1);
    }
    // The device number of the test's card `name`; -2 when PortAudio does not list it.
    static int card(const std::string& name) {
        for (int i = 1; const char* description = BASS_GetDeviceDescription(i); ++i)
            if (description == name)
                return i - 1;
        return -2;
    }
    // Plays the cue tone pre-listened (silent in the main mix) and the main
    // tone, split in the headphones, for `seconds` on device `device`.
    void play(int device, double seconds) {
        audio::setHeadphonesWanted(true);
        ASSERT_TRUE(BASS_Init(device, 44100, 0, nullptr));
        EXPECT_TRUE(audio::headphonesReady());
        ASSERT_TRUE(BASS_Start());
        const HSTREAM cue = BASS_StreamCreateFile(FALSE, cuePath.c_str(), 0, 0, 0);
        const HSTREAM played = BASS_StreamCreateFile(FALSE, mainPath.c_str(), 0, 0, 0);
        ASSERT_TRUE(cue && played);
        BASS_ChannelSetAttributes(cue, -1, 0, 0);
        audio::setPrelisten(cue, true);
        audio::setHeadphoneMix(0.5, 1.0, true);
        main.start();
        phones.start();
        BASS_StreamPlay(cue, FALSE, 0);
        BASS_StreamPlay(played, FALSE, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(seconds * 1000)));
        main.stop();
        phones.stop();
        BASS_Free();
    }
    // The main tone on both main channels, the pre-listened one on the left
    // ear and the main one on the right: the shares of the main tone's level
    // found, in the order expected {1, 1, 0, 1, 0, 1}.
    std::array<double, 6> shares() const {
        const double full = toneRms(main, 0, 1000);
        if (full < 0.3)
            return {};
        return {1.0,
                toneRms(main, 1, 1000) / full,
                toneRms(main, 0, 440) / full,
                toneRms(phones, 0, 440) / full,
                toneRms(phones, 0, 1000) / full,
                toneRms(phones, 1, 1000) / full};
    }
    // Plays on `device` until a take has the split mix. A server starved of
    // processor time drops periods of its clients; such a take is not
    // evidence, so the best of three counts.
    void expectSplitMix(int device, double seconds) {
        const std::array<double, 6> expected{1, 1, 0, 1, 0, 1};
        std::array<double, 6> found{};
        for (int attempt = 0; attempt < 3; ++attempt) {
            play(device, seconds);
            found = shares();
            bool right = true;
            for (std::size_t i = 0; i < found.size(); ++i)
                right = right && std::fabs(found[i] - expected[i]) < 0.02;
            if (right)
                break;
        }
        for (std::size_t i = 0; i < found.size(); ++i)
            EXPECT_NEAR(found[i], expected[i], 0.02) << "share " << i;
    }

    audio_test::JackServer server{44100};
    JackRecorder main{server.name(), 3}, phones{server.name(), 3};
    static QTemporaryDir& home() {
        static QTemporaryDir folder;
        return folder;
    }
    std::filesystem::path cuePath, mainPath;
};

TEST_F(PortAudioHeadphones, ChannelsThreeAndFourOfAFourChannelCard) {
    const int device = card("vorlan_four");
    if (device == -2)
        GTEST_SKIP() << "PortAudio does not list the test's ALSA card here";
    expectSplitMix(device, 0.8);
}

TEST_F(PortAudioHeadphones, ASecondCard) {
    const int device = card("vorlan_main"), second = card("vorlan_phones");
    if (device == -2 || second == -2)
        GTEST_SKIP() << "PortAudio does not list the test's ALSA cards here";
    audio::setHeadphonesDevice(second);
    expectSplitMix(device, 1.2);
}

// Two cards whose clocks differ: the second card's reading follows the
// ring's fill, so over three minutes it neither runs dry nor overflows once
// it has started. The cards are simulated: the main one hands a period of
// the mix every 512 frames of its clock, the other takes a period every 512
// frames of a clock faster or slower by 300 parts in a million.
TEST(PhonesDevice, KeepsInStepWithACardThatDrifts) {
    for (const double drift : {300e-6, -300e-6}) {
        SCOPED_TRACE(testing::Message() << "drift " << drift);
        audio::PhonesDevice card(44100, 512);
        const std::vector<std::int16_t> period(512 * 2, 1000);
        std::vector<float> out(512 * 2);
        const double mainPeriod = 512.0 / 44100, cardPeriod = mainPeriod / (1 + drift);
        double mainAt = 0, cardAt = 0;
        std::uint64_t silentAfterStart = 0;
        while (mainAt < 180) {
            if (mainAt <= cardAt) {
                card.push(period.data(), 512);
                mainAt += mainPeriod;
            } else {
                card.fill(out.data(), 512);
                cardAt += cardPeriod;
                if (cardAt < 1)
                    silentAfterStart = card.silentFrames();
            }
        }
        EXPECT_EQ(card.silentFrames(), silentAfterStart);
        EXPECT_EQ(card.droppedFrames(), 0u);
    }
}

} // namespace
