// The tag container and its file I/O: reading (no tag, v2.4, padding, kept
// frames, bounds), writing (padding to 257, empty list, kept frames, the
// audio), read-only handling, RemoveTag, getting and setting frame values,
// and a rewrite that fails part-way.
#include "tagweave/comment_frame.h"
#include "tagweave/file_functions.h"
#include "tagweave/id3v2.h"
#include "tagweave/opaque_frame.h"
#include "tagweave/text_frame.h"
#include "tagweave/web_frame.h"
#include "tests/tagweave/tag_files.h"

#include <QDir>
#include <QFile>
#include <QTime>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace tagweave;
using namespace tagtest;

namespace {

const QByteArray kAudio = silentMpeg(12);

class TagFile : public ::testing::Test {
protected:
    QString path(const QString& name = "song.mp3") const { return dir_.filePath(name); }
    QString make(const QByteArray& bytes, const QString& name = "song.mp3") const {
        writeBytes(path(name), bytes);
        return path(name);
    }
    QStringList files() const { return filesIn(dir_.path()); }

    QTemporaryDir dir_;
};

QByteArray textBody(const QByteArray& text) {
    return QByteArray(1, '\0') + text + '\0';
}

QByteArray bodyOf(const clsFrame& frame) {
    QByteArray bytes;
    frame.getBytes(bytes);
    return bytes;
}

} // namespace

// --- reading ---------------------------------------------------------------

TEST_F(TagFile, FileWithoutTagReadsNoFrames) {
    const QString file = make(kAudio);
    clsID3v2 tag;
    tag.SetFrameValue(eTitle, "left over");
    tag.ReadTag(file);
    EXPECT_FALSE(tag.HasTag());
    EXPECT_EQ(tag.Frames().Count(), 0);
}

TEST_F(TagFile, Version4TagIsNotRead) {
    const QString file = make(tag(frame("TIT2", textBody("Four")), 4) + kAudio);
    clsID3v2 t;
    t.ReadTag(file);
    EXPECT_FALSE(t.HasTag());
    EXPECT_EQ(t.Frames().Count(), 0);
}

TEST_F(TagFile, ReadsKnownFramesInOrder) {
    const QByteArray body = frame("TIT2", textBody("Title")) + frame("TPE1", textBody("Artist")) +
                            frame("COMM", hex("00") + "eng" + QByteArray("d\0", 2) + "Note") +
                            frame("WXXX", hex("00 00") + "http://a.example/", hex("00 40"));
    const QString file = make(tag(body) + kAudio);
    clsID3v2 t;
    t.ReadTag(file);
    EXPECT_TRUE(t.HasTag());
    ASSERT_EQ(t.Frames().Count(), 4);
    EXPECT_NE(dynamic_cast<clsText_Frame*>(t.Frames().Item(1).get()), nullptr);
    EXPECT_NE(dynamic_cast<clsComment_Frame*>(t.Frames().Item(3).get()), nullptr);
    auto* web = dynamic_cast<clsWeb_Frame*>(t.Frames().Item(4).get());
    ASSERT_NE(web, nullptr);
    QByteArray flags;
    web->getFlags(flags);
    EXPECT_EQ(flags, hex("00 40"));
    EXPECT_EQ(t.GetFrameValue(eTitle), "Title");
    EXPECT_EQ(t.GetFrameValue(eArtist), "Artist");
    EXPECT_EQ(t.GetFrameValue(eURL), "http://a.example/");
}

TEST_F(TagFile, ReadingStopsAtPadding) {
    // Bytes after the first zero ID are not frames, whatever they hold.
    const QByteArray body = frame("TIT2", textBody("A")) + frame("TALB", textBody("B")) +
                            QByteArray(4, '\0') + frame("TPE1", textBody("hidden")) +
                            QByteArray(100, '\0');
    const QString file = make(tag(body) + kAudio);
    clsID3v2 t;
    t.ReadTag(file);
    EXPECT_EQ(t.Frames().Count(), 2);
    EXPECT_EQ(t.GetFrameValue(eArtist), "");
}

TEST_F(TagFile, FewerThanTenBytesLeftEndTheWalk) {
    const QString file = make(tag(frame("TIT2", textBody("A")) + "TPE1xxxx") + kAudio);
    clsID3v2 t;
    t.ReadTag(file);
    EXPECT_EQ(t.Frames().Count(), 1);
}

TEST_F(TagFile, UnknownFramesAreKeptInPlaceAndInvisible) {
    const QByteArray apic = hex("00") + QByteArray("image/png\0", 10) + hex("03 00 89 50 4E 47");
    const QByteArray txxx = hex("00") + QByteArray("replaygain_track_gain\0", 22) + "-6.5 dB";
    const QByteArray body = frame("TIT2", textBody("Title")) + frame("APIC", apic, hex("00 01")) +
                            frame("TXXX", txxx) + frame("TPE1", textBody("Artist")) +
                            frame("PRIV", {});
    const QString file = make(tag(body) + kAudio);
    clsID3v2 t;
    t.ReadTag(file);
    ASSERT_EQ(t.Frames().Count(), 5);
    QStringList ids;
    for (const auto& f : t.Frames())
        ids << f->FrameID();
    EXPECT_EQ(ids, QStringList({"TIT2", "APIC", "TXXX", "TPE1", "PRIV"}));
    auto* picture = dynamic_cast<clsOpaque_Frame*>(t.Frames().Item(2).get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(bodyOf(*picture), apic);

    // Written back: every frame, in its place, byte for byte, then padding.
    t.SetFrameValue(eAlbum, "Album");
    t.WriteTag(file, false);
    const QByteArray expectedFrames = body + frame("TALB", textBody("Album"));
    const QByteArray written = readBytes(file);
    EXPECT_EQ(written.mid(10, expectedFrames.size()), expectedFrames);
    EXPECT_TRUE(written.endsWith(kAudio));
}

TEST_F(TagFile, MissingFileRaises109) {
    clsID3v2 t;
    const QString file = path("absent.mp3");
    expectError([&] { t.ReadTag(file); }, 109, "ID3v2::ReadTag",
                "The file, " + file + ", was not found.");
}

TEST_F(TagFile, FrameOverrunningTheTagByOneByteRaises112) {
    for (char extra : {0, 1}) {
        QByteArray body = frame("TIT2", textBody("Title")) + frame("TPE1", textBody("Artist"));
        body[10 + 7 + 7] = static_cast<char>(8 + extra); // TPE1 ends the tag, then one byte past
        const QString file = make(tag(body) + kAudio);
        clsID3v2 t;
        if (extra == 0) {
            t.ReadTag(file);
            EXPECT_EQ(t.GetFrameValue(eArtist), "Artist");
        } else {
            expectError([&] { t.ReadTag(file); }, 112, "ID3v2::ReadTag",
                        "The file " + file + " has an invalid file size.");
        }
    }
}

TEST_F(TagFile, FolderOrDanglingLinkRaises109) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.mp3"));
    ASSERT_TRUE(QFile::link(path("gone.mp3"), path("dangling.mp3")));
    for (const char* name : {"folder.mp3", "dangling.mp3"}) {
        const QString file = path(name);
        const QString description = "The file, " + file + ", was not found.";
        clsID3v2 t;
        expectError([&] { t.ReadTag(file); }, 109, "ID3v2::ReadTag", description);
        expectError([&] { t.WriteTag(file, true); }, 109, "clsID3v2::WriteTag", description);
        expectError([&] { t.RemoveTag(file, true); }, 109, "clsID3v2::RemoveTag", description);
    }
}

TEST_F(TagFile, FrameRunningPastTheBodyRaises112) {
    QByteArray body = frame("TIT2", textBody("Title")) + frame("TPE1", textBody("Artist"));
    body[10 + 7 + 7] = 100; // TPE1 claims 100 bytes; 8 follow
    const QString file = make(tag(body) + kAudio);
    clsID3v2 t;
    expectError([&] { t.ReadTag(file); }, 112, "ID3v2::ReadTag",
                "The file " + file + " has an invalid file size.");
}

TEST_F(TagFile, HugeFrameSizeRaises112WithoutReading) {
    QByteArray body = frame("APIC", QByteArray(20, 'x'));
    body[4] = char(0xFF); // about 4 GB claimed
    const QString file = make(tag(body) + kAudio);
    clsID3v2 t;
    expectError([&] { t.ReadTag(file); }, 112, "ID3v2::ReadTag",
                "The file " + file + " has an invalid file size.");
}

TEST_F(TagFile, TagLongerThanTheFileRaises112) {
    QByteArray bytes = tag(frame("TIT2", textBody("Title")));
    bytes[6] = 0x7F; // a quarter of a gigabyte claimed by a small file
    const QString file = make(bytes);
    clsID3v2 t;
    expectError([&] { t.ReadTag(file); }, 112, "ID3v2::ReadTag",
                "The file " + file + " has an invalid file size.");
    const QString shortFile = make(QByteArray("ID3\x03\0\0", 6), "short.mp3");
    expectError([&] { t.ReadTag(shortFile); }, 112, "ID3v2::ReadTag",
                "The file " + shortFile + " has an invalid file size.");
}

TEST_F(TagFile, BadFrameBodyRaisesTheFramesError) {
    const QString file = make(tag(frame("TIT2", {})) + kAudio);
    clsID3v2 t;
    expectError([&] { t.ReadTag(file); }, 105, "TextFrame::parseBytes",
                "The data supplied does not make a valid text frame");
}

TEST_F(TagFile, UnsynchronisedTagIsRestoredAndWrittenPlain) {
    // Unsynchronisation puts a 00 after every FF of the frames; the frame
    // sizes count the bytes before it was applied.
    const QByteArray frames = frame("APIC", hex("FF D8 FF E0 00 FF"));
    QByteArray unsynchronised;
    for (char b : frames) {
        unsynchronised.append(b);
        if (static_cast<unsigned char>(b) == 0xFF)
            unsynchronised.append('\0');
    }
    const QString file = make(tag(unsynchronised, 3, 0x80) + kAudio);
    clsID3v2 t;
    t.ReadTag(file);
    ASSERT_EQ(t.Frames().Count(), 1);
    EXPECT_EQ(bodyOf(*t.Frames().Item(1)), hex("FF D8 FF E0 00 FF"));
    t.WriteTag(file, false);
    const QByteArray written = readBytes(file);
    EXPECT_EQ(written.at(5), 0); // flags: not unsynchronised
    EXPECT_EQ(written.mid(10, frames.size()), frames);
    EXPECT_EQ(written.right(kAudio.size()), kAudio);
}

TEST_F(TagFile, ExtendedHeaderIsSkipped) {
    const QByteArray extended = hex("00 00 00 06 00 00 00 00 00 00");
    const QString file = make(tag(extended + frame("TPE1", textBody("Ext")), 3, 0x40) + kAudio);
    clsID3v2 t;
    t.ReadTag(file);
    EXPECT_EQ(t.GetFrameValue(eArtist), "Ext");
    t.WriteTag(file, false);
    t.ReadTag(file);
    EXPECT_EQ(t.GetFrameValue(eArtist), "Ext");
}

// --- writing ---------------------------------------------------------------

TEST_F(TagFile, TagWithoutAudioTagGoesInFrontOfTheWholeFile) {
    const QString file = make(kAudio);
    clsID3v2 t;
    t.SetFrameValue(eTitle, "abc");
    t.WriteTag(file, false);
    EXPECT_TRUE(t.HasTag());
    const QByteArray frames = frame("TIT2", hex("00 61 62 63 00"));
    const QByteArray expected =
        hex("49 44 33 03 00 00 00 00 02 01") + frames + QByteArray(257 - frames.size(), '\0');
    EXPECT_EQ(readBytes(file), expected + kAudio);
}

TEST_F(TagFile, FramesOf257BytesGetNoPadding) {
    const QString file = make(kAudio);
    clsID3v2 t;
    t.SetFrameValue(eTitle, QString(245, 'a')); // 10 + 1 + 245 + 1 = 257
    t.WriteTag(file, false);
    const QByteArray written = readBytes(file);
    EXPECT_EQ(written.mid(6, 4), hex("00 00 02 01"));
    EXPECT_EQ(written.size(), 10 + 257 + kAudio.size());
    EXPECT_EQ(written.mid(10 + 257), kAudio);
}

TEST_F(TagFile, FramesOf258BytesGet256BytesOfPadding) {
    const QString file = make(kAudio);
    clsID3v2 t;
    t.SetFrameValue(eTitle, QString(246, 'a'));
    t.WriteTag(file, false);
    const QByteArray written = readBytes(file);
    QByteArray size;
    LongToByte(514, size);
    EXPECT_EQ(written.mid(6, 4), size);
    EXPECT_EQ(written.mid(10 + 258, 256), QByteArray(256, '\0'));
    EXPECT_EQ(written.mid(10 + 514), kAudio);
}

TEST_F(TagFile, EmptyListWritesTenByteHeader) {
    const QString file = make(tag(frame("TIT2", textBody("old")) + QByteArray(50, '\0')) + kAudio);
    clsID3v2 t;
    t.WriteTag(file, false);
    EXPECT_EQ(readBytes(file), hex("49 44 33 03 00 00 00 00 00 00") + kAudio);
    t.ReadTag(file);
    EXPECT_TRUE(t.HasTag());
    EXPECT_EQ(t.Frames().Count(), 0);
}

TEST_F(TagFile, Version4TagIsReplacedWhole) {
    const QString file = make(tag(frame("TIT2", hex("03") + "Four"), 4) + kAudio);
    clsID3v2 t;
    t.ReadTag(file);
    t.SetFrameValue(eTitle, "Three");
    t.WriteTag(file, false);
    const QByteArray written = readBytes(file);
    EXPECT_EQ(written.left(4), QByteArray("ID3\x03"));
    EXPECT_EQ(written.mid(10 + 257), kAudio);
    clsID3v2 again;
    again.ReadTag(file);
    EXPECT_EQ(again.GetFrameValue(eTitle), "Three");
}

// A version 4 tag may end in a 10-byte footer (header flag 0x10): it goes
// with the tag. The flag means nothing in a version 3 header.
TEST_F(TagFile, Version4FooterGoesWithItsTag) {
    const QByteArray v4 = tag(frame("TIT2", hex("03") + "Four"), 4, 0x10);
    const QByteArray withFooter = v4 + "3DI" + v4.mid(3, 7);
    const QByteArray emptyTag = hex("49 44 33 03 00 00 00 00 00 00");
    const QByteArray v3 = tag(frame("TIT2", textBody("x")), 3, 0x10);
    const struct {
        QByteArray before;
        bool remove;
        QByteArray after;
    } cases[] = {{withFooter + kAudio, false, emptyTag + kAudio},
                 {withFooter + kAudio, true, kAudio},
                 {v3 + kAudio, true, kAudio},
                 {v3 + kAudio, false, emptyTag + kAudio}};
    for (const auto& c : cases) {
        const QString file = make(c.before);
        clsID3v2 t;
        if (c.remove)
            t.RemoveTag(file, false);
        else
            t.WriteTag(file, false);
        EXPECT_EQ(readBytes(file), c.after) << c.remove;
    }
}

TEST_F(TagFile, RewriteKeepsPermissionsAndLeavesNoTemporaryFile) {
    const QString file = make(kAudio);
    setPermissionBits(file, 0640);
    clsID3v2 t;
    t.SetFrameValue(eGenre, "House");
    t.WriteTag(file, false);
    EXPECT_EQ(permissionBits(file), 0640u);
    EXPECT_EQ(files(), QStringList({"song.mp3"}));
}

TEST_F(TagFile, WriteThroughALinkRewritesTheFileItNames) {
    const QString file = make(kAudio);
    ASSERT_TRUE(QFile::link(file, path("link.mp3")));
    clsID3v2 t;
    t.SetFrameValue(eTitle, "Linked");
    t.WriteTag(path("link.mp3"), false);
    EXPECT_TRUE(QFileInfo(path("link.mp3")).isSymLink());
    clsID3v2 back;
    back.ReadTag(file);
    EXPECT_EQ(back.GetFrameValue(eTitle), "Linked");
}

TEST_F(TagFile, WriteErrors) {
    clsID3v2 t;
    const QString absent = path("absent.mp3");
    expectError([&] { t.WriteTag(absent, false); }, 109, "clsID3v2::WriteTag",
                "The file, " + absent + ", was not found.");
    QByteArray bytes = tag(frame("TIT2", textBody("x")));
    bytes[7] = 0x40; // tag longer than the file, whatever the version
    bytes[3] = 2;
    const QString file = make(bytes);
    expectError([&] { t.WriteTag(file, false); }, 112, "ID3v2::WriteTag",
                "The file " + file + " has an invalid file size.");
    EXPECT_EQ(readBytes(file), bytes);
    EXPECT_EQ(files(), QStringList({"song.mp3"}));
}

TEST_F(TagFile, FailedRewriteLeavesTheTargetAndNoTemporaryFile) {
    // The file-size limit stops the temporary file half-way: a write error.
    const QByteArray original = tag(frame("TIT2", textBody("Old"))) + silentMpeg(200);
    const QString file = make(original);
    clsID3v2 t;
    t.SetFrameValue(eTitle, "New");
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &previous);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 20000;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    bool raised = false;
    try {
        t.WriteTag(file, false);
    } catch (const com::ComError& e) {
        raised = true;
        EXPECT_EQ(e.source(), "clsID3v2::WriteTag");
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_TRUE(raised);
    EXPECT_EQ(readBytes(file), original);
    EXPECT_EQ(files(), QStringList({"song.mp3"}));
}

TEST_F(TagFile, TemporaryNameIsFreeNameBesideTheFile) {
    const QString file = make(kAudio);
    EXPECT_EQ(TempFileName(file), file + ".new");
    make("taken", "song.mp3.new");
    const QString name = TempFileName(file);
    const QString stamp = QFileInfo(name).fileName().left(7);
    EXPECT_EQ(QFileInfo(name).path(), QFileInfo(file).path());
    EXPECT_TRUE(QFileInfo(name).fileName().endsWith("-song.mp3")) << name.toStdString();
    EXPECT_TRUE(QTime::fromString(stamp, "hhmmss-").isValid()) << stamp.toStdString();
}

// --- read-only -------------------------------------------------------------

TEST_F(TagFile, ReadOnlyFileRaises111AndStaysAsItWas) {
    const QString file = make(kAudio);
    setPermissionBits(file, 0444);
    clsID3v2 t;
    t.SetFrameValue(eTitle, "x");
    const QString description = "The file " + file + ", is read only";
    expectError([&] { t.WriteTag(file, false); }, 111, "clsID3v2::WriteTag", description);
    expectError([&] { t.RemoveTag(file, false); }, 111, "clsID3v2::RemoveTag", description);
    EXPECT_EQ(readBytes(file), kAudio);
    EXPECT_EQ(permissionBits(file), 0444u);
}

TEST_F(TagFile, ReadOnlyIsClearedWhenIgnored) {
    const QString file = make(kAudio);
    setPermissionBits(file, 0444);
    clsID3v2 t;
    t.SetFrameValue(eTitle, "x");
    t.WriteTag(file, true);
    EXPECT_EQ(permissionBits(file), 0644u);
    EXPECT_FALSE(IsFileReadOnly(file));
    setPermissionBits(file, 0440);
    t.RemoveTag(file, true);
    EXPECT_EQ(permissionBits(file), 0640u);
    EXPECT_EQ(readBytes(file), kAudio);
}

TEST_F(TagFile, IsFileReadOnlyOfMissingFileRaises109) {
    const QString absent = path("absent.mp3");
    expectError([&] { IsFileReadOnly(absent); }, 109, "IsFileReadOnly",
                "The file, " + absent + ", was not found.");
}

// --- removing --------------------------------------------------------------

TEST_F(TagFile, RemoveTagLeavesTheAudio) {
    const QString file = make(tag(frame("TIT2", textBody("T")) + QByteArray(30, '\0')) + kAudio);
    clsID3v2 t;
    t.ReadTag(file);
    t.RemoveTag(file, false);
    EXPECT_FALSE(t.HasTag());
    EXPECT_EQ(t.Frames().Count(), 0);
    EXPECT_EQ(readBytes(file), kAudio);
    EXPECT_EQ(files(), QStringList({"song.mp3"}));
}

TEST_F(TagFile, RemoveTagWithoutTagChangesNothing) {
    const QString file = make(kAudio);
    clsID3v2 t;
    t.SetFrameValue(eTitle, "kept");
    t.RemoveTag(file, false);
    EXPECT_EQ(readBytes(file), kAudio);
    EXPECT_EQ(t.GetFrameValue(eTitle), "kept");
}

TEST_F(TagFile, RemoveTagErrors) {
    clsID3v2 t;
    const QString absent = path("absent.mp3");
    expectError([&] { t.RemoveTag(absent, false); }, 109, "clsID3v2::RemoveTag",
                "The file, " + absent + ", was not found.");
    QByteArray bytes = tag(frame("TIT2", textBody("x")));
    bytes[7] = 0x40;
    const QString file = make(bytes);
    expectError([&] { t.RemoveTag(file, false); }, 112, "clsID3v2::RemoveTag",
                "The file " + file + " has an invalid file size.");
    EXPECT_EQ(readBytes(file), bytes);
}

// --- frame values ----------------------------------------------------------

TEST_F(TagFile, CommentValueIsOnlyTheText) {
    const QString file = make(
        tag(frame("COMM", hex("00") + "eng" + QByteArray("description\0", 12) + "the text\0")) +
        kAudio);
    clsID3v2 t;
    t.ReadTag(file);
    EXPECT_EQ(t.GetFrameValue(eComment), "the text");
    EXPECT_EQ(t.GetFrameValue(eTitle), "");
}

TEST(FrameValues, SetCreatesFramesOfTheRightKindInOrder) {
    clsID3v2 t;
    t.SetFrameValue(eTitle, "Title");
    t.SetFrameValue(eComment, "x");
    t.SetFrameValue(eURL, "http://u");
    t.SetFrameValue(eTitle, "Second");
    ASSERT_EQ(t.Frames().Count(), 3);
    EXPECT_EQ(t.Frames().Item(1)->Data(), QString("Second") + QChar(0));
    EXPECT_EQ(bodyOf(*t.Frames().Item(2)), hex("00 00 00 00 00 78 00"));
    EXPECT_EQ(t.Frames().Item(3)->FrameID(), "WXXX");
    EXPECT_EQ(bodyOf(*t.Frames().Item(3)), hex("00 00") + QByteArray("http://u\0", 9));
    EXPECT_EQ(t.GetFrameValue(eURL), "http://u");
    expectError([&] { t.SetFrameValue(static_cast<eID3FrameIDs>(99), "x"); }, 108,
                "ID3v2::LookupFrameID", "An unknown frame ID (99)  was supplied.");
    expectError([&] { t.GetFrameValue(static_cast<eID3FrameIDs>(0)); }, 108, "ID3v2::LookupFrameID",
                "An unknown frame ID (0)  was supplied.");
}

TEST_F(TagFile, SetValuesBeyondLatin1AreWrittenAsUtf16) {
    struct Case {
        eID3FrameIDs id;
        QString value;
        QByteArray frame;
    } cases[] = {
        {eTitle, QString::fromUtf8("Ωmega"),
         frame("TIT2", hex("01 FF FE A9 03 6D 00 65 00 67 00 61 00 00 00"))},
        {eArtist, QString::fromUtf8("Café"), frame("TPE1", hex("00 43 61 66 E9 00"))},
        {eComment, QString::fromUtf8("Ω"),
         frame("COMM", hex("01 00 00 00 FF FE 00 00 FF FE A9 03 00 00"))},
        {eURL, QString::fromUtf8("http://a/Ω"),
         frame("WXXX", hex("00 00") + QByteArray("http://a/%CE%A9\0", 16))},
    };
    const QString file = make(kAudio);
    clsID3v2 t;
    QByteArray frames;
    for (const Case& c : cases) {
        t.SetFrameValue(c.id, c.value);
        frames += c.frame;
    }
    t.WriteTag(file, false);
    EXPECT_EQ(readBytes(file).mid(10, frames.size()).toHex(' '), frames.toHex(' '));
    clsID3v2 back;
    back.ReadTag(file);
    for (const Case& c : cases) {
        if (c.id != eURL) {
            EXPECT_EQ(back.GetFrameValue(c.id), c.value);
        }
    }
}

TEST_F(TagFile, OtherTaggersFramesReadAsWrittenAndUneditedOnesStayByteForByte) {
    const QByteArray title =
        frame("TIT2", hex("01 FF FE DC 00 6E 00 EF 00 63 00"));                 // no terminator
    const QByteArray artist = frame("TPE1", hex("01 FE FF 00 41 00 DF 00 00")); // big-endian
    const QByteArray comment =
        frame("COMM", hex("01") + "eng" + hex("FF FE 00 00 FF FE 68 00 69 00 00 00"));
    const QString file = make(tag(title + artist + comment) + kAudio);
    clsID3v2 t;
    t.ReadTag(file);
    EXPECT_EQ(t.GetFrameValue(eTitle), QString::fromUtf8("Ünïc"));
    EXPECT_EQ(t.GetFrameValue(eArtist), QString::fromUtf8("Aß"));
    EXPECT_EQ(t.GetFrameValue(eComment), "hi");
    t.SetFrameValue(eComment, "Note");
    t.WriteTag(file, false);
    const QByteArray expected =
        title + artist + frame("COMM", hex("00") + "eng" + hex("00") + "Note" + hex("00"));
    EXPECT_EQ(readBytes(file).mid(10, expected.size()).toHex(' '), expected.toHex(' '));
}

// Compression (0x0080), encryption (0x0040) and grouping (0x0020) describe a
// body we no longer write: a set value clears them; the status byte stays.
TEST_F(TagFile, SetValueWritesAPlainFrame) {
    const QByteArray compressedTitle = qCompress(textBody("Old title")); // size, then zlib
    const QByteArray album = frame("TALB", qCompress(textBody("Album")), hex("00 80"));
    const struct {
        QByteArray flags, written;
    } cases[] = {{hex("00 80"), hex("00 00")},
                 {hex("00 40"), hex("00 00")},
                 {hex("00 20"), hex("00 00")},
                 {hex("00 E0"), hex("00 00")},
                 {hex("60 A0"), hex("60 00")}};
    for (const auto& c : cases) {
        const QString file = make(tag(frame("TIT2", compressedTitle, c.flags) + album) + kAudio);
        clsID3v2 t;
        t.ReadTag(file);
        t.SetFrameValue(eTitle, "New");
        t.WriteTag(file, false);
        const QByteArray expected = frame("TIT2", textBody("New"), c.written) + album;
        EXPECT_EQ(readBytes(file).mid(10, expected.size()).toHex(' '), expected.toHex(' '))
            << c.flags.toHex().toStdString();
    }
}

// The comment is the first COMM without a description; machine data kept in
// described comments (normalisation, encoder settings) is neither shown over
// it nor overwritten.
TEST_F(TagFile, CommentIsTheFirstWithoutDescription) {
    const auto comm = [](const QByteArray& description, const QByteArray& text) {
        return frame("COMM", hex("00") + "eng" + description + hex("00") + text + hex("00"));
    };
    const QByteArray norm = comm("iTunNORM", " 0000021A 00000260");
    const QByteArray added = frame("COMM", hex("00 00 00 00 00") + "New" + hex("00"));
    const QByteArray utf16 = frame("COMM", hex("01") + "eng" + hex("FF FE 00 00 FF FE 55 00"));
    const struct {
        QByteArray frames;
        QString shown;
        QByteArray afterSet;
    } cases[] = {
        {norm + comm("", "Real"), "Real", norm + comm("", "New")},
        {norm, " 0000021A 00000260", norm + added},
        {comm("", "A") + comm("", "B"), "A", comm("", "New") + comm("", "B")},
        {norm + utf16, "U", norm + comm("", "New")},
        {{}, "", added},
    };
    for (const auto& c : cases) {
        const QString file = make(tag(c.frames) + kAudio);
        clsID3v2 t;
        t.ReadTag(file);
        EXPECT_EQ(t.GetFrameValue(eComment), c.shown);
        t.SetFrameValue(eComment, "New");
        t.WriteTag(file, false);
        EXPECT_EQ(readBytes(file).mid(10, c.afterSet.size()).toHex(' '), c.afterSet.toHex(' '));
    }
}

TEST_F(TagFile, ValuesSurviveAWriteAndRead) {
    const QString file = make(kAudio);
    clsID3v2 t;
    const QList<QPair<eID3FrameIDs, QString>> values = {
        {eTrack, "7"},
        {eTitle, "Title"},
        {eArtist, "Artist"},
        {eAlbum, "Album"},
        {eYear, "1999"},
        {eGenre, "Techno"},
        {eComment, "Comment"},
        {eComposer, "Composer"},
        {eOrigArtist, "Original"},
        {eCopyright, "(c) me"},
        {eURL, "http://x/"},
        {eEncodedBy, QString::fromLatin1("Enc\xE9")}};
    for (const auto& [id, value] : values)
        t.SetFrameValue(id, value);
    t.WriteTag(file, true);
    clsID3v2 back;
    back.ReadTag(file);
    for (const auto& [id, value] : values)
        EXPECT_EQ(back.GetFrameValue(id), value) << id;
    EXPECT_EQ(readBytes(file).right(kAudio.size()), kAudio);
}
