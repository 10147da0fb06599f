#pragma once
// Every place that shows a song by name takes its text from here: the
// playlist title ("title - artist") and the deck information text (labelled
// fields that the deck display scrolls). Both prefer the own tags of FLAC,
// AIFF, M4A, Ogg and Opus files (when they hold a title or an artist), then
// an ID3v2 tag, then an ID3v1 tag, then the WMA header tags, and fall back to
// the file name. The
// engine must be started (titles are read through its streams).
#include <QString>

namespace core {
struct ProgramState;
}

namespace tags {

// The text without any character below code 32, then trimmed of spaces.
QString strip_control_chars(const QString& text);
// The deck code's name for the same cleaner.
inline QString removeNulls(const QString& text) {
    return strip_control_chars(text);
}

// The name of the file: the part of `path` after its last "/".
QString fileNameOf(const QString& path);

// Playlist form of an ID3v1 block's text ("TAG" + fields, cut at the first
// zero byte): the title trimmed, " - ", the artist trimmed.
QString FormatID3v1Title(const QString& block);
// Deck form: "TITLE:  " title, gap, "ARTIST:  ", "ALBUM:  ", "YEAR:  ",
// "COMMENT:  ", each field trimmed, then gap and `productName`.
QString FormatID3v1Information(const QString& block, const QString& productName);

// The playlist title of a file (also the sort key). A file whose tags give
// no title takes the title its playlist file listed for it
// (state.playlist.listedTitles), else its file name.
QString getID3_tag(core::ProgramState& state, const QString& path);
// The deck information text of a file.
QString get_ID3_tag(core::ProgramState& state, const QString& path, const QString& productName);

} // namespace tags
