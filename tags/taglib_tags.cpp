#include "tags/taglib_tags.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <taglib/aifffile.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/mp4file.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/tag.h>
#include <taglib/vorbisfile.h>
#include <unistd.h>

namespace tags {

namespace {

QString fromTagLib(const TagLib::String& text) {
    return QString::fromStdWString(text.toWString());
}

// True for the containers whose own tags the titles come from.
bool ownTagContainer(TagLib::File* file) {
    return dynamic_cast<TagLib::FLAC::File*>(file) || dynamic_cast<TagLib::MP4::File*>(file) ||
           dynamic_cast<TagLib::Ogg::Vorbis::File*>(file) ||
           dynamic_cast<TagLib::Ogg::Opus::File*>(file) ||
           dynamic_cast<TagLib::Ogg::FLAC::File*>(file) ||
           dynamic_cast<TagLib::RIFF::AIFF::File*>(file);
}

TagLib::String toTagLib(const QString& text) {
    return TagLib::String(text.toStdWString());
}

// The tag the fields go to: the Vorbis comment of FLAC (made when missing),
// else the container's own.
TagLib::Tag* ownTag(TagLib::File* file) {
    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file))
        return flac->xiphComment(true);
    if (auto* aiff = dynamic_cast<TagLib::RIFF::AIFF::File*>(file))
        return aiff->tag();
    return file->tag();
}

// Sets the fields in the file at `path` (a copy) and saves it.
bool setFields(const QString& path, const SongTags& tags, QString* error) {
    const QByteArray name = QFile::encodeName(path);
    TagLib::FileRef file(name.constData(), false);
    TagLib::Tag* tag = file.isNull() || !ownTagContainer(file.file()) || !file.file()->isValid()
                           ? nullptr
                           : ownTag(file.file());
    if (!tag) {
        *error = "The file's tags cannot be read.";
        return false;
    }
    tag->setTitle(toTagLib(tags.title.trimmed()));
    tag->setArtist(toTagLib(tags.artist.trimmed()));
    tag->setAlbum(toTagLib(tags.album.trimmed()));
    tag->setGenre(toTagLib(tags.genre.trimmed()));
    tag->setComment(toTagLib(tags.comment.trimmed()));
    tag->setYear(tags.year.trimmed().toUInt());
    tag->setTrack(tags.track.trimmed().toUInt());
    if (!file.save()) {
        *error = "The tags could not be written.";
        return false;
    }
    return true;
}

} // namespace

std::optional<SongTags> readSongTags(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const TagLib::FileRef file(name.constData(), false);
    if (file.isNull() || !ownTagContainer(file.file()) || !file.file()->isValid())
        return std::nullopt;
    SongTags tags;
    if (const TagLib::Tag* tag = file.tag()) {
        tags.title = fromTagLib(tag->title());
        tags.artist = fromTagLib(tag->artist());
        tags.album = fromTagLib(tag->album());
        tags.genre = fromTagLib(tag->genre());
        tags.comment = fromTagLib(tag->comment());
        if (tag->year() > 0)
            tags.year = QString::number(tag->year());
        if (tag->track() > 0)
            tags.track = QString::number(tag->track());
    }
    return tags;
}

bool writeSongTags(const QString& path, const SongTags& tags, QString* error) {
    QString ignored;
    QString& why = error ? *error : ignored;
    const QString target = QFileInfo(path).canonicalFilePath();
    struct stat info {};
    QFile original(target);
    if (target.isEmpty() || ::stat(QFile::encodeName(target).constData(), &info) != 0 ||
        !original.open(QIODevice::ReadOnly)) {
        why = "Cannot open " + path;
        return false;
    }
    QTemporaryFile copy(QFileInfo(target).absolutePath() + "/.vorlan-tags-XXXXXX");
    if (!copy.open()) {
        why = "Cannot write in the folder of " + path;
        return false;
    }
    while (!original.atEnd()) {
        const QByteArray block = original.read(1 << 20);
        if (block.isEmpty() && original.error() != QFile::NoError)
            break;
        if (copy.write(block) != block.size()) {
            why = "Cannot copy " + path + ": " + copy.errorString();
            return false;
        }
    }
    if (original.error() != QFile::NoError || !copy.flush()) {
        why = "Cannot copy " + path;
        return false;
    }
    copy.close();
    if (!setFields(copy.fileName(), tags, &why))
        return false;
    // Flushed to the disk with the original's permission bits before it
    // takes the original's place.
    const QByteArray copyName = QFile::encodeName(copy.fileName());
    const int fd = ::open(copyName.constData(), O_RDONLY);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!synced || ::chmod(copyName.constData(), info.st_mode & 07777) != 0 ||
        std::rename(copyName.constData(), QFile::encodeName(target).constData()) != 0) {
        why = "Cannot replace " + path;
        return false;
    }
    copy.setAutoRemove(false);
    return true;
}

} // namespace tags
