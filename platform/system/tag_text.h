#pragma once
// ID3v2 text by its encoding byte: 0 ISO-8859-1, 1 UTF-16 with byte-order
// mark, and in version 4 tags also 2 UTF-16BE and 3 UTF-8. Every reader of
// ID3v2 frames (the tag library, the title readers, the tag editor) decodes
// and encodes through here, so a frame reads the same wherever it is shown.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sys {

// Size in bytes of the string terminator of an encoding: 2 for the UTF-16
// encodings (1, 2), else 1.
std::size_t tagTextTerminatorSize(std::uint8_t encoding);

// Where the first string of `bytes` ends: the offset of its terminator (a
// zero byte, or for UTF-16 an aligned zero unit), or bytes.size() when it has
// none. The next string starts at that offset + tagTextTerminatorSize.
std::size_t tagTextLength(std::uint8_t encoding, std::string_view bytes);

// The first string of `bytes` as text. UTF-16 (1) follows its byte-order
// mark (little-endian when there is none); an odd last byte is dropped.
// An unknown encoding byte reads as ISO-8859-1.
QString decodeTagText(std::uint8_t encoding, std::string_view bytes);

// True when every character of `text` fits ISO-8859-1.
bool fitsLatin1(const QString& text);

// `text` in an encoding, without terminator: 0 one byte a character (only
// for text that fits), 1 UTF-16LE with byte-order mark (the mark even for an
// empty text), 2 UTF-16BE, 3 UTF-8.
QByteArray encodeTagText(std::uint8_t encoding, const QString& text);

// The encoding a written frame uses: 0 when the text fits ISO-8859-1, else 1.
inline std::uint8_t tagTextEncodingFor(const QString& text) {
    return fitsLatin1(text) ? 0 : 1;
}

} // namespace sys
