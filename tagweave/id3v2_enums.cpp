#include "tagweave/id3v2_enums.h"

#include "platform/com/com_error.h"
#include "tagweave/errors.h"

#include <array>

namespace tagweave {

namespace {

struct KnownFrame {
    const char* id;
    FrameKind kind;
};

// Indexed by enumeration value - 1.
constexpr std::array<KnownFrame, 12> kKnownFrames{{
    {"TRCK", FrameKind::Text},
    {"TIT2", FrameKind::Text},
    {"TPE1", FrameKind::Text},
    {"TALB", FrameKind::Text},
    {"TYER", FrameKind::Text},
    {"TCON", FrameKind::Text},
    {"COMM", FrameKind::Comment},
    {"TCOM", FrameKind::Text},
    {"TOPE", FrameKind::Text},
    {"TCOP", FrameKind::Text},
    {"WXXX", FrameKind::Web},
    {"TENC", FrameKind::Text},
}};

} // namespace

QString LookupFrameID(eID3FrameIDs id) {
    const auto value = static_cast<std::int32_t>(id);
    if (value < 1 || value > static_cast<std::int32_t>(kKnownFrames.size()))
        RaiseError(msgUnknownFrameID, QStringLiteral("ID3v2::LookupFrameID"),
                   {QStringLiteral("%FRAMEID%")}, {QString::number(value)});
    return QString::fromLatin1(kKnownFrames[static_cast<std::size_t>(value - 1)].id);
}

FrameKind KindOfFrameID(const QString& frameId) {
    for (const KnownFrame& known : kKnownFrames)
        if (frameId == QLatin1String(known.id))
            return known.kind;
    return FrameKind::Unknown;
}

void LongToByte(std::int32_t value, QByteArray& bytes) {
    bytes.resize(4);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (21 - 7 * i)) & 127);
}

std::int32_t ByteToLong(const QByteArray& bytes) {
    if (bytes.size() < 4)
        RaiseError(msgArraySize, QStringLiteral("ByteToLong"));
    std::int32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value += static_cast<std::int32_t>(static_cast<std::uint8_t>(bytes[i])) << (21 - 7 * i);
    return value;
}

std::int32_t Shift(std::int32_t value, std::int32_t bits, std::int32_t direction) {
    const QString source = QStringLiteral("Shift");
    if ((direction != eShiftLeft && direction != eShiftRight) || bits < 0 || bits > 31)
        throw com::ComError(5, source, QStringLiteral("Invalid procedure call or argument"));
    const std::int64_t factor = std::int64_t{1} << bits;
    if (direction == eShiftRight)
        return static_cast<std::int32_t>(value / factor);
    const std::int64_t result = static_cast<std::int64_t>(value) * factor;
    if (result < INT32_MIN || result > INT32_MAX)
        throw com::ComError(6, source, QStringLiteral("Overflow"));
    return static_cast<std::int32_t>(result);
}

} // namespace tagweave
