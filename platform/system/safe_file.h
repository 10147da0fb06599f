#pragma once
// Replacing a text file's contents so that a crash or a full disk never
// leaves it half-written.
#include <QByteArray>
#include <QString>

namespace sys {

// Writes `contents` to a temporary file in the folder of `path` (following a
// symbolic link to the file it names), flushes it to disk, gives it the
// permission bits of the file it replaces (0644 for a new file), renames it
// over that file and flushes the folder. Missing folders are created. On
// failure the original file is left as it was, the temporary file is removed
// and false is returned with a reason in `error` (when given).
bool replaceFileContents(const QString& path, const QByteArray& contents, QString* error = nullptr);

} // namespace sys
