#pragma once
// File helpers of the tag library: existence, the read-only attribute, the
// temporary name next to a file, bounds-checked reading, and the safe
// rewrite (temporary file in the same folder, flushed, renamed over the
// target). Failures are raised as the library's errors.
#include "tagweave/tagweave_export.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tagweave {

// True for a regular file, also one reached through a symbolic link; a
// folder, a dangling link or a missing name is no file.
bool FileExists(const QString& path);

// True when the read-only attribute is set; a missing file raises 109 from
// "IsFileReadOnly".
TAGWEAVE_EXPORT bool IsFileReadOnly(const QString& path);

// `path` + ".new"; while that name exists, the folder of `path`, the current
// time as "hhmmss-" and the file name, until a free name is found.
TAGWEAVE_EXPORT QString TempFileName(const QString& path);

// A file opened for reading. Every read is checked against the bytes that
// remain; open and read failures raise a file error from `source`.
class InputFile {
public:
    InputFile(const QString& path, const QString& source);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::int64_t size() const { return size_; }
    // Permission bits (07777), owner and group of the file.
    unsigned mode() const { return mode_; }
    unsigned owner() const { return owner_; }
    unsigned group() const { return group_; }
    int descriptor() const { return fd_; }

    // Up to `count` bytes from `offset`, fewer when the file ends first.
    QByteArray readAt(std::int64_t offset, std::int64_t count) const;

private:
    QString source_;
    int fd_ = -1;
    std::int64_t size_ = 0;
    unsigned mode_ = 0;
    unsigned owner_ = 0;
    unsigned group_ = 0;
};

// Replaces `target` with `head` followed by the bytes of `source` from
// `tailOffset` to its end. The new content goes to a temporary file in the
// target's folder, which is flushed to disk, given the target's permission
// bits (with the owner's write bit when `clearReadOnly`), and renamed over
// the target. On any failure the target is untouched, the temporary file is
// removed and a file error is raised from `errorSource`.
void RewriteFile(const QString& target, const QByteArray& head, const InputFile& source,
                 std::int64_t tailOffset, bool clearReadOnly, const QString& errorSource);

// The file a path names, following symbolic links, so that a rewrite
// replaces the file and not the link.
QString ResolvedPath(const QString& path);

} // namespace tagweave
