#include "core/song_types.h"

namespace core {

QStringList songExtensions() {
    QStringList list;
    for (const SongType& type : kSongTypes)
        list << QString(type.extensions).split(' ', Qt::SkipEmptyParts);
    return list;
}

bool isSongFile(const QString& path) {
    const qsizetype dot = path.lastIndexOf('.');
    if (dot < 0 || path.indexOf('/', dot) >= 0)
        return false;
    return songExtensions().contains(path.mid(dot + 1).toLower());
}

QString musicFilesFilter() {
    const QStringList extensions = songExtensions();
    QStringList patterns;
    for (const QString& extension : extensions)
        patterns << "*." + extension;
    return "Music Files (" + extensions.join(',') + ")|" + patterns.join(';') +
           "|All Files (*.*)|*.*|";
}

QStringList songMimeTypes() {
    QStringList list;
    for (const SongType& type : kSongTypes)
        list << QString(type.mimeTypes).split(';', Qt::SkipEmptyParts);
    return list;
}

} // namespace core
