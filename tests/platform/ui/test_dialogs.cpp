// The dialogs seam and its scripted double.
#include "platform/ui/dialogs.h"
#include "tests/support/scripted_dialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

using testing_support::ScriptedDialogs;

// A handler shaped like the program's: asks before saving.
int askToSave(ui::Dialogs& dialogs, const QString& playlist) {
    const QString q =
        playlist.isEmpty() ? "Save Playlist? " : "Save Playlist to " + playlist + " ?";
    return dialogs.msgBox(q, ui::vbYesNoCancel | ui::vbQuestion, "Save Playlist...");
}

TEST(ScriptedDialogs, ExpectedBoxIsRecordedAndAnswered) {
    ScriptedDialogs d;
    d.expectBox(ui::vbCancel);
    EXPECT_EQ(askToSave(d, "/music/set.m3u"), ui::vbCancel);
    ASSERT_EQ(d.boxes().size(), 1u);
    EXPECT_EQ(d.boxes()[0].text, "Save Playlist to /music/set.m3u ?");
    EXPECT_EQ(d.boxes()[0].title, "Save Playlist...");
    EXPECT_EQ(d.boxes()[0].buttons(), ui::vbYesNoCancel);
    EXPECT_EQ(d.boxes()[0].icon(), ui::vbQuestion);
    EXPECT_EQ(d.pendingAnswers(), 0u);
}

TEST(ScriptedDialogs, UnexpectedBoxFailsTheTest) {
    ScriptedDialogs d;
    EXPECT_NONFATAL_FAILURE(askToSave(d, ""), "unexpected message box: \"Save Playlist? \"");
    EXPECT_EQ(d.boxes().size(), 1u);
}

TEST(ScriptedDialogs, FileDialogsAnswerFromTheQueue) {
    ScriptedDialogs d;
    d.expectFile("/music/a.mp3");
    d.expectCancelledFile();
    ui::FileDialogRequest r;
    r.title = "Open Song";
    r.filter = "Music|*.mp3;*.wav";
    auto first = d.openFile(r);
    EXPECT_FALSE(first.cancelled);
    EXPECT_EQ(first.fileName, "/music/a.mp3");
    EXPECT_TRUE(d.saveFile(r).cancelled);
    EXPECT_EQ(d.fileRequests().size(), 2u);
    EXPECT_NONFATAL_FAILURE(d.openFile(r), "unexpected open dialog");
}

TEST(Dialogs, PipeFiltersBecomeQtFilters) {
    EXPECT_EQ(ui::qtFilterFromPipes("Music Files|*.mp3;*.wav|Playlists|*.m3u"),
              "Music Files (*.mp3 *.wav);;Playlists (*.m3u)");
    EXPECT_EQ(ui::qtFilterFromPipes(""), "");
    EXPECT_EQ(ui::qtFilterFromPipes("Dangling"), "");
}

} // namespace
