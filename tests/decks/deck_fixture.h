#pragma once
// A started program per test (offline output at 44100 Hz, accurate seeks,
// scripted dialogs), run once for the left and once for the right deck, with
// the deck's controls, record and operations at hand.
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "core/program_state.h"
#include "decks/deck.h"
#include "platform/audio/bass.h"
#include "tests/app/program_fixture.h"
#include "tests/fixtures/fixtures.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

class halvoranF;

namespace deck_test {

class DeckTest : public app_test::ProgramTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override;

    int side() const { return GetParam(); }
    decks::Deck& deck();
    const decks::DeckControls& controls() { return deck().controls(); }
    core::DeckRecord& rec() { return state->decks[side()]; }
    // The deck's file path, then the deck's init_Player.
    void load(const std::string& path) { loadSide(side(), path); }
    void loadSide(int side, const std::string& path);
    // The stream's current sample rate in the audio library.
    DWORD streamRate();
    // Presses a console button with the mouse (MouseDown / MouseUp).
    static void mouseDown(class ConsoleButton* button, int mouseButton = 1);
    static void mouseUp(class ConsoleButton* button, int mouseButton = 1);

    halvoranF* w = nullptr;
};

// Streams open in the audio library.
int openStreams();
// Test audio made once per test program: 1 kHz at half scale, 2 s unless given.
std::string tone(const std::string& name, fixtures::Format format, int rate = 44100,
                 int channels = 2, double seconds = 2.0);
std::string wav44k();
// A file with `bytes` of content in the fixture folder.
std::string writeFile(const std::string& name, const std::string& bytes);

std::string sideName(const ::testing::TestParamInfo<int>& info);

} // namespace deck_test

#define DECK_TEST_BOTH_SIDES(Suite)                                                                \
    INSTANTIATE_TEST_SUITE_P(Decks, Suite, ::testing::Values(0, 1), deck_test::sideName)
