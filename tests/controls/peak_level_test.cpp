// The meter's columns: rise, fall, fall speed and geometry.
#include "controls/peak/qzvPeak.h"
#include "tests/controls/app_first.h"

#include <gtest/gtest.h>

namespace {

using C = qzvPeak::Column;

class PeakLevel : public ::testing::Test {
protected:
    controls_tests::AppFirst app;
    int litCount(C column) const {
        int n = 0;
        for (int i = 0; i < qzvPeak::kLeds; ++i)
            n += meter.isLedLit(column, i) ? 1 : 0;
        return n;
    }
    void leftTicks(int n) {
        for (int i = 0; i < n; ++i)
            meter.tmrLpeakHold_Timer();
    }
    qzvPeak meter;
};

TEST_F(PeakLevel, NewMeterShowsTheBottomLedsAndFallsAt60Ms) {
    EXPECT_EQ(meter.size(), QSize(16, 137));
    EXPECT_TRUE(meter.isLedLit(C::Left, 0));
    EXPECT_TRUE(meter.isLedLit(C::Right, 0));
    EXPECT_EQ(litCount(C::Left), 1);
    EXPECT_EQ(meter.tmrLpeakHold().interval(), 60);
    EXPECT_EQ(meter.tmrRpeakHold().interval(), 60);
    EXPECT_TRUE(meter.tmrLpeakHold().isActive());
    EXPECT_EQ(meter.tmrLpeakHold().timerType(), Qt::PreciseTimer);
    EXPECT_EQ(meter.tmrRpeakHold().timerType(), Qt::PreciseTimer);
    EXPECT_FALSE(meter.Enabled());
    EXPECT_EQ(meter.LPeak(), 0);
    meter.tmrLpeakHold_Timer();
    EXPECT_EQ(meter.top(C::Left), -1);
    EXPECT_EQ(meter.top(C::Right), 0) << "each column has its own timer";
    // A dark column's timer sleeps until a peak lights it again.
    EXPECT_FALSE(meter.tmrLpeakHold().isActive());
    EXPECT_TRUE(meter.tmrRpeakHold().isActive());
    meter.setLPeak(64);
    EXPECT_TRUE(meter.tmrLpeakHold().isActive());
}

TEST_F(PeakLevel, LevelIsScaledTo27WithHalvesToEven) {
    // v x 27 / 128: 64 gives 13.5, the only exact half, which goes to 14.
    const std::pair<short, short> cases[] = {{0, 0},   {2, 0},   {3, 1},   {5, 1},
                                             {64, 14}, {83, 18}, {128, 27}};
    for (auto [value, level] : cases) {
        meter.setLPeak(value);
        EXPECT_EQ(meter.level(C::Left), level) << value;
    }
}

TEST_F(PeakLevel, ValuesAbove128ReadBackAs128AndLightEveryLed) {
    meter.setLPeak(200);
    EXPECT_EQ(meter.LPeak(), 128);
    EXPECT_EQ(meter.level(C::Left), 27);
    EXPECT_EQ(litCount(C::Left), 28);
    EXPECT_EQ(litCount(C::Right), 1);
    EXPECT_EQ(meter.tmrLpeakHold().interval(), 60);
}

TEST_F(PeakLevel, RisesAtOnceAndFallsOneLedPerTick) {
    meter.setLPeak(128);
    meter.setLPeak(0);
    EXPECT_EQ(litCount(C::Left), 28) << "a lower write puts nothing out";
    EXPECT_EQ(meter.tmrLpeakHold().interval(), 20) << "chosen by the last write";
    for (int tick = 1; tick <= 28; ++tick) {
        meter.tmrLpeakHold_Timer();
        EXPECT_EQ(litCount(C::Left), 28 - tick) << tick;
        EXPECT_EQ(meter.top(C::Left), 27 - tick);
    }
    meter.tmrLpeakHold_Timer();
    EXPECT_EQ(meter.top(C::Left), -1);
}

TEST_F(PeakLevel, RiseDuringAFallRelightsUpToTheNewLevel) {
    meter.setLPeak(128);
    leftTicks(10);       // top 17
    meter.setLPeak(100); // level 21
    EXPECT_EQ(meter.top(C::Left), 21);
    EXPECT_EQ(litCount(C::Left), 22);
    meter.setLPeak(64); // level 14, below the top
    EXPECT_EQ(meter.top(C::Left), 21);
}

TEST_F(PeakLevel, FallIntervalFollowsTheLastLevelWritten) {
    const std::pair<short, int> cases[] = {
        {128, 60}, {119, 60}, // level 25 (25.10)
        {114, 40},            // level 24 (24.05)
        {83, 40},             // level 18
        {80, 20},             // level 17 (16.875)
        {0, 20},   {-5, 20},
    };
    for (auto [value, interval] : cases) {
        meter.setRPeak(value);
        EXPECT_EQ(meter.tmrRpeakHold().interval(), interval) << value;
        EXPECT_EQ(meter.tmrLpeakHold().interval(), 60) << "the other column keeps its speed";
    }
}

TEST_F(PeakLevel, SilenceRelightsTheBottomLedEachWrite) {
    for (int round = 0; round < 3; ++round) {
        meter.setLPeak(0);
        EXPECT_TRUE(meter.isLedLit(C::Left, 0));
        leftTicks(1);
        EXPECT_EQ(meter.top(C::Left), -1);
    }
}

TEST_F(PeakLevel, NegativeValuesLightNothingAndKeepTheTop) {
    leftTicks(1);
    for (short v : {-1, -2, -128, -32768}) {
        meter.setLPeak(v);
        EXPECT_EQ(meter.LPeak(), v);
        EXPECT_EQ(meter.top(C::Left), -1) << v;
        EXPECT_EQ(litCount(C::Left), 0);
    }
    meter.setLPeak(64);
    meter.setLPeak(-1);
    EXPECT_EQ(meter.top(C::Left), 14);
}

TEST_F(PeakLevel, LedsTouchAndTheTopOneSitsMostlyAboveTheEdge) {
    EXPECT_EQ(qzvPeak::ledRect(C::Left, 0), QRect(3, 132, 5, 5));
    EXPECT_EQ(qzvPeak::ledRect(C::Right, 0), QRect(9, 132, 5, 5));
    EXPECT_EQ(qzvPeak::ledRect(C::Left, 1).bottom() + 1, qzvPeak::ledRect(C::Left, 0).top());
    EXPECT_EQ(qzvPeak::ledRect(C::Right, 27).top(), -3);
    meter.resize(100, 400);
    EXPECT_EQ(meter.size(), QSize(16, 137));
}

} // namespace
