#include "decks/path_lookup.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>

namespace decks {

bool pathCanBeLookedUp(const QString& path) {
    if (path.contains(QChar(0)))
        return false;
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0)
        return true;
    // A missing file or folder is an answer of the look-up, not a failure.
    return errno == ENOENT || errno == ENOTDIR;
}

} // namespace decks
