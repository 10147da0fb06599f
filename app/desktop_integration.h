#pragma once
// The desktop's side of the file associations: the program's desktop entry
// (which names the types it opens) and the user's default-application list,
// kept in step with the types checked in the association window.
#include "app/file_associations.h"

#include <QString>

namespace app {

// The desktop's name of the program: its desktop entry's file name.
inline constexpr const char* kDesktopFileId = "vorlan.desktop";

// $XDG_DATA_HOME/applications/vorlan.desktop and $XDG_CONFIG_HOME/mimeapps.list.
QString desktopEntryPath();

// The desktop's names of `type` (its ';'-separated list).
QStringList mimeTypesOf(const FileType& type);
QString mimeAppsPath();

// The entry's Exec value that starts `program` with the opened file: the
// program's path quoted and escaped as desktop entries require, then "%f".
QString desktopExecValue(const QString& program);

// Writes the desktop entry for the running program, listing the desktop
// types of the checked ones (no MimeType key when none is checked). Keys of
// its own that the user added are kept.
bool writeDesktopEntry(const TypeChecks& checks, QString* error);

// In the default-application list: each checked type gets the program as
// its default (other programs named for it stay behind it, and a removal
// of the program for that type is withdrawn); each unchecked type loses the
// program wherever it is named. Lines of other types and programs, comments
// and other groups are kept. The file is not created when there is nothing
// to write.
bool writeMimeApps(const TypeChecks& checks, QString* error);

// Both of the above; false with the first failure's reason in `error`.
bool updateDesktopAssociations(const TypeChecks& checks, QString* error);

} // namespace app
