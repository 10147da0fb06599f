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

// Sets the seven fields of `tags` in the file's own tag (an empty field is
// removed); pictures, ReplayGain values and every other field stay. The file
// is rewritten through a copy in the same folder, flushed and renamed over
// it with its permission bits (a link is followed); on failure the file is
// as it was, no copy is left and `error` says why.
bool writeSongTags(const QString& path, const SongTags& tags, QString* error);

} // namespace tags
