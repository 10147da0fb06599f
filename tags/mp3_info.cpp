#include "tags/mp3_info.h"

#include "tags/id3v1_genres.h"

#include <QFile>
#include <QFileInfo>

namespace tags {

namespace {

// The last 128 bytes of the file, or nothing when it is shorter. A file that
// cannot be read raises nothing here: it reads as untagged.
QByteArray lastBlock(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 127)
        return {};
    if (!file.seek(file.size() - 128))
        return {};
    return file.read(128);
}

} // namespace

bool clsMP3Info::is_mp3_file(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    const QString lower = path.toLower();
    return lower.contains(".mp3") || lower.contains(".mp2") || lower.contains(".mp1");
}

void clsMP3Info::setFilename(const QString& path) {
    filename_ = path;
    genres_ = genreTable();
    fields_ = {};
    isMp3_ = is_mp3_file(path);
    if (!isMp3_)
        return;
    const QByteArray block = lastBlock(path);
    if (block.size() == 128 && block.startsWith("TAG")) {
        const auto field = [&block](int from, int size) {
            return QString::fromLatin1(block.constData() + from, size);
        };
        fields_.title = field(3, 30);
        fields_.artist = field(33, 30);
        fields_.album = field(63, 30);
        fields_.year = field(93, 4);
        fields_.comment = field(97, 30);
        const int genre = static_cast<unsigned char>(block[127]);
        fields_.genre = genre < genres_.size() ? genres_[genre] : QString();
    } else {
        fields_ = guess_from_name(path);
    }
}

QString clsMP3Info::Title() const {
    return trimSpaces(fields_.title);
}
QString clsMP3Info::Artist() const {
    return trimSpaces(fields_.artist);
}
QString clsMP3Info::Album() const {
    return trimSpaces(fields_.album);
}
QString clsMP3Info::Year() const {
    return trimSpaces(fields_.year);
}
QString clsMP3Info::Comment() const {
    return trimSpaces(fields_.comment);
}
QString clsMP3Info::Genre() const {
    return trimSpaces(fields_.genre);
}

} // namespace tags
