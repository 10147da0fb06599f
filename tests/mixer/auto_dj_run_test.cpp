// A long automatic run on the offline output: twelve short songs of mixed
// formats, one of them missing and one unplayable, played by the automatic
// DJ through 60 hand-overs with the timers driven in step with the rendered
// output. Every hand-over loads the next playable entry, the crossfader
// reaches the far end each time, the output is never silent for longer than
// one fade, and the playlist wraps. A picture is taken during a fade with
// the key hints shown.
#include "app/main_window.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "tests/mixer/window_fixture.h"
#include "tests/platform/audio/audio_test_support.h"
#include "tests/support/screenshots.h"

#include <QTest>
#include <cmath>
#include <iostream>

namespace {

using fixtures::Format;
using mixer_test::song;

// A full sweep of the crossfader: 50 steps of 100 ms.
constexpr double kFadeSeconds = 5.0;
constexpr int kHandOvers = 60;
constexpr std::size_t kWindowFrames = 4410; // 100 ms at 44100 Hz
constexpr double kSilentRms = 30;           // of 32768

class AutoDJRunTest : public mixer_test::WindowTest {};

TEST_F(AutoDJRunTest, SixtyHandOversOverAPlaylistWithBadEntries) {
    const std::vector<std::string> names = {
        song("run_01.mp3", Format::Mp3Cbr, 5, 44100, 2, 440),
        song("run_02.wav", Format::Wav, 6, 44100, 2, 550),
        song("run_03.wma", Format::Wma, 7, 44100, 2, 660),
        "run_04_missing.mp3",
        song("run_05.asf", Format::Asf, 5, 22050, 1, 770),
        song("run_06.mp3", Format::Mp3Vbr, 8, 44100, 2, 880),
        song("run_07.wav", Format::Wav, 5, 22050, 1, 990),
        song("run_08.mp3", Format::Mp3Vbr, 6, 22050, 1, 1100),
        mixer_test::unplayableSong("run_09_unplayable.wav"),
        song("run_10.wma", Format::Wma, 9, 44100, 2, 1210),
        song("run_11.mp3", Format::Mp3Cbr, 10, 44100, 2, 1320),
        song("run_12.wav", Format::Wav, 5, 44100, 2, 1430),
    };
    const auto playable = [&](int index) {
        return names[static_cast<std::size_t>(index)].find("_missing") == std::string::npos &&
               names[static_cast<std::size_t>(index)].find("_unplayable") == std::string::npos;
    };
    const int count = static_cast<int>(names.size());
    usePlaylist(names);

    struct HandOver {
        int deck, index, crossfaderBefore;
    };
    std::vector<HandOver> handOvers;
    std::array<core::StreamHandle, 2> streams{};
    int wraps = 0;
    int lastIndex = state->playlist.cursor();
    bool pictured = false;
    std::vector<short> output;
    // The crossfader at the end of the step before (the step that loads a
    // deck may also take the new fade's first step).
    int crossfaderBefore = w->mixerPanel.desk.crossFaderScroll->Value();
    const auto watch = [&] {
        for (int deck : {0, 1}) {
            const core::StreamHandle now =
                state->decks[static_cast<std::size_t>(deck)].stream.handle();
            if (now != streams[static_cast<std::size_t>(deck)]) {
                streams[static_cast<std::size_t>(deck)] = now;
                handOvers.push_back({deck, state->playlist.cursor(), crossfaderBefore});
            }
        }
        if (state->playlist.cursor() < lastIndex)
            ++wraps;
        lastIndex = state->playlist.cursor();
        crossfaderBefore = w->mixerPanel.desk.crossFaderScroll->Value();
        if (!pictured && handOvers.size() == 3 &&
            w->mixerPanel.desk.crossFaderScroll->Value() == 50) {
            QTest::keyClick(w, Qt::Key_F2);
            pictured = !testing_support::saveScreenshot(w, "autodj_fade_key_hints").isEmpty();
            QTest::keyClick(w, Qt::Key_Escape);
        }
    };

    w->mixerPanel.autoDJ->click();
    watch();
    const int limitMs = kHandOvers * 12000;
    while (static_cast<int>(handOvers.size()) < kHandOvers && clockMs < limitMs)
        advance(100, &output, watch);

    ASSERT_EQ(static_cast<int>(handOvers.size()), kHandOvers);
    EXPECT_TRUE(dialogs.boxes().empty());
    EXPECT_TRUE(pictured);

    // Each hand-over took the next playable entry, on the other deck, with
    // the previous fade finished at the far end.
    int skips = 0;
    int expected = 0;
    for (int i = 0; i < kHandOvers; ++i) {
        const HandOver& h = handOvers[static_cast<std::size_t>(i)];
        SCOPED_TRACE(testing::Message() << "hand-over " << i);
        expected = (expected + 1) % count;
        while (!playable(expected)) {
            expected = (expected + 1) % count;
            ++skips;
        }
        EXPECT_EQ(h.index, expected);
        EXPECT_EQ(h.deck, i % 2 == 0 ? 1 : 0);
        if (i > 0) {
            EXPECT_EQ(h.crossfaderBefore, h.deck == 1 ? 0 : 100);
        }
    }
    EXPECT_GE(wraps, 5);

    // The longest silence once the first song was heard, in 100 ms windows.
    int longestSilent = 0, silent = 0;
    bool heard = false;
    for (std::size_t start = 0; start + kWindowFrames * 2 <= output.size();
         start += kWindowFrames * 2) {
        double sum = 0;
        for (std::size_t i = start; i < start + kWindowFrames * 2; ++i)
            sum += static_cast<double>(output[i]) * output[i];
        const double rms = std::sqrt(sum / (kWindowFrames * 2));
        if (rms >= kSilentRms) {
            heard = true;
            silent = 0;
        } else if (heard) {
            longestSilent = std::max(longestSilent, ++silent);
        }
    }
    const double longestGap = longestSilent * 0.1;
    EXPECT_LT(longestGap, kFadeSeconds);
    std::cout << "automatic DJ run: " << handOvers.size() << " hand-overs, " << skips
              << " entries skipped, " << wraps << " playlist wraps, longest silence " << longestGap
              << " s, run length " << clockMs / 1000.0 << " s of output\n";
}

} // namespace
