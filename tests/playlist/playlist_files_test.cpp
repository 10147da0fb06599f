// Adding songs, opening, importing, saving and closing playlists, and the
// playlist reopened at start-up, through the dialogs a user answers.
#include "core/fixed_texts.h"
#include "core/registry_values.h"
#include "platform/system/folders.h"
#include "tests/playlist/playlist_fixture.h"
#include "tests/tags/tag_files.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QUrl>

namespace {

using playlist_test::PlaylistTest;
using playlist_test::taggedSong;

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

TEST_F(PlaylistTest, AddingNumbersNewEntriesAfterTheOnesThere) {
    load();
    add({"one.mp3"});
    const ui::FileDialogRequest& first = dialogs.fileRequests().at(0);
    EXPECT_EQ(first.title, "Load Music Files...");
    EXPECT_EQ(first.flags, 0x28120Cu);
    add({"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"}, "/"); // a root: no second "/"
    EXPECT_EQ(paths(),
              (QStringList{"/m/one.mp3", "/a.mp3", "/b.mp3", "/c.mp3", "/d.mp3", "/e.mp3"}));
    EXPECT_EQ(lines(), (QStringList{"1.  one.mp3", "2.  a.mp3", "3.  b.mp3", "4.  c.mp3",
                                    "5.  d.mp3", "6.  e.mp3"}));
    EXPECT_EQ(state->playlist.lastAddedFile, "/e.mp3");
    EXPECT_EQ(state->playlist.cursor(), 0); // the cursor stays on the entry selected before
    EXPECT_TRUE(state->playlist.changed());
    dialogs.expectCancelledFile();
    w->addCB_Click();
    EXPECT_EQ(state->playlist.lastAddedFile, "");
    EXPECT_EQ(paths().size(), 6);
}

// A file dialog opens in the folder it is given when that exists (the
// playlist folder), else where a file was last chosen in it, else in the
// music folder, else at home: never in the program's working folder.
TEST_F(PlaylistTest, FileDialogsOpenWhereTheUserWas) {
    const QString home = folder() + "/home";
    const QString music = home + "/Tunes";
    ASSERT_TRUE(QDir().mkpath(music));
    file("config/user-dirs.dirs", "XDG_MUSIC_DIR=\"$HOME/Tunes\"\n");
    const QByteArray saved[] = {qgetenv("HOME"), qgetenv("XDG_CONFIG_HOME")};
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder() + "/config"));
    qunsetenv("XDG_MUSIC_DIR");
    state->settings.playlistPath = folder() + "/lists";
    file("lists/a.m3u");
    const QString other = file("other/b.m3u");
    load();
    const auto shownIn = [&] { return dialogs.fileRequests().back().initialFolder; };

    add({"1.mp3"}, folder() + "/songs"); // no DJMixes beside the program
    EXPECT_EQ(shownIn(), music);
    QDir().mkpath(folder() + "/songs");
    add({"2.mp3", "3.mp3"}, folder() + "/songs");
    EXPECT_EQ(shownIn(), folder() + "/songs");
    dialogs.expectFile(folder() + "/gone/4.mp3"); // a folder since removed
    w->addCB_Click();
    QDir(music).removeRecursively();
    add({"5.mp3"});
    EXPECT_EQ(shownIn(), home);

    for (const QString& expected : {folder() + "/lists", folder() + "/other"}) {
        dialogs.expectFile(other);
        w->importPlaylistCB_Click();
        EXPECT_EQ(shownIn(), expected);
    }
    qputenv("HOME", saved[0]);
    qputenv("XDG_CONFIG_HOME", saved[1]);
}

TEST_F(PlaylistTest, OpeningAPlaylistFromAnotherFolderFindsItsSongs) {
    // An extended UTF-8 playlist with LF line ends, a relative path, a file://
    // URI and an unterminated last line, opened while the program works
    // elsewhere: every entry is found and titled from its tags.
    const QString songA = file("music/Ca f\u00e9/a.mp3", taggedSong("Alpha"));
    file("music/b.mp3", taggedSong("Bravo"));
    file("music/c d.mp3", taggedSong("Charlie"));
    const QString list =
        file("lists/party.m3u8",
             "#EXTM3U\n#EXTINF:1,x\n" + songA.toUtf8() + "\n../music/b.mp3\n" + "file://" +
                 QUrl::toPercentEncoding(folder() + "/music/c d.mp3", "/") + "\n");
    load();
    state->playlist.setChanged(true);
    dialogs.expectFile(list);
    dialogs.expectBox(ui::vbNo); // do not save the changed list
    w->openPlaylistCB_Click();
    EXPECT_EQ(dialogs.fileRequests().back().title, "Open Playlist...");
    EXPECT_EQ(dialogs.boxes().back().text, "Save Playlist Changes? ");
    EXPECT_EQ(lines(),
              (QStringList{"1.  Alpha - Artist", "2.  Bravo - Artist", "3.  Charlie - Artist"}));
    EXPECT_EQ(paths()[1], folder() + "/music/b.mp3");
    EXPECT_EQ(paths()[2], folder() + "/music/c d.mp3");
    EXPECT_EQ(w->playlistLABEL->text(), "party");
    EXPECT_EQ(state->playlist.currentPlaylist(), list);
    EXPECT_EQ(state->playlist.savePath(), list);
    EXPECT_FALSE(state->playlist.changed());
    EXPECT_EQ(state->playlist.cursor(), 0);
    EXPECT_EQ(state->playlist.nextSongPath(), songA);
}

// A list from another player titles its entries (#EXTINF): a file whose
// tags give no title shows the listed one, also once the list is sorted;
// tags still win, and an entry listed without one shows its file name.
TEST_F(PlaylistTest, ListedTitlesStandInForMissingTags) {
    const QString tagless =
        file("music/tagless.mp3", QByteArray::fromStdString(tag_files::plainMp3()));
    const QString tagged = file("music/tagged.mp3", taggedSong("Alpha"));
    const QString list = file("other.m3u", "#EXTM3U\n#EXTINF:200 tvg-name=\"x,y\",Zed - Wanted\n" +
                                               tagless.toUtf8() + "\n#EXTINF:100,Listed\n" +
                                               tagged.toUtf8() + "\n/nowhere/plain.wav\n");
    load();
    w->Load_playlist(list);
    EXPECT_EQ(lines(), (QStringList{"1.  Zed - Wanted", "2.  Alpha - Artist", "3.  plain.wav"}));
    w->cmdAZsort_Click();
    EXPECT_EQ(lines(), (QStringList{"1.  Alpha - Artist", "2.  plain.wav", "3.  Zed - Wanted"}));
}

TEST_F(PlaylistTest, ImportAppendsNumberedAfterTheList) {
    file("in.m3u", "/x/1.mp3\r\n/x/2.mp3\r\n");
    load();

    for (int i = 0; i < 10; ++i)
        add({QString("s%1.mp3").arg(i)});
    state->playlist.setCurrentPlaylist("/lists/kept.m3u");
    dialogs.expectFile(folder() + "/in.m3u");
    w->importPlaylistCB_Click();
    EXPECT_EQ(dialogs.fileRequests().back().title, "Import Playlist...");
    EXPECT_EQ(lines().mid(10), (QStringList{"11.  1.mp3", "12.  2.mp3"}));
    EXPECT_EQ(state->playlist.currentPlaylist(), "/lists/kept.m3u");
    dialogs.expectFile(folder() + "/in.pls"); // not a playlist: ignored
    w->importPlaylistCB_Click();
    EXPECT_EQ(paths().size(), 12);
}

TEST_F(PlaylistTest, SaveWritesEveryPathWithCrLfAndAddsTheExtension) {
    load();
    add({"a b.mp3", "Caf\u00e9.mp3", "\u65e5.mp3"}, folder() + "/m\u00fcsic");
    struct Case {
        QString chosen, written;
    } cases[] = {{folder() + "/Mix", folder() + "/Mix.m3u"},
                 {folder() + "/LOUD.M3U", folder() + "/LOUD.M3U"}};
    for (const Case& c : cases) {
        state->playlist.setCurrentPlaylist({});
        dialogs.expectFile(c.chosen);
        dialogs.expectBox(ui::vbOK);
        w->saveCB_Click();
        EXPECT_EQ(dialogs.boxes().back().text, "Playlist has been saved.");
        EXPECT_EQ(contents(c.written),
                  (folder() + "/m\u00fcsic/a b.mp3\r\n" + folder() +
                   "/m\u00fcsic/Caf\u00e9.mp3\r\n" + folder() + "/m\u00fcsic/\u65e5.mp3\r\n")
                      .toUtf8());
        EXPECT_EQ(state->playlist.currentPlaylist(), c.written);
        EXPECT_FALSE(state->playlist.changed());
    }
    const ui::FileDialogRequest& save = dialogs.fileRequests().at(1);
    EXPECT_EQ(save.title, "Save Playlist As...");
    EXPECT_EQ(save.defaultExt, "m3u");
    EXPECT_EQ(save.fileName, "DJ Mix1");
    EXPECT_EQ(w->playlistLABEL->text(), "LOUD");

    // With a file in use the save goes there without a dialog; the saved
    // list reads back the same (spaces and non-ASCII names round-trip). A
    // reader that opened the file before still reads the old list: the new
    // one replaces it whole.
    QFile reader(folder() + "/LOUD.M3U");
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    const QByteArray old = contents(reader.fileName());
    add({"d.mp3"});
    dialogs.expectBox(ui::vbOK);
    w->saveCB_Click();
    EXPECT_EQ(reader.readAll(), old);
    EXPECT_EQ(contents(reader.fileName()), old + "/m/d.mp3\r\n");
    const QStringList before = paths();
    w->Load_playlist(folder() + "/LOUD.M3U");
    EXPECT_EQ(paths(), before);
}

TEST_F(PlaylistTest, SaveToAReadOnlyFolderSaysSoAndOffersTheDialog) {
    load();
    add({"a.mp3"});
    const QString locked = playlist_test::unwritableFolder(folder());
    state->playlist.setCurrentPlaylist(locked + "/mix.m3u");
    dialogs.expectBox(ui::vbOK);               // cannot save
    dialogs.expectFile(folder() + "/mix.m3u"); // the second try
    dialogs.expectBox(ui::vbOK);               // saved
    w->saveCB_Click();
    playlist_test::releaseFolder(locked);
    ASSERT_EQ(dialogs.boxes().size(), 2u);
    EXPECT_EQ(dialogs.boxes()[0].text, "Cannot Save the playlist. Make sure the Drive you are "
                                       "writing to has space and is not write protected.");
    EXPECT_EQ(contents(folder() + "/mix.m3u"), "/m/a.mp3\r\n");
    EXPECT_EQ(state->playlist.currentPlaylist(), folder() + "/mix.m3u");
    EXPECT_FALSE(QFile::exists(locked + "/mix.m3u"));
}

TEST_F(PlaylistTest, BadPlaylistsLoadNothingHarmful) {
    load();
    // Missing songs load with their file names; a binary file loads nothing.
    const QString missing = file("gone.m3u", "/nowhere/Lost Song.mp3\r\n/nowhere/x.wav\r\n");
    w->Load_playlist(missing);
    EXPECT_EQ(lines(), (QStringList{"1.  Lost Song.mp3", "2.  x.wav"}));
    w->Load_playlist(file("binary.m3u", taggedSong("Not a list")));
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(w->playlistLABEL->text(), "binary");
    w->Load_playlist(folder() + "/absent.m3u");
    EXPECT_TRUE(lines().isEmpty());
    w->Load_playlist(file("list.txt", "/a.mp3\r\n")); // not a playlist: ignored
    EXPECT_EQ(state->playlist.currentPlaylist(), folder() + "/absent.m3u");
}

TEST_F(PlaylistTest, ClosingAsksAboutChangesAndRemembersThePlaylist) {
    const QString list = file("last.m3u", "/m/1.mp3\r\n/m/2.mp3\r\n");
    load();
    w->Load_playlist(list);
    w->show();
    add({"3.mp3"});
    dialogs.expectBox(ui::vbCancel);
    w->cmdcloseButton_Click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(dialogs.boxes().back().text, "Save Playlist to " + list + " ?");
    EXPECT_EQ(dialogs.boxes().back().title, "Save Playlist...");
    EXPECT_EQ(dialogs.boxes().back().buttons(), ui::vbYesNoCancel);
    dialogs.expectBox(ui::vbYes);
    dialogs.expectBox(ui::vbOK); // saved
    w->cmdcloseButton_Click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(contents(list), "/m/1.mp3\r\n/m/2.mp3\r\n/m/3.mp3\r\n");
    EXPECT_EQ(core::get_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), "Last Playlist"),
              list);

    // The next start reopens it, unchanged.
    state = std::make_unique<core::ProgramState>(dialogs);
    load();
    EXPECT_EQ(lines(), (QStringList{"1.  1.mp3", "2.  2.mp3", "3.  3.mp3"}));
    EXPECT_EQ(w->playlistLABEL->text(), "last");
    EXPECT_FALSE(state->playlist.changed());
    EXPECT_EQ(state->playlist.nextSongPath(), "/m/1.mp3");
}

TEST_F(PlaylistTest, NewPlaylistAsksAndForgetsTheFile) {
    load();
    w->Load_playlist(file("a.m3u", "/m/1.mp3\r\n"));
    dialogs.expectBox(ui::vbYes);  // create new playlist?
    dialogs.expectCancelledFile(); // then the add dialog
    w->newPlaylistCB_Click();
    EXPECT_EQ(dialogs.boxes().back().text, "Create New playlist?");
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(state->playlist.currentPlaylist(), "");
    EXPECT_EQ(w->playlistLABEL->text(), "DJ PLAYLIST");
    EXPECT_EQ(state->playlist.nextSongPath(), "");

    // A changed list whose save does not happen stays.
    add({"x.mp3"});
    dialogs.expectBox(ui::vbYes);  // save changes?
    dialogs.expectCancelledFile(); // the save dialog, cancelled
    w->newPlaylistCB_Click();
    EXPECT_EQ(dialogs.boxes().back().text, "Save Playlist Changes? ");
    EXPECT_EQ(paths(), QStringList{"/m/x.mp3"});
    dialogs.expectBox(ui::vbNo);
    w->newPlaylistCB_Click();
    EXPECT_TRUE(paths().isEmpty());
}

} // namespace
