// The mixer on the main window: start-up values, every slider notification
// and the monitor buttons reaching the streams, the mouse giving the mixer
// panel the keyboard focus, and a picture with both decks playing.
#include "app/main_window.h"
#include "controls/peak/qzvPeak.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "mixer/track_tick.h"
#include "tests/app/program_fixture.h"
#include "tests/mixer/mixer_fixture.h"
#include "tests/support/screenshots.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace {

using mixer_test::Attributes;
using mixer_test::attributesOf;

class MainWindowMixerTest : public app_test::ProgramTest {
protected:
    void SetUp() override {
        app_test::ProgramTest::SetUp();
        app::applyConsoleLook(*qApp);
        w = startProgram();
        ASSERT_NE(w, nullptr);
    }
    void TearDown() override {
        for (core::DeckRecord& deck : state->decks)
            deck.stream.free();
        app_test::ProgramTest::TearDown();
    }
    // Loads a tone onto the deck and presses its play button.
    void playDeck(int deck, double amplitude, double frequency) {
        fixtures::Tone tone;
        tone.format = fixtures::Format::Wav;
        tone.amplitude = amplitude;
        tone.frequency = frequency;
        tone.seconds = 3;
        const std::string path = audio_test::fixture(
            "window_" + std::to_string(amplitude) + "_" + std::to_string(frequency) + ".wav", tone);
        state->decks[static_cast<std::size_t>(deck)].filePath = QString::fromStdString(path);
        deck == 0 ? w->decks->left().init_Player() : w->decks->right().init_Player();
        (deck == 0 ? w->decks->left().controls().play : w->decks->right().controls().play)->click();
        ASSERT_TRUE(state->decks[static_cast<std::size_t>(deck)].stream);
    }
    halvoranF* w = nullptr;
};

TEST_F(MainWindowMixerTest, StartsCentredWithMonitoringOff) {
    EXPECT_EQ(state->crossMax, 100);
    EXPECT_EQ(w->mixerPanel.desk.crossFaderScroll->Value(), 50);
    EXPECT_EQ(w->mixerPanel.desk.MainVolScroll->Value(), 50);
    EXPECT_EQ(state->monitorMode, 3);
    EXPECT_EQ(w->mixerPanel.desk.monitorCMB[0]->BackColor(), app::kColourOff);
    EXPECT_EQ(w->mixerPanel.desk.monitorCMB[1]->BackColor(), app::kColourOff);
    EXPECT_EQ(w->mixerPanel.desk.monitorCMB[2]->BackColor(), app::kColourOn);
}

// Value changed and thumb moved, of each slider, and the monitor buttons'
// clicks, each rerun the volumes; so do the program links.
TEST_F(MainWindowMixerTest, EveryNotificationReachesTheStreams) {
    playDeck(0, 0.5, 440);
    playDeck(1, 0.5, 1000);
    // Left deck monitored with the monitor slider at the bottom, decks full,
    // master half: both streams at 50, full right.
    const auto base = [&] {
        w->mixerPanel.desk.crossFaderScroll->setValue(50);
        w->mixerPanel.desk.MainVolScroll->setValue(50);
        w->mixerPanel.desk.LVolScroll->setValue(0);
        w->mixerPanel.desk.RvolScroll->setValue(0);
        w->mixerPanel.desk.monitorVolScroll->setValue(100);
        w->mixerPanel.desk.monitorCMB[0]->click();
        ASSERT_EQ(attributesOf(state->decks[0].stream), (Attributes{50, 100}));
        ASSERT_EQ(attributesOf(state->decks[1].stream), (Attributes{50, 100}));
    };
    struct Row {
        Slider* slider;
        int value;
        Attributes left, right;
    };
    const Row rows[] = {
        {w->mixerPanel.desk.crossFaderScroll, 0, {50, 100}, {0, 0}},
        {w->mixerPanel.desk.LVolScroll, 50, {25, 100}, {50, 100}},
        {w->mixerPanel.desk.RvolScroll, 50, {50, 100}, {25, 100}},
        {w->mixerPanel.desk.MainVolScroll, 100, {100, 100}, {100, 100}},
        {w->mixerPanel.desk.monitorVolScroll, 20, {80, -38}, {50, 100}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.slider->objectName().toStdString());
        for (const bool thumb : {false, true}) {
            base();
            if (thumb) {
                {
                    const QSignalBlocker quiet(r.slider);
                    r.slider->setValue(r.value);
                }
                EXPECT_EQ(attributesOf(state->decks[0].stream), (Attributes{50, 100}));
                emit r.slider->Scroll();
            } else {
                r.slider->setValue(r.value);
            }
            EXPECT_EQ(attributesOf(state->decks[0].stream), r.left) << "thumb " << thumb;
            EXPECT_EQ(attributesOf(state->decks[1].stream), r.right) << "thumb " << thumb;
        }
    }

    // Monitor off by its button; then the event the decks raise.
    w->mixerPanel.desk.monitorCMB[2]->click();
    EXPECT_EQ(attributesOf(state->decks[0].stream), (Attributes{50, 0}));
    {
        const QSignalBlocker quiet(w->mixerPanel.desk.MainVolScroll);
        w->mixerPanel.desk.MainVolScroll->setValue(80);
    }
    w->decks->events().levelsChanged();
    EXPECT_EQ(attributesOf(state->decks[0].stream), (Attributes{80, 0}));
    EXPECT_EQ(attributesOf(state->decks[1].stream), (Attributes{80, 0}));
}

// Play, resume and a rate change on a deck end in the mixer through its
// link, and the track timer's tick updates the meters. The master moves
// unheard before each step, so only the step itself can bring the new level.
TEST_F(MainWindowMixerTest, DeckOperationsEndInTheMixer) {
    struct Side {
        ConsoleButton *play, *pause, *rate22050;
        qzvPeak* meter;
    };
    const Side sides[] = {{w->decks->left().controls().play, w->decks->left().controls().pause,
                           w->decks->left().controls().rate22050, w->mixerPanel.desk.LVUmeter},
                          {w->decks->right().controls().play, w->decks->right().controls().pause,
                           w->decks->right().controls().rate22050, w->mixerPanel.desk.RVUmeter}};
    int master = 20;
    // Monitoring off, crossfader centred, deck slider at half after loading:
    // volume = master / 2, centred.
    const auto masterUnheard = [&] {
        const QSignalBlocker quiet(w->mixerPanel.desk.MainVolScroll);
        w->mixerPanel.desk.MainVolScroll->setValue(master += 10);
        return Attributes{master / 2, 0};
    };
    for (int deck = 0; deck < 2; ++deck) {
        SCOPED_TRACE(deck);
        const Side& side = sides[deck];
        state->decks[static_cast<std::size_t>(deck)].filePath =
            QString::fromStdString(mixer_test::toneWav(440));
        deck == 0 ? w->decks->left().init_Player() : w->decks->right().init_Player();
        const engine::Channel& stream = state->decks[static_cast<std::size_t>(deck)].stream;
        ASSERT_TRUE(stream);

        Attributes want = masterUnheard();
        side.play->click();
        EXPECT_EQ(attributesOf(stream), want) << "play";

        side.pause->click();
        want = masterUnheard();
        side.play->click();
        EXPECT_EQ(attributesOf(stream), want) << "resume";

        want = masterUnheard();
        side.rate22050->click();
        EXPECT_EQ(attributesOf(stream), want) << "rate change";

        BASS_Offline_Render(nullptr, 4096);
        side.meter->setLPeak(0);
        w->trackTick().run();
        // The tone is at 0.4 of full scale: level 51, halved by the deck slider.
        EXPECT_NEAR(side.meter->LPeak(), 0.4 * 128 / 2, 1);
    }
}

TEST_F(MainWindowMixerTest, MouseOverSliderFocusesMixer) {
    w->activateWindow();
    QApplication::setActiveWindow(w);
    for (Slider* s : {w->mixerPanel.desk.crossFaderScroll, w->mixerPanel.desk.LVolScroll,
                      w->mixerPanel.desk.RvolScroll, w->mixerPanel.desk.MainVolScroll,
                      w->mixerPanel.desk.monitorVolScroll}) {
        w->mixerPanel.nextSong->setFocus();
        ASSERT_FALSE(w->Mixer->hasFocus());
        const QPointF at(s->width() / 2.0, s->height() / 2.0);
        QMouseEvent move(QEvent::MouseMove, at, s->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(s, &move);
        EXPECT_TRUE(w->Mixer->hasFocus()) << s->objectName().toStdString();
    }
}

TEST_F(MainWindowMixerTest, BothDecksPlayingMetersLit) {
    playDeck(0, 0.9, 440);
    playDeck(1, 0.6, 1000);
    w->mixerPanel.desk.LVolScroll->setValue(10);
    w->mixerPanel.desk.RvolScroll->setValue(30);
    w->mixerPanel.desk.MainVolScroll->setValue(80);
    w->mixerPanel.desk.crossFaderScroll->setValue(40);
    BASS_Offline_Render(nullptr, 4096);
    w->trackTick().run();
    // Deck meters after the deck slider; master after master and crossfader.
    EXPECT_NEAR(w->mixerPanel.desk.LVUmeter->LPeak(), 0.9 * 128 * 0.9, 1.5);
    EXPECT_NEAR(w->mixerPanel.desk.RVUmeter->LPeak(), 0.6 * 128 * 0.7, 1.5);
    EXPECT_NEAR(w->mixerPanel.desk.mainVolVUmeter->LPeak(), 0.9 * 128 * 0.8, 1.5);
    EXPECT_NEAR(w->mixerPanel.desk.mainVolVUmeter->RPeak(), 0.6 * 128 * 0.8 * 0.8, 1.5);
    for (const qzvPeak* m : {w->mixerPanel.desk.LVUmeter, w->mixerPanel.desk.RVUmeter,
                             w->mixerPanel.desk.mainVolVUmeter})
        EXPECT_GE(m->top(qzvPeak::Column::Left), 8) << m->objectName().toStdString();
    EXPECT_FALSE(testing_support::saveScreenshot(w, "main-window-mixer-playing").isEmpty());
}

} // namespace
