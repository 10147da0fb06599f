// Decode-only streams: the same frames the output plays, pulled by the caller,
// read on a worker thread while the output renders, and never mixed.
#include "tests/platform/audio/audio_test_support.h"

#include <thread>

using namespace audio_test;

class DecodeStreams : public OfflineEngine {
protected:
    static std::vector<short> readAll(HSTREAM stream) {
        std::vector<short> all;
        std::vector<short> chunk(2 * 3000); // an odd size: reads end mid-packet
        for (;;) {
            const DWORD bytes = BASS_ChannelGetData(stream, chunk.data(), 3000 * 4);
            if (bytes == static_cast<DWORD>(-1))
                break;
            all.insert(all.end(), chunk.begin(), chunk.begin() + bytes / 2);
        }
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ENDED);
        return all;
    }
};

TEST_F(DecodeStreams, DeliverTheFramesTheOutputPlaysAndAreNeverMixed) {
    struct Case {
        std::string path;
        bool wma;
    };
    for (const Case& c :
         {Case{wav(), false}, Case{mp3Cbr(), false}, Case{mp3Vbr(), false}, Case{wma(), true}}) {
        SCOPED_TRACE(c.path);
        const HSTREAM played = c.wma ? BASS_WMA_StreamCreateFile(FALSE, c.path.c_str(), 0, 0, 0)
                                     : BASS_StreamCreateFile(FALSE, c.path.c_str(), 0, 0, 0);
        const std::vector<short> heard = playToEnd(played);
        BASS_StreamFree(played);

        const HSTREAM decode =
            c.wma ? BASS_WMA_StreamCreateFile(FALSE, c.path.c_str(), 0, 0, BASS_STREAM_DECODE)
                  : BASS_StreamCreateFile(FALSE, c.path.c_str(), 0, 0, BASS_STREAM_DECODE);
        ASSERT_NE(decode, 0u);
        DWORD rate = 0;
        EXPECT_TRUE(BASS_ChannelGetAttributes(decode, &rate, nullptr, nullptr));
        EXPECT_EQ(rate, 44100u);
        // Read on another thread while the output renders: the output stays silent.
        std::vector<short> decoded;
        std::thread reader([&] { decoded = readAll(decode); });
        const std::vector<short> mix = render(44100);
        reader.join();
        EXPECT_EQ(peak(mix, 0), 0);
        EXPECT_FALSE(BASS_StreamPlay(decode, FALSE, 0));
        ASSERT_EQ(decoded.size(), heard.size());
        EXPECT_TRUE(decoded == heard);
        EXPECT_TRUE(BASS_StreamFree(decode));
        EXPECT_EQ(BASS_ChannelGetData(decode, decoded.data(), 4), static_cast<DWORD>(-1));
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    }
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, "/nonexistent.mp3", 0, 0, BASS_STREAM_DECODE), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
}
