// The deck displays' time: time texts, progress and remaining time on every
// track tick, seeking by the display's position bar, the automatic DJ's
// hand-over point.
#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "controls/lcd/position_bar.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "decks/decks.h"
#include "decks/time_text.h"
#include "mixer/track_tick.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QTest>

using namespace deck_test;
using audio_test::render;

namespace {

TEST(TimeText, HoursMinutesSecondsRoundedHalfToEven) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {{59, "00:00:59"},   {90, "00:01:30"},   {3725, "01:02:05"},
                 {59.5, "00:01:00"}, {58.5, "00:00:58"}, {0.4, "00:00:00"},
                 {-3, "00:00:00"},   {3600, "01:00:00"}, {360000, "100:00:00"}};
    for (const auto& c : cases)
        EXPECT_EQ(decks::timeText(c.seconds), c.text) << c.seconds;
}

class DeckTime : public DeckTest {};

TEST_P(DeckTime, EachTickShowsProgressAndRemainingTime) {
    load(tone("four.wav", fixtures::Format::Wav, 44100, 2, 4.0));
    EXPECT_EQ(controls().lcd->Remain(), "00:00:04");
    controls().play->click();
    render(44100);
    w->trackTick().run();
    EXPECT_EQ(controls().lcd->Progress(), 25);
    EXPECT_EQ(controls().lcd->Remain(), "00:00:03");
    render(44100 + 22050);
    w->trackTick().run();
    EXPECT_EQ(controls().lcd->Progress(), 62);       // 62.5 halves to even
    EXPECT_EQ(controls().lcd->Remain(), "00:00:02"); // 1.5 s halves to even
    EXPECT_EQ(rec().lastProgress, 62);
}

TEST_P(DeckTime, DraggingThePositionBarSeeksWithinOneTick) {
    load(tone("four.wav", fixtures::Format::Wav, 44100, 2, 4.0));
    controls().play->click();
    render(8820);
    w->trackTick().run();
    ASSERT_EQ(controls().lcd->Progress(), 5);

    // The user drags the thumb to 50.
    auto* bar = static_cast<qzvlcd::PositionBar*>(controls().lcd->positionBar());
    int x = bar->thumbRect().left();
    while (bar->valueAtThumbLeft(x) < 50)
        ++x;
    const QPoint grab = bar->thumbRect().center();
    QTest::mousePress(bar, Qt::LeftButton, {}, grab);
    QTest::mouseMove(bar, grab + QPoint(x - bar->thumbRect().left(), 0));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grab + QPoint(x - bar->thumbRect().left(), 0));
    ASSERT_EQ(controls().lcd->Progress(), 50);

    w->trackTick().run();
    EXPECT_EQ(deck().getStreamPosition(), rec().length / 2);
    EXPECT_EQ(controls().lcd->Remain(), "00:00:02");
    render(44100);
    w->trackTick().run(); // plays on from there
    EXPECT_EQ(controls().lcd->Progress(), 75);
    EXPECT_EQ(controls().lcd->Remain(), "00:00:01");
}

TEST_P(DeckTime, WithTheAutomaticDjOnTheDeckPastItsMixPointReportsItself) {
    std::vector<int> due;
    w->decks->events().mixPointReached = [&](int s) { due.push_back(s); };
    state->autoDJ.on = true;
    state->settings.automixStart = 85;
    load(tone("four.wav", fixtures::Format::Wav, 44100, 2, 4.0));
    controls().play->click();
    deck().setStreamPosition(rec().length * 84 / 100);
    w->trackTick().run();
    deck().setStreamPosition(rec().length * 85 / 100);
    w->trackTick().run(); // at the mix point, not past it
    EXPECT_EQ(controls().lcd->Progress(), 85);
    EXPECT_TRUE(due.empty());
    render(44100 / 10);
    for (int tick = 0; tick < 3; ++tick) {
        render(3528);
        w->trackTick().run();
    }
    ASSERT_FALSE(due.empty());
    EXPECT_EQ(due.back(), side());
    const std::size_t reports = due.size();
    state->autoDJ.on = false;
    w->trackTick().run();
    EXPECT_EQ(due.size(), reports) << "only with the automatic DJ on";
}

DECK_TEST_BOTH_SIDES(DeckTime);

} // namespace
