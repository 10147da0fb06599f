// A peer reads what we write: tags written by the library are read back by
// FFmpeg's own ID3v2 reader (libavformat), and the audio after the tag is
// byte-identical to the audio before.
#include "tagweave/id3v2.h"
#include "tests/fixtures/fixtures.h"
#include "tests/tagweave/tag_files.h"

#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

using namespace tagweave;
using namespace tagtest;

namespace {

struct PeerView {
    std::map<std::string, QString> metadata; // FFmpeg's keys, values as UTF-8 text
    std::vector<QByteArray> packets;         // the audio packets, in order
};

PeerView readWithFfmpeg(const QString& path) {
    PeerView view;
    AVFormatContext* context = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (avformat_open_input(&context, name.constData(), nullptr, nullptr) < 0) {
        ADD_FAILURE() << "FFmpeg cannot open " << path.toStdString();
        return view;
    }
    EXPECT_STREQ(context->iformat->name, "mp3");
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(context->metadata, "", entry, AV_DICT_IGNORE_SUFFIX)))
        view.metadata[entry->key] = QString::fromUtf8(entry->value);
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(context, packet) >= 0) {
        view.packets.emplace_back(reinterpret_cast<const char*>(packet->data), packet->size);
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&context);
    return view;
}

// Tag length of a file that starts with an ID3v2 header.
qsizetype tagLength(const QByteArray& file) {
    return 10 + ByteToLong(file.mid(6, 4));
}

class PeerReads : public ::testing::Test {
protected:
    QString makeMp3(const QString& name, const fixtures::Tone& tone) {
        const QString path = dir_.filePath(name);
        fixtures::makeTone(QFile::encodeName(path).toStdString(), tone);
        return path;
    }
    QTemporaryDir dir_;
};

// The tag editor's save: six values in its order, then WriteTag ignoring read-only.
void saveLikeTheEditor(const QString& file, bool readFirst) {
    clsID3v2 tag;
    if (readFirst)
        tag.ReadTag(file);
    tag.SetFrameValue(eTitle, QString::fromUtf8("Caf\u00e9 del Mar"));
    tag.SetFrameValue(eArtist, "Energy 52");
    tag.SetFrameValue(eAlbum, "Trance Classics");
    tag.SetFrameValue(eYear, "1993");
    tag.SetFrameValue(eGenre, "Trance");
    tag.SetFrameValue(eComment, "Played at sunset");
    tag.WriteTag(file, true);
}

void expectEditorValues(const PeerView& view) {
    auto value = [&](const char* key) {
        const auto it = view.metadata.find(key);
        return it == view.metadata.end() ? QString("<missing>") : it->second;
    };
    EXPECT_EQ(value("title"), QString::fromUtf8("Caf\u00e9 del Mar"));
    EXPECT_EQ(value("artist"), "Energy 52");
    EXPECT_EQ(value("album"), "Trance Classics");
    EXPECT_EQ(value("date"), "1993");
    EXPECT_EQ(value("genre"), "Trance");
    EXPECT_EQ(value("comment"), "Played at sunset");
}

} // namespace

TEST_F(PeerReads, TagWrittenOnAnUntaggedFile) {
    fixtures::Tone tone;
    tone.seconds = 1.5;
    const QString original = makeMp3("original.mp3", tone);
    const QString tagged = dir_.filePath("tagged.mp3");
    ASSERT_TRUE(QFile::copy(original, tagged));

    saveLikeTheEditor(tagged, true);

    const PeerView before = readWithFfmpeg(original);
    const PeerView after = readWithFfmpeg(tagged);
    expectEditorValues(after);
    ASSERT_FALSE(before.packets.empty());
    EXPECT_EQ(after.packets, before.packets);
    const QByteArray bytes = readBytes(tagged);
    EXPECT_EQ(bytes.mid(tagLength(bytes)), readBytes(original));
}

TEST_F(PeerReads, TagReplacingAnotherWritersTag) {
    fixtures::Tone tone;
    tone.seconds = 1.0;
    const QString plain = makeMp3("plain.mp3", tone);
    tone.id3v2 = true;
    tone.title = "Old title";
    tone.artist = "Old artist";
    tone.comment = "Old comment";
    const QString tagged = makeMp3("tagged.mp3", tone);
    const QByteArray old = readBytes(tagged);

    saveLikeTheEditor(tagged, true);

    const PeerView after = readWithFfmpeg(tagged);
    expectEditorValues(after);
    EXPECT_EQ(after.packets, readWithFfmpeg(plain).packets);
    const QByteArray bytes = readBytes(tagged);
    EXPECT_EQ(bytes.mid(tagLength(bytes)), old.mid(tagLength(old)));
}

// Text beyond ISO-8859-1 goes out as UTF-16 (the comment's empty description
// with its own byte-order mark); FFmpeg reads every value back as written.
TEST_F(PeerReads, TextBeyondLatin1) {
    fixtures::Tone tone;
    tone.seconds = 0.5;
    const QString file = makeMp3("unicode.mp3", tone);
    const struct {
        eID3FrameIDs id;
        const char* key;
        QString value;
    } values[] = {{eTitle, "title", QString::fromUtf8("Ωmega")},
                  {eArtist, "artist", QString::fromUtf8("Café")},
                  {eAlbum, "album", QString::fromUtf8("東京 🎧")},
                  {eComment, "comment", QString::fromUtf8("Ελληνικά")}};
    clsID3v2 tag;
    for (const auto& v : values)
        tag.SetFrameValue(v.id, v.value);
    tag.WriteTag(file, true);
    const PeerView view = readWithFfmpeg(file);
    for (const auto& v : values) {
        const auto it = view.metadata.find(v.key);
        ASSERT_NE(it, view.metadata.end()) << v.key;
        EXPECT_EQ(it->second, v.value) << v.key;
    }
}
