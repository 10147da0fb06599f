#pragma once
// Where the program and its data live.
#include <QString>

namespace sys {

// The folder of the running executable, without a trailing "/".
QString programFolder();
// The system folder the program keeps machine data in ("Windows directory"):
// $XDG_DATA_HOME/vorlan, by default ~/.local/share/vorlan; no trailing "/".
QString systemFolder();

// The user's data and configuration folders: $XDG_DATA_HOME (default
// ~/.local/share) and $XDG_CONFIG_HOME (default ~/.config); no trailing "/".
QString dataHome();
QString configHome();

// Where the program keeps its own data files next to itself: the program
// folder when this user may write to it, otherwise (an installed program)
// the system folder.
QString writableProgramFolder();

// The user's music folder: $XDG_MUSIC_DIR, else the one named in the user's
// folder settings ($XDG_CONFIG_HOME/user-dirs.dirs), else ~/Music. It may
// not exist.
QString musicFolder();

// The folder a file dialog opens in, never the program's working folder:
// `preset` (the folder the dialog is given) when it is an existing folder,
// else `lastUsed` (where the dialog's last file was chosen) when it exists,
// else the music folder when it exists, else the home folder.
QString dialogStartFolder(const QString& preset, const QString& lastUsed);

// True when a directory look-up of `path` finds a name (file or folder);
// any failure of the look-up gives false.
bool fileExists(const QString& path);

// Read-only attribute: a file is read-only when no write permission bit is set.
bool isReadOnly(const QString& path);
// Sets (removes every write bit) or clears (gives the owner write permission
// back) the attribute. False when the file's mode cannot be changed.
bool setReadOnly(const QString& path, bool readOnly);

} // namespace sys
