#include "platform/system/safe_file.h"

#include "platform/system/safe_rewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>

namespace sys {

bool replaceFileContents(const QString& path, const QByteArray& contents, QString* error) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = "Cannot create " + folder;
        return false;
    }
    // A new file starts empty (0644), then takes its contents like any other.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0)
        ::close(fd);
    const QString failure = rewriteFileEnd(path, 0, contents, false);
    if (!failure.isEmpty() && error)
        *error = failure;
    return failure.isEmpty();
}

} // namespace sys
