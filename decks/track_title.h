#pragma once
// The title a deck's display shows for a file.
#include <QString>

namespace decks {

// For now the file's name without its folder.
// TODO(tags): swap for the tag reader's title once it is in the tags library.
QString trackTitle(const QString& path);

} // namespace decks
