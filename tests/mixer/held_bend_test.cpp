// A pitch bend held for 3 s through real X input: Shift+X / Shift+Z held
// down with the X server's own auto-repeat, and the left deck's bend buttons
// held with the mouse. The left deck plays 1 kHz; what is heard rises (or
// falls) to the bend's end and stays there until the real release, then
// goes back to 1 kHz.
#include "app/main_window.h"
#include "controls/widgets/console_button.h"
#include "decks/decks.h"
#include "tests/mixer/window_fixture.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

namespace {

constexpr int kRate = 44100;
constexpr int kWindowMs = 100; // one frequency reading

struct Hold {
    const char* what;
    ConsoleButton* decks::DeckControls::*button; // held with the mouse, else `key`
    const char* key;
    double heldHz; // the bend's end: 2 % of the 10 % pitch range
};

const Hold kHolds[] = {
    {"Shift+X", nullptr, "shift+x", 1020},
    {"Shift+Z", nullptr, "shift+z", 980},
    {"bend up button", &decks::DeckControls::bendUp, nullptr, 1020},
    {"bend down button", &decks::DeckControls::bendDown, nullptr, 980},
};

class HeldBendTest : public mixer_test::WindowTest {
protected:
    // Runs xdotool with `args` while the program runs and the output is
    // rendered in step with the clock; renders `afterMs` more. The release
    // time (ms from the start) goes to `releasedMs`.
    std::vector<short> heardWhile(const QStringList& args, int afterMs, qint64& releasedMs) {
        std::vector<short> heard;
        QElapsedTimer clock;
        clock.start();
        const auto follow = [&] {
            QTest::qWait(5);
            const auto due = static_cast<std::size_t>(clock.elapsed() * kRate / 1000) * 2;
            if (due > heard.size()) {
                const std::vector<short> frames = audio_test::render((due - heard.size()) / 2);
                heard.insert(heard.end(), frames.begin(), frames.end());
            }
        };
        QProcess xdotool;
        xdotool.start("xdotool", args);
        while (xdotool.state() != QProcess::NotRunning)
            follow();
        releasedMs = clock.elapsed();
        while (clock.elapsed() < releasedMs + afterMs)
            follow();
        EXPECT_EQ(xdotool.exitCode(), 0) << xdotool.readAllStandardError().toStdString();
        return heard;
    }
};

TEST_F(HeldBendTest, TheBendHoldsUntilTheRealRelease) {
    loadDeck(0, mixer_test::song("bend_1k.wav", fixtures::Format::Wav, 30));
    w->playCB2->click();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    const decks::DeckControls& left = w->decks->left().controls();
    for (const Hold& hold : kHolds) {
        SCOPED_TRACE(hold.what);
        QStringList args;
        if (hold.button) {
            ConsoleButton* button = left.*hold.button;
            const QPoint at = button->mapToGlobal(button->rect().center());
            args << "mousemove" << QString::number(at.x()) << QString::number(at.y()) << "mousedown"
                 << "1"
                 << "sleep"
                 << "3"
                 << "mouseup"
                 << "1";
        } else {
            args << "keydown" << hold.key << "sleep"
                 << "3"
                 << "keyup" << hold.key;
        }
        qint64 releasedMs = 0;
        const std::vector<short> heard = heardWhile(args, 600, releasedMs);
        const auto hz = [&](qint64 fromMs) {
            const auto from = static_cast<std::size_t>(fromMs * kRate / 1000) * 2;
            const std::vector<short> part(heard.begin() + static_cast<long>(from),
                                          heard.begin() + static_cast<long>(from) +
                                              kRate * kWindowMs / 1000 * 2);
            return audio_test::frequency(part, 0, kRate);
        };
        const double direction = hold.heldHz > 1000 ? 1 : -1;
        // From the press the bend only goes one way; from 2 s (the bend
        // takes 20 steps of 80 ms) it stays at its end until the release.
        double before = 1000;
        for (qint64 ms = 0; ms + kWindowMs <= releasedMs - 100; ms += kWindowMs) {
            const double now = hz(ms);
            EXPECT_GE(direction * (now - before), -2) << "turned back at " << ms << " ms";
            if (ms >= 2000) {
                EXPECT_NEAR(now, hold.heldHz, 2) << "at " << ms << " ms";
            }
            before = now;
        }
        EXPECT_NEAR(hz(releasedMs + 300), 1000, 2) << "back after the release";
    }
}

} // namespace
