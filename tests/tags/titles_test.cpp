// Titles from tags: the playlist title and the deck information text, read
// from ID3v2 (versions 3 and 4, every text encoding), ID3v1, WMA header tags,
// the own tags of FLAC, AIFF, M4A, Ogg and Opus files and the file name, on files written byte by
// byte or by FFmpeg's encoders.
#include "core/program_state.h"
#include "platform/audio/offline.h"
#include "tags/track_titles.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/qt_app.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/tags/tag_files.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

using namespace tag_files;
const QString kGap(10, ' ');

class TitlesTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::qtApp();
        ASSERT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, 44100, 0, nullptr));
    }
    void TearDown() override { BASS_Free(); }

public:
    QString mp3(const QString& name, const std::string& front, const std::string& back = {}) {
        return write(dir.path() + "/" + name, front + plainMp3() + back);
    }
    QString tone(const QString& name, fixtures::Tone t) {
        return QString::fromStdString(
            fixtures::makeTone((dir.path() + "/" + name).toStdString(), t).string());
    }

    QTemporaryDir dir;
    testing_support::ScriptedDialogs dialogs;
    core::ProgramState state{dialogs};
};

struct TitleCase {
    const char* what;
    std::function<QString(TitlesTest&)> file;
    QString title;
};

TEST_F(TitlesTest, PlaylistTitleComesFromTheFirstTagFoundElseTheFileName) {
    const QString longText(300, 'x'); // a v4 frame size above 127 is synchsafe
    const TitleCase cases[] = {
        {"ID3v2.3 ISO-8859-1",
         [](TitlesTest& t) {
             return t.mp3("latin.mp3", id3v2(3, {{"TIT2", text(0, "Caf\u00e9 Night")},
                                                 {"TPE1", text(0, "Artist")}}));
         },
         "Caf\u00e9 Night - Artist"},
        {"ID3v2.3 UTF-16 with byte-order mark",
         [](TitlesTest& t) {
             return t.mp3("utf16.mp3", id3v2(3, {{"TIT2", text(1, "\u03a9mega Tr\u00e4ck")},
                                                 {"TPE1", text(1, "\u00c4rtist")}}));
         },
         "\u03a9mega Tr\u00e4ck - \u00c4rtist"},
        {"ID3v2.4 UTF-8 and UTF-16BE after a long frame",
         [longText](TitlesTest& t) {
             return t.mp3("v4.mp3", id3v2(4, {{"TXXX", text(0, longText)},
                                              {"TIT2", text(3, "\u65e5\u672c")},
                                              {"TPE1", text(2, "Band")}}));
         },
         "\u65e5\u672c - Band"},
        {"ID3v2 without title and artist",
         [](TitlesTest& t) {
             return t.mp3("empty2.mp3", id3v2(3, {{"TALB", text(0, "A")}}));
         },
         "-"},
        {"ID3v2 whose second frame runs past the tag",
         [](TitlesTest& t) {
             std::string tag = id3v2(3, {{"TIT2", text(0, "Kept")}}, 0);
             tag += "TPE1";
             tag += std::string("\x00\x00\x10\x00\x00\x00", 6) + "Lost";
             tag[9] = static_cast<char>(tag.size() - 10); // header size covers it
             return t.mp3("cut.mp3", tag);
         },
         "Kept -"},
        {"ID3v1 filled up with spaces",
         [](TitlesTest& t) {
             return t.mp3("v1space.mp3", {}, id3v1("Space Title", "Space Artist", ' '));
         },
         "Space Title - Space Artist"},
        {"ID3v1 filled up with zero bytes",
         [](TitlesTest& t) {
             return t.mp3("v1nul.mp3", {}, id3v1("Nul Title", "Nul Artist", '\0'));
         },
         "Nul Title - Nul Artist"},
        {"ID3v1 without artist",
         [](TitlesTest& t) { return t.mp3("v1title.mp3", {}, id3v1("Alone", "", '\0')); },
         "Alone - "},
        {"WMA title and author",
         [](TitlesTest& t) {
             fixtures::Tone w = shortTone(fixtures::Format::Wma);
             w.metadata = true;
             w.title = "Wma Title";
             w.artist = "Wma Author";
             return t.tone("both.wma", w);
         },
         "Wma Title - Wma Author"},
        {"WMA author only",
         [](TitlesTest& t) {
             fixtures::Tone w = shortTone(fixtures::Format::Wma);
             w.metadata = true;
             w.artist = "Only Author";
             return t.tone("author.wma", w);
         },
         "- Only Author"},
        {"WAV without tags",
         [](TitlesTest& t) { return t.tone("plain tone.wav", shortTone(fixtures::Format::Wav)); },
         "plain tone.wav"},
        {"missing file", [](TitlesTest& t) { return t.dir.path() + "/gone/missing.mp3"; },
         "missing.mp3"},
        {"not audio", [](TitlesTest& t) { return write(t.dir.path() + "/notes.mp3", "ID3 text"); },
         "notes.mp3"},
    };
    for (const TitleCase& c : cases)
        EXPECT_EQ(tags::getID3_tag(state, c.file(*this)), c.title) << c.what;
}

// The containers' own tags as FFmpeg's muxers write them (Vorbis comments,
// MP4 atoms, an ID3 chunk in AIFF), UTF-8 as written; without a title or an
// artist, the file name.
TEST_F(TitlesTest, ContainerTagsGiveTheTitleOfEachFormat) {
    using fixtures::Format;
    for (const Format format : {Format::Flac, Format::Aiff, Format::M4aAac, Format::M4aAlac,
                                Format::OggVorbis, Format::Opus}) {
        const QString extension = fixtures::extensionOf(format);
        SCOPED_TRACE(static_cast<int>(format));
        fixtures::Tone t = shortTone(format);
        t.metadata = true;
        t.title = "Caf\u00e9 \u041d\u043e\u0447\u044c";
        t.artist = "\u0410\u0440\u0442\u0438\u0441\u0442";
        t.album = "Album";
        t.year = "2024";
        t.comment = "Note";
        const QString tagged = tone(QString("tagged%1.").arg(int(format)) + extension, t);
        EXPECT_EQ(tags::getID3_tag(state, tagged), t.title + " - " + t.artist);
        // FFmpeg's ID3 writer (AIFF) puts a comment in a user text frame, not
        // in the comment frame.
        const QString comment = format == Format::Aiff ? "" : "Note";
        EXPECT_EQ(tags::get_ID3_tag(state, tagged, "Vorlan"),
                  "TITLE:  " + t.title + kGap + "ARTIST:  " + t.artist + kGap + "ALBUM:  Album" +
                      kGap + "YEAR:  2024" + kGap + "COMMENT:  " + comment + kGap + "Vorlan");
        fixtures::Tone albumOnly = shortTone(format);
        albumOnly.metadata = true;
        albumOnly.album = "Only an album";
        const QString name = QString("untitled%1.").arg(int(format)) + extension;
        EXPECT_EQ(tags::getID3_tag(state, tone(name, albumOnly)), name);
    }
}

TEST_F(TitlesTest, DeckInformationLabelsEachField) {
    // A machine comment with a description comes first; the shown comment is
    // the one without a description, without its language code.
    const std::string tag = id3v2(3, {{"TIT2", text(1, "T\u00eftle")},
                                      {"TPE1", text(0, "Artist")},
                                      {"TALB", text(0, "Album")},
                                      {"TYER", text(0, "1999")},
                                      {"COMM", comment(0, "iTunNORM", " 0000")},
                                      {"COMM", comment(1, "", "Real comment")}});
    const QString v2 = mp3("deck.mp3", tag);
    EXPECT_EQ(tags::get_ID3_tag(state, v2, "Vorlan"),
              "TITLE:  T\u00eftle" + kGap + "ARTIST:  Artist" + kGap + "ALBUM:  Album" + kGap +
                  "YEAR:  1999" + kGap + "COMMENT:  Real comment" + kGap + "Vorlan");
    EXPECT_EQ(state.id3v2.totalSize, static_cast<double>(tag.size())); // where the audio starts

    fixtures::Tone v1 = shortTone(fixtures::Format::Mp3Cbr);
    v1.id3v1 = true;
    v1.title = "One";
    v1.artist = "Two";
    v1.album = "Three";
    v1.year = "2001";
    v1.comment = "Four";
    EXPECT_EQ(tags::get_ID3_tag(state, tone("v1.mp3", v1), "Vorlan"),
              "TITLE:  One" + kGap + "ARTIST:  Two" + kGap + "ALBUM:  Three" + kGap +
                  "YEAR:  2001" + kGap + "COMMENT:  Four" + kGap + "Vorlan");

    fixtures::Tone wma = shortTone(fixtures::Format::Wma);
    wma.metadata = true;
    wma.title = "Wt";
    wma.artist = "Wa";
    const QString text = tags::get_ID3_tag(state, tone("deck.wma", wma), "Vorlan");
    EXPECT_TRUE(text.startsWith("TITLE:  Wt" + kGap + "AUTHOR:  Wa")) << text.toStdString();
    EXPECT_TRUE(text.endsWith(kGap + "Vorlan"));

    EXPECT_EQ(tags::get_ID3_tag(state, dir.path() + "/none.wav", "Vorlan"), "none.wav");
}

// Files tagged by other programs: metaflac (FLAC) and mutagen (M4A, Ogg,
// Opus, AIFF) write their own way; the titles read as they wrote them.
TEST_F(TitlesTest, TitlesWrittenByOtherTaggersReadAsWritten) {
    using fixtures::Format;
    const QString title = QString::fromUtf8("Ёлка à l'été"), artist = QString::fromUtf8("Группа");
    const QString metaflac = QStandardPaths::findExecutable("metaflac");
    ASSERT_FALSE(metaflac.isEmpty()) << "flac is not installed";
    const QString flac = tone("other.flac", shortTone(Format::Flac));
    ASSERT_EQ(QProcess::execute(metaflac,
                                {"--set-tag=TITLE=" + title, "--set-tag=ARTIST=" + artist, flac}),
              0);
    EXPECT_EQ(tags::getID3_tag(state, flac), title + " - " + artist);

    // mutagen's easy keys; in AIFF its ID3 frames (UTF-8 text).
    const char* script = "import sys, mutagen\n"
                         "from mutagen.id3 import ID3, TIT2, TPE1\n"
                         "f = mutagen.File(sys.argv[1], easy=True)\n"
                         "if f.tags is None: f.add_tags()\n"
                         "if isinstance(f.tags, ID3):\n"
                         "    f.tags.add(TIT2(encoding=3, text=sys.argv[2]))\n"
                         "    f.tags.add(TPE1(encoding=3, text=sys.argv[3]))\n"
                         "else:\n"
                         "    f['title'] = sys.argv[2]\n"
                         "    f['artist'] = sys.argv[3]\n"
                         "f.save()\n";
    // Debian's python3, where python3-mutagen installs.
    QString python = QStandardPaths::findExecutable("python3", {"/usr/bin"});
    if (python.isEmpty())
        python = "python3";
    for (const Format format : {Format::M4aAac, Format::OggVorbis, Format::Opus, Format::Aiff}) {
        const QString file =
            tone(QString("mutagen%1.").arg(int(format)) + fixtures::extensionOf(format),
                 shortTone(format));
        ASSERT_EQ(QProcess::execute(python, {"-c", script, file, title, artist}), 0)
            << "python3-mutagen is not installed";
        EXPECT_EQ(tags::getID3_tag(state, file), title + " - " + artist) << file.toStdString();
    }
}

// A tag of 16 MB (a picture), as some taggers write: the title still reads,
// the song still opens, and reading it costs no more memory than a few
// copies of the tag.
TEST_F(TitlesTest, ASixteenMegabyteTagIsReadWithoutExhaustingMemory) {
    const std::string picture = std::string("\0image/png\0\x03\0", 14) + std::string(16 << 20, 'p');
    const QString song =
        mp3("big-tag.mp3",
            id3v2(3, {{"APIC", picture}, {"TIT2", text(0, "Big")}, {"TPE1", text(0, "Tagger")}}));
    const auto peakKb = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    };
    const long before = peakKb();
    EXPECT_EQ(tags::getID3_tag(state, song), "Big - Tagger");
    EXPECT_TRUE(tags::get_ID3_tag(state, song, "Vorlan").startsWith("TITLE:  Big"));
    const HSTREAM stream =
        BASS_StreamCreateFile(FALSE, QFile::encodeName(song).constData(), 0, 0, BASS_MP3_SETPOS);
    EXPECT_NE(stream, 0u);
    BASS_StreamFree(stream);
#ifdef __SANITIZE_ADDRESS__
    constexpr long copies = 16; // the address sanitizer keeps freed blocks for a while
#else
    constexpr long copies = 4;
#endif
    EXPECT_LT(peakKb() - before, copies * 16 * 1024) << "kB more at the peak";
}

TEST(StripControlChars, DropsCodesBelow32ThenTrims) {
    EXPECT_EQ(tags::strip_control_chars(QString::fromLatin1("\x01 a\tb\x1f  ", 8)), "ab");
    EXPECT_EQ(tags::removeNulls(QString(QChar(0)) + " x "), "x");
}

} // namespace
