#pragma once
// Decoding one file through FFmpeg into 16-bit stereo frames at the file's own
// sample rate (mono doubled, more channels mixed down). Frame indices count
// from the first sample a straight decode gives (encoder delay removed).
// Not thread-safe: the owning stream serialises every call.
#include "platform/audio/mpeg_frames.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

namespace audio {

// Which library opens a file: MPEG audio, RIFF WAV, FLAC, AIFF, MP4 (AAC,
// ALAC), Ogg (Vorbis, Opus), or ASF containers.
enum class Family { Main, Wma };

class Decoder {
public:
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // Opens the container and reads its header only (no decoding). On failure
    // returns null and sets `error` (file-open or format error).
    static std::unique_ptr<Decoder> open(const std::string& path, Family family, int& error);

    // Opens the codec. Idempotent; false when the stream cannot be decoded.
    bool activate();
    bool active() const { return active_; }

    // The exact length and the origin of an MPEG audio file and its seek
    // index, from reading every packet once (no decoding) through a demuxer
    // of its own; of an ASF file, from decoding its first and last packets
    // through a decoder of its own.
    struct PacketScan {
        bool ok = false;
        std::int64_t lengthFrames = 0;
        std::int64_t originFrames = 0;
        // Seeks must decode from the start to sound as a straight decode does.
        bool replayFromStart = false;
        std::vector<PacketIndexEntry> entries;
    };
    // True when lengths and seeks are exact already (WAV, or scanned).
    bool exact() const { return exact_; }
    // Reads the packets; touches nothing of this decoder, so it may run
    // while another thread decodes.
    PacketScan scanPackets() const;
    // Takes the scan's length and index (call with decoding paused).
    void applyScan(const PacketScan& scan);

    int sampleRate() const { return sampleRate_; }
    // Length in frames (exact for WAV and once scanned, else from the header).
    std::int64_t lengthFrames() const { return lengthFrames_; }
    const std::string& formatName() const { return formatName_; }

    // Decodes up to `maxFrames` frames into `out` (interleaved stereo); 0 = end.
    std::size_t read(std::int16_t* out, std::size_t maxFrames);
    // Index of the next frame `read` delivers.
    std::int64_t nextFrame() const { return nextFrame_; }
    // Positions the decoder so that `read` continues exactly at `frame`.
    bool seek(std::int64_t frame);

private:
    Decoder() = default;
    bool openCodec();
    void resetDecoding(std::int64_t discardUntil);
    bool seekBefore(std::int64_t frame, std::int64_t preroll);
    bool sendFirstPacketBefore(std::int64_t position);
    std::int64_t finalPagePosition();
    bool replay(std::int64_t frame);
    // Every packet's length read once; `walkMpeg` walks a plain MPEG file's
    // frame headers instead where it can.
    PacketScan scanMpegPackets(bool walkMpeg) const;
    PacketScan probeAsfEnds() const;
    bool decodeFrame(std::int16_t* direct, std::size_t room, std::size_t& done);
    // decodeFrame() for 16-bit PCM: the packet's bytes are the samples.
    bool readPcmPacket(std::int16_t* direct, std::size_t room, std::size_t& done);
    // Where the decoded frame `frame_` starts (frame index), or discardUntil_
    // when it carries no timestamp.
    std::int64_t indexOfDecoded();
    int prepareConversion(const AVFrame* frame);
    int convert(const AVFrame* frame, std::int16_t* out, int capacity);
    std::int64_t framesFromTimestamp(std::int64_t ts) const;
    // A timestamp in frames, put on the codec's frame grid (ASF timestamps
    // count whole milliseconds, while every WMA frame starts on the grid).
    std::int64_t gridFrames(std::int64_t ts) const;

    std::string path_;
    Family family_ = Family::Main;
    std::string formatName_;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    SwrContext* swr_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    int streamIndex_ = -1;
    int sampleRate_ = 0;
    int swrChannels_ = 0;
    int swrFormat_ = -1;
    std::uint64_t swrLayoutMask_ = 0;
    bool active_ = false;
    bool exact_ = false;
    bool draining_ = false;
    bool ended_ = false;
    std::int64_t lengthFrames_ = 0;
    std::int64_t dataOffset_ = 0;   // where the header ends
    std::int64_t originFrames_ = 0; // timestamp (in frames) of frame index 0
    std::int64_t frameGrid_ = 1;    // samples per codec frame, where timestamps are coarser
    std::int64_t nextFrame_ = 0;
    std::int64_t discardUntil_ = 0; // frames before this index are dropped
    // Take the next frame's index from its timestamp (after a seek; a fresh
    // decoder's first frame is frame 0 by definition).
    bool resync_ = false;
    // Every frame decoded so far came from a fresh codec fed from the first packet.
    bool straightPath_ = true;
    bool replayFromStart_ = false;
    // 16-bit PCM in one or two channels (WAV, AIFF): read from the packets
    // without the codec; big-endian (AIFF) samples are swapped.
    bool pcmPackets_ = false;
    bool pcmBigEndian_ = false;
    int pcmChannels_ = 0;
    // The container's length is exact and output stops there (the codec's
    // end padding is dropped).
    bool trimEnd_ = false;
    std::int64_t preroll_ = 0;    // frames decoded before a seek target
    std::int64_t finalPage_ = -2; // byte position of an Ogg stream's final page; -2 unknown yet
    std::int64_t firstOutputFrames_ =
        -1; // timestamp (grid frames) of a fresh decoder's first frame
    std::vector<std::int16_t> converted_; // one decoded mono frame
    std::vector<std::int16_t> pending_;   // stereo frames not yet handed out
    std::size_t pendingOffset_ = 0;       // in frames
};

} // namespace audio
