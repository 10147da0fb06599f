// A recording made while the output plays on a JACK server paced in real
// time holds, sample for sample, what reached the server's ports.
#include "platform/audio/recording.h"
#include "tests/platform/audio/jack_take.h"

#include <sndfile.h>

using namespace audio_test;

namespace {

std::vector<short> readWav(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return {};
    std::vector<short> samples(static_cast<std::size_t>(info.frames) * 2);
    samples.resize(static_cast<std::size_t>(sf_readf_short(file, samples.data(), info.frames)) * 2);
    sf_close(file);
    return samples;
}

// The recorder's frame where `file` starts: its first 1024 frames match
// there exactly; nullopt when nowhere.
std::optional<std::size_t> whereItStarts(const JackRecorder& recorder,
                                         const std::vector<short>& file) {
    constexpr std::size_t matched = 1024;
    if (file.size() < matched * 2)
        return std::nullopt;
    for (std::size_t at = 0; at + matched <= recorder.frames(); ++at) {
        std::size_t i = 0;
        while (i < matched * 2 && recorder.sample16(at + i / 2, i % 2) == file[i])
            ++i;
        if (i == matched * 2)
            return at;
    }
    return std::nullopt;
}

TEST_F(JackOutput, ARecordingHoldsWhatReachedThePorts) {
    fixtures::Tone tone;
    tone.format = fixtures::Format::Wav;
    tone.frequency = 997; // repeats only every second: one place matches
    const Song song{fixture("tone997.wav", tone)};
    const std::string path = (fixtureFolder() / "jack-set.wav").string();
    startOnJack(44100, 44100);
    if (!ready())
        return;
    ASSERT_TRUE(song.play(song.open()));
    sleepMs(150);
    std::string error;
    ASSERT_EQ(audio::startRecording(path, audio::RecordFormat::Wav, error), BASS_OK) << error;
    sleepMs(600);
    std::string failure;
    EXPECT_TRUE(audio::stopRecording(&failure)) << failure;
    sleepMs(100);
    recorder->stop();
    freeEngine();

    const std::vector<short> file = readWav(path);
    ASSERT_GT(file.size() / 2, 44100u / 2);
    const auto at = whereItStarts(*recorder, file);
    ASSERT_TRUE(at.has_value());
    ASSERT_LE(*at + file.size() / 2, recorder->frames());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < file.size(); ++i)
        differing += recorder->sample16(*at + i / 2, static_cast<int>(i % 2)) != file[i];
    EXPECT_EQ(differing, 0u);
}

} // namespace
