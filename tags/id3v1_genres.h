#pragma once
// The ID3v1 genre names, index 0 ("Blues") to 147 ("Synth Pop").
#include <QString>
#include <QStringList>

namespace tags {

// The names as the program keeps them: one text, separated by "|".
extern const char* const kGenreText;

// The table split at "|"; index = the genre byte of an ID3v1 tag.
QStringList genreTable();

// The name for a genre byte, "" above 147.
QString genreName(int index);

} // namespace tags
