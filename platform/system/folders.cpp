#include "platform/system/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

QString programFolder() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return QDir::currentPath();
    return QFileInfo(QString::fromUtf8(buf, static_cast<int>(n))).absolutePath();
}

namespace {

// $`variable` without trailing "/", or the home folder + `fallback` when it is
// unset or not an absolute path (which the XDG rules say to ignore).
QString xdgFolder(const char* variable, const char* fallback) {
    QString base = qEnvironmentVariable(variable);
    if (!base.startsWith('/'))
        base = QDir::homePath() + fallback;
    while (base.size() > 1 && base.endsWith('/'))
        base.chop(1);
    return base;
}

} // namespace

QString dataHome() {
    return xdgFolder("XDG_DATA_HOME", "/.local/share");
}

QString configHome() {
    return xdgFolder("XDG_CONFIG_HOME", "/.config");
}

QString systemFolder() {
    return dataHome() + "/vorlan";
}

QString writableProgramFolder() {
    const QString folder = programFolder();
    if (::access(QFile::encodeName(folder).constData(), W_OK) == 0)
        return folder;
    return systemFolder();
}

QString musicFolder() {
    const QString exported = qEnvironmentVariable("XDG_MUSIC_DIR");
    return exported.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::MusicLocation)
                              : exported;
}

QString dialogStartFolder(const QString& preset, const QString& lastUsed) {
    for (const QString& folder : {preset, lastUsed, musicFolder()})
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return QDir::cleanPath(folder);
    return QDir::homePath();
}

bool fileExists(const QString& path) {
    if (path.isEmpty())
        return false;
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool isReadOnly(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool setReadOnly(const QString& path, bool readOnly) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        return false;
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? (mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
    return ::chmod(name.constData(), mode) == 0;
}

} // namespace sys
