// The headphone mix on channels 3-4 of a four-channel sound card reached
// through PortAudio. The card is an ALSA device of this test's own
// configuration: ALSA's JACK plugin on a private JACK server paced like a
// card, its first two channels going to one recorder, the third and fourth
// to another. The pre-listened tone must be on the third channel, the main
// mix on the first two and on the fourth (split).
#include "platform/audio/bass.h"
#include "platform/audio/headphones.h"
#include "tests/fixtures/fixtures.h"
#include "tests/platform/audio/jack_recorder.h"
#include "tests/platform/audio/jack_server.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <complex>
#include <cstdlib>
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

TEST(PortAudioHeadphones, ChannelsThreeAndFourCarryTheHeadphoneMix) {
    audio_test::JackServer server(44100);
    if (!server.running())
        GTEST_SKIP() << "JACK cannot start here: " << server.failure();
    server.select();
    JackRecorder main(server.name(), 3), phones(server.name(), 3);
    ASSERT_TRUE(main.open() && phones.open());
    QTemporaryDir home;
    QFile config(home.filePath(".asoundrc"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("pcm.vorlan_test_card {\n type jack\n playback_ports {\n"
                 "  0 recorder:in_0\n  1 recorder:in_1\n  2 recorder-01:in_0\n"
                 "  3 recorder-01:in_1\n }\n hint { show on description \"Test card\" }\n}\n");
    config.close();
    ::setenv("HOME", QFile::encodeName(home.path()).constData(), 1);
    ::unsetenv("VORLAN_AUDIO");

    int device = -2;
    for (int i = 1; const char* name = BASS_GetDeviceDescription(i); ++i)
        if (std::string(name) == "vorlan_test_card")
            device = i - 1;
    if (device == -2)
        GTEST_SKIP() << "PortAudio does not list the test's ALSA device here";

    fixtures::Tone tone;
    tone.format = fixtures::Format::Wav;
    tone.frequency = 440;
    const auto cuePath = fixtures::makeTone((home.path() + "/cue.wav").toStdString(), tone);
    tone.frequency = 1000;
    const auto mainPath = fixtures::makeTone((home.path() + "/main.wav").toStdString(), tone);

    audio::setHeadphonesWanted(true);
    ASSERT_TRUE(BASS_Init(device, 44100, 0, nullptr));
    EXPECT_TRUE(audio::headphonesReady());
    ASSERT_TRUE(BASS_Start());
    const HSTREAM cue = BASS_StreamCreateFile(FALSE, cuePath.c_str(), 0, 0, 0);
    const HSTREAM played = BASS_StreamCreateFile(FALSE, mainPath.c_str(), 0, 0, 0);
    ASSERT_TRUE(cue && played);
    BASS_ChannelSetAttributes(cue, -1, 0, 0); // silent in the main mix
    audio::setPrelisten(cue, true);
    audio::setHeadphoneMix(0.5, 1.0, true);
    main.start();
    phones.start();
    BASS_StreamPlay(cue, FALSE, 0);
    BASS_StreamPlay(played, FALSE, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    main.stop();
    phones.stop();
    BASS_Free();
    audio::setHeadphonesWanted(false);
    ::setenv("VORLAN_AUDIO", "offline", 1);

    const double full = toneRms(main, 0, 1000);
    EXPECT_GT(full, 0.3);
    EXPECT_NEAR(toneRms(main, 1, 1000) / full, 1.0, 0.02);
    EXPECT_LT(toneRms(main, 0, 440) / full, 0.01);
    EXPECT_NEAR(toneRms(phones, 0, 440) / full, 1.0, 0.02);
    EXPECT_LT(toneRms(phones, 0, 1000) / full, 0.01);
    EXPECT_NEAR(toneRms(phones, 1, 1000) / full, 1.0, 0.02);
}

} // namespace
