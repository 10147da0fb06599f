#pragma once
// Writing a song's ID3v1 tag: the 128-byte block at the end of the file.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tags {

// The five texts of the tag editor's ID3v1 view.
struct Id3v1Record {
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
};

// "TAG", then title, artist, album (30 bytes each), year (4), comment (30),
// each cut to its width or filled up with spaces, and the genre byte.
// Characters are ISO-8859-1 bytes.
QByteArray id3v1Block(const Id3v1Record& record, std::uint8_t genre);

// The characters of the record that ISO-8859-1 cannot hold, each once, in
// the order they appear ("" when everything can be stored).
QString id3v1Unstorable(const Id3v1Record& record);

// Replaces the file's ID3v1 tag, or appends one when it has none. The genre
// byte of an existing tag is kept; a new tag gets 255 (no genre). A
// read-only file is made writable. The file is rewritten through a
// temporary file, so a failure leaves it as it was. Returns "" on success,
// else the description of the error.
QString write_id3v1_tag(const QString& path, const Id3v1Record& record);

} // namespace tags
