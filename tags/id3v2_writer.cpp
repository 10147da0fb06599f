#include "tags/id3v2_writer.h"

#include "platform/com/com_error.h"
#include "tags/track_titles.h"
#include "tagweave/id3v2.h"

#include <QFile>

namespace tags {

int id3v2MajorVersion(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(10);
    if (header.size() < 10 || !header.startsWith("ID3"))
        return 0;
    return static_cast<unsigned char>(header[3]);
}

int write_id3v2_tag(const QString& path, const Id3v2Texts& texts, QString* error) {
    using namespace tagweave;
    try {
        clsID3v2 tag;
        if (id3v2MajorVersion(path) == 3)
            tag.ReadTag(path);
        tag.SetFrameValue(eTitle, strip_control_chars(texts.title));
        tag.SetFrameValue(eArtist, strip_control_chars(texts.artist));
        tag.SetFrameValue(eAlbum, strip_control_chars(texts.album));
        tag.SetFrameValue(eYear, strip_control_chars(texts.year));
        tag.SetFrameValue(eGenre, strip_control_chars(texts.genre));
        tag.SetFrameValue(eComment, strip_control_chars(texts.comment));
        tag.WriteTag(path, true);
        return 1;
    } catch (const com::ComError& e) {
        if (error)
            *error = e.description();
        return 0;
    }
}

} // namespace tags
