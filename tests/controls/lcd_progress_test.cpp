// Progress: clamping, the bar width and the position bar, and what a drag of
// the position bar reports.
#include "controls/lcd/position_bar.h"
#include "controls/lcd/qzvLCD.h"
#include "tests/controls/app_first.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

class LcdProgress : public ::testing::Test {
protected:
    controls_tests::AppFirst app;
    void SetUp() override {
        QObject::connect(&lcd, &qzvLCD::Scroll, [this] {
            ++scrolls;
            progressAtScroll.push_back(lcd.Progress());
        });
    }
    qzvlcd::PositionBar& bar() { return *static_cast<qzvlcd::PositionBar*>(lcd.positionBar()); }
    void mouse(QEvent::Type type, int x, Qt::MouseButtons held) {
        const QPointF at(x, 4);
        QMouseEvent event(type, at, bar().mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&bar(), &event);
    }
    // Left edge of the thumb for `value`, in the bar's pixels.
    int thumbLeftFor(int value) const {
        const int track = 205 - 9 - 9 - 9; // bar minus two arrows minus thumb
        return 9 + (value * track + 50) / 100;
    }

    qzvLCD lcd;
    int scrolls = 0;
    std::vector<short> progressAtScroll;
};

TEST_F(LcdProgress, ClampsToOneThroughHundred) {
    lcd.setProgress(0);
    EXPECT_EQ(lcd.Progress(), 1);
    EXPECT_EQ(lcd.progressWidth(), 26); // 2585 / 100, rounded
    EXPECT_EQ(lcd.positionValue(), 1);
    lcd.setProgress(-40);
    EXPECT_EQ(lcd.Progress(), 1);
    lcd.setProgress(150);
    EXPECT_EQ(lcd.Progress(), 100);
    EXPECT_EQ(lcd.progressWidth(), 2585);
    EXPECT_EQ(lcd.positionValue(), 100);
    lcd.setProgress(37);
    EXPECT_EQ(lcd.Progress(), 37);
    EXPECT_EQ(lcd.positionValue(), 37);
}

TEST_F(LcdProgress, BarWidthRoundsHalvesToEven) {
    // 2585 twips x n / 100 ends in exactly .5 for n = 10, 30, 50, 70, 90.
    const std::pair<short, int> cases[] = {{10, 258},  {30, 776}, {50, 1292}, {70, 1810},
                                           {90, 2326}, {2, 52},   {3, 78},    {99, 2559}};
    for (auto [progress, width] : cases) {
        lcd.setProgress(progress);
        EXPECT_EQ(lcd.progressWidth(), width) << progress;
    }
}

TEST_F(LcdProgress, NewDisplayShowsNoBarUntilProgressIsWritten) {
    EXPECT_EQ(lcd.Progress(), 0);
    EXPECT_EQ(lcd.progressWidth(), 0);
    EXPECT_EQ(lcd.positionValue(), 0);
}

TEST_F(LcdProgress, ProgrammaticChangeRaisesNoScroll) {
    for (short p : {5, 50, 100, 1, 0, 77})
        lcd.setProgress(p);
    EXPECT_EQ(scrolls, 0);
    EXPECT_EQ(lcd.positionValue(), 77);
}

TEST_F(LcdProgress, DragRaisesScrollOncePerStepAndNothingOnRelease) {
    lcd.setProgress(20);
    const int grab = thumbLeftFor(20) + 4;
    mouse(QEvent::MouseButtonPress, grab, Qt::LeftButton);
    EXPECT_EQ(scrolls, 0);
    // Three steps of different sizes, and a move that does not change the value.
    mouse(QEvent::MouseMove, thumbLeftFor(25) + 4, Qt::LeftButton);
    mouse(QEvent::MouseMove, thumbLeftFor(25) + 4, Qt::LeftButton);
    mouse(QEvent::MouseMove, thumbLeftFor(60) + 4, Qt::LeftButton);
    mouse(QEvent::MouseMove, thumbLeftFor(59) + 4, Qt::LeftButton);
    EXPECT_EQ(scrolls, 3);
    EXPECT_EQ(progressAtScroll, (std::vector<short>{25, 60, 59}));
    mouse(QEvent::MouseButtonRelease, thumbLeftFor(59) + 4, Qt::NoButton);
    EXPECT_EQ(scrolls, 3);
    EXPECT_EQ(lcd.Progress(), 59);

    // The host's next timer write is not taken for a drag.
    lcd.setProgress(61);
    EXPECT_EQ(scrolls, 3);
    EXPECT_EQ(lcd.positionValue(), 61);
}

TEST_F(LcdProgress, DragToTheLeftEndShowsOnePercent) {
    lcd.setProgress(10);
    mouse(QEvent::MouseButtonPress, thumbLeftFor(10) + 4, Qt::LeftButton);
    mouse(QEvent::MouseMove, 0, Qt::LeftButton);
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(lcd.Progress(), 1);
    EXPECT_EQ(lcd.positionValue(), 1);
    mouse(QEvent::MouseButtonRelease, 0, Qt::NoButton);
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(lcd.Progress(), 1);
}

TEST_F(LcdProgress, ClickOnTheTrackMovesOneStepWithoutScroll) {
    lcd.setProgress(50);
    mouse(QEvent::MouseButtonPress, thumbLeftFor(90), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, thumbLeftFor(90), Qt::NoButton);
    EXPECT_EQ(lcd.Progress(), 51);
    mouse(QEvent::MouseButtonPress, thumbLeftFor(10), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, thumbLeftFor(10), Qt::NoButton);
    EXPECT_EQ(lcd.Progress(), 50);
    EXPECT_EQ(scrolls, 0);
}

TEST_F(LcdProgress, ADragEndingWhereItStartedStillEndsTheDrag) {
    lcd.setProgress(50);
    mouse(QEvent::MouseButtonPress, thumbLeftFor(50) + 4, Qt::LeftButton);
    mouse(QEvent::MouseMove, thumbLeftFor(55) + 4, Qt::LeftButton);
    mouse(QEvent::MouseMove, thumbLeftFor(50) + 4, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, thumbLeftFor(50) + 4, Qt::NoButton);
    EXPECT_EQ(scrolls, 2);
    // The next click on the track is a click, not the end of a drag.
    mouse(QEvent::MouseButtonPress, thumbLeftFor(90), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, thumbLeftFor(90), Qt::NoButton);
    EXPECT_EQ(lcd.positionValue(), 51);
    EXPECT_EQ(lcd.Progress(), 51);
    EXPECT_EQ(scrolls, 2);
}

TEST_F(LcdProgress, BarGeometryHidesTheArrowButtons) {
    // The arrows (9 px each) lie outside the 177 px display area.
    const QRect inDisplay = bar().geometry();
    EXPECT_LE(inDisplay.left() + bar().arrowWidth(), 0);
    EXPECT_GE(inDisplay.right() - bar().arrowWidth() + 1, 177);
    EXPECT_EQ(bar().height(), 9);
}

} // namespace
