#pragma once
// The public frame enumeration, the frame kinds, and the 7-bit integer
// packing of the tag size.
#include "tagweave/tagweave_export.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tagweave {

// The twelve well-known frames a caller can get and set by name.
enum eID3FrameIDs : std::int32_t {
    eTrack = 1,
    eTitle = 2,
    eArtist = 3,
    eAlbum = 4,
    eYear = 5,
    eGenre = 6,
    eComment = 7,
    eComposer = 8,
    eOrigArtist = 9,
    eCopyright = 10,
    eURL = 11,
    eEncodedBy = 12,
};

// What a frame ID is read as: the ten text IDs, "COMM", "WXXX"; anything else
// is unknown (kept as an opaque frame).
enum class FrameKind { Unknown, Text, Comment, Web };

// The 4-character frame ID of an enumeration value; a value outside 1..12
// raises 108 from "ID3v2::LookupFrameID".
TAGWEAVE_EXPORT QString LookupFrameID(eID3FrameIDs id);

// The kind a frame of this ID is read and created as.
TAGWEAVE_EXPORT FrameKind KindOfFrameID(const QString& frameId);

// Fills `bytes` with four 7-bit groups of `value`, most significant first.
// Values 0 .. 2^28 - 1 round-trip through ByteToLong.
TAGWEAVE_EXPORT void LongToByte(std::int32_t value, QByteArray& bytes);
// Sum of byte i * 2^(21 - 7 i), i = 0..3, each byte taken whole.
// Fewer than four bytes raises 113 from "ByteToLong".
TAGWEAVE_EXPORT std::int32_t ByteToLong(const QByteArray& bytes);

// Direction 1 multiplies `value` by 2^bits, direction 2 divides by 2^bits
// (integer division). A result outside the 32-bit range raises overflow (6)
// from "Shift"; another direction or a bit count outside 0..31 raises 5.
enum eShiftDirection : std::int32_t { eShiftLeft = 1, eShiftRight = 2 };
TAGWEAVE_EXPORT std::int32_t Shift(std::int32_t value, std::int32_t bits, std::int32_t direction);

} // namespace tagweave
