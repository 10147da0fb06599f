#include "playlist/m3u_file.h"

#include "platform/system/safe_rewrite.h"
#include "platform/system/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

namespace playlist {

namespace {

// A name relative to the playlist's folder, as an absolute path. Joined by
// hand: QDir would read a name starting with ":" as a Qt resource.
QString inFolder(const QDir& folder, const QString& name) {
    return QDir::cleanPath(folder.absolutePath() + '/' + name);
}

// Where a line of a playlist points: absolute paths as they stand, a file:
// URI as the local path it names (a relative one, "file:a.mp3", in the
// playlist's folder), anything else relative to the playlist's folder. A
// relative path written on Windows ("Album\\01.mp3") names the same file here
// when no file has the name as written; a path with a drive letter names no
// file here and stays as written. The empty line stays empty.
QString entryPath(const QString& line, const QDir& folder) {
    if (line.isEmpty() || line.startsWith('/'))
        return line;
    if (line.startsWith("file:", Qt::CaseInsensitive)) {
        const QUrl url(line, QUrl::StrictMode);
        const QString local = url.isValid() && url.isLocalFile() ? url.toLocalFile() : QString();
        if (local.startsWith('/'))
            return local;
        return inFolder(folder, local.isEmpty() ? line : local);
    }
    const bool driveLetter = line.size() >= 3 && line[0].isLetter() && line[1] == ':' &&
                             (line[2] == '\\' || line[2] == '/');
    if (driveLetter)
        return line;
    const QString asWritten = inFolder(folder, line);
    if (!line.contains('\\') || QFileInfo::exists(asWritten))
        return asWritten;
    return inFolder(folder, QString(line).replace('\\', '/'));
}

// A line's text: UTF-8 (what .m3u8 files and this program write); a line
// that is not valid UTF-8 comes from a player writing the Windows code page.
QString lineText(const QByteArray& line) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(line);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows("windows-1252");
    if (windows.isValid())
        return windows.decode(line);
    return QString::fromLatin1(line);
}

// The title of an "#EXTINF:seconds,title" line (attributes such as
// tvg-name="a,b" may stand before the comma): the text after the first comma
// outside double quotes, without control characters and trimmed; "" for any
// other line.
QString extinfTitle(const QString& line) {
    if (!line.startsWith("#EXTINF:", Qt::CaseInsensitive))
        return {};
    bool quoted = false;
    for (qsizetype i = 8; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ',' && !quoted) {
            QString title;
            for (QChar c : line.mid(i + 1))
                if (c.unicode() >= 32)
                    title.append(c);
            return title.trimmed();
        }
    }
    return {};
}

} // namespace

bool isPlaylistPath(const QString& path) {
    return path.endsWith(".m3u", Qt::CaseInsensitive) ||
           path.endsWith(".m3u8", Qt::CaseInsensitive);
}

QString playlistLabel(const QString& path) {
    const QString name = path.mid(path.lastIndexOf('/') + 1);
    if (name.endsWith(".m3u8", Qt::CaseInsensitive))
        return name.chopped(5);
    return name.left(std::max<qsizetype>(0, name.size() - 4));
}

QStringList readPlaylistFile(const QString& path) {
    QStringList paths;
    for (const PlaylistEntry& entry : readPlaylistEntries(path))
        paths << entry.path;
    return paths;
}

QList<PlaylistEntry> readPlaylistEntries(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parsePlaylistEntries(file.readAll(), QFileInfo(path).absoluteDir());
}

QList<PlaylistEntry> parsePlaylistEntries(const QByteArray& text, const QDir& folder) {
    if (text.contains('\0'))
        return {}; // a binary file, not a list of paths
    QList<PlaylistEntry> entries;
    QString title; // of the next entry, from the "#EXTINF" line before it
    // A UTF-8 byte-order mark in front of the first line belongs to no path.
    qsizetype start = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const QByteArray line = text.mid(start, end - start);
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
        const QString entry = lineText(line).trimmed();
        if (entry.startsWith('#')) {
            if (const QString listed = extinfTitle(entry); !listed.isEmpty())
                title = listed;
            continue;
        }
        entries.append({entryPath(entry, folder), title});
        title.clear();
    }
    return entries;
}

bool writePlaylistFile(const QString& path, const QStringList& paths) {
    // A file with the read-only attribute (no write permission bits) stays.
    constexpr QFile::Permissions anyWrite =
        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (QFile::exists(path) && !(QFile::permissions(path) & anyWrite))
        return false;
    QByteArray text;
    for (const QString& p : paths) {
        text += sys::toAnsi(p);
        text += sys::kLineEnd;
    }
    return sys::writeFileContents(path, text).isEmpty();
}

} // namespace playlist
