#pragma once
// A private folder for the fuzz targets that hand their input to a reader as
// a file: made once per process (in /dev/shm when it can be written, for
// speed), removed with everything in it when the process ends.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace fuzzing {

inline QString& workFolderPath() {
    static QString folder;
    return folder;
}

inline void removeWorkFolder() {
    QDir(workFolderPath()).removeRecursively();
}

// The folder's path, without a trailing "/".
inline const QString& workFolder(const char* name) {
    static const QString folder = [name] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        QString dir = QString::asprintf("%s/%s-%d", base, name, static_cast<int>(getpid()));
        workFolderPath() = dir;
        mkdir(QFile::encodeName(dir).constData(), 0700);
        std::atexit(removeWorkFolder);
        return dir;
    }();
    return folder;
}

// Replaces the file at `path` by `size` bytes of `data`; aborts when it cannot.
inline void writeWorkFile(const QString& path, const void* data, std::size_t size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(static_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
        std::abort();
}

} // namespace fuzzing
