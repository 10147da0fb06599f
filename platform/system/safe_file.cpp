#include "platform/system/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

bool fail(QString* error, const QString& what) {
    if (error)
        *error = what + ": " + QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

// Writes all of `data` to `fd`, going on after short writes and interrupts.
bool writeAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n =
            ::write(fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

bool replaceFileContents(const QString& path, const QByteArray& contents, QString* error) {
    // A link (a configuration kept elsewhere) stays a link: the file it names is replaced.
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(error, "cannot create " + folder);

    mode_t mode = 0644;
    struct stat st {};
    if (::stat(QFile::encodeName(target).constData(), &st) == 0)
        mode = st.st_mode & 07777;

    QByteArray temp = QFile::encodeName(folder + "/." + QFileInfo(target).fileName() + ".XXXXXX");
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return fail(error, "cannot create a temporary file in " + folder);
    const bool written = writeAll(fd, contents) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temp.constData());
        errno = written ? errno : savedErrno;
        return fail(error, "cannot write " + target);
    }
    if (::rename(temp.constData(), QFile::encodeName(target).constData()) != 0) {
        const int renameErrno = errno;
        ::unlink(temp.constData());
        errno = renameErrno;
        return fail(error, "cannot replace " + target);
    }
    // The rename is done; a folder that cannot be flushed keeps it anyway.
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace sys
