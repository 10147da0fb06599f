#include "platform/system/safe_rewrite.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

QString failure(const char* what, const QString& path, int error) {
    return QString("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(std::strerror(error)));
}

// Writes all of `data`; false (errno set) when any write fails or writes
// nothing (a file size limit, a full disk).
bool writeAll(int fd, const char* data, std::int64_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// Copies `count` bytes from the start of `in` to `out`.
bool copyHead(int in, int out, std::int64_t count) {
    char buffer[1 << 16];
    off_t offset = 0;
    while (count > 0) {
        const auto want = static_cast<size_t>(std::min<std::int64_t>(count, sizeof buffer));
        const ssize_t n = ::pread(in, buffer, want, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = EIO; // the file shrank while it was copied
        if (n <= 0 || !writeAll(out, buffer, n))
            return false;
        offset += n;
        count -= n;
    }
    return true;
}

// A new, empty file next to `name` that no other file had: `name` + "." and
// six random letters, made with `mode` (less the umask). -1 when none can be made.
int createTemporary(const QByteArray& name, mode_t mode, QByteArray* temp) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temp = name + '.';
        for (int i = 0; i < 6; ++i)
            temp->append(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
        const int fd = ::open(temp->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void syncFolderOf(const QString& file) {
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    if (const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir); // the rename is done; a folder that cannot be flushed keeps it anyway
        ::close(dir);
    }
}

// The file a rewrite replaces: the target of a symbolic link, else `path`.
QString rewrittenFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink() && !info.canonicalFilePath().isEmpty())
        return info.canonicalFilePath();
    return path;
}

// Writes the first `keepBytes` of `in` (none when `in` is -1) and `tail` to a
// temporary file next to `target`, flushes it to disk and renames it over
// `target`. The new file gets the permission bits `keptMode`, or, when none
// are given (a file made anew), `newFileMode` less the umask. "" on success;
// on any failure the temporary file is removed and `target` is as it was.
QString writeThroughTemporary(const QString& shown, const QString& target, int in,
                              std::int64_t keepBytes, const QByteArray& tail,
                              std::optional<mode_t> keptMode, mode_t newFileMode = 0) {
    const QByteArray name = QFile::encodeName(target);
    QByteArray temp;
    const int out = createTemporary(name, keptMode ? S_IRUSR | S_IWUSR : newFileMode, &temp);
    if (out < 0)
        return failure("Cannot create a file next to", shown, errno);
    bool ok =
        (in < 0 || copyHead(in, out, keepBytes)) && writeAll(out, tail.constData(), tail.size());
    int error = errno;
    if (ok && keptMode) {
        ok = ::fchmod(out, *keptMode) == 0;
        error = errno;
    }
    if (ok) {
        ok = ::fsync(out) == 0;
        error = errno;
    }
    if (::close(out) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.constData(), name.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        return failure("Cannot write", shown, error ? error : EIO);
    }
    syncFolderOf(target);
    return {};
}

} // namespace

QString rewriteFileEnd(const QString& path, std::int64_t keepBytes, const QByteArray& tail,
                       bool addOwnerWrite) {
    const QString target = rewrittenFile(path);
    const int in = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return failure("Cannot open", path, errno);
    struct stat st {};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode) || keepBytes < 0 || keepBytes > st.st_size) {
        const int error = errno ? errno : EINVAL;
        ::close(in);
        return failure("Cannot read", path, error);
    }
    const mode_t mode = (st.st_mode & 07777) | (addOwnerWrite ? S_IWUSR : 0);
    const QString result = writeThroughTemporary(path, target, in, keepBytes, tail, mode);
    ::close(in);
    return result;
}

QString writeFileContents(const QString& path, const QByteArray& contents, unsigned newFileMode) {
    const QString target = rewrittenFile(path);
    struct stat st {};
    if (::stat(QFile::encodeName(target).constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return failure("Cannot write", path, EISDIR);
        return writeThroughTemporary(path, target, -1, 0, contents, st.st_mode & 07777);
    }
    if (errno != ENOENT)
        return failure("Cannot open", path, errno);
    return writeThroughTemporary(path, target, -1, 0, contents, std::nullopt, newFileMode & 07777);
}

} // namespace sys
