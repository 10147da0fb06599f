#pragma once
// The start-up step that keeps the program's folder on the persistent search
// path (the machine-wide and per-user "PATH" of the environment library).
#include <QString>

namespace app {

// Puts `folder` in front of the machine-wide and the per-user PATH unless the
// machine-wide one already names the program or holds the folder. Errors are
// ignored: each statement that fails is skipped.
void putProgramFolderOnPath(const QString& folder);

} // namespace app
