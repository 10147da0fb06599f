#include "tests/tagweave/tag_files.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace tagtest {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

unsigned permissionBits(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & 07777;
}

void setPermissionBits(const QString& path, unsigned mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QByteArray hex(const char* spaced) {
    return QByteArray::fromHex(QByteArray(spaced));
}

QByteArray frame(const char* id, const QByteArray& body, const QByteArray& flags) {
    QByteArray out(id, 4);
    const auto size = static_cast<quint32>(body.size());
    out.append(static_cast<char>(size >> 24));
    out.append(static_cast<char>(size >> 16));
    out.append(static_cast<char>(size >> 8));
    out.append(static_cast<char>(size));
    out.append(flags);
    out.append(body);
    return out;
}

QByteArray tag(const QByteArray& body, int major, int flags) {
    QByteArray out("ID3");
    out.append(static_cast<char>(major));
    out.append('\0');
    out.append(static_cast<char>(flags));
    const auto size = static_cast<quint32>(body.size());
    for (int shift : {21, 14, 7, 0})
        out.append(static_cast<char>((size >> shift) & 127));
    out.append(body);
    return out;
}

QByteArray silentMpeg(int count) {
    QByteArray one = hex("FF FB 90 00");
    one.append(QByteArray(417 - 4, '\0'));
    return one.repeated(count);
}

} // namespace tagtest
