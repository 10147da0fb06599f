// Remove, clear, move, sort and shuffle: paths and lines stay in step and the
// numbers follow the rules a user sees.
#include "tests/playlist/playlist_fixture.h"

#include <QListView>

namespace {

using playlist_test::PlaylistTest;

class EditingTest : public PlaylistTest {
protected:
    void SetUp() override {
        PlaylistTest::SetUp();
        load();
    }
    void fill(int n) {
        QStringList names;
        for (int i = 1; i <= n; ++i)
            names << QString("s%1.mp3").arg(i);
        add(names);
    }
};

TEST_F(EditingTest, RemovingLeavesAGapAndSelectsTheNextEntry) {
    fill(5);
    state->playlist.select(2);
    dialogs.expectBox(ui::vbYes);
    w->removeCB_Click();
    EXPECT_EQ(dialogs.boxes().back().text, "Remove \"s3.mp3\" from the playlist?");
    EXPECT_EQ(dialogs.boxes().back().title, "Remove Song from playlist");
    EXPECT_EQ(lines(), (QStringList{"1.  s1.mp3", "2.  s2.mp3", "4.  s4.mp3", "5.  s5.mp3"}));
    EXPECT_EQ(paths(), (QStringList{"/m/s1.mp3", "/m/s2.mp3", "/m/s4.mp3", "/m/s5.mp3"}));
    EXPECT_EQ(state->playlist.cursor(), 2);
    EXPECT_EQ(state->playlist.nextSongPath(), "/m/s4.mp3");

    state->playlist.select(3); // the last: the new last is selected
    const std::size_t asked = dialogs.boxes().size();
    state->playlist.removeSelected(); // the deck's "Remove from Playlist?" was answered
    EXPECT_EQ(dialogs.boxes().size(), asked) << "no second question";
    EXPECT_EQ(state->playlist.cursor(), 2);
    EXPECT_EQ(w->List1->currentIndex().row(), 2);

    dialogs.expectBox(ui::vbNo);
    w->removeCB_Click();
    EXPECT_EQ(paths().size(), 3);

    dialogs.expectBox(ui::vbYes);
    w->clearCB_Click();
    EXPECT_EQ(dialogs.boxes().back().text, "Remove all songs from the playlist?");
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(state->playlist.nextSongPath(), "");
    w->removeCB_Click(); // nothing to remove, nothing asked
    fill(1);
    dialogs.expectBox(ui::vbYes);
    w->removeCB_Click();
    EXPECT_EQ(w->List1->currentIndex().row(), -1);
}

TEST_F(EditingTest, MovesCarryWholeLinesAndStopAtTheEnds) {
    fill(3);
    state->playlist.setChanged(false);
    state->playlist.select(0);
    w->cmdMoveUp_Click();
    state->playlist.select(2);
    w->cmdMoveDown_Click();
    EXPECT_FALSE(state->playlist.changed());
    w->cmdMoveUp_Click();
    EXPECT_EQ(lines(), (QStringList{"1.  s1.mp3", "3.  s3.mp3", "2.  s2.mp3"}));
    EXPECT_EQ(paths(), (QStringList{"/m/s1.mp3", "/m/s3.mp3", "/m/s2.mp3"}));
    EXPECT_EQ(state->playlist.cursor(), 1);
    EXPECT_TRUE(state->playlist.changed());
    w->cmdMoveDown_Click();
    EXPECT_EQ(paths(), (QStringList{"/m/s1.mp3", "/m/s2.mp3", "/m/s3.mp3"}));
    EXPECT_EQ(state->playlist.nextSongPath(), "/m/s3.mp3");
}

TEST_F(EditingTest, SortIgnoresLetterCaseAndRenumbers) {
    struct Case {
        bool ascending;
        QStringList lines;
    } cases[] = {
        {true, {"2.  Alpha", "3.  beta", "4.  gamma"}},
        {false, {"1.  gamma", "2.  beta", "3.  Alpha"}},
    };
    for (const Case& c : cases) {
        w->new_playlist();
        add({"beta", "Alpha", "gamma"});
        state->playlist.append("", "4.  "); // a blank entry has no title and leaves the list
        c.ascending ? w->cmdAZsort_Click() : w->cmdZAsort_Click();
        EXPECT_EQ(lines(), c.lines);
        EXPECT_EQ(paths().size(), 3);
        EXPECT_EQ(state->playlist.cursor(), 0);
        EXPECT_EQ(state->playlist.nextSongPath(),
                  "/m/" + c.lines[0].mid(c.lines[0].indexOf(".  ") + 3));
    }
}

// Three songs of one title in three folders and one of a later title: the
// quicksort leaves the equal titles in one fixed order, every time.
TEST_F(EditingTest, SortPutsEqualTitlesInTheQuicksortsOrder) {
    const QStringList ascending{"/o/echo.mp3", "/n/echo.mp3", "/m/echo.mp3", "/m/fox.mp3"};
    const QStringList descending{"/m/fox.mp3", "/o/echo.mp3", "/n/echo.mp3", "/m/echo.mp3"};
    for (int run = 0; run < 4; ++run) {
        w->new_playlist();
        add({"echo.mp3"}, "/m");
        add({"echo.mp3"}, "/n");
        add({"fox.mp3"}, "/m");
        add({"echo.mp3"}, "/o");
        run % 2 == 0 ? w->cmdAZsort_Click() : w->cmdZAsort_Click();
        EXPECT_EQ(paths(), run % 2 == 0 ? ascending : descending) << run;
    }
}

TEST_F(EditingTest, ShuffleSwapCountFollowsTheListLength) {
    struct Case {
        int entries, swaps;
    } cases[] = {{1, 0}, {2, 3}, {501, 1001}, {502, 502}, {601, 601}};
    for (const Case& c : cases) {
        w->new_playlist();
        fill(c.entries);
        int draws = 0;
        state->rnd = [&draws] {
            ++draws;
            return 0.0; // j = -1: always the last entry with the first
        };
        w->cmdRandomShuffle_Click();
        EXPECT_EQ(draws, c.swaps) << c.entries;
        // An odd number of swaps exchanges the first and the last entry.
        const QString first = QString("/m/s%1.mp3").arg(c.swaps % 2 ? c.entries : 1);
        EXPECT_EQ(paths().front(), first) << c.entries;
        EXPECT_EQ(lines().front(), "1.  " + first.mid(3));
        EXPECT_EQ(lines().back(), QString("%1.  ").arg(c.entries) + paths().back().mid(3));
        EXPECT_TRUE(state->playlist.changed());
    }
}

TEST_F(EditingTest, ShuffleWithTheProgramsGeneratorKeepsEveryEntry) {
    fill(40);
    const QStringList before = paths();
    w->cmdRandomShuffle_Click();
    QStringList after = paths();
    EXPECT_NE(after, before);
    after.sort();
    QStringList sorted = before;
    sorted.sort();
    EXPECT_EQ(after, sorted);
    EXPECT_FALSE(dialogs.waitCursor());
    EXPECT_GT(dialogs.waitCursorChanges(), 0);
}

} // namespace
