#pragma once
// Test songs with tags written byte by byte: ID3v2 tags of version 3 or 4
// put in front of an encoded MP3, ID3v1 blocks appended to it.
#include "tests/fixtures/fixtures.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace tag_files {

struct Frame {
    std::string id;
    std::string body; // everything after the 10-byte frame header
};

// A text frame body: the encoding byte, then the text in that encoding.
std::string text(std::uint8_t encoding, const QString& value);
// A COMM body: encoding, language, description, terminator, text.
std::string comment(std::uint8_t encoding, const QString& description, const QString& value);
// A whole tag of `version` (3 or 4; sizes synchsafe in 4) holding `frames`,
// followed by `padding` zero bytes.
std::string id3v2(int version, const std::vector<Frame>& frames, std::size_t padding = 16);
// A 128-byte ID3v1 block whose title and artist fields are filled up with `pad`.
std::string id3v1(const std::string& title, const std::string& artist, char pad);

// A 0.3 s tone of `format` without tags.
fixtures::Tone shortTone(fixtures::Format format);

// The bytes of a short tagless MP3 (made once per run).
const std::string& plainMp3();
// Every stream's packets (the audio, and pictures kept as attached
// pictures), hashed as FFmpeg reads them; empty when it cannot open the file.
QByteArray packetHash(const QString& path);
// Writes `bytes` to `path`; returns `path`.
QString write(const QString& path, const std::string& bytes);

} // namespace tag_files
