#pragma once
// Title, artist and album guessed from a song's file name, and from the
// names of the folders above it when the file name alone gives no title.
#include <QString>

namespace tags {

// The six fields of an ID3v1 tag, as read or guessed (untrimmed).
struct Mp3Fields {
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    QString genre;
};

// `text` without leading and trailing spaces (other blanks stay).
QString trimSpaces(const QString& text);

// Number of separators in `text`: pieces after splitting minus one; 0 for "".
int count_of(const QString& text, const QString& separator);

// "/a/b/c.mp3" -> "/a/b - c.mp3": the folder path and the file name joined by
// " - ", both trimmed.
QString parent_and_name(const QString& path);

// Guesses from "Artist - 05 - Title.mp3", "(Band) - Song.mp3",
// "My_Song.mp3" and the like; folders are tried when no title is found.
Mp3Fields guess_from_name(const QString& path);

} // namespace tags
