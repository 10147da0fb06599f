// Real X input through xdotool in Xvfb: a pitch bend held 3 s with keys
// (the X server's own auto-repeat) and with the mouse, judged by the
// rendered tone; playlist entries dragged onto the decks.
#include "app/main_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "playlist/playlist_window.h"
#include "tests/mixer/window_fixture.h"
#include "tests/platform/audio/audio_test_support.h"
#include "tests/support/screenshots.h"

#include <QElapsedTimer>
#include <QListView>
#include <QProcess>
#include <QTest>

namespace {

using mixer_test::song;

QStringList at(QPoint p) {
    return {"mousemove", QString::number(p.x()), QString::number(p.y())};
}

class RealInputTest : public mixer_test::WindowTest {
protected:
    // Runs xdotool with `args`, and the program meanwhile and `afterMs`
    // longer; `each` runs every 5 ms with the milliseconds gone by. Returns
    // the time xdotool ended.
    qint64 xdotool(
        const QStringList& args, int afterMs = 200,
        const std::function<void(qint64)>& each = [](qint64) {}) {
        QElapsedTimer clock;
        clock.start();
        QProcess run;
        run.start("xdotool", args);
        qint64 ended = -1;
        while (ended < 0 || clock.elapsed() < ended + afterMs) {
            QTest::qWait(5);
            each(clock.elapsed());
            if (ended < 0 && run.state() == QProcess::NotRunning)
                ended = clock.elapsed();
        }
        EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
        return ended;
    }
    QString path(const std::string& name) const {
        return QString::fromStdString((audio_test::fixtureFolder() / name).string());
    }
};

TEST_F(RealInputTest, AHeldBendHoldsUntilTheRealRelease) {
    constexpr int kRate = 44100, kWindowMs = 100;
    loadDeck(0, song("bend_1k.wav", fixtures::Format::Wav, 30));
    w->decks->left().controls().play->click();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    const decks::DeckControls& left = w->decks->left().controls();
    const struct {
        const char* key; // else the bend button is held with the mouse
        ConsoleButton* button;
        double heldHz; // 2 % off: the bend's end in the 10 % pitch range
    } holds[] = {{"shift+x", nullptr, 1020},
                 {"shift+z", nullptr, 980},
                 {nullptr, left.bendUp, 1020},
                 {nullptr, left.bendDown, 980}};
    for (const auto& hold : holds) {
        SCOPED_TRACE(hold.key ? hold.key : hold.button->objectName().toStdString());
        const QStringList press = hold.key
                                      ? QStringList{"keydown", hold.key}
                                      : at(hold.button->mapToGlobal(hold.button->rect().center())) +
                                            QStringList{"mousedown", "1"};
        const QStringList release =
            hold.key ? QStringList{"keyup", hold.key} : QStringList{"mouseup", "1"};
        // The output rendered in step with the clock while held 3 s, and after.
        std::vector<short> heard;
        const auto render = [&](qint64 ms) {
            const auto due = static_cast<std::size_t>(ms * kRate / 1000) * 2;
            if (due <= heard.size())
                return;
            const std::vector<short> frames = audio_test::render((due - heard.size()) / 2);
            heard.insert(heard.end(), frames.begin(), frames.end());
        };
        const qint64 released = xdotool(press + QStringList{"sleep", "3"} + release, 600, render);
        const auto hz = [&](qint64 ms) {
            const auto from = heard.begin() + ms * kRate / 1000 * 2;
            return audio_test::frequency({from, from + kRate * kWindowMs / 1000 * 2}, 0, kRate);
        };
        // The bend goes one way only, and from 2.4 s (it takes 20 steps of
        // 80 ms) stays at its end until the release.
        const double direction = hold.heldHz > 1000 ? 1 : -1;
        const qint64 pressed = released - 3000;
        for (qint64 ms = pressed + kWindowMs; ms <= released - 2 * kWindowMs; ms += kWindowMs) {
            EXPECT_GE(direction * (hz(ms) - hz(ms - kWindowMs)), -2)
                << "turned back at " << ms - pressed << " ms";
            if (ms >= pressed + 2400) {
                EXPECT_NEAR(hz(ms), hold.heldHz, 2) << "at " << ms - pressed << " ms";
            }
        }
        EXPECT_NEAR(hz(released + 300), 1000, 2) << "back after the release";
    }
}

TEST_F(RealInputTest, AnEntryOfThePlaylistDroppedOnADeckLoadsIt) {
    const std::string a = song("drag_a.wav", fixtures::Format::Wav, 5);
    const std::string b = song("drag_b.mp3", fixtures::Format::Mp3Cbr, 5);
    usePlaylist({a, b, "drag_gone.wav"});
    w->move(100, 0);
    w->playListCB_Click();
    playlist->move(100, w->frameGeometry().bottom() + 20);
    QTest::qWait(300);
    const struct {
        int entry;
        int deck;
        QWidget* target; // a display, a button, a pitch slider
        QString loaded;
        const char* box;
    } drops[] = {{1, 0, w->decks->left().controls().lcd, path(b), nullptr},
                 {0, 1, w->decks->right().controls().play, path(a), nullptr},
                 {2, 1, w->decks->right().controls().pitch, path(a),
                  "Please make sure the file exists on the disk..."}};
    for (const auto& d : drops) {
        SCOPED_TRACE(d.target->objectName().toStdString());
        dialogs.clear();
        if (d.box)
            dialogs.expectBox(ui::vbOK);
        QListView* list = playlist->List1;
        const QPoint from = list->viewport()->mapToGlobal(
            list->visualRect(state->playlist.index(d.entry)).center());
        const QPoint to = d.target->mapToGlobal(d.target->rect().center());
        QStringList hand = at(from) + QStringList{"mousedown", "1"};
        for (int step = 1; step <= 5; ++step)
            hand += at(from + (to - from) * step / 5) + QStringList{"sleep", "0.1"};
        xdotool(hand + at(to + QPoint(2, 0)) + QStringList{"sleep", "0.3", "mouseup", "1"});

        EXPECT_EQ(state->decks[static_cast<std::size_t>(d.deck)].loadedFile.toStdString(),
                  d.loaded.toStdString());
        ASSERT_EQ(dialogs.boxes().size(), d.box ? 1u : 0u);
        if (d.box) {
            EXPECT_EQ(dialogs.boxes()[0].text, d.box);
        }
        EXPECT_EQ(state->playlist.count(), 3) << "the entry stays in the playlist";
        EXPECT_EQ(list->model()->rowCount(), 3);
    }
    testing_support::saveScreenshot(w, "playlist_entries_dropped_on_decks");
}

} // namespace
