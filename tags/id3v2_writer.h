#pragma once
// Saving the tag editor's six ID3v2 values through the tag library.
#include <QString>

namespace tags {

struct Id3v2Texts {
    QString title, artist, album, year, genre, comment;
};

// The version of the ID3v2 tag at the start of the file (2, 3, 4, ...), or 0
// when it has none or cannot be read.
int id3v2MajorVersion(const QString& path);

// Reads the file's tag (so every other frame is written back as it was),
// sets title, artist, album, year, genre and comment, in this order, each
// without control characters, and writes the tag (a read-only file is made
// writable). Returns 1 when all calls succeeded, 0 when the library raised an
// error; `error` then holds its description.
int write_id3v2_tag(const QString& path, const Id3v2Texts& texts, QString* error = nullptr);

} // namespace tags
