// One failure, one box: a song or a playlist named on the command line that
// cannot be opened, and a playlist entry whose file is gone played on the
// empty left deck with a click on PLAY, each tell the user once and never
// open a file dialog.
#include "app/main_window.h"
#include "controls/widgets/console_button.h"
#include "decks/decks.h"
#include "playlist/playlist_window.h"
#include "tests/app/program_fixture.h"

#include <QTest>

namespace {

struct Case {
    const char* name;
    const char* file; // in the test folder
    bool text;        // the file exists, holding words instead of sound
    bool commandLine; // else the file is the playlist's entry and PLAY is clicked
    int answer;
    const char* box; // the beginning of the one box
    const char* title;
    int entriesAfter;
};

const char* const kNotLoaded =
    "The selected file could not be loaded. Please choose another file...";
const char* const kGone = "The selected file can not be found at its original location.";

const Case kCases[] = {
    {"song that is not audio", "garbage.mp3", true, true, ui::vbOK, kNotLoaded, "Error", 1},
    {"missing song, No", "gone.mp3", false, true, ui::vbNo, kGone, "File Not Found", 1},
    {"missing song, Yes", "gone.mp3", false, true, ui::vbYes, kGone, "File Not Found", 0},
    {"missing playlist", "nope.m3u", false, true, ui::vbOK,
     "nope.m3u\nFile not found.\nPlease verify the correct file name was given.",
     "Open Playlist...", 0},
    {"missing entry played, No", "gone.mp3", false, false, ui::vbNo, kGone, "File Not Found", 1},
    {"missing entry played, Yes", "gone.mp3", false, false, ui::vbYes, kGone, "File Not Found", 0},
};

class OneBoxTest : public app_test::ProgramTest, public ::testing::WithParamInterface<Case> {};

TEST_P(OneBoxTest, TheFailureShowsOneBox) {
    const Case& c = GetParam();
    SCOPED_TRACE(c.name);
    const QString path = folder() + "/" + c.file;
    if (c.text)
        fileWith(c.file, QByteArray(4096, 'x'));
    if (c.commandLine) {
        state->commandLine = path;
        dialogs.expectBox(c.answer);
    }
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    w->tmrAsync_Timer(); // the playlist window loads
    playlistF* playlist = state->playlistWindow;
    ASSERT_NE(playlist, nullptr);
    if (!c.commandLine) {
        playlist->loadsongs_to_playlist(path);
        dialogs.expectBox(c.answer);
        QTest::mouseClick(w->decks->left().controls().play, Qt::LeftButton);
    }

    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_TRUE(dialogs.boxes()[0].text.startsWith(c.box)) << dialogs.boxes()[0].text.toStdString();
    EXPECT_EQ(dialogs.boxes()[0].title, c.title);
    EXPECT_TRUE(dialogs.fileRequests().empty()) << "no file dialog";
    EXPECT_EQ(state->playlist.count(), c.entriesAfter);
    EXPECT_FALSE(state->decks[0].stream);
    EXPECT_TRUE(state->playlist.currentPlaylist().isEmpty());
    state->playlist.setChanged(false);
}

INSTANTIATE_TEST_SUITE_P(Failures, OneBoxTest, ::testing::ValuesIn(kCases));

} // namespace
