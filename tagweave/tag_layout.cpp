#include "tagweave/tag_layout.h"

#include "platform/system/text.h"
#include "tagweave/errors.h"
#include "tagweave/id3v2_enums.h"

namespace tagweave {

namespace {

std::uint32_t bigEndian32(const char* p) {
    return (std::uint32_t{static_cast<std::uint8_t>(p[0])} << 24) |
           (std::uint32_t{static_cast<std::uint8_t>(p[1])} << 16) |
           (std::uint32_t{static_cast<std::uint8_t>(p[2])} << 8) |
           std::uint32_t{static_cast<std::uint8_t>(p[3])};
}

void appendBigEndian32(QByteArray& out, std::uint32_t value) {
    out.append(static_cast<char>(value >> 24));
    out.append(static_cast<char>(value >> 16));
    out.append(static_cast<char>(value >> 8));
    out.append(static_cast<char>(value));
}

// Undoes unsynchronisation: every 0xFF 0x00 pair becomes 0xFF.
QByteArray resynchronised(const QByteArray& body) {
    QByteArray out;
    out.reserve(body.size());
    for (qsizetype i = 0; i < body.size(); ++i) {
        out.append(body[i]);
        if (static_cast<std::uint8_t>(body[i]) == 0xFF && i + 1 < body.size() && body[i + 1] == 0)
            ++i;
    }
    return out;
}

[[noreturn]] void raiseInvalidSize(const QString& file, const QString& source) {
    RaiseError(msgInvalidFileSize, source, {QStringLiteral("%FILE%")}, {file});
}

} // namespace

TagHeader ParseTagHeader(const QByteArray& firstBytes) {
    QByteArray header = firstBytes.left(kHeaderSize);
    header.append(QByteArray(kHeaderSize - header.size(), '\0'));
    TagHeader tag;
    tag.isId3 = header.startsWith("ID3");
    tag.major = static_cast<std::uint8_t>(header[3]);
    tag.flags = static_cast<std::uint8_t>(header[5]);
    tag.bodySize = ByteToLong(header.mid(6, 4));
    return tag;
}

std::int64_t TagLength(const TagHeader& header) {
    const bool footer = header.major == 4 && (header.flags & kFlagFooter);
    return kHeaderSize + header.bodySize + (footer ? kHeaderSize : 0);
}

void ReadFrames(QByteArray body, std::uint8_t headerFlags, clsFrames& frames, const QString& file,
                const QString& source) {
    if (headerFlags & kFlagUnsynchronisation)
        body = resynchronised(body);
    qsizetype pos = 0;
    const qsizetype size = body.size();
    if (headerFlags & kFlagExtendedHeader) {
        // Extended header: its own size (plain 32-bit, not counting these 4 bytes), then data.
        if (size < 4)
            raiseInvalidSize(file, source);
        const std::uint32_t extended = bigEndian32(body.constData());
        if (extended > static_cast<std::uint64_t>(size - 4))
            raiseInvalidSize(file, source);
        pos = 4 + static_cast<qsizetype>(extended);
    }
    while (pos < size) {
        const qsizetype remaining = size - pos;
        if (remaining < kHeaderSize)
            break;
        const char* header = body.constData() + pos;
        const QString id = sys::bytesToText(std::string_view(header, 4));
        if (id.contains(QChar(0)))
            break; // padding reached
        const std::uint32_t frameSize = bigEndian32(header + 4);
        if (frameSize > static_cast<std::uint64_t>(remaining - kHeaderSize))
            raiseInvalidSize(file, source);
        const QByteArray flags(header + 8, 2);
        const QByteArray frameBody = body.mid(pos + kHeaderSize, frameSize);
        pos += kHeaderSize + static_cast<qsizetype>(frameSize);

        auto frame = CreateFrame(KindOfFrameID(id));
        frame->setFrameID(id);
        frame->setFlags(flags);
        frame->parseBytes(frameBody);
        frames.Add(std::move(frame));
    }
}

std::int64_t PaddingFor(std::int64_t framesSize) {
    const std::int64_t rest = framesSize % kPaddingUnit;
    return rest == 0 ? 0 : kPaddingUnit - rest;
}

QByteArray BuildTag(const clsFrames& frames, const QString& file, const QString& source) {
    QByteArray body;
    QByteArray flags;
    QByteArray bytes;
    for (const auto& frame : frames) {
        frame->getBytes(bytes);
        frame->getFlags(flags);
        if (static_cast<std::int64_t>(body.size()) + kHeaderSize + bytes.size() > kMaxTagSize)
            raiseInvalidSize(file, source);
        body.append(sys::textToBytes(frame->FrameID()).left(4));
        appendBigEndian32(body, static_cast<std::uint32_t>(bytes.size()));
        body.append(flags.left(2));
        body.append(bytes);
    }
    const std::int64_t total = body.size();
    const std::int64_t padding = PaddingFor(total);
    if (total + padding > kMaxTagSize)
        raiseInvalidSize(file, source);

    QByteArray tag("ID3\x03\x00\x00", 6);
    QByteArray size;
    LongToByte(static_cast<std::int32_t>(total + padding), size);
    tag.append(size);
    tag.reserve(tag.size() + body.size() + padding);
    tag.append(body);
    tag.append(QByteArray(static_cast<qsizetype>(padding), '\0'));
    return tag;
}

} // namespace tagweave
