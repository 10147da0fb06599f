#pragma once
// A walk over the frames of an MPEG audio file (MP1/MP2/MP3) that gives the
// same packets, timestamps, priming and padding marks as the demuxer's packet
// scan, from the frame headers alone and in large block reads. Only a plain
// file takes the walk: frames back to back from the first one to the end of
// the file (or to an ID3v1 block), one version, layer and sample rate
// throughout; anything else is left to the demuxer.
#include "platform/audio/file_blocks.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace audio {

// One frame header's facts.
struct MpegHeader {
    int size = 0;       // bytes of the whole frame, header included
    int samples = 0;    // per channel
    int sampleRate = 0; // Hz
    int layer = 0;      // 1..3
    bool lsf = false;   // MPEG-2 or 2.5
    bool mono = false;
};

// The four header bytes (big-endian) as a header; nothing for bytes that are
// no header, or one of free format.
std::optional<MpegHeader> parseMpegHeader(std::uint32_t word);

// A seek index entry as the demuxer lists a packet: byte position, timestamp
// (stream time base), bytes.
struct PacketIndexEntry {
    std::int64_t position, timestamp;
    int size;
};

// Where the walk starts: the demuxer's first packet.
struct MpegWalkStart {
    std::int64_t position = 0;    // byte of the first frame
    int size = 0;                 // its bytes
    std::int64_t duration = 0;    // its length in timestamp units
    std::int64_t skipStart = 0;   // priming samples marked on it (the encoder delay)
    std::int64_t timeBaseDen = 0; // timestamps count 1/timeBaseDen s, from 0 at the first frame
};

struct MpegWalk {
    std::int64_t lengthFrames = 0; // samples of all frames less priming and padding
    std::vector<PacketIndexEntry> entries;
};

// Walks `file` from `start`; nothing when the file is not a plain one.
std::optional<MpegWalk> walkMpegFrames(FileBlocks& file, const MpegWalkStart& start);

} // namespace audio
