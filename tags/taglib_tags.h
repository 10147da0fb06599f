#pragma once
// The tags of the song containers that carry their own (Vorbis comments of
// FLAC, Ogg Vorbis and Opus, MP4 atoms, the ID3 chunk of AIFF), read through
// TagLib. UI thread; files are opened, read and closed within each call.
#include <QString>
#include <optional>

namespace tags {

struct SongTags {
    QString title, artist, album, year, genre, comment, track;
};

// The tags of a FLAC, AIFF, MP4/M4A, Ogg Vorbis or Opus file; nullopt for a
// file of another type, or one TagLib cannot read.
std::optional<SongTags> readSongTags(const QString& path);

} // namespace tags
