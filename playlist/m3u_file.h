#pragma once
// M3U playlist files: one path a line. Written with CR LF after every line,
// in UTF-8, through a temporary file renamed over the old one. Read with any
// line end (CR LF, LF, CR), a last line without a line end kept, directive
// lines ("#EXTM3U", "#EXTINF:...") skipped (an "#EXTINF:seconds,title" line
// gives the next entry its title), paths relative to the playlist's folder
// and file:// URIs taken as the files they name.
#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

namespace playlist {

// One entry of a playlist file: the path it names and the title that an
// "#EXTINF:seconds,title" line in front of it gives ("" when none does).
struct PlaylistEntry {
    QString path;
    QString title;
};

// True when `path` names a playlist the window opens: it ends with ".m3u" or
// ".m3u8", in any letter case.
bool isPlaylistPath(const QString& path);

// The playlist's name as its label shows it: the file name without folder
// and without the ".m3u" / ".m3u8" ending (else without its last four
// characters).
QString playlistLabel(const QString& path);

// The entries of the playlist file at `path`, each trimmed of spaces; a blank
// line gives an empty entry. A file that cannot be read, or holds a zero
// byte (a binary file), gives none.
QList<PlaylistEntry> readPlaylistEntries(const QString& path);
// The entries of a playlist file's bytes `text`, relative paths taken in
// `folder`.
QList<PlaylistEntry> parsePlaylistEntries(const QByteArray& text, const QDir& folder);
// The same entries' paths.
QStringList readPlaylistFile(const QString& path);

// Writes `paths` to `path`, each followed by CR LF, keeping the old file's
// permission bits. False (and the old file untouched, or no file where there
// was none) when the file cannot be written whole or is read-only.
bool writePlaylistFile(const QString& path, const QStringList& paths);

} // namespace playlist
