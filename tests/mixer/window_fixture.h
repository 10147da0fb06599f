#pragma once
// The started program (main window, playlist window, offline output at
// 44100 Hz) with a playlist of test songs, and a clock that renders the
// output in step with the window's timers instead of waiting for them.
#include "tests/app/program_fixture.h"
#include "tests/fixtures/fixtures.h"

#include <string>
#include <vector>

class halvoranF;
class playlistF;

namespace mixer_test {

// A tone of `seconds` made once per test program in the fixture folder;
// returns its file name there.
std::string song(const std::string& name, fixtures::Format format, double seconds, int rate = 44100,
                 int channels = 2, double frequency = 1000);
// A file in the fixture folder holding text instead of sound.
std::string unplayableSong(const std::string& name);

class WindowTest : public app_test::ProgramTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The playlist becomes these files of the fixture folder (by name; a
    // name may be of a file that does not exist). Entry 0 is selected.
    void usePlaylist(const std::vector<std::string>& names);
    // Loads the fixture file onto a deck.
    void loadDeck(int deck, const std::string& name);
    // Renders `ms` of output in 20 ms steps; the track timer runs every
    // 80 ms and the fade timer every 100 ms while it is enabled; the
    // automatic DJ's fade-start timer runs once its interval is rendered. The
    // rendered frames are appended to `out` when given; `each` runs after
    // every step.
    void advance(int ms, std::vector<short>* out = nullptr, const std::function<void()>& each = {});
    bool playing(int deck) const;

    // Renders `frames`, running the fade-start timer when it is due.
    void renderTimed(std::size_t frames, std::vector<short>* out);

    halvoranF* w = nullptr;
    // Frames left until the armed fade-start timer runs; -1 when not armed.
    long long fadeStartDue = -1;
    playlistF* playlist = nullptr;
    int clockMs = 0;
};

} // namespace mixer_test
