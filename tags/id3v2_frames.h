#pragma once
// The program's own small ID3v2 frame reader: whether a file starts with an
// ID3v2 tag (and where its audio starts), and the twelve frames the titles
// and the deck information are built from.
#include <QString>

namespace core {
struct Id3v2Values;
}

namespace tags {

// Clears `values.hasId3v2` and sets `values.totalSize` to 1; then, when the
// file starts with "ID3", sets the flag and the total size (the header's
// synchsafe size + 10) and answers true. A file that cannot be read answers
// false.
bool has_id3v2(const QString& path, core::Id3v2Values& values);

// Empties the twelve texts and fills those whose frame the tag holds. Text
// frames are decoded by their encoding byte; COMM is the text of the first
// comment without a description (else of the first comment); WXXX keeps its
// bytes as ISO-8859-1 text. Reading stops at the padding, at the end of the
// tag (values.totalSize, from has_id3v2) or at a frame that runs past it.
void read_id3v2_frames(const QString& path, core::Id3v2Values& values);

} // namespace tags
