#include "platform/system/safe_rewrite.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

QString failure(const char* what, const QString& path, int error) {
    return QString("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(std::strerror(error)));
}

bool writeAll(int fd, const char* data, std::int64_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
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
        if (n <= 0 || !writeAll(out, buffer, n))
            return false;
        offset += n;
        count -= n;
    }
    return true;
}

} // namespace

QString rewriteFileEnd(const QString& path, std::int64_t keepBytes, const QByteArray& tail,
                       bool addOwnerWrite) {
    const QString target = QFileInfo(path).isSymLink() ? QFileInfo(path).canonicalFilePath() : path;
    const QByteArray name = QFile::encodeName(target);
    const int in = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return failure("Cannot open", path, errno);
    struct stat st {};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode) || keepBytes < 0 || keepBytes > st.st_size) {
        const int error = errno ? errno : EINVAL;
        ::close(in);
        return failure("Cannot read", path, error);
    }
    QByteArray temp = name + ".XXXXXX";
    const int out = ::mkstemp(temp.data());
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return failure("Cannot create a file next to", path, error);
    }
    const mode_t mode = (st.st_mode & 07777) | (addOwnerWrite ? S_IWUSR : 0);
    bool ok = copyHead(in, out, keepBytes) && writeAll(out, tail.constData(), tail.size());
    int error = errno;
    ::close(in);
    if (ok) {
        ok = ::fchmod(out, mode) == 0 && ::fsync(out) == 0;
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
        return failure("Cannot write", path, error ? error : EIO);
    }
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    if (const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

} // namespace sys
