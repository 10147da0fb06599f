// A picture of the main window with both decks loaded, pitched and playing.
#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "tests/platform/audio/audio_test_support.h"
#include "tests/support/screenshots.h"

#include <QApplication>

using namespace deck_test;

namespace {

class DeckScreenshot : public app_test::ProgramTest {};

TEST_F(DeckScreenshot, BothDecksLoadedAndPlaying) {
    app::applyConsoleLook(*qApp);
    app_test::writeSetting("InitQuality", "CD Quality - 44100Hz");
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    state->decks[0].filePath =
        QString::fromStdString(tone("Left Deck Song.mp3", fixtures::Format::Mp3Cbr, 44100, 2, 30));
    state->decks[1].filePath =
        QString::fromStdString(tone("Right Deck Song.wma", fixtures::Format::Wma, 44100, 2, 20));
    w->init_LeftPlayer();
    w->init_RightPlayer();
    w->LpitchScroll->setValue(1250);
    w->RpitchScroll->setValue(900);
    w->playCB2->click();
    w->playCB->click();
    audio_test::render(3 * 44100);
    w->tmrTrackLength_Timer();
    EXPECT_EQ(w->LCD_L->Remain(), "00:00:27");
    EXPECT_EQ(w->LCD_R->Remain(), "00:00:17");
    EXPECT_EQ(w->LCD_L->Pitch(), " + 2.50%");
    EXPECT_EQ(w->LCD_R->Pitch(), " - 1.00%");
    EXPECT_TRUE(w->LCD_L->Play());
    for (int step = 0; step < 30; ++step) { // the titles scroll in, as after 7 s
        w->LCD_L->run_marquee_scroll();
        w->LCD_R->run_marquee_scroll();
    }
    EXPECT_FALSE(testing_support::saveScreenshot(w, "main-window-decks-playing").isEmpty());
}

} // namespace
