// Finding entries by a piece of their display line.
#include "playlist/search_window.h"
#include "tests/playlist/playlist_fixture.h"
#include "tests/support/screenshots.h"

#include <QLineEdit>

namespace {

using playlist_test::PlaylistTest;

class SearchTest : public PlaylistTest {
protected:
    void SetUp() override {
        PlaylistTest::SetUp();
        load();
        add({"Deep House.mp3", "rock.mp3", "HOUSE party.mp3", "jazz.mp3"});
        w->findCB_Click();
        s = state->searchWindow;
        ASSERT_NE(s, nullptr);
    }
    // Runs a search for `term` expecting `result`: the cursor entry
    // afterwards, or "not found" (the message is shown).
    QString run(void (searchF::*button)(), const QString& term, const QString& result) {
        s->searchTXT->setText(term);
        const auto boxes = dialogs.boxes().size();
        if (result == "not found")
            dialogs.expectBox(ui::vbOK);
        (s->*button)();
        if (dialogs.boxes().size() == boxes)
            return QString::number(state->playlist.cursor());
        EXPECT_EQ(dialogs.boxes().back().text, "Can't find the song");
        EXPECT_EQ(dialogs.boxes().back().icon(), ui::vbExclamation);
        return "not found";
    }
    searchF* s = nullptr;
};

TEST_F(SearchTest, FindsForwardsBackwardsAndWrapsAround) {
    const auto first = &searchF::findFirstCB_Click;
    const auto next = &searchF::FindNextCB_Click;
    const auto prev = &searchF::findPrevCB_Click;
    struct Step {
        void (searchF::*button)();
        QString term, result;
    } steps[] = {
        {first, "house", "0"}, // letter case ignored, topmost match
        {next, "house", "2"},
        {next, "house", "not found"}, // the rest of the list holds none...
        {next, "house", "0"},         // ...and the next search wraps to the top
        {first, "house", "0"},        // whatever was selected before
        {prev, "house", "not found"}, // nothing above the first entry
        {prev, "house", "2"},         // then from the last entry
        {prev, "4.", "not found"},
        {prev, "4.", "3"}, // the number is part of the line; the last entry
        {next, "4.", "3"}, // from the last entry: wraps and finds it again
        {first, "techno", "not found"},
        {next, "   ", "3"}, // spaces only: nothing happens
    };
    for (const Step& step : steps)
        EXPECT_EQ(run(step.button, step.term, step.result), step.result) << step.term.toStdString();
    EXPECT_EQ(state->playlist.nextSongPath(), "/m/jazz.mp3");
    s->searchTXT->setText("house");
    EXPECT_FALSE(testing_support::saveScreenshot(s, "playlist_search").isEmpty());
}

TEST_F(SearchTest, AnEmptyPlaylistFindsNothing) {
    w->new_playlist();
    for (auto button :
         {&searchF::findFirstCB_Click, &searchF::FindNextCB_Click, &searchF::findPrevCB_Click})
        EXPECT_EQ(run(button, "a", "not found"), "not found");
}

} // namespace
