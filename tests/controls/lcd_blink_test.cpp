// The two blink timers, driven tick by tick.
#include "controls/lcd/qzvLCD.h"
#include "tests/controls/app_first.h"

#include <gtest/gtest.h>

namespace {

using E = qzvLCD::Element;

class LcdBlink : public ::testing::Test {
protected:
    controls_tests::AppFirst app;
    void fastTicks(int n) {
        for (int i = 0; i < n; ++i)
            lcd.tmrBlinkFast_Timer();
    }
    void slowTicks(int n) {
        for (int i = 0; i < n; ++i)
            lcd.tmrBlinkSlow_Timer();
    }
    qzvLCD lcd;
};

TEST_F(LcdBlink, TimersRunAt240And500Milliseconds) {
    EXPECT_EQ(lcd.tmrBlinkFast().interval(), 240);
    EXPECT_EQ(lcd.tmrBlinkSlow().interval(), 500);
    EXPECT_TRUE(lcd.tmrBlinkFast().isActive());
    // The slow timer blinks the loop circles only: it sleeps while not looping.
    EXPECT_FALSE(lcd.tmrBlinkSlow().isActive());
    lcd.setLooping(true);
    EXPECT_TRUE(lcd.tmrBlinkSlow().isActive());
    lcd.setLooping(false);
    EXPECT_FALSE(lcd.tmrBlinkSlow().isActive());
    // Precise: a coarse timer may stretch 240 ms to 250.
    EXPECT_EQ(lcd.tmrBlinkFast().timerType(), Qt::PreciseTimer);
    EXPECT_EQ(lcd.tmrBlinkSlow().timerType(), Qt::PreciseTimer);
}

TEST_F(LcdBlink, LoadingLegendAlternatesOnFastTicks) {
    lcd.setLoading(true);
    for (int n = 1; n <= 5; ++n) {
        fastTicks(1);
        EXPECT_EQ(lcd.isShown(E::LABEL_loading), n % 2 == 0) << n;
    }
    slowTicks(3);
    EXPECT_FALSE(lcd.isShown(E::LABEL_loading)) << "slow ticks leave it alone";
    lcd.setLoading(false);
    fastTicks(3);
    EXPECT_FALSE(lcd.isShown(E::LABEL_loading));
}

TEST_F(LcdBlink, PauseBarsBlinkTogether) {
    lcd.setPause(true);
    fastTicks(3);
    EXPECT_FALSE(lcd.isShown(E::imgPause0));
    EXPECT_FALSE(lcd.isShown(E::imgPause1));
    fastTicks(1);
    EXPECT_TRUE(lcd.isShown(E::imgPause0));
    EXPECT_TRUE(lcd.isShown(E::imgPause1));
}

TEST_F(LcdBlink, SelectedCueArrowBlinksWhileTheOtherStaysLit) {
    lcd.setCueDir(0);
    fastTicks(1);
    EXPECT_FALSE(lcd.isShown(E::img_CueDir0));
    EXPECT_TRUE(lcd.isShown(E::img_CueDir1));
    fastTicks(1);
    EXPECT_TRUE(lcd.isShown(E::img_CueDir0));
    lcd.setCueDir(1);
    fastTicks(3);
    EXPECT_TRUE(lcd.isShown(E::img_CueDir0));
    EXPECT_FALSE(lcd.isShown(E::img_CueDir1));
}

TEST_F(LcdBlink, LoopDirectionArrowBlinksEvenWithTheBlockHidden) {
    lcd.setLoopDir(1);
    fastTicks(1);
    EXPECT_TRUE(lcd.isShown(E::img_LoopDir1));
    EXPECT_FALSE(lcd.isShown(E::img_LoopDir0));
    EXPECT_FALSE(lcd.isShown(E::Shape_LoopPoint));
    lcd.setLoopPoint("00:00:12");
    lcd.setLoopDir(0);
    fastTicks(1);
    EXPECT_FALSE(lcd.isShown(E::img_LoopDir0));
    EXPECT_TRUE(lcd.isShown(E::img_LoopDir1));
    lcd.setLoopDir(2);
    fastTicks(4);
    EXPECT_FALSE(lcd.isShown(E::img_LoopDir0));
}

TEST_F(LcdBlink, DirectionsOutsideTheArrowsBlinkNothing) {
    lcd.setCueDir(7);
    lcd.setLoopDir(-3);
    fastTicks(3);
    EXPECT_TRUE(lcd.isShown(E::img_CueDir0));
    EXPECT_TRUE(lcd.isShown(E::img_CueDir1));
    EXPECT_FALSE(lcd.isShown(E::img_LoopDir0));
    EXPECT_FALSE(lcd.isShown(E::img_LoopDir1));
}

TEST_F(LcdBlink, LoopCirclesBlinkOnSlowTicksOnly) {
    lcd.setLooping(true);
    fastTicks(5);
    EXPECT_TRUE(lcd.isShown(E::imgLoop0));
    slowTicks(1);
    EXPECT_FALSE(lcd.isShown(E::imgLoop0));
    EXPECT_FALSE(lcd.isShown(E::imgLoop1));
    slowTicks(1);
    EXPECT_TRUE(lcd.isShown(E::imgLoop0));
    EXPECT_TRUE(lcd.isShown(E::imgLoop1));
    lcd.setLooping(false);
    slowTicks(2);
    EXPECT_FALSE(lcd.isShown(E::imgLoop0));
}

TEST_F(LcdBlink, PlayingBlinksNothing) {
    lcd.setPlay(true);
    fastTicks(7);
    slowTicks(7);
    EXPECT_TRUE(lcd.isShown(E::imgPlay));
    EXPECT_FALSE(lcd.isShown(E::imgPause0));
    EXPECT_FALSE(lcd.isShown(E::img_CueDir0));
}

} // namespace
