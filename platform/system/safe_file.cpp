#include "platform/system/safe_file.h"

#include "platform/system/safe_rewrite.h"

#include <QDir>
#include <QFileInfo>

namespace sys {

bool replaceFileContents(const QString& path, const QByteArray& contents, QString* error) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = "Cannot create " + folder;
        return false;
    }
    const QString failure = writeFileContents(path, contents, 0644);
    if (!failure.isEmpty() && error)
        *error = failure;
    return failure.isEmpty();
}

} // namespace sys
