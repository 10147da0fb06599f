// What the tag editor is told an MP3 file is called: ID3v1 fields read from
// the file, names guessed from its path, the genre table.
#include "tags/id3v1_genres.h"
#include "tags/mp3_info.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray field(const char* text, int width, char fill = ' ') {
    QByteArray bytes(text);
    bytes.append(QByteArray(width - bytes.size(), fill));
    return bytes;
}

class Mp3InfoTest : public ::testing::Test {
protected:
    QString write(const QString& relative, const QByteArray& bytes) {
        const QString path = dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

TEST(Mp3Genres, TableRunsFromBluesToSynthPop) {
    const QStringList table = tags::genreTable();
    ASSERT_EQ(table.size(), 148);
    EXPECT_EQ(tags::genreName(0), "Blues");
    EXPECT_EQ(tags::genreName(67), "Phychedelic");
    EXPECT_EQ(tags::genreName(117), "power Ballad");
    EXPECT_EQ(tags::genreName(147), "Synth Pop");
    EXPECT_EQ(tags::genreName(148), "");
    EXPECT_EQ(tags::genreName(255), "");
}

TEST_F(Mp3InfoTest, ReadsTheTagFieldsTrimmedAndTheGenreByName) {
    const QByteArray tag = "TAG" + field("Song", 30) + field("Band", 30) + field("LP", 30) +
                           "1999" + field("nice", 30, '\0') + char(17);
    tags::clsMP3Info info;
    info.setFilename(write("a.mp3", QByteArray(400, 'x') + tag));
    EXPECT_TRUE(info.IsFileID3v1());
    EXPECT_EQ(info.Title(), "Song");
    EXPECT_EQ(info.Artist(), "Band");
    EXPECT_EQ(info.Album(), "LP");
    EXPECT_EQ(info.Year(), "1999");
    EXPECT_EQ(info.Comment(), QString("nice") + QString(26, QChar(0))); // zero bytes stay
    EXPECT_EQ(info.Genre(), "Rock");

    QByteArray noGenre = tag;
    noGenre[127] = char(255);
    info.setFilename(write("b.mp3", QByteArray(400, 'x') + noGenre));
    EXPECT_EQ(info.Genre(), "");
}

TEST_F(Mp3InfoTest, FilesWithoutTagOrNotMp3) {
    tags::clsMP3Info info;
    // Lower-case "tag" is no tag; a 100-byte file is too short for one: names are guessed.
    QByteArray lower = "tag" + field("X", 125);
    info.setFilename(write("Band - 01 - Song.mp3", QByteArray(300, 'x') + lower));
    EXPECT_EQ(info.Artist(), "Band");
    EXPECT_EQ(info.Title(), "Song");
    info.setFilename(write("My_Song.MP3", QByteArray(100, 'x')));
    EXPECT_TRUE(info.IsFileID3v1());
    EXPECT_EQ(info.Title(), "My Song");
    for (const QString& path :
         {write("song.wav", QByteArray(300, 'x')), dir.filePath("gone.mp3")}) {
        info.setFilename(path);
        EXPECT_FALSE(info.IsFileID3v1()) << path.toStdString();
        EXPECT_EQ(info.Title(), "");
    }
    QDir().mkpath(dir.filePath("folder.mp3"));
    info.setFilename(dir.filePath("folder.mp3"));
    EXPECT_FALSE(info.IsFileID3v1());
}

TEST(Mp3NameGuess, NamesFromFileAndFolders) {
    struct Case {
        const char* path;
        const char* title;
        const char* artist;
        const char* album;
    } cases[] = {
        {"/m/x/Artist - 05 - Title.mp3", "Title", "Artist ", ""},
        {"/m/x/My_Song.mp3", "My Song", "", ""},
        {"/m/x/(Band) - Song.mp3", "Song", "Band", ""},
        {"/m/x/(Band) Song-Album.mp3", "Song", "Band", "Album"},
        {"/m/x/(Band) Song.mp3", "Song", "Band", ""},
        {"/m/x/Artist - Album - 3 - Track.mp3", "Track", "Artist ", "Album "},
        // No title in the name: the folder is taken as part of it.
        {"/music/Album/Artist - 1.mp3", "", "music ", "Album "},
        {"/music/Band/07 - Tune.mp3", "Tune", "Band ", ""},
    };
    for (const Case& c : cases) {
        const tags::Mp3Fields f = tags::guess_from_name(c.path);
        EXPECT_EQ(f.title, c.title) << c.path;
        EXPECT_EQ(f.artist, c.artist) << c.path;
        EXPECT_EQ(f.album, c.album) << c.path;
    }
    EXPECT_EQ(tags::parent_and_name("/a/b /c.mp3"), "/a/b - c.mp3");
    EXPECT_EQ(tags::count_of("a-b-c", "-"), 2);
    EXPECT_EQ(tags::count_of("", "-"), 0);
}

} // namespace
