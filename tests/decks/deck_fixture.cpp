#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "controls/widgets/console_button.h"
#include "decks/decks.h"
#include "tests/platform/audio/audio_test_support.h"

#include <fstream>

namespace deck_test {

void DeckTest::SetUp() {
    app_test::ProgramTest::SetUp();
    app_test::writeSetting("InitQuality", "CD Quality - 44100Hz");
    app_test::writeSetting("SeekAccuracy", "131072");
    app_test::writeSetting("optStartUp", "0");
    w = startProgram();
    ASSERT_NE(w, nullptr);
}

decks::Deck& DeckTest::deck() {
    return w->decks->deck(side());
}

void DeckTest::loadSide(int side, const std::string& path) {
    state->decks[side].filePath = QString::fromStdString(path);
    if (side == 0)
        w->decks->left().init_Player();
    else
        w->decks->right().init_Player();
}

DWORD DeckTest::streamRate() {
    return rec().stream.rate();
}

void DeckTest::mouseDown(ConsoleButton* button, int mouseButton) {
    emit button->MouseDown(mouseButton, 0, 1, 1);
}

void DeckTest::mouseUp(ConsoleButton* button, int mouseButton) {
    emit button->MouseUp(mouseButton, 0, 1, 1);
}

int openStreams() {
    int count = 0;
    // Handles are given out one after another from 0x00010001.
    for (DWORD handle = 0x00010001; handle < 0x00010001 + 0x10000; ++handle)
        if (BASS_ChannelGetPosition(handle) != static_cast<QWORD>(-1))
            ++count;
    return count;
}

std::string tone(const std::string& name, fixtures::Format format, int rate, int channels,
                 double seconds) {
    fixtures::Tone t;
    t.format = format;
    t.sampleRate = rate;
    t.channels = channels;
    t.seconds = seconds;
    return audio_test::fixture(name, t);
}

std::string wav44k() {
    return tone("deck.wav", fixtures::Format::Wav);
}

std::string writeFile(const std::string& name, const std::string& bytes) {
    const std::string path = (audio_test::fixtureFolder() / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string sideName(const ::testing::TestParamInfo<int>& info) {
    return info.param == 0 ? "Left" : "Right";
}

} // namespace deck_test
