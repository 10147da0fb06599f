#pragma once
// The drag that loads a deck with the playlist's cursor entry, started from
// the main window's next-song box or from an entry of the playlist window's
// list. It carries no path: starting it sets the program state's dragArmed,
// and a deck that takes the drop loads the entry at the playlist's cursor.

namespace core {

// The MIME type of the drag's (empty) data.
inline constexpr const char* kNextSongMime = "application/x-vorlan-next-song";

} // namespace core
