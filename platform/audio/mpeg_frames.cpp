#include "platform/audio/mpeg_frames.h"

#include <algorithm>
#include <cstring>

namespace audio {
namespace {

// Bits that stay the same in every frame of a plain file: sync, version,
// layer and sample rate.
constexpr std::uint32_t streamMask = 0xFFE00000u | 3u << 19 | 3u << 17 | 3u << 10;
constexpr std::size_t id3v1Size = 128;
constexpr std::size_t id3v2HeaderSize = 10;
// Tags in front of the first frame that the walk passes over, at most.
constexpr int maxLeadingTags = 16;
// Samples the decoder delays its output by, on top of the encoder's delay.
constexpr std::int64_t decoderDelay = 528 + 1;

// Bit rates in kbit/s by [MPEG-2/2.5][layer - 1][index].
constexpr int bitRates[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
constexpr int baseRates[3] = {44100, 48000, 32000};

std::uint32_t bigEndian(const std::uint8_t* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | p[i];
    return value;
}

// The samples the demuxer marks to discard at the end: those from
// `firstDiscard` on, in frames that start before `lastDiscard` (0 = none).
struct EndPadding {
    std::int64_t firstDiscard = 0, lastDiscard = 0;
};

// Length of the ID3v2 tag at `p` (header and footer included), 0 if none.
std::int64_t id3v2Length(const std::uint8_t* p) {
    if (std::memcmp(p, "ID3", 3) != 0 || p[3] == 0xFF || p[4] == 0xFF ||
        ((p[6] | p[7] | p[8] | p[9]) & 0x80) != 0)
        return 0;
    const std::int64_t body =
        (p[6] & 0x7F) << 21 | (p[7] & 0x7F) << 14 | (p[8] & 0x7F) << 7 | (p[9] & 0x7F);
    return body + static_cast<std::int64_t>(id3v2HeaderSize) * ((p[5] & 0x10) ? 2 : 1);
}

// The end padding of a file whose first frame the demuxer marks with
// `start.skipStart` priming samples: read from the encoder's info frame
// (Xing/Info with the encoder's delays) that sits after the ID3v2 tags and
// that the demuxer passed over. Nothing when that frame is not where the
// demuxer found it or its delays do not give the priming the demuxer marked.
std::optional<EndPadding> endPadding(FileBlocks& file, const MpegWalkStart& start) {
    if (start.skipStart == 0)
        return EndPadding{}; // no encoder delays were read: nothing is padding
    std::int64_t at = 0;
    for (int tags = 0; tags < maxLeadingTags; ++tags) {
        const std::uint8_t* head = file.bytesAt(at, id3v2HeaderSize);
        const std::int64_t length = head ? id3v2Length(head) : 0;
        if (length == 0)
            break;
        at += length;
    }
    const std::uint8_t* word = file.bytesAt(at, 4);
    const std::optional<MpegHeader> info =
        word ? parseMpegHeader(bigEndian(word, 4)) : std::nullopt;
    if (!info || info->layer != 3 || at + info->size != start.position)
        return std::nullopt;
    // The tag follows the side information.
    const int sideInfo = info->lsf ? (info->mono ? 9 : 17) : (info->mono ? 17 : 32);
    // "Xing", flags, frames, bytes, table, quality, then the encoder's block.
    constexpr std::size_t longestTag = 4 + 4 + 4 + 4 + 100 + 4 + 24;
    const std::int64_t tagAt = at + 4 + sideInfo;
    const std::uint8_t* tag = file.bytesAt(tagAt, longestTag);
    if (!tag || (std::memcmp(tag, "Xing", 4) != 0 && std::memcmp(tag, "Info", 4) != 0))
        return std::nullopt;
    const std::uint32_t flags = bigEndian(tag + 4, 4);
    std::size_t field = 8;
    std::int64_t frames = 0, bytes = 0;
    if (flags & 1) {
        frames = bigEndian(tag + field, 4);
        field += 4;
    }
    if (flags & 2) {
        bytes = bigEndian(tag + field, 4);
        field += 4;
    }
    field += (flags & 4) ? 100 : 0;
    field += (flags & 8) ? 4 : 0;
    const std::uint8_t* encoder = tag + field;
    if (std::memcmp(encoder, "LAME", 4) != 0 && std::memcmp(encoder, "Lavf", 4) != 0 &&
        std::memcmp(encoder, "Lavc", 4) != 0)
        return std::nullopt;
    // Version (9), revision, low-pass, peak (4), two gains (2 + 2), flags,
    // bit rate, then the delays: 12 bits at the start, 12 at the end.
    const std::uint32_t delays = bigEndian(encoder + 21, 3);
    const std::int64_t startPadding = delays >> 12, endSamples = delays & 4095;
    if (startPadding + decoderDelay != start.skipStart)
        return std::nullopt;
    // The demuxer drops the frame count of a tag whose byte count is far from
    // the file's; near that line the walk leaves the file to the demuxer.
    const std::int64_t fileBytes = std::max<std::int64_t>(file.size() - (at + 4), 0);
    if (fileBytes > 0 && bytes > 0) {
        const std::int64_t smaller = std::min(fileBytes, bytes);
        if (std::max(fileBytes, bytes) - smaller > smaller >> 5)
            return std::nullopt;
    }
    EndPadding padding;
    if (frames > 0) {
        const std::int64_t total = frames * (info->lsf ? 576 : 1152);
        padding.firstDiscard = total - endSamples + decoderDelay;
        padding.lastDiscard = total;
    }
    return padding;
}

} // namespace

std::optional<MpegHeader> parseMpegHeader(std::uint32_t word) {
    const std::uint32_t version = word >> 19 & 3; // 0: 2.5, 1: reserved, 2: 2, 3: 1
    const std::uint32_t layerBits = word >> 17 & 3;
    const std::uint32_t bitRateIndex = word >> 12 & 15;
    const std::uint32_t rateIndex = word >> 10 & 3;
    const std::uint32_t emphasis = word & 3;
    if ((word & 0xFFE00000u) != 0xFFE00000u || version == 1 || layerBits == 0 ||
        bitRateIndex == 0 || bitRateIndex == 15 || rateIndex == 3 || emphasis == 2)
        return std::nullopt;
    MpegHeader header;
    header.layer = 4 - static_cast<int>(layerBits);
    header.lsf = version != 3;
    header.mono = (word >> 6 & 3) == 3;
    header.sampleRate = baseRates[rateIndex] >> (header.lsf ? (version == 0 ? 2 : 1) : 0);
    const int padding = static_cast<int>(word >> 9 & 1);
    const int kbits = bitRates[header.lsf][header.layer - 1][bitRateIndex];
    switch (header.layer) {
    case 1:
        header.size = (kbits * 12000 / header.sampleRate + padding) * 4;
        header.samples = 384;
        break;
    case 2:
        header.size = kbits * 144000 / header.sampleRate + padding;
        header.samples = 1152;
        break;
    default:
        header.size = kbits * 144000 / (header.sampleRate << (header.lsf ? 1 : 0)) + padding;
        header.samples = header.lsf ? 576 : 1152;
        break;
    }
    return header;
}

std::optional<MpegWalk> walkMpegFrames(FileBlocks& file, const MpegWalkStart& start) {
    if (!file.opened() || start.timeBaseDen <= 0)
        return std::nullopt;
    const std::uint8_t* word = file.bytesAt(start.position, 4);
    if (!word)
        return std::nullopt;
    const std::uint32_t firstBits = bigEndian(word, 4);
    const std::optional<MpegHeader> first = parseMpegHeader(firstBits);
    if (!first || first->size != start.size || start.timeBaseDen % first->sampleRate != 0 ||
        start.duration != first->samples * (start.timeBaseDen / first->sampleRate))
        return std::nullopt;
    const std::optional<EndPadding> padding = endPadding(file, start);
    if (!padding)
        return std::nullopt;
    const std::uint32_t streamBits = firstBits & streamMask;
    const std::int64_t ticksPerSample = start.timeBaseDen / first->sampleRate;

    MpegWalk walk;
    walk.entries.reserve(
        static_cast<std::size_t>((file.size() - start.position) / first->size + 16));
    std::int64_t at = start.position, samples = 0, discarded = 0;
    for (;;) {
        const std::int64_t remaining = file.size() - at;
        if (remaining == 0)
            break;
        const std::uint8_t* bytes = file.bytesAt(at, 4);
        if (!bytes)
            return std::nullopt;
        const std::uint32_t bits = bigEndian(bytes, 4);
        if (static_cast<std::size_t>(remaining) == id3v1Size && std::memcmp(bytes, "TAG", 3) == 0)
            break;
        const std::optional<MpegHeader> header = parseMpegHeader(bits);
        if (!header || (bits & streamMask) != streamBits || header->size > remaining)
            return std::nullopt;
        walk.entries.push_back({at, samples * ticksPerSample, header->size});
        const std::int64_t end = samples + header->samples;
        if (padding->firstDiscard != 0 && end >= padding->firstDiscard &&
            samples < padding->lastDiscard)
            discarded += std::min<std::int64_t>(end - padding->firstDiscard, header->samples);
        samples = end;
        at += header->size;
    }
    walk.lengthFrames = samples - start.skipStart - discarded;
    return walk;
}

} // namespace audio
