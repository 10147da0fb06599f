#include "tags/id3v2_frames.h"

#include "core/program_state.h"
#include "platform/system/tag_text.h"
#include "platform/system/text.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <string_view>

namespace tags {

namespace {

constexpr qint64 kHeaderSize = 10;
constexpr std::size_t kFrameHeaderSize = 10;

std::uint32_t byteAt(std::string_view bytes, std::size_t pos) {
    return static_cast<unsigned char>(bytes[pos]);
}

// The 28-bit size of four 7-bit bytes.
std::uint32_t synchsafe(std::string_view b, std::size_t pos) {
    return (byteAt(b, pos) & 0x7F) << 21 | (byteAt(b, pos + 1) & 0x7F) << 14 |
           (byteAt(b, pos + 2) & 0x7F) << 7 | (byteAt(b, pos + 3) & 0x7F);
}

// A frame's body after the bytes its flags put in front of the data; empty
// when the body is compressed or encrypted (it is no text then).
std::string_view frameData(std::string_view body, int version, std::uint32_t flags) {
    std::size_t skip = 0;
    if (version >= 4) {
        if (flags & 0x000C) // compression, encryption
            return {};
        skip += (flags & 0x0040) ? 1 : 0; // group identifier
        skip += (flags & 0x0001) ? 4 : 0; // data length indicator
    } else {
        if (flags & 0x00C0) // compression, encryption
            return {};
        skip += (flags & 0x0020) ? 1 : 0; // group identifier
    }
    return skip > body.size() ? std::string_view() : body.substr(skip);
}

// Text of a text frame: its first string, decoded by its encoding byte. Tags
// before version 4 know only 0 and 1; other bytes read as ISO-8859-1.
QString frameText(std::string_view data, int version) {
    if (data.empty())
        return {};
    std::uint8_t encoding = static_cast<std::uint8_t>(data[0]);
    if (version < 4 && encoding > 1)
        encoding = 0;
    return sys::decodeTagText(encoding, data.substr(1));
}

struct Comment {
    bool emptyDescription = false;
    QString text;
};

// A COMM frame: encoding, three-letter language, description, text.
Comment commentOf(std::string_view data, int version) {
    if (data.size() < 4)
        return {};
    std::uint8_t encoding = static_cast<std::uint8_t>(data[0]);
    if (version < 4 && encoding > 1)
        encoding = 0;
    const std::string_view rest = data.substr(4);
    const std::size_t descriptionEnd = sys::tagTextLength(encoding, rest);
    const std::size_t textStart = descriptionEnd + sys::tagTextTerminatorSize(encoding);
    const std::string_view text =
        textStart > rest.size() ? std::string_view() : rest.substr(textStart);
    // A UTF-16 description of only a byte-order mark is empty too.
    const bool empty = descriptionEnd == 0 ||
                       sys::decodeTagText(encoding, rest.substr(0, descriptionEnd)).isEmpty();
    return {empty, sys::decodeTagText(encoding, text)};
}

QString* slotFor(core::Id3v2Values& v, std::string_view id) {
    struct Slot {
        const char* id;
        QString core::Id3v2Values::*text;
    };
    static constexpr Slot kTextFrames[] = {
        {"TIT2", &core::Id3v2Values::TIT2}, {"TPE1", &core::Id3v2Values::TPE1},
        {"TALB", &core::Id3v2Values::TALB}, {"TYER", &core::Id3v2Values::TYER},
        {"TCON", &core::Id3v2Values::TCON}, {"TCOM", &core::Id3v2Values::TCOM},
        {"TCOP", &core::Id3v2Values::TCOP}, {"TOPE", &core::Id3v2Values::TOPE},
        {"TENC", &core::Id3v2Values::TENC}, {"TRCK", &core::Id3v2Values::TRCK}};
    for (const Slot& s : kTextFrames)
        if (id == s.id)
            return &(v.*(s.text));
    return nullptr;
}

} // namespace

bool has_id3v2(const QString& path, core::Id3v2Values& values) {
    values.hasId3v2 = false;
    values.totalSize = 1;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(kHeaderSize);
    if (header.size() < 3 || !header.startsWith("ID3"))
        return false;
    values.hasId3v2 = true;
    if (header.size() < kHeaderSize)
        return true; // a cut header: the tag holds nothing readable
    const std::string_view h(header.constData(), static_cast<std::size_t>(header.size()));
    const double size = byteAt(h, 9) + 128.0 * (byteAt(h, 8) & 0x7F) +
                        16384.0 * (byteAt(h, 7) & 0x7F) + 2097152.0 * (byteAt(h, 6) & 0x7F);
    values.totalSize = size + kHeaderSize;
    return true;
}

void read_id3v2_frames(const QString& path, core::Id3v2Values& values) {
    for (QString* text :
         {&values.TIT2, &values.TPE1, &values.TALB, &values.COMM, &values.TYER, &values.TCON,
          &values.TCOM, &values.TCOP, &values.TOPE, &values.WXXX, &values.TENC, &values.TRCK})
        text->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // The whole tag as far as the file holds it; nothing past its end is read,
    // and a damaged size claiming more than the file holds reserves no more.
    const QByteArray tag = file.read(std::min(static_cast<qint64>(values.totalSize), file.size()));
    if (tag.size() < kHeaderSize || !tag.startsWith("ID3"))
        return;
    const std::string_view b(tag.constData(), static_cast<std::size_t>(tag.size()));
    const int version = static_cast<int>(byteAt(b, 3));
    std::size_t pos = kHeaderSize;
    if (byteAt(b, 5) & 0x40) { // an extended header comes first
        if (b.size() - pos < 4)
            return;
        const std::uint32_t size = version >= 4 ? synchsafe(b, pos)
                                                : (byteAt(b, pos) << 24 | byteAt(b, pos + 1) << 16 |
                                                   byteAt(b, pos + 2) << 8 | byteAt(b, pos + 3)) +
                                                      4;
        if (size > b.size() - pos)
            return;
        pos += size;
    }
    bool haveComment = false, commentHasNoDescription = false;
    while (b.size() - pos >= kFrameHeaderSize) {
        const std::string_view id = b.substr(pos, 4);
        if (id.find('\0') != std::string_view::npos)
            break; // the padding after the last frame
        const std::uint32_t size = version >= 4 ? synchsafe(b, pos + 4)
                                                : (byteAt(b, pos + 4) & 0x7F) << 24 |
                                                      byteAt(b, pos + 5) << 16 |
                                                      byteAt(b, pos + 6) << 8 | byteAt(b, pos + 7);
        const std::uint32_t flags = byteAt(b, pos + 8) << 8 | byteAt(b, pos + 9);
        pos += kFrameHeaderSize;
        if (size > b.size() - pos)
            break; // a frame running past the tag ends the reading
        const std::string_view data = frameData(b.substr(pos, size), version, flags);
        pos += size;
        if (QString* text = slotFor(values, id)) {
            *text = frameText(data, version);
        } else if (id == "COMM") {
            const Comment comment = commentOf(data, version);
            if (!haveComment || (comment.emptyDescription && !commentHasNoDescription)) {
                values.COMM = comment.text;
                haveComment = true;
                commentHasNoDescription = comment.emptyDescription;
            }
        } else if (id == "WXXX") {
            values.WXXX = sys::bytesToText(data);
        }
    }
}

} // namespace tags
