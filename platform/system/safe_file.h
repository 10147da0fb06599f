#pragma once
// Replacing a text file's contents so that a crash or a full disk never
// leaves it half-written.
#include <QByteArray>
#include <QString>

namespace sys {

// Replaces the contents of `path` as writeFileContents does (temporary file
// in the same folder, every write and the flush checked, given the
// permission bits, renamed over it; a symbolic link is followed). A missing
// file is created (0644) with its folders. On failure the original contents
// (or the absence of a file) stay and false is returned with the reason in
// `error` (when given).
bool replaceFileContents(const QString& path, const QByteArray& contents, QString* error = nullptr);

} // namespace sys
