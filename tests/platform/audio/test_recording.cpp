// Recordings of the main output, read back from the files written: WAV and
// FLAC hold exactly the rendered frames, MP3 the same tone for as long; a
// file that hits its size limit stops the recording with the reason and
// still reads to its end, in libsndfile, sox and ffprobe alike.
#include "platform/audio/recording.h"
#include "tests/platform/audio/audio_test_support.h"

#include <sndfile.h>
#include <sys/resource.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

using namespace audio_test;

namespace {

namespace fs = std::filesystem;

fs::path recordingPath(const std::string& name) {
    const fs::path folder = fixtureFolder() / "recordings";
    fs::create_directories(folder);
    return folder / name;
}

// Every frame of a WAV or FLAC file, interleaved stereo.
std::vector<short> readSoundFile(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file || info.channels != 2)
        return {};
    std::vector<short> samples(static_cast<std::size_t>(info.frames) * 2);
    const sf_count_t got = sf_readf_short(file, samples.data(), info.frames);
    sf_close(file);
    samples.resize(static_cast<std::size_t>(got) * 2);
    return samples;
}

// Renders `frames` frames in periods of 512, giving the writer time to run.
std::vector<short> renderPaced(std::size_t frames) {
    std::vector<short> all;
    for (std::size_t done = 0; done < frames; done += 512) {
        const std::vector<short> part = render(512);
        all.insert(all.end(), part.begin(), part.end());
        if (done % 8192 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return all;
}

bool toolReadsToTheEnd(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

using Recording = OfflineEngine;

TEST_F(Recording, TheFileHoldsWhatTheOutputRendered) {
    struct Case {
        audio::RecordFormat format;
        const char* name;
        bool lossless;
    };
    for (const Case c : {Case{audio::RecordFormat::Wav, "set.wav", true},
                         Case{audio::RecordFormat::Flac, "set.flac", true},
                         Case{audio::RecordFormat::Mp3, "set.mp3", false}}) {
        SCOPED_TRACE(c.name);
        const HSTREAM song = BASS_StreamCreateFile(FALSE, mp3Cbr().c_str(), 0, 0, 0);
        ASSERT_TRUE(BASS_StreamPlay(song, FALSE, 0));
        render(1000); // the recording starts in the middle of the song
        const fs::path path = recordingPath(c.name);
        std::string error;
        ASSERT_EQ(audio::startRecording(path, c.format, error), BASS_OK) << error;
        const std::vector<short> rendered = renderPaced(44100);
        std::string failure;
        EXPECT_TRUE(audio::stopRecording(&failure)) << failure;
        render(2000); // after the end: not in the file
        BASS_StreamFree(song);
        if (c.lossless) {
            EXPECT_EQ(readSoundFile(path), rendered);
            continue;
        }
        const HSTREAM back = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
        ASSERT_NE(back, 0u);
        const std::vector<short> decoded = playToEnd(back);
        BASS_StreamFree(back);
        // The encoder's delay and padding are whole frames of 1152 at most.
        EXPECT_NEAR(static_cast<double>(decoded.size() / 2), 44100.0, 2 * 1152.0);
        const std::vector<short> middle(decoded.begin() + 8192, decoded.end() - 8192);
        EXPECT_NEAR(frequency(middle, 0, 44100), 1000.0, 2.0);
        EXPECT_NEAR(peak(decoded, 1), peak(rendered, 1), 0.05 * peak(rendered, 1));
    }
}

// A file past its size limit (a full disk gives the same short write): the
// recording reports why, and what is in the file stays readable to its end.
TEST_F(Recording, AFileThatCannotGrowEndsTheRecordingReadably) {
    const fs::path path = recordingPath("limited.wav");
    const HSTREAM song = BASS_StreamCreateFile(FALSE, wav().c_str(), 0, 0, 0);
    ASSERT_TRUE(BASS_StreamPlay(song, FALSE, 0));
    std::string error;
    ASSERT_EQ(audio::startRecording(path, audio::RecordFormat::Wav, error), BASS_OK) << error;

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 100000; // about half a second of sound
    setrlimit(RLIMIT_FSIZE, &limited);
    std::vector<short> rendered;
    for (int i = 0; i < 200 && !audio::recordingFigures().failed; ++i) {
        const std::vector<short> part = render(2048);
        rendered.insert(rendered.end(), part.begin(), part.end());
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const audio::RecordingFigures figures = audio::recordingFigures();
    std::string failure;
    const bool good = audio::stopRecording(&failure);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    BASS_StreamFree(song);

    EXPECT_TRUE(figures.failed);
    EXPECT_FALSE(good);
    EXPECT_EQ(failure, figures.failure);
    EXPECT_FALSE(failure.empty());
    const std::vector<short> kept = readSoundFile(path);
    // The last write may have put part of its frames in before it failed.
    EXPECT_GE(kept.size() / 2, figures.written);
    EXPECT_GT(kept.size(), 20000u);
    ASSERT_LE(kept.size(), rendered.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), rendered.begin()));
    EXPECT_LE(fs::file_size(path), 100000u);
    EXPECT_TRUE(toolReadsToTheEnd("sox '" + path.string() + "' -n stat"));
    EXPECT_TRUE(toolReadsToTheEnd("ffprobe -v error -show_format '" + path.string() + "'"));
    EXPECT_TRUE(toolReadsToTheEnd("ffmpeg -v error -xerror -i '" + path.string() + "' -f null -"));
}

TEST_F(Recording, AFolderThatCannotBeWrittenIsRefusedAtTheStart) {
    std::string error;
    EXPECT_EQ(
        audio::startRecording("/proc/no-such-folder/set.wav", audio::RecordFormat::Wav, error),
        BASS_ERROR_FILEOPEN);
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(audio::recordingFigures().running);
}

} // namespace
