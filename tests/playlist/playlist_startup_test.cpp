// The playlist's part in the program's life: the window loaded by tmrAsync
// while the splash counts the entries, a playlist or a song named on the
// command line, and the close's question about a changed playlist.
#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/startup.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "decks/decks.h"
#include "engine/engine_helpers.h"
#include "platform/audio/bass.h"
#include "tests/app/program_fixture.h"
#include "tests/playlist/playlist_fixture.h"
#include "tests/support/screenshots.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

class PlaylistStartupTest : public app_test::ProgramTest {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = folder() + "/" + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    // A playlist of `count` entries over four tagged songs.
    QString songList(int count) {
        const char* titles[] = {"Sunrise", "Bassline Theory", "Night Drive", "Caf\u00e9 Lounge"};
        QStringList songs;
        for (int i = 0; i < 4; ++i)
            songs << write(QString("song %1.mp3").arg(i),
                           playlist_test::taggedSong(QString::fromUtf8(titles[i]), "DJ Test"));
        QByteArray text;
        for (int i = 0; i < count; ++i)
            text += songs[i % 4].toUtf8() + "\r\n";
        return write("set.m3u", text);
    }
    QStringList lines() const {
        QStringList out;
        for (int i = 0; i < state->playlist.count(); ++i)
            out << state->playlist.line(i);
        return out;
    }
};

TEST_F(PlaylistStartupTest, TheLastPlaylistLoadsUnderTheSplash) {
    const QString list = songList(120);
    app_test::writeSetting("Last Playlist", list);
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(state->splash);
    // The splash is read the first time the loading runs events with an
    // entry read, however fast the machine reads the list.
    QString shown;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!state->splash || state->playlist.count() == 0)
            return;
        probe.stop();
        state->splash->tmrSplash_Timer();
        shown = state->splash->loadingLABEL->text();
        testing_support::saveScreenshot(state->splash, "splash_loading_playlist");
    });
    probe.start();
    w->tmrAsync_Timer();
    probe.stop();
    EXPECT_TRUE(shown.startsWith("Loading Playlist: ")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(" Songs done..."));
    const int done = shown.mid(18).section(' ', 0, 0).toInt();
    EXPECT_GT(done, 0);
    EXPECT_LT(done, 120);
    EXPECT_FALSE(state->splash);
    ASSERT_TRUE(state->playlistWindow);
    EXPECT_EQ(lines().size(), 120);
    EXPECT_EQ(lines()[3], "4.  Caf\u00e9 Lounge - DJ Test");
    EXPECT_EQ(w->mixerPanel.nextSong->text(), "1.  Sunrise - DJ Test");
    w->mixerPanel.playList->click();
    EXPECT_TRUE(state->playlistWindow->isVisible());
    EXPECT_FALSE(testing_support::saveScreenshot(state->playlistWindow, "playlist").isEmpty());
}

TEST_F(PlaylistStartupTest, APlaylistOnTheCommandLineIsOpened) {
    state->commandLine = songList(3);
    app_test::writeSetting("Last Playlist", "/elsewhere/other.m3u");
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    w->tmrAsync_Timer();
    EXPECT_EQ(lines().size(), 3);
    EXPECT_EQ(state->playlist.currentPlaylist(), state->commandLine);
    EXPECT_EQ(state->playlistWindow->playlistLABEL->text(), "set");
    EXPECT_TRUE(state->decks[0].filePath.isEmpty());
}

TEST_F(PlaylistStartupTest, ASongOnTheCommandLineIsAddedForTheLeftDeck) {
    const QString song = write("Cmd Song.MP3", playlist_test::taggedSong("Command"));
    state->commandLine = song;
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(state->playlistWindow);
    EXPECT_EQ(lines(), QStringList{"1.  Command - Artist"});
    EXPECT_EQ(state->playlist.lastAddedFile, song);
    EXPECT_EQ(state->decks[0].filePath, song);
    EXPECT_EQ(state->playlist.cursor(), 0);
    EXPECT_EQ(w->decks->left().controls().playFromMemory->BackColor(), app::kColourOff);
    // The left deck plays it from the top; paused, it does not hold up the close.
    EXPECT_EQ(state->decks[0].cuePosition, 0u);
    EXPECT_TRUE(state->decks[0].stream.isPlaying());
    EXPECT_NE(w->decks->left().controls().lcd->Song(), "Vorlan");
    w->decks->left().controls().pause->click();
    EXPECT_TRUE(state->playlist.changed());
    // Closing asks about the changed playlist; Cancel keeps the program.
    dialogs.expectBox(ui::vbCancel);
    w->close();
    ASSERT_TRUE(state->mainWindow);
    EXPECT_EQ(dialogs.boxes().back().text, "Save Playlist? ");
    EXPECT_EQ(dialogs.boxes().back().title, "Save Playlist...");
    EXPECT_EQ(dialogs.boxes().back().icon(), ui::vbQuestion);
    EXPECT_TRUE(w->tmrTrackLength.isActive());
    dialogs.expectBox(ui::vbNo);
    closeProgram();
    EXPECT_FALSE(state->mainWindow);
}

TEST(CommandLine, AFileNamedFromTheStartFolderIsTakenByItsFullPath) {
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QFile(dir.path() + "/my list.m3u").open(QIODevice::WriteOnly);
    EXPECT_EQ(app::commandLineText({"vorlan", "my", "list.m3u"}), dir.path() + "/my list.m3u");
    EXPECT_EQ(app::commandLineText({"vorlan", "/abs/x.mp3"}), "/abs/x.mp3");
    EXPECT_EQ(app::commandLineText({"vorlan"}), "");
    QDir::setCurrent(before);
}

} // namespace
