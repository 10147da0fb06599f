// The tag editor as a user drives it: the view it opens on, copying between
// views, and what its saves leave in the file, read back by the program and
// by FFmpeg's own reader.
#include "controls/widgets/console_button.h"
#include "core/program_state.h"
#include "platform/audio/offline.h"
#include "tags/tag_editor_window.h"
#include "tagweave/id3v2.h"
#include "tests/support/qt_app.h"
#include "tests/support/screenshots.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/tags/tag_files.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <taglib/aifffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/mp4file.h>
#include <taglib/textidentificationframe.h>
#include <taglib/xiphcomment.h>

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

using namespace tag_files;

// The file's metadata as FFmpeg reads it (and its first stream's), keys in
// lower case.
std::map<std::string, QString> ffmpegMetadata(const QString& path) {
    std::map<std::string, QString> out;
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return out;
    // Ogg keeps its comments with the stream.
    for (const AVDictionary* metadata :
         {context->metadata, context->nb_streams > 0 ? context->streams[0]->metadata : nullptr}) {
        const AVDictionaryEntry* entry = nullptr;
        while ((entry = av_dict_get(metadata, "", entry, AV_DICT_IGNORE_SUFFIX)))
            out[QByteArray(entry->key).toLower().toStdString()] = QString::fromUtf8(entry->value);
    }
    avformat_close_input(&context);
    return out;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray hashOf(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

class TagEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::qtApp();
        ASSERT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, 44100, 0, nullptr));
        QObject::connect(&state.playlist, &core::PlaylistModel::nextSongShown,
                         [this](const QString& text) { nextSong = text; });
    }
    void TearDown() override {
        editor.reset();
        BASS_Free();
        EXPECT_EQ(dialogs.pendingAnswers(), 0u);
    }
    editTagsF& open(const QString& file) {
        path = file;
        // The file is the fifth entry of the playlist, the cursor entry.
        state.playlist.setEntries(QStringList(5, file), QStringList(5, QString()));
        state.playlist.setCursor(4);
        editor = std::make_unique<editTagsF>(state);
        editor->Form_Load();
        return *editor;
    }
    QString mp3(const QString& name, const std::string& front, const std::string& back = {}) {
        return write(dir.filePath(name), front + plainMp3() + back);
    }

    QTemporaryDir dir;
    testing_support::ScriptedDialogs dialogs;
    core::ProgramState state{dialogs};
    std::unique_ptr<editTagsF> editor;
    QString path;
    QString nextSong;
};

TEST_F(TagEditorTest, OpensOnTheWmaViewForWmaElseOnId3v2) {
    fixtures::Tone wma = shortTone(fixtures::Format::Wma);
    wma.metadata = true;
    wma.title = "Wma Title";
    wma.artist = "Wma Author";
    wma.album = "Wma Album";
    const QString wmaPath = dir.filePath("song.wma");
    fixtures::makeTone(QFile::encodeName(wmaPath).toStdString(), wma);
    editTagsF& w = open(wmaPath);
    EXPECT_EQ(w.currentView(), 2);
    EXPECT_EQ(w.txtSong[2]->text(), "Wma Title");
    EXPECT_EQ(w.txtArtist[2]->text(), "Wma Author");
    EXPECT_EQ(w.txtAlbum[2]->text(), "Wma Album");
    EXPECT_TRUE(w.frameTagInfo[2]->isVisibleTo(&w));
    EXPECT_FALSE(w.cmdSave->isVisibleTo(&w));
    EXPECT_FALSE(w.ID3ver[0]->isEnabled());
    testing_support::saveScreenshot(&w, "tag_editor_wma");

    const QString tagged = mp3("tagged.mp3",
                               id3v2(3, {{"TIT2", text(1, QString::fromUtf8("Ωmega"))},
                                         {"TPE1", text(0, "Artist")},
                                         {"COMM", comment(0, "", "Nice")}}),
                               id3v1("V1 Title", "V1 Artist", ' '));
    editTagsF& v2 = open(tagged);
    EXPECT_EQ(v2.currentView(), 1);
    EXPECT_EQ(v2.txtSong[1]->text(), QString::fromUtf8("Ωmega"));
    EXPECT_EQ(v2.txtComments[1]->text(), "Nice"); // without language and description
    EXPECT_EQ(v2.cmdCopyTags->text(), "Copy ID3v1");
    testing_support::saveScreenshot(&v2, "tag_editor_id3v2");
    v2.ID3ver[0]->click();
    EXPECT_EQ(v2.currentView(), 0);
    EXPECT_EQ(v2.txtSong[0]->text(), "V1 Title");
    EXPECT_EQ(v2.cmdCopyTags->text(), "Copy ID3v2");
    EXPECT_TRUE(v2.ID3ver[1]->isEnabled());
    EXPECT_FALSE(v2.ID3ver[2]->isEnabled());
    testing_support::saveScreenshot(&v2, "tag_editor_id3v1");
}

TEST_F(TagEditorTest, CopyTakesOnlyNonBlankFields) {
    editTagsF& w = open(mp3("plain.mp3", {}));
    w.txtSong[0]->setText("From V1");
    w.txtYear[0]->setText("   ");
    w.txtYear[1]->setText("2001");
    w.cmdCopyTags_Click(); // ID3v2 view: copies from ID3v1
    EXPECT_EQ(w.txtSong[1]->text(), "From V1");
    EXPECT_EQ(w.txtYear[1]->text(), "2001");
    w.ID3ver_Click(0);
    w.txtArtist[1]->setText("From V2");
    w.cmdCopyTags_Click();
    EXPECT_EQ(w.txtArtist[0]->text(), "From V2");
}

TEST_F(TagEditorTest, Id3v1SaveCutsFieldsGrowsTheFileOnceAndRebuildsTheLine) {
    const QString file = mp3("v1.mp3", {});
    const qint64 before = readAll(file).size();
    for (int round = 0; round < 2; ++round) {
        editTagsF& w = open(file);
        w.ID3ver_Click(0);
        w.txtSong[0]->setText(QString(40, 'T'));
        w.txtArtist[0]->setText("Band");
        w.cmdSave_Click();
        const QByteArray bytes = readAll(file);
        EXPECT_EQ(bytes.size(), before + 128) << "round " << round;
        EXPECT_EQ(bytes.right(128).left(33), "TAG" + QByteArray(30, 'T'));
    }
    EXPECT_EQ(state.playlist.line(4), "5. " + QString(30, 'T') + " - Band");
    EXPECT_EQ(nextSong, state.playlist.line(4));

    // A character ID3v1 cannot hold is reported and nothing is written.
    editTagsF& w = open(file);
    w.ID3ver_Click(0);
    w.txtSong[0]->setText(QString::fromUtf8("Кино"));
    const QByteArray unchanged = readAll(file);
    dialogs.expectBox(ui::vbOK);
    w.cmdSave_Click();
    EXPECT_TRUE(dialogs.boxes().back().text.contains(QString::fromUtf8("Кино")));
    EXPECT_EQ(readAll(file), unchanged);
}

TEST_F(TagEditorTest, Id3v2SaveKeepsEveryOtherFrameAndTextBeyondLatin1) {
    const std::string picture = std::string("\0image/png\0\x03\0", 14) + std::string(500, '\x89');
    const QString file = mp3("v2.mp3",
                             id3v2(3, {{"TIT2", text(0, "Old")},
                                       {"TRCK", text(0, "7/12")},
                                       {"TCON", text(0, "Techno")},
                                       {"APIC", picture}}),
                             id3v1("V1", "A1", ' '));
    editTagsF& w = open(file);
    w.txtSong[1]->setText(QString::fromUtf8("Кино"));
    w.txtArtist[1]->setText("Artist");
    w.txtAlbum[1]->setText("Album");
    w.txtYear[1]->setText("1999");
    w.txtComments[1]->setText("Peak time");
    w.cmdSave_Click();
    EXPECT_TRUE(dialogs.boxes().empty());

    tagweave::clsID3v2 tag;
    tag.ReadTag(file);
    EXPECT_EQ(tag.GetFrameValue(tagweave::eTitle), QString::fromUtf8("Кино"));
    EXPECT_EQ(tag.GetFrameValue(tagweave::eTrack), "7/12");
    EXPECT_EQ(tag.GetFrameValue(tagweave::eGenre), "Techno");
    const QByteArray bytes = readAll(file);
    EXPECT_TRUE(bytes.contains(QByteArray::fromStdString(picture)));
    EXPECT_EQ(state.playlist.line(4), QString::fromUtf8("5. Кино - Artist"));

    // FFmpeg reads what was written, and the audio and ID3v1 block are untouched.
    const auto meta = ffmpegMetadata(file);
    EXPECT_EQ(meta.at("title"), QString::fromUtf8("Кино"));
    EXPECT_EQ(meta.at("artist"), "Artist");
    EXPECT_EQ(meta.at("album"), "Album");
    EXPECT_EQ(meta.at("date"), "1999");
    EXPECT_EQ(meta.at("comment"), "Peak time");
    const qsizetype audioStart = bytes.size() - 128 - qsizetype(plainMp3().size());
    EXPECT_EQ(hashOf(bytes.mid(audioStart, plainMp3().size())),
              hashOf(QByteArray::fromStdString(plainMp3())));
    EXPECT_TRUE(bytes.right(128).startsWith("TAGV1"));
}

// A picture and a ReplayGain value, added by TagLib as another tagger would.
void addPictureAndReplayGain(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    TagLib::FileRef ref(name.constData(), false);
    ASSERT_FALSE(ref.isNull());
    const TagLib::ByteVector image(600, '\x89');
    const auto flacPicture = [&image] {
        auto* picture = new TagLib::FLAC::Picture;
        picture->setData(image);
        picture->setMimeType("image/png");
        picture->setType(TagLib::FLAC::Picture::FrontCover);
        return picture;
    };
    const TagLib::String gain = "-6.50 dB";
    TagLib::File* file = ref.file();
    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        flac->addPicture(flacPicture());
        flac->xiphComment(true)->addField("REPLAYGAIN_TRACK_GAIN", gain);
    } else if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
        TagLib::MP4::CoverArtList covers;
        covers.append(TagLib::MP4::CoverArt(TagLib::MP4::CoverArt::PNG, image));
        mp4->tag()->setItem("covr", covers);
        mp4->tag()->setItem("----:com.apple.iTunes:replaygain_track_gain",
                            TagLib::StringList(gain));
    } else if (auto* aiff = dynamic_cast<TagLib::RIFF::AIFF::File*>(file)) {
        auto* frame = new TagLib::ID3v2::AttachedPictureFrame;
        frame->setPicture(image);
        frame->setMimeType("image/png");
        aiff->tag()->addFrame(frame);
        auto* user = new TagLib::ID3v2::UserTextIdentificationFrame;
        user->setDescription("REPLAYGAIN_TRACK_GAIN");
        user->setText(gain);
        aiff->tag()->addFrame(user);
    } else if (auto* xiph = dynamic_cast<TagLib::Ogg::XiphComment*>(file->tag())) {
        xiph->addPicture(flacPicture());
        xiph->addField("REPLAYGAIN_TRACK_GAIN", gain);
    } else {
        FAIL() << "no tag to add to";
    }
    ASSERT_TRUE(file->save());
}

TEST_F(TagEditorTest, ContainerTagsShowAndSaveKeepingPicturesAndOtherFields) {
    using fixtures::Format;
    for (const Format format : {Format::Flac, Format::Aiff, Format::M4aAac, Format::M4aAlac,
                                Format::OggVorbis, Format::Opus}) {
        SCOPED_TRACE(static_cast<int>(format));
        fixtures::Tone tone = shortTone(format);
        tone.metadata = true;
        tone.title = "Old";
        tone.artist = QString::fromUtf8("Артист");
        tone.album = "Album";
        tone.year = "1999";
        tone.genre = "Techno";
        const QString file =
            dir.filePath(QString("song%1.").arg(int(format)) + fixtures::extensionOf(format));
        fixtures::makeTone(QFile::encodeName(file).toStdString(), tone);
        addPictureAndReplayGain(file);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        const QFile::Permissions permissions = QFile::permissions(file);
        const QByteArray packets = packetHash(file);
        auto before = ffmpegMetadata(file);

        editTagsF& w = open(file);
        EXPECT_EQ(w.currentView(), 2);
        EXPECT_EQ(w.txtSong[2]->text(), "Old");
        EXPECT_EQ(w.txtArtist[2]->text(), QString::fromUtf8("Артист"));
        EXPECT_EQ(w.txtYear[2]->text(), "1999");
        EXPECT_EQ(w.cmbGenre[2]->currentText(), "Techno");
        EXPECT_TRUE(w.cmdSave->isVisibleTo(&w));
        if (format == Format::Flac || format == Format::M4aAac)
            testing_support::saveScreenshot(&w,
                                            QString("tag_editor_") + fixtures::extensionOf(format));
        w.txtSong[2]->setText(QString::fromUtf8("Café Ночь"));
        w.txtTrack->setText("7");
        w.cmdSave_Click();
        EXPECT_TRUE(dialogs.boxes().empty());
        EXPECT_EQ(state.playlist.line(4), QString::fromUtf8("5. Café Ночь - Артист"));

        // FFmpeg reads the new title and every other field as it was; the
        // audio and the picture are the same bytes; the permission bits and
        // the folder are as they were.
        auto after = ffmpegMetadata(file);
        EXPECT_EQ(after["title"], QString::fromUtf8("Café Ночь"));
        EXPECT_TRUE(after["track"].startsWith("7")) << after["track"].toStdString();
        for (const char* changed : {"title", "track", "tracknumber"})
            before.erase(changed), after.erase(changed);
        EXPECT_EQ(after, before);
        EXPECT_EQ(packetHash(file), packets);
        EXPECT_FALSE(packets.isEmpty());
        EXPECT_EQ(QFile::permissions(file), permissions);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter(".vorlan").size(),
                  0);
    }
}

TEST_F(TagEditorTest, AnotherTagVersionIsReplacedOnlyOnYes) {
    const QString file = mp3("v4.mp3", id3v2(4, {{"TIT2", text(3, "Four")}}));
    const QByteArray original = readAll(file);
    editTagsF& w = open(file);
    EXPECT_EQ(w.txtSong[1]->text(), "Four");
    w.txtSong[1]->setText("Three");
    dialogs.expectBox(ui::vbNo);
    w.cmdSave_Click();
    EXPECT_TRUE(dialogs.boxes().back().text.contains("ID3v2.4"));
    EXPECT_EQ(readAll(file), original);
    EXPECT_TRUE(w.isVisible() || !w.result()); // still open for another try

    dialogs.expectBox(ui::vbYes);
    w.cmdSave_Click();
    const QByteArray saved = readAll(file);
    EXPECT_EQ(saved[3], '\x03');
    EXPECT_EQ(ffmpegMetadata(file).at("title"), "Three");
}

TEST_F(TagEditorTest, BadFilesGiveAMessageAndNoCrash) {
    // A hostile tag size and a tag cut short open with what can be read.
    std::string hostile = id3v2(3, {{"TIT2", text(0, "Big")}});
    hostile[6] = hostile[7] = hostile[8] = hostile[9] = '\x7F';
    const std::string full = id3v2(3, {{"TIT2", text(0, "Cut")}, {"TPE1", text(0, "Off")}});
    for (const QString& file : {write(dir.filePath("hostile.mp3"), hostile + plainMp3()),
                                write(dir.filePath("cut.mp3"), full.substr(0, 30))}) {
        editTagsF& w = open(file);
        EXPECT_EQ(w.currentView(), 1);
        dialogs.expectBox(ui::vbOK); // the library refuses the damaged tag
        w.cmdSave_Click();
        EXPECT_EQ(dialogs.boxes().back().icon(), ui::vbCritical);
    }
    // The file deleted while the editor is open: both saves say so, nothing is created.
    const QString gone = mp3("gone.mp3", {});
    editTagsF& w = open(gone);
    QFile::remove(gone);
    dialogs.expectBox(ui::vbOK);
    w.cmdSave_Click();
    dialogs.expectBox(ui::vbOK);
    w.ID3ver_Click(0);
    w.cmdSave_Click();
    EXPECT_EQ(dialogs.boxes().size(), 4u);
    EXPECT_FALSE(QFile::exists(gone));
}

} // namespace
