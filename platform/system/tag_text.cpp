#include "platform/system/tag_text.h"

namespace sys {

namespace {

bool isUtf16(std::uint8_t encoding) {
    return encoding == 1 || encoding == 2;
}

QString decodeUtf16(std::string_view bytes, bool bigEndianByDefault, bool honourMark) {
    bool bigEndian = bigEndianByDefault;
    std::size_t pos = 0;
    if (honourMark && bytes.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(bytes[0]);
        const auto b1 = static_cast<unsigned char>(bytes[1]);
        if (b0 == 0xFF && b1 == 0xFE) {
            bigEndian = false;
            pos = 2;
        } else if (b0 == 0xFE && b1 == 0xFF) {
            bigEndian = true;
            pos = 2;
        }
    }
    QString out;
    out.reserve(static_cast<qsizetype>((bytes.size() - pos) / 2));
    while (bytes.size() - pos >= 2) {
        const auto hi = static_cast<unsigned char>(bytes[pos + (bigEndian ? 0 : 1)]);
        const auto lo = static_cast<unsigned char>(bytes[pos + (bigEndian ? 1 : 0)]);
        out.append(QChar(static_cast<char16_t>((hi << 8) | lo)));
        pos += 2;
    }
    return out;
}

} // namespace

std::size_t tagTextTerminatorSize(std::uint8_t encoding) {
    return isUtf16(encoding) ? 2 : 1;
}

std::size_t tagTextLength(std::uint8_t encoding, std::string_view bytes) {
    if (!isUtf16(encoding)) {
        const std::size_t zero = bytes.find('\0');
        return zero == std::string_view::npos ? bytes.size() : zero;
    }
    for (std::size_t pos = 0; bytes.size() - pos >= 2; pos += 2)
        if (bytes[pos] == '\0' && bytes[pos + 1] == '\0')
            return pos;
    return bytes.size();
}

QString decodeTagText(std::uint8_t encoding, std::string_view bytes) {
    bytes = bytes.substr(0, tagTextLength(encoding, bytes));
    switch (encoding) {
    case 1:
        return decodeUtf16(bytes, false, true);
    case 2:
        return decodeUtf16(bytes, true, false);
    case 3:
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    default:
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
}

bool fitsLatin1(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

QByteArray encodeTagText(std::uint8_t encoding, const QString& text) {
    QByteArray out;
    switch (encoding) {
    case 1:
    case 2: {
        const bool bigEndian = encoding == 2;
        out.reserve(2 + 2 * text.size());
        if (!bigEndian)
            out.append("\xFF\xFE", 2);
        for (QChar c : text) {
            const char hi = static_cast<char>(c.unicode() >> 8);
            const char lo = static_cast<char>(c.unicode() & 0xFF);
            out.append(bigEndian ? hi : lo);
            out.append(bigEndian ? lo : hi);
        }
        return out;
    }
    case 3:
        return text.toUtf8();
    default:
        out.reserve(text.size());
        for (QChar c : text)
            out.append(static_cast<char>(c.unicode() & 0xFF));
        return out;
    }
}

} // namespace sys
