// Pictures of the main window with both decks loaded, pitched and playing,
// and of a deck scrubbing in cue mode.
#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "mixer/track_tick.h"
#include "tests/platform/audio/audio_test_support.h"
#include "tests/support/screenshots.h"

#include <QApplication>
#include <QFrame>

using namespace deck_test;

namespace {

class DeckScreenshot : public app_test::ProgramTest {
protected:
    // The program in its console look, output at 44100 Hz.
    halvoranF* startConsole() {
        app::applyConsoleLook(*qApp);
        app_test::writeSetting("InitQuality", "CD Quality - 44100Hz");
        return startProgram();
    }
};

// Both decks playing, pitched, their titles scrolled in: an MP3 with an
// ID3v2 tag beside a WMA, then a FLAC beside an M4A with their own tags.
struct DeckPair {
    fixtures::Format left, right;
    const char* leftName;
    const char* rightName;
    const char* picture;
};

TEST_F(DeckScreenshot, BothDecksLoadedAndPlaying) {
    halvoranF* w = startConsole();
    ASSERT_NE(w, nullptr);
    using fixtures::Format;
    const DeckPair pairs[] = {
        {Format::Mp3Cbr, Format::Wma, "left.mp3", "right.wma", "main-window-decks-playing"},
        {Format::Flac, Format::M4aAac, "left.flac", "right.m4a", "main-window-flac-m4a-playing"},
    };
    for (const DeckPair& pair : pairs) {
        SCOPED_TRACE(pair.picture);
        fixtures::Tone left;
        left.format = pair.left;
        left.seconds = 30;
        left.id3v2 = true;
        left.metadata = true;
        left.title = "Night Drive";
        // The MP3 fixture's tag is ISO-8859-1; the containers' own tags are UTF-8.
        left.artist = pair.left == Format::Mp3Cbr ? QString("Left Artist")
                                                  : QString::fromUtf8("Лeвый Artíst");
        fixtures::Tone right;
        right.format = pair.right;
        right.seconds = 20;
        right.metadata = true;
        right.title = "Morning Run";
        right.artist = "Right Artist";
        state->decks[0].filePath = QString::fromStdString(audio_test::fixture(pair.leftName, left));
        state->decks[1].filePath =
            QString::fromStdString(audio_test::fixture(pair.rightName, right));
        w->decks->left().init_Player();
        w->decks->right().init_Player();
        w->decks->left().controls().pitch->setValue(1250);
        w->decks->right().controls().pitch->setValue(900);
        w->decks->left().controls().play->click();
        w->decks->right().controls().play->click();
        audio_test::render(3 * 44100);
        w->trackTick().run();
        EXPECT_EQ(w->decks->left().controls().lcd->Remain(), "00:00:27");
        EXPECT_EQ(w->decks->right().controls().lcd->Remain(), "00:00:17");
        EXPECT_EQ(w->decks->left().controls().lcd->Pitch(), " + 2.50%");
        EXPECT_EQ(w->decks->right().controls().lcd->Pitch(), " - 1.00%");
        EXPECT_TRUE(w->decks->left().controls().lcd->Play());
        EXPECT_TRUE(w->decks->left().controls().lcd->Song().contains(left.artist))
            << w->decks->left().controls().lcd->Song().toStdString();
        EXPECT_TRUE(w->decks->right().controls().lcd->Song().contains("Morning Run"))
            << w->decks->right().controls().lcd->Song().toStdString();
        for (int step = 0; step < 10; ++step) { // the titles scroll in, as after 2.4 s
            w->decks->left().controls().lcd->run_marquee_scroll();
            w->decks->right().controls().lcd->run_marquee_scroll();
        }
        EXPECT_FALSE(testing_support::saveScreenshot(w, pair.picture).isEmpty());
        w->decks->right().controls().play->click(); // paused, so that the next songs load
        w->decks->left().controls().play->click();
    }
}

TEST_F(DeckScreenshot, LeftDeckScrubbingInCueMode) {
    halvoranF* w = startConsole();
    ASSERT_NE(w, nullptr);
    state->decks[0].filePath = QString::fromStdString(audio_test::mp3Cbr());
    w->decks->left().init_Player();
    emit w->decks->left().controls().play->MouseDown(2, 0, 1, 1); // back to cue
    emit w->decks->left().controls().cueBack->MouseDown(1, 0, 1, 1);
    EXPECT_TRUE(w->decks->left().controls().lcd->Cueing());
    EXPECT_EQ(w->decks->left().controls().lcd->CueDir(), 1);
    EXPECT_TRUE(w->decks->left().controls().lcd->isShown(qzvLCD::Element::img_CueDir1));
    for (int step = 0; step < 10; ++step)
        w->decks->left().controls().lcd->run_marquee_scroll();
    EXPECT_FALSE(
        testing_support::saveScreenshot(w->decks->left().controls().panel, "left-deck-cue-mode")
            .isEmpty());
}

} // namespace
