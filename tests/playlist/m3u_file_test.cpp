// M3U files as other players write them and as the program writes them.
#include "playlist/m3u_file.h"
#include "tests/playlist/playlist_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

TEST(M3uRead, AnyLineEndDirectivesRelativePathsAndUris) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("lists"));
    const QString lists = dir.path() + "/lists/";
    const QString music = dir.path() + "/music/";
    struct Case {
        const char* what;
        QByteArray bytes;
        QStringList entries;
    } cases[] = {
        {"CR LF", "/a.mp3\r\n/b.mp3\r\n", {"/a.mp3", "/b.mp3"}},
        {"LF only", "/a.mp3\n/b.mp3\n", {"/a.mp3", "/b.mp3"}},
        {"CR only", "/a.mp3\r/b.mp3\r", {"/a.mp3", "/b.mp3"}},
        {"last line unterminated", "/a.mp3\r\n/b.mp3", {"/a.mp3", "/b.mp3"}},
        {"blank line and spaces", "  /a.mp3  \r\n\r\n/b.mp3\r\n", {"/a.mp3", "", "/b.mp3"}},
        {"extended M3U",
         "#EXTM3U\n#EXTINF:123,Artist - Title\n/a.mp3\n#EXTINF:-1,X\n/b.mp3\n",
         {"/a.mp3", "/b.mp3"}},
        {"relative to the playlist's folder",
         "../music/a b.mp3\nsub/c.mp3\n",
         {music + "a b.mp3", lists + "sub/c.mp3"}},
        {"file URIs, percent-decoded",
         "file:///m/a%20b.mp3\r\nfile:///m/Caf%C3%A9.mp3\r\n",
         {"/m/a b.mp3", "/m/Caf\u00e9.mp3"}},
        {"a relative file: URI and a name starting with a colon",
         "file:sub/a%20b.mp3\n:c.mp3\n",
         {lists + "sub/a b.mp3", lists + ":c.mp3"}},
        {"UTF-8 with byte-order mark",
         "\xEF\xBB\xBF/Caf\xC3\xA9/\xE6\x97\xA5.mp3\n",
         {"/Caf\u00e9/\u65e5.mp3"}},
        {"Windows code page from an older player",
         "/Caf\xE9 \x96 Bar.mp3\n",
         {"/Caf\u00e9 \u2013 Bar.mp3"}},
        {"written on Windows",
         "..\\music\\a b.mp3\r\nC:\\Music\\c.mp3\r\n",
         {music + "a b.mp3", "C:\\Music\\c.mp3"}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(playlist::readPlaylistFile(put(lists + "list.m3u8", c.bytes)), c.entries)
            << c.what;
}

TEST(M3uRead, BinaryOrMissingFileGivesNoEntries) {
    QTemporaryDir dir;
    QByteArray binary("ID3\x03\x00\x00\x00\x00\x00\x10\r\n\xff\xfb\x90\x64\nabc\r\n", 22);
    EXPECT_TRUE(playlist::readPlaylistFile(put(dir.path() + "/song.m3u", binary)).isEmpty());
    EXPECT_TRUE(playlist::readPlaylistFile(dir.path() + "/none.m3u").isEmpty());
    EXPECT_TRUE(playlist::readPlaylistFile(dir.path()).isEmpty()); // a folder
}

TEST(M3uWrite, EveryLineEndsWithCrLfAndTheFileKeepsItsPermissions) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/mix.m3u";
    ASSERT_TRUE(playlist::writePlaylistFile(path, {"/a b/1.mp3", "/Caf\u00e9/2.mp3", ""}));
    EXPECT_EQ(contents(path), "/a b/1.mp3\r\n/Caf\xC3\xA9/2.mp3\r\n\r\n");
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    ASSERT_TRUE(playlist::writePlaylistFile(path, {}));
    EXPECT_EQ(contents(path), "");
    EXPECT_EQ(QFile::permissions(path) & 0x7077 /* owner, group, others */,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"mix.m3u"}); // no temp left
}

TEST(M3uWrite, AFolderThatRefusesWritesFailsAndLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString path = put(dir.path() + "/old.m3u", "/x.mp3\r\n");
    const QString locked = playlist_test::unwritableFolder(dir.path());
    EXPECT_FALSE(playlist::writePlaylistFile(locked + "/new.m3u", {"/y.mp3"}));
    EXPECT_FALSE(playlist::writePlaylistFile(dir.path() + "/no such folder/a.m3u", {"/y.mp3"}));
    playlist_test::releaseFolder(locked);
    // A read-only file (no write permission bits) is not replaced.
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner));
    EXPECT_FALSE(playlist::writePlaylistFile(path, {"/y.mp3"}));
    EXPECT_EQ(contents(path), "/x.mp3\r\n");
}

TEST(M3uNames, LabelAndWhichFilesArePlaylists) {
    EXPECT_EQ(playlist::playlistLabel("/lists/My Mix.m3u"), "My Mix");
    EXPECT_EQ(playlist::playlistLabel("/lists/Party.M3U8"), "Party");
    EXPECT_TRUE(playlist::isPlaylistPath("/x/A.M3U"));
    EXPECT_TRUE(playlist::isPlaylistPath("/x/a.m3u8"));
    EXPECT_FALSE(playlist::isPlaylistPath("/x/a.pls"));
}

} // namespace
