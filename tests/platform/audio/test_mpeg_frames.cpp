// The walk over an MPEG file's frame headers gives what the demuxer gives
// when it reads the file packet by packet (positions, timestamps, sizes, the
// length less priming and padding), however the file's blocks fall on the
// headers; a file that is not plain is left to the demuxer.
#include "platform/audio/mpeg_frames.h"
#include "tests/platform/audio/audio_test_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/intreadwrite.h>
}

using namespace audio_test;

namespace {

// The demuxer's packets of `path` (a file at `rate` Hz) and the first one as
// the walk's start.
struct DemuxedPackets {
    audio::MpegWalkStart start;
    audio::MpegWalk walk;
};

DemuxedPackets demux(const std::string& path, int rate) {
    DemuxedPackets out;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return out;
    const AVRational timeBase = format->streams[0]->time_base;
    out.start.timeBaseDen = timeBase.den;
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(format, packet) >= 0) {
        std::size_t sideSize = 0;
        const std::uint8_t* side =
            av_packet_get_side_data(packet, AV_PKT_DATA_SKIP_SAMPLES, &sideSize);
        const std::int64_t skipStart = side ? AV_RL32(side) : 0;
        if (out.walk.entries.empty()) {
            out.start.position = packet->pos;
            out.start.size = packet->size;
            out.start.duration = packet->duration;
            out.start.skipStart = skipStart;
        }
        out.walk.lengthFrames += av_rescale_q(packet->duration, timeBase, AVRational{1, rate}) -
                                 skipStart - (side ? AV_RL32(side + 4) : 0);
        out.walk.entries.push_back({packet->pos, packet->dts, packet->size});
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&format);
    return out;
}

} // namespace

TEST(MpegFrameWalk, GivesTheDemuxersPacketsWhereverTheBlocksEnd) {
    using fixtures::Format;
    struct Case {
        const char* name;
        Format format;
        int rate, channels;
        bool tags;
    };
    const Case cases[] = {{"walk_cbr_tags.mp3", Format::Mp3Cbr, 44100, 2, true},
                          {"walk_vbr.mp3", Format::Mp3Vbr, 22050, 1, false},
                          {"walk_mpeg25.mp3", Format::Mp3Cbr, 8000, 1, true}};
    // Every block size from the longest single read (the encoder's info) over
    // more than one frame: each header lands at every place in a block,
    // across its end too.
    constexpr std::size_t smallestBlock = 160, largestBlock = smallestBlock + 1500;
    for (const Case& c : cases) {
        fixtures::Tone tone;
        tone.format = c.format;
        tone.sampleRate = c.rate;
        tone.channels = c.channels;
        tone.id3v1 = tone.id3v2 = c.tags;
        tone.title = "Walked";
        const std::string path = fixture(c.name, tone);
        const DemuxedPackets demuxed = demux(path, c.rate);
        ASSERT_GT(demuxed.walk.entries.size(), 10u) << path;
        for (std::size_t blockSize = smallestBlock; blockSize <= largestBlock; ++blockSize) {
            SCOPED_TRACE(path + " in blocks of " + std::to_string(blockSize));
            audio::FileBlocks file(path, blockSize);
            const std::optional<audio::MpegWalk> walk = audio::walkMpegFrames(file, demuxed.start);
            ASSERT_TRUE(walk.has_value());
            EXPECT_EQ(walk->lengthFrames, demuxed.walk.lengthFrames);
            ASSERT_EQ(walk->entries.size(), demuxed.walk.entries.size());
            for (std::size_t i = 0; i < walk->entries.size(); ++i) {
                const audio::PacketIndexEntry &got = walk->entries[i],
                                              &want = demuxed.walk.entries[i];
                ASSERT_TRUE(got.position == want.position && got.timestamp == want.timestamp &&
                            got.size == want.size)
                    << "packet " << i;
            }
        }
        // Cut inside its last frame, the file is left to the demuxer.
        std::ifstream in(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        const std::filesystem::path cut = fixtureFolder() / (std::string("cut_") + c.name);
        const std::size_t tagBytes = c.tags ? 128 : 0;
        std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() - tagBytes - 7);
        audio::FileBlocks cutFile(cut.string());
        EXPECT_FALSE(audio::walkMpegFrames(cutFile, demuxed.start).has_value()) << cut;
    }
}
