#pragma once
// The byte layout of an ID3v2.3 tag: the 10-byte tag header, the frame
// headers, the walk over a tag body, and the bytes of a new tag with its
// padding to a multiple of 257 bytes.
#include "tagweave/frames.h"
#include "tagweave/tagweave_export.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tagweave {

constexpr std::int64_t kHeaderSize = 10;   // tag header and frame header alike
constexpr std::int64_t kPaddingUnit = 257; // frames plus padding are a multiple of this
constexpr std::int64_t kMaxTagSize = (std::int64_t{1} << 28) - 1; // 7-bit packed size limit

// Header flags.
constexpr std::uint8_t kFlagUnsynchronisation = 0x80;
constexpr std::uint8_t kFlagExtendedHeader = 0x40;
constexpr std::uint8_t kFlagFooter = 0x10; // version 4: a 10-byte footer follows the tag

struct TagHeader {
    bool isId3 = false;        // begins with "ID3"
    std::uint8_t major = 0;    // major version; 3 is ours
    std::uint8_t flags = 0;    // unsynchronisation, extended header, ...
    std::int64_t bodySize = 0; // bytes of frames plus padding, header not counted
};

// Reads a tag header from the first bytes of a file; missing bytes of a file
// shorter than 10 bytes count as zero.
TAGWEAVE_EXPORT TagHeader ParseTagHeader(const QByteArray& firstBytes);

// Bytes the tag occupies in the file: header, body, and a version 4 footer.
TAGWEAVE_EXPORT std::int64_t TagLength(const TagHeader& header);

// Walks a tag body and appends its frames to `frames`: text, comment and URL
// frames as their kinds, every other ID as an opaque frame. Stops at padding
// (an ID holding a NUL) or when fewer than 10 bytes remain. A frame whose
// size runs past the body raises 112 (%FILE% = `file`) from `source`.
// An unsynchronised body is restored and an extended header skipped first.
void ReadFrames(QByteArray body, std::uint8_t headerFlags, clsFrames& frames, const QString& file,
                const QString& source);

// Tag header, frames in list order and zero padding, ready to go in front of
// the audio. A tag above the 7-bit size limit raises 112 from `source`.
QByteArray BuildTag(const clsFrames& frames, const QString& file, const QString& source);

// Padding that brings `framesSize` bytes of frames to a multiple of 257.
std::int64_t PaddingFor(std::int64_t framesSize);

} // namespace tagweave
