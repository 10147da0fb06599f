// The three level meters fed from the decks' stream levels: deck meters
// after the deck slider, master columns after master and crossfader.
#include "controls/peak/qzvPeak.h"
#include "tests/mixer/mixer_fixture.h"

namespace {

using mixer_test::MixerTest;

struct MeterCase {
    const char* what;
    int levelLeft, levelRight; // the deck's stream level per channel, 0..128
    int crossfader;            // for the left deck; the right deck sees it mirrored
    int master;
    int deckSlider; // 0 = full level
    int deckLeft, deckRight, masterColumn;
};

const MeterCase kMeterCases[] = {
    {"full level everywhere", 128, 128, 50, 100, 0, 128, 128, 128},
    {"crossfader at the other end: no master share, deck meter still moves", 128, 128, 100, 100, 0,
     128, 128, 0},
    {"deck slider at the bottom: deck meter 0, master still shows the deck", 128, 128, 50, 100, 100,
     0, 0, 128},
    {"master shows the average of both channels", 100, 0, 50, 100, 0, 100, 0, 50},
    {"crossfader share is capped at full", 128, 128, 25, 100, 0, 128, 128, 128},
    {"crossfader towards the other deck halves the share", 128, 128, 75, 100, 0, 128, 128, 64},
    {"halves round to even (50.5 -> 50, 51.5 -> 52)", 101, 103, 50, 50, 50, 50, 52, 51},
    {"master half, half rounds to even (50.5 -> 50)", 101, 101, 50, 50, 0, 101, 101, 50},
};

TEST_F(MixerTest, MetersShowEachDeck) {
    qzvPeak* deckMeters[] = {controls.LVUmeter, controls.RVUmeter};
    for (const MeterCase& c : kMeterCases) {
        for (int deck = 0; deck < 2; ++deck) {
            SCOPED_TRACE(std::string(c.what) + (deck == 0 ? " (left deck)" : " (right deck)"));
            // Only this deck plays; the other deck's columns keep a mark.
            playDeck(deck, mixer_test::constantLevelWav(c.levelLeft, c.levelRight));
            qzvPeak* other = deckMeters[1 - deck];
            other->setLPeak(77);
            other->setRPeak(77);
            deck == 0 ? controls.mainVolVUmeter->setRPeak(77)
                      : controls.mainVolVUmeter->setLPeak(77);
            controls.crossFaderScroll->setValue(deck == 0 ? c.crossfader : 100 - c.crossfader);
            controls.MainVolScroll->setValue(c.master);
            (deck == 0 ? controls.LVolScroll : controls.RvolScroll)->setValue(c.deckSlider);
            (deck == 0 ? controls.RvolScroll : controls.LVolScroll)->setValue(40);

            desk->run_VUmeterTimer();
            EXPECT_EQ(deckMeters[deck]->LPeak(), c.deckLeft);
            EXPECT_EQ(deckMeters[deck]->RPeak(), c.deckRight);
            const qzvPeak* master = controls.mainVolVUmeter;
            EXPECT_EQ(deck == 0 ? master->LPeak() : master->RPeak(), c.masterColumn);
            EXPECT_EQ(deck == 0 ? master->RPeak() : master->LPeak(), 77);
            EXPECT_EQ(other->LPeak(), 77);
            EXPECT_EQ(other->RPeak(), 77);

            state->decks[static_cast<std::size_t>(deck)].stream.free();
        }
    }
}

// A deck that is paused, stopped, silent or has no stream writes nothing:
// its columns keep what they had and fall by themselves.
TEST_F(MixerTest, NoLevelWritesNothing) {
    qzvPeak* meters[] = {controls.LVUmeter, controls.RVUmeter, controls.mainVolVUmeter};
    const auto mark = [&] {
        for (qzvPeak* m : meters) {
            m->setLPeak(90);
            m->setRPeak(90);
        }
    };
    const auto unchanged = [&](const char* what) {
        for (qzvPeak* m : meters) {
            EXPECT_EQ(m->LPeak(), 90) << what;
            EXPECT_EQ(m->RPeak(), 90) << what;
        }
    };
    mark();
    desk->run_VUmeterTimer();
    unchanged("no streams");

    playDeck(0, mixer_test::constantLevelWav(0, 0));
    playDeck(1, mixer_test::constantLevelWav(64, 64));
    state->decks[1].stream.pause();
    desk->run_VUmeterTimer();
    unchanged("silent left deck, paused right deck");

    state->decks[1].stream.resume();
    audio_test::render(2048);
    desk->run_VUmeterTimer();
    EXPECT_EQ(controls.RVUmeter->LPeak(), 64);
    EXPECT_EQ(controls.LVUmeter->LPeak(), 90);
}

} // namespace
