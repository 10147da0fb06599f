#include "tagweave/file_functions.h"

#include "platform/system/folders.h"
#include "tagweave/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QTime>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tagweave {

namespace {

constexpr std::int64_t kCopyChunk = 1 << 20; // bytes per read/write when copying

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

void writeAll(int fd, const char* data, std::int64_t count, const QString& source) {
    while (count > 0) {
        const ssize_t n = ::write(fd, data, static_cast<std::size_t>(count));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            RaiseFileError(errno, source);
        }
        data += n;
        count -= n;
    }
}

// Copies `from` (starting at `offset`) to the end of the file into `to`.
// In-kernel copy first; plain reads and writes where the file system has none.
void copyTail(int from, std::int64_t offset, std::int64_t expected, int to, const QString& source) {
    off_t in = offset;
    bool kernelCopy = true;
    while (kernelCopy) {
        const ssize_t n = ::copy_file_range(from, &in, to, nullptr, kCopyChunk * 16, 0);
        if (n > 0)
            continue;
        if (n == 0)
            return;
        if (errno == EINTR)
            continue;
        if (in == offset && (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP ||
                             errno == EINVAL || errno == EBADF))
            kernelCopy = false;
        else
            RaiseFileError(errno, source);
    }
    QByteArray buffer(static_cast<qsizetype>(std::clamp<std::int64_t>(expected, 1, kCopyChunk)),
                      Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::pread(from, buffer.data(), static_cast<std::size_t>(buffer.size()), in);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            RaiseFileError(errno, source);
        }
        if (n == 0)
            return;
        writeAll(to, buffer.constData(), n, source);
        in += n;
    }
}

void syncFolder(const QString& file) {
    const int dir = ::open(encoded(QFileInfo(file).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return;
    ::fsync(dir); // the rename is done; a folder that cannot be flushed keeps it anyway
    ::close(dir);
}

} // namespace

bool FileExists(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(encoded(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsFileReadOnly(const QString& path) {
    if (!FileExists(path))
        RaiseError(msgFileNotFound, QStringLiteral("IsFileReadOnly"), {QStringLiteral("%FILE%")},
                   {path});
    return sys::isReadOnly(path);
}

QString TempFileName(const QString& path) {
    QString name = path + QStringLiteral(".new");
    const QFileInfo info(path);
    while (sys::fileExists(name)) { // taken by anything, a folder or a dangling link too
        name = info.path() + QLatin1Char('/') +
               QTime::currentTime().toString(QStringLiteral("hhmmss-")) + info.fileName();
        if (sys::fileExists(name))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return name;
}

QString ResolvedPath(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return target;
    }
    return path;
}

InputFile::InputFile(const QString& path, const QString& source) : source_(source) {
    fd_ = ::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        RaiseFileError(errno, source_);
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISREG(st.st_mode) ? errno : EISDIR;
        ::close(fd_);
        fd_ = -1;
        RaiseFileError(error, source_);
    }
    size_ = st.st_size;
    mode_ = st.st_mode & 07777;
    owner_ = st.st_uid;
    group_ = st.st_gid;
}

InputFile::~InputFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

QByteArray InputFile::readAt(std::int64_t offset, std::int64_t count) const {
    if (offset < 0 || count <= 0 || offset >= size_)
        return {};
    const std::int64_t remaining = size_ - offset;
    if (count > remaining)
        count = remaining;
    QByteArray bytes(static_cast<qsizetype>(count), Qt::Uninitialized);
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd_, bytes.data() + done, static_cast<std::size_t>(count - done),
                                  offset + done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            RaiseFileError(errno, source_);
        }
        if (n == 0)
            break; // the file shrank since it was opened
        done += n;
    }
    bytes.truncate(static_cast<qsizetype>(done));
    return bytes;
}

void RewriteFile(const QString& target, const QByteArray& head, const InputFile& source,
                 std::int64_t tailOffset, bool clearReadOnly, const QString& errorSource) {
    const QString real = ResolvedPath(target);
    QString tempName;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        tempName = TempFileName(real);
        fd = ::open(encoded(tempName).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && (errno != EEXIST || attempt >= 100))
            RaiseFileError(errno, errorSource);
    }
    try {
        writeAll(fd, head.constData(), head.size(), errorSource);
        copyTail(source.descriptor(), tailOffset, source.size() - tailOffset, fd, errorSource);
        unsigned mode = source.mode();
        if (clearReadOnly)
            mode |= S_IWUSR;
        // Keep the owner and group where we may; a file of another owner gets ours.
        if (::fchown(fd, source.owner(), source.group()) != 0 &&
            ::fchown(fd, static_cast<uid_t>(-1), source.group()) != 0) {
            // neither can be kept: the new file belongs to us
        }
        if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
            RaiseFileError(errno, errorSource);
        const int closed = ::close(fd);
        fd = -1;
        if (closed != 0)
            RaiseFileError(errno, errorSource);
        if (::rename(encoded(tempName).constData(), encoded(real).constData()) != 0)
            RaiseFileError(errno, errorSource);
    } catch (...) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(encoded(tempName).constData());
        throw;
    }
    syncFolder(real);
}

} // namespace tagweave
