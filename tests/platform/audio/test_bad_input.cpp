// Files that are missing, empty, of another format, cut short, damaged, or
// changed while they play.
#include "tests/platform/audio/audio_test_support.h"

#include <fstream>
#include <random>

using namespace audio_test;

class BadInput : public OfflineEngine {
protected:
    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = (fixtureFolder() / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string readAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(BadInput, MissingFileIsAnOpenError) {
    const std::string missing = (fixtureFolder() / "missing.mp3").string();
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, missing.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
    EXPECT_EQ(BASS_WMA_StreamCreateFile(FALSE, missing.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, fixtureFolder().c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
    // Calls that succeed afterwards leave the code of the failed one.
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, wav().c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    EXPECT_TRUE(BASS_StreamFree(stream));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
}

TEST_F(BadInput, EmptyGarbageAndOtherFormatsAreFormatErrors) {
    std::mt19937 random(7);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    fixtures::Tone flac;
    const std::vector<std::string> files = {
        write("empty.mp3", ""), write("garbage.mp3", garbage),
        write("text.wav", "This is a text file, not a sound.\r\n"),
        write("riff.wav", std::string("RIFF\x10\0\0\0WAVEjunk", 16))};
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        EXPECT_EQ(BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS), 0u);
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FORMAT);
        EXPECT_EQ(BASS_WMA_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0), 0u);
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FORMAT);
    }
}

TEST_F(BadInput, TruncatedFilesPlayWhatIsThere) {
    for (const std::string& source : {mp3Cbr(), mp3Vbr(), wav()}) {
        SCOPED_TRACE(source);
        const std::string bytes = readAll(source);
        const std::string path = write("half_" + std::filesystem::path(source).filename().string(),
                                       bytes.substr(0, bytes.size() / 2));
        const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
        ASSERT_NE(stream, 0u);
        const QWORD length = BASS_StreamGetLength(stream);
        EXPECT_NEAR(static_cast<double>(length / 4), 44100.0, 0.1 * 44100);
        const std::vector<short> heard = playToEnd(stream);
        EXPECT_NEAR(static_cast<double>(heard.size() / 2), static_cast<double>(length / 4), 1152);
        EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
        BASS_StreamFree(stream);
    }
    const std::string bytes = readAll(wma());
    const std::string path = write("half.wma", bytes.substr(0, bytes.size() / 2));
    const HSTREAM stream = BASS_WMA_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    const std::vector<short> heard = playToEnd(stream);
    EXPECT_GT(heard.size() / 2, 22050u);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
    BASS_WMA_StreamFree(stream);
}

TEST_F(BadInput, CorruptFramesAreSkipped) {
    std::mt19937 random(11);
    for (const std::string& source : {mp3Cbr(), wma()}) {
        SCOPED_TRACE(source);
        std::string bytes = readAll(source);
        for (std::size_t i = bytes.size() / 3; i < bytes.size() / 3 + 4000; ++i)
            bytes[i] = static_cast<char>(random());
        const bool asf = source.ends_with(".wma");
        const std::string path = write(asf ? "corrupt.wma" : "corrupt.mp3", bytes);
        const HSTREAM stream =
            asf ? BASS_WMA_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0)
                : BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
        ASSERT_NE(stream, 0u);
        const std::vector<short> heard = playToEnd(stream);
        EXPECT_GT(heard.size() / 2, 44100u);
        EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
        BASS_StreamFree(stream);
    }
}

TEST_F(BadInput, FileCutShortOrDeletedWhilePlayingEndsTheStream) {
    fixtures::Tone longTone;
    longTone.seconds = 20;
    const std::string bytes = readAll(fixture("long.mp3", longTone));
    const std::string path = write("shrinking.mp3", bytes);
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    render(4410);
    std::filesystem::resize_file(path, bytes.size() / 4);
    render(44100 * 12);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
    EXPECT_LT(BASS_ChannelGetPosition(stream), 44100u * 4 * 10);
    BASS_StreamFree(stream);

    const std::string doomed = write("deleted.mp3", bytes);
    const HSTREAM other = BASS_StreamCreateFile(FALSE, doomed.c_str(), 0, 0, 0);
    ASSERT_TRUE(BASS_StreamPlay(other, FALSE, 0));
    render(4410);
    std::filesystem::remove(doomed);
    render(44100 * 21);
    EXPECT_EQ(BASS_ChannelIsActive(other), BASS_ACTIVE_STOPPED);
    BASS_StreamFree(other);
}
