#include "tags/taglib_tags.h"

#include <QFile>
#include <taglib/aifffile.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/mp4file.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/tag.h>
#include <taglib/vorbisfile.h>

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

} // namespace tags
