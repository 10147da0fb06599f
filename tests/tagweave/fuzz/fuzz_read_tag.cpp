// libFuzzer target: ReadTag on arbitrary file bytes, then a round trip.
// Whatever the bytes, ReadTag either raises a library error or gives a frame
// list; when it gives one, WriteTag followed by ReadTag gives the same frames
// (ID, flags, kind and body bytes) and leaves the audio after the tag as it
// was. A WriteTag that raises leaves the file byte-for-byte as before.
#include "platform/com/com_error.h"
#include "tagweave/id3v2.h"
#include "tagweave/opaque_frame.h"
#include "tagweave/tag_layout.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <typeinfo>
#include <unistd.h>
#include <vector>

namespace {

struct FrameImage {
    QString id;
    QByteArray flags;
    QByteArray body;
    const std::type_info* kind;
    bool operator==(const FrameImage& o) const {
        return id == o.id && flags == o.flags && body == o.body && *kind == *o.kind;
    }
};

std::vector<FrameImage> imageOf(const tagweave::clsID3v2& tag) {
    std::vector<FrameImage> frames;
    for (const auto& frame : tag.Frames()) {
        const tagweave::clsFrame& f = *frame;
        FrameImage image{f.FrameID(), {}, {}, &typeid(f)};
        frame->getFlags(image.flags);
        frame->getBytes(image.body);
        if (image.body.size() != frame->FrameSize())
            abort();
        frames.push_back(std::move(image));
    }
    return frames;
}

QString& workFolder() {
    static QString folder;
    return folder;
}

void removeWorkFolder() {
    QDir(workFolder()).removeRecursively();
}

const QString& workFile() {
    static const QString path = [] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        QString dir = QString::asprintf("%s/tagweave-fuzz-%d", base, static_cast<int>(getpid()));
        workFolder() = dir;
        mkdir(QFile::encodeName(dir).constData(), 0700);
        std::atexit(removeWorkFolder);
        return dir + QStringLiteral("/input.mp3");
    }();
    return path;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        abort();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        abort();
    return file.readAll();
}

// Bytes of the audio: everything after an "ID3" tag of any version (with
// the footer of a version 4 tag).
qint64 tagLength(const QByteArray& file) {
    const tagweave::TagHeader header = tagweave::ParseTagHeader(file);
    return header.isId3 ? tagweave::TagLength(header) : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString& path = workFile();
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    writeFile(path, input);

    tagweave::clsID3v2 first;
    try {
        first.ReadTag(path);
    } catch (const com::ComError&) {
        return 0;
    }
    const std::vector<FrameImage> before = imageOf(first);

    try {
        first.WriteTag(path, false);
    } catch (const com::ComError&) {
        if (readFile(path) != input)
            abort(); // a failed rewrite must leave the file as it was
        return 0;
    }
    const QByteArray written = readFile(path);
    const qint64 oldTag = tagLength(input);
    const qint64 newTag = tagLength(written);
    if (oldTag > input.size() || written.mid(newTag) != input.mid(oldTag))
        abort(); // the audio after the tag changed
    if ((newTag - 10) % 257 != 0)
        abort();

    tagweave::clsID3v2 second;
    second.ReadTag(path); // a tag we wrote must read back without error
    if (!second.HasTag() || imageOf(second) != before)
        abort();
    return 0;
}
