#pragma once
// The directory look-up a load starts with.
#include <QString>

namespace decks {

// True when the path can be looked up at all: the file may be missing, but
// the path is well formed and its folders can be searched (a path with a NUL,
// a name too long, a loop of links or a folder without search permission
// fails).
bool pathCanBeLookedUp(const QString& path);

} // namespace decks
