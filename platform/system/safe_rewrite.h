#pragma once
// Rewriting a file so that it is either wholly old or wholly new: the new
// content goes to a temporary file in the same folder, which is flushed to
// disk, given the original's permission bits and renamed over it. Every
// write, the flush and the rename are checked: a full disk or a file size
// limit fails the rewrite instead of leaving a short file.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace sys {

// Replaces `path` with its first `keepBytes` bytes followed by `tail`.
// `addOwnerWrite` gives the new file the owner's write permission (for a
// file whose read-only attribute is to be cleared). A symbolic link is
// followed: its target is rewritten. Returns "" on success, else a
// description of what failed; the original is then unchanged and no
// temporary file is left behind.
QString rewriteFileEnd(const QString& path, std::int64_t keepBytes, const QByteArray& tail,
                       bool addOwnerWrite);

// Replaces the contents of `path` with `contents`, keeping its permission
// bits; a symbolic link is followed. A missing file is made with
// `newFileMode` (less the umask) by the final rename only, so a failed write
// leaves no file. The folder must exist. Returns "" on success, else a
// description of what failed; the old file (or no file) is then left as it
// was and no temporary file remains.
QString writeFileContents(const QString& path, const QByteArray& contents,
                          unsigned newFileMode = 0666);

} // namespace sys
