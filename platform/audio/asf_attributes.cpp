#include "platform/audio/asf_attributes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string_view>

namespace audio {
namespace {

using Guid = std::array<std::uint8_t, 16>;

// Object identifiers as stored (the first three fields little-endian).
constexpr Guid headerObject = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                               0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr Guid contentDescription = {0x33, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                     0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr Guid extendedContentDescription = {0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11,
                                             0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50};
constexpr Guid headerExtension = {0xB5, 0x03, 0xBF, 0x5F, 0x2E, 0xA9, 0xCF, 0x11,
                                  0x8E, 0xE3, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr Guid metadataObject = {0xEA, 0xCB, 0xF8, 0xC5, 0xAF, 0x5B, 0x77, 0x48,
                                 0x84, 0x67, 0xAA, 0x8C, 0x44, 0xFA, 0x4C, 0xCA};
constexpr Guid metadataLibrary = {0x94, 0x1C, 0x23, 0x44, 0x98, 0x94, 0xD1, 0x49,
                                  0xA1, 0x41, 0x1D, 0x13, 0x4E, 0x45, 0x70, 0x54};

// Largest header read (pictures aside, attributes are small).
constexpr std::uint64_t maxHeaderBytes = 64 * 1024 * 1024;

// A bounds-checked little-endian reader over bytes held in memory; a read
// past the end fails and leaves the reader failed.
class Bytes {
public:
    explicit Bytes(std::string_view data) : data_(data) {}
    bool ok() const { return ok_; }
    std::size_t remaining() const { return data_.size() - at_; }
    std::string_view take(std::uint64_t size) {
        if (!ok_ || size > remaining()) {
            ok_ = false;
            return {};
        }
        const std::string_view part = data_.substr(at_, static_cast<std::size_t>(size));
        at_ += static_cast<std::size_t>(size);
        return part;
    }
    std::uint64_t number(int size) {
        const std::string_view part = take(static_cast<std::uint64_t>(size));
        std::uint64_t value = 0;
        for (std::size_t i = part.size(); i-- > 0;)
            value = value << 8 | static_cast<std::uint8_t>(part[i]);
        return value;
    }
    bool guidIs(const Guid& guid) {
        const std::string_view part = take(guid.size());
        return ok_ && std::memcmp(part.data(), guid.data(), guid.size()) == 0;
    }

private:
    std::string_view data_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | code >> 6));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | code >> 12));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | code >> 18));
        out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// UTF-16LE up to its first zero unit as UTF-8; a lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::string_view bytes) {
    std::string out;
    Bytes in(bytes);
    while (in.remaining() >= 2) {
        std::uint32_t unit = static_cast<std::uint32_t>(in.number(2));
        if (unit == 0)
            break;
        if (unit >= 0xD800 && unit < 0xDC00 && in.remaining() >= 2) {
            Bytes peek = in;
            const auto low = static_cast<std::uint32_t>(peek.number(2));
            if (low >= 0xDC00 && low < 0xE000) {
                in = peek;
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        if (unit >= 0xD800 && unit < 0xE000)
            unit = 0xFFFD;
        appendUtf8(out, unit);
    }
    return out;
}

// A typed attribute value as text: 0 text, 2 flag, 3/4/5 numbers of 4/8/2
// bytes (a flag is 4 bytes in the extended content description, 2 in the
// metadata objects); false for binary values and GUIDs.
bool valueText(int type, std::string_view value, std::string& text) {
    if (type == 0) {
        text = utf16ToUtf8(value);
        return true;
    }
    if (type < 2 || type > 5 || value.size() > 8)
        return false;
    Bytes in(value);
    text = std::to_string(in.number(static_cast<int>(value.size())));
    return true;
}

using Attributes = std::vector<std::pair<std::string, std::string>>;

void readContentDescription(Bytes body, Attributes& out) {
    static const char* const names[] = {"Title", "Author", "Copyright", "Description", "Rating"};
    std::uint64_t lengths[5];
    for (auto& length : lengths)
        length = body.number(2);
    for (int i = 0; i < 5; ++i) {
        const std::string value = utf16ToUtf8(body.take(lengths[i]));
        if (body.ok() && !value.empty())
            out.emplace_back(names[i], value);
    }
}

void readExtendedContentDescription(Bytes body, Attributes& out) {
    const std::uint64_t count = body.number(2);
    for (std::uint64_t i = 0; i < count && body.ok(); ++i) {
        const std::string name = utf16ToUtf8(body.take(body.number(2)));
        const int type = static_cast<int>(body.number(2));
        const std::string_view value = body.take(body.number(2));
        std::string text;
        if (body.ok() && valueText(type, value, text))
            out.emplace_back(name, text);
    }
}

// The metadata object and the metadata library share one record layout.
void readMetadataRecords(Bytes body, Attributes& out) {
    const std::uint64_t count = body.number(2);
    for (std::uint64_t i = 0; i < count && body.ok(); ++i) {
        body.take(4); // language index, stream number
        const std::uint64_t nameLength = body.number(2);
        const int type = static_cast<int>(body.number(2));
        const std::uint64_t valueLength = body.number(4);
        const std::string name = utf16ToUtf8(body.take(nameLength));
        const std::string_view value = body.take(valueLength);
        std::string text;
        if (body.ok() && valueText(type, value, text))
            out.emplace_back(name, text);
    }
}

// Objects one after another, each a GUID, a 64-bit size (header included)
// and a body.
template <typename Visit> void forEachObject(Bytes objects, Visit&& visit) {
    while (objects.ok() && objects.remaining() >= 24) {
        const std::string_view guid = objects.take(16);
        const std::uint64_t size = objects.number(8);
        if (size < 24)
            return;
        const std::string_view body = objects.take(size - 24);
        if (!objects.ok())
            return;
        Guid id{};
        std::memcpy(id.data(), guid.data(), id.size());
        visit(id, Bytes(body));
    }
}

} // namespace

std::vector<std::pair<std::string, std::string>> readAsfAttributes(const std::string& path) {
    Attributes attributes;
    std::ifstream in(path, std::ios::binary);
    std::string start(30, '\0');
    if (!in.read(start.data(), static_cast<std::streamsize>(start.size())))
        return attributes;
    Bytes top(start);
    if (!top.guidIs(headerObject))
        return attributes;
    const std::uint64_t size = top.number(8);
    if (size < start.size() || size > maxHeaderBytes)
        return attributes;
    // The rest of the header as far as the file holds it: a damaged size
    // claiming more than the file holds reserves no more.
    in.seekg(0, std::ios::end);
    const std::uint64_t fileSize = static_cast<std::uint64_t>(in.tellg());
    in.seekg(static_cast<std::streamoff>(start.size()));
    if (!in)
        return attributes;
    std::string header(static_cast<std::size_t>(std::min(size, fileSize) - start.size()), '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    header.resize(static_cast<std::size_t>(in.gcount()));

    forEachObject(Bytes(header), [&](const Guid& id, Bytes body) {
        if (id == contentDescription) {
            readContentDescription(body, attributes);
        } else if (id == extendedContentDescription) {
            readExtendedContentDescription(body, attributes);
        } else if (id == headerExtension) {
            body.take(16 + 2); // reserved GUID and number
            const std::uint64_t length = body.number(4);
            forEachObject(Bytes(body.take(length)), [&](const Guid& inner, Bytes records) {
                if (inner == metadataObject || inner == metadataLibrary)
                    readMetadataRecords(records, attributes);
            });
        }
    });
    return attributes;
}

} // namespace audio
