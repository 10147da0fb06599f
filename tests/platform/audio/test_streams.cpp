// Opening streams: which library opens which file, tags, lengths, attributes.
#include "tests/platform/audio/audio_test_support.h"

#include <algorithm>
#include <cstring>
#include <string>

using namespace audio_test;

class Streams : public OfflineEngine {};

TEST_F(Streams, MainLibraryOpensMpegAndWavOnlyAndTheAddOnAsfOnly) {
    for (const std::string& path : {mp3Cbr(), mp3Vbr(), mp3Mono22k(), wav()}) {
        SCOPED_TRACE(path);
        const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
        EXPECT_NE(stream, 0u);
        BASS_StreamFree(stream);
        EXPECT_EQ(BASS_WMA_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0), 0u);
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FORMAT);
    }
    for (const std::string& path : {wma(), asfMono22k()}) {
        SCOPED_TRACE(path);
        const HSTREAM stream = BASS_WMA_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
        EXPECT_NE(stream, 0u);
        BASS_WMA_StreamFree(stream);
        EXPECT_EQ(BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0), 0u);
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FORMAT);
    }
}

TEST_F(Streams, HandlesArePositiveSignedNumbers) {
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, wav().c_str(), 0, 0, 0);
    EXPECT_GT(static_cast<std::int32_t>(stream), 0);
    BASS_StreamFree(stream);
}

TEST_F(Streams, Id3v1BlockIsTheLast128BytesWhenTheyStartWithTag) {
    fixtures::Tone tagged;
    tagged.format = fixtures::Format::Mp3Cbr;
    tagged.id3v1 = tagged.id3v2 = true;
    tagged.title = "A Title";
    tagged.artist = "An Artist";
    tagged.album = "An Album";
    tagged.year = "1999";
    tagged.comment = "Note";
    tagged.genre = "Techno";
    const std::string path = fixture("tagged.mp3", tagged);
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0x10000);
    ASSERT_NE(stream, 0u);
    const char* block = BASS_StreamGetTags(stream, BASS_TAG_ID3);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::string(block, 3), "TAG");
    EXPECT_STREQ(block + 3, "A Title");
    EXPECT_STREQ(block + 33, "An Artist");
    EXPECT_STREQ(block + 63, "An Album");
    EXPECT_EQ(std::string(block + 93, 4), "1999");
    EXPECT_STREQ(block + 97, "Note");
    EXPECT_EQ(static_cast<unsigned char>(block[127]), 18u); // Techno
    EXPECT_EQ(BASS_StreamGetTags(stream, 7), nullptr);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLTYPE);
    BASS_StreamFree(stream);

    tagged.id3v1 = false; // an ID3v2 tag alone gives no block
    const std::string v2only = fixture("v2only.mp3", tagged);
    const HSTREAM other = BASS_StreamCreateFile(FALSE, v2only.c_str(), 0, 0, 0);
    ASSERT_NE(other, 0u);
    EXPECT_EQ(BASS_StreamGetTags(other, BASS_TAG_ID3), nullptr);
    BASS_StreamFree(other);
}

// The tag lines as a list, up to the empty line that ends them.
static std::vector<std::string> tagLines(const char* tags) {
    std::vector<std::string> lines;
    for (const char* line = tags; line && *line; line += std::strlen(line) + 1)
        lines.emplace_back(line);
    return lines;
}

TEST_F(Streams, WmaTagsAreNameValueLines) {
    fixtures::Tone tagged;
    tagged.format = fixtures::Format::Wma;
    tagged.metadata = true;
    tagged.title = "Wma Title";
    tagged.artist = "Wma Artist";
    tagged.album = "Wma Album";
    tagged.year = "2004";
    tagged.genre = "Ambient";
    tagged.comment = "About it";
    tagged.attributes = {{"WM/EncodingSettings", "Lavf test"}};
    const std::string path = fixture("tagged.wma", tagged);
    const HSTREAM stream = BASS_WMA_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    const auto lines = tagLines(BASS_WMA_StreamGetTags(stream, BASS_TAG_WMA));
    for (const char* expected :
         {"Title:Wma Title", "Author:Wma Artist", "WM/AlbumTitle:Wma Album", "WM/Year:2004",
          "WM/Genre:Ambient", "Description:About it", "WM/EncodingSettings:Lavf test"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
    BASS_WMA_StreamFree(stream);

    // Names stay as the file stores them: a "date" attribute is no WM/Year.
    fixtures::Tone dated = tagged;
    dated.year.clear();
    dated.attributes = {{"date", "2004-05-06"}};
    const HSTREAM other =
        BASS_WMA_StreamCreateFile(FALSE, fixture("dated.wma", dated).c_str(), 0, 0, 0);
    const auto datedLines = tagLines(BASS_WMA_StreamGetTags(other, BASS_TAG_WMA));
    EXPECT_NE(std::find(datedLines.begin(), datedLines.end(), "date:2004-05-06"), datedLines.end());
    for (const auto& line : datedLines)
        EXPECT_NE(line.rfind("WM/Year:", 0), 0u) << line;
    BASS_WMA_StreamFree(other);

    const HSTREAM untagged = BASS_WMA_StreamCreateFile(FALSE, wma().c_str(), 0, 0, 0);
    const char* none = BASS_WMA_StreamGetTags(untagged, BASS_TAG_WMA);
    ASSERT_NE(none, nullptr);
    for (const auto& line : tagLines(none))
        EXPECT_EQ(line.rfind("Title:", 0), std::string::npos) << line;
    BASS_WMA_StreamFree(untagged);
}

TEST_F(Streams, LengthsAndSecondsCountFramesAtTheFilesOwnRate) {
    struct Case {
        std::string path;
        bool wmaFile;
        int rate;
    };
    for (const Case& c : {Case{mp3Cbr(), false, 44100}, Case{mp3Vbr(), false, 44100},
                          Case{mp3Mono22k(), false, 22050}, Case{wav(), false, 44100},
                          Case{wma(), true, 44100}, Case{asfMono22k(), true, 22050}}) {
        SCOPED_TRACE(c.path);
        const HSTREAM stream =
            c.wmaFile ? BASS_WMA_StreamCreateFile(FALSE, c.path.c_str(), 0, 0, 0)
                      : BASS_StreamCreateFile(FALSE, c.path.c_str(), 0, 0, BASS_MP3_SETPOS);
        ASSERT_NE(stream, 0u);
        const QWORD length =
            c.wmaFile ? BASS_WMA_StreamGetLength(stream) : BASS_StreamGetLength(stream);
        EXPECT_EQ(length % 4, 0u);
        // 2 s tones; a WMA file decodes to whole codec frames, a little more
        // or less than the tone.
        EXPECT_NEAR(static_cast<double>(length / 4), 2.0 * c.rate, c.wmaFile ? 0.05 * c.rate : 576);
        EXPECT_FLOAT_EQ(BASS_ChannelBytes2Seconds(stream, static_cast<QWORD>(c.rate) * 4), 1.0f);
        DWORD freq = 0, volume = 0;
        int pan = 5;
        ASSERT_TRUE(BASS_ChannelGetAttributes(stream, &freq, &volume, &pan));
        EXPECT_EQ(freq, static_cast<DWORD>(c.rate));
        EXPECT_EQ(volume, 100u);
        EXPECT_EQ(pan, 0);
        // Seconds stay at the file's rate whatever the playback rate.
        ASSERT_TRUE(BASS_ChannelSetAttributes(stream, c.rate * 3 / 2, -1, -101));
        EXPECT_FLOAT_EQ(BASS_ChannelBytes2Seconds(stream, static_cast<QWORD>(c.rate) * 4), 1.0f);
        BASS_StreamFree(stream);
    }
}

TEST_F(Streams, ExactMp3LengthEqualsWhatAStraightDecodeGives) {
    for (const std::string& path : {mp3Cbr(), mp3Vbr(), mp3Mono22k()}) {
        SCOPED_TRACE(path);
        const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
        const QWORD length = BASS_StreamGetLength(stream);
        const std::vector<short> heard = playToEnd(stream);
        EXPECT_EQ(heard.size() * 2, length);
        EXPECT_EQ(BASS_ChannelGetPosition(stream), length);
        EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
        BASS_StreamFree(stream);

        // Without the flag the length is made exact when first asked for,
        // also while the stream plays.
        const HSTREAM plain = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
        ASSERT_TRUE(BASS_StreamPlay(plain, FALSE, 0));
        const std::vector<short> start = render(10000);
        EXPECT_EQ(BASS_StreamGetLength(plain), length);
        const std::vector<short> rest = playToEnd(plain);
        EXPECT_EQ(BASS_ChannelGetPosition(plain), length);
        BASS_StreamFree(plain);
    }
}

TEST_F(Streams, AttributesOutOfRangeFailAndLeaveTheOldValues) {
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, wav().c_str(), 0, 0, 0);
    ASSERT_TRUE(BASS_ChannelSetAttributes(stream, 50000, 40, -30));
    EXPECT_FALSE(BASS_ChannelSetAttributes(stream, 99, -1, -101));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FREQ);
    EXPECT_FALSE(BASS_ChannelSetAttributes(stream, 100001, -1, -101));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FREQ);
    EXPECT_FALSE(BASS_ChannelSetAttributes(stream, 30000, 101, -101));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_FALSE(BASS_ChannelSetAttributes(stream, -1, -1, 101));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_FALSE(BASS_ChannelSetAttributes(stream, -1, -2, -102));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    ASSERT_TRUE(BASS_ChannelSetAttributes(stream, -1, -1, -101)); // all unchanged
    DWORD freq = 0, volume = 0;
    int pan = 0;
    ASSERT_TRUE(BASS_ChannelGetAttributes(stream, &freq, &volume, &pan));
    EXPECT_EQ(freq, 50000u);
    EXPECT_EQ(volume, 40u);
    EXPECT_EQ(pan, -30);
    BASS_StreamFree(stream);
}
