#pragma once
// The strings of a frame body in the frame's text encoding (0 ISO-8859-1,
// 1 UTF-16 with byte-order mark; see platform/system/tag_text.h). A field
// may hold several strings, each ended by its terminator; in our text they
// are separated by NUL characters, and a field that ends with its terminator
// ends with a NUL, so "a" NUL "b" NUL reads and writes as two terminated
// strings.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string_view>

namespace tagweave {

// All of `bytes`, NULs included.
inline std::string_view bytesView(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// The first string of `bytes` and where the bytes after its terminator
// start (bytes.size() when it has none).
struct FirstString {
    QString text; // ends with a NUL when the string had its terminator
    std::size_t next = 0;
};
FirstString DecodeFirstString(std::uint8_t encoding, std::string_view bytes);

// Every string of `bytes`, NUL-separated as described above.
QString DecodeStrings(std::uint8_t encoding, std::string_view bytes);

// `text` written in `encoding`: each NUL-separated string encoded on its own
// (in UTF-16 with its own byte-order mark), each NUL a terminator.
QByteArray EncodeStrings(std::uint8_t encoding, const QString& text);

// A URL as ISO-8859-1 bytes: characters beyond it are written as their
// UTF-8 bytes in %XX form, as a URI carries them.
QByteArray EncodeUrl(const QString& url);

} // namespace tagweave
