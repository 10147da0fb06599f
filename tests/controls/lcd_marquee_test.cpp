// The scrolling title: passes, wrap-around and restart.
#include "controls/lcd/marquee.h"
#include "controls/lcd/qzvLCD.h"
#include "tests/controls/app_first.h"

#include <gtest/gtest.h>

namespace {

const QString kBlanks(10, ' ');

// What the endless band shows after `steps` steps: the text from the step's
// position on, followed by further copies of the text.
QString band(const QString& text, int steps, int chars) {
    const int position = (steps - 1) % text.size() + 1;
    return text.repeated(chars / text.size() + 3).mid(position, chars);
}

class LcdMarquee : public ::testing::Test {
protected:
    controls_tests::AppFirst app;
    qzvLCD lcd;
};

TEST_F(LcdMarquee, SongStartsASingleCopyAfterTenBlanks) {
    lcd.setSong("AB");
    const qzvlcd::Marquee& m = lcd.marquee();
    EXPECT_EQ(m.text(), kBlanks + "AB");
    EXPECT_EQ(m.length(), 12);
    EXPECT_EQ(m.position(), 0);
    EXPECT_EQ(m.view(), "");
    EXPECT_EQ(m.head(), "");
}

TEST_F(LcdMarquee, FirstPassMovesOneCharacterPerStep) {
    lcd.setSong("AB");
    const QString text = kBlanks + "AB";
    for (int n = 1; n <= text.size(); ++n) {
        lcd.run_marquee_scroll();
        EXPECT_EQ(lcd.marquee().position(), n);
        EXPECT_EQ(lcd.marquee().head(), text.left(n));
        EXPECT_EQ(lcd.marquee().view(), text.mid(n) + text.left(n)) << n;
    }
    EXPECT_EQ(lcd.marquee().view(), text);
}

TEST_F(LcdMarquee, WrapKeepsTheHeadSoTheTitleRunsAsABand) {
    lcd.setSong("AB");
    const QString text = kBlanks + "AB";
    for (int n = 0; n < text.size() + 3; ++n)
        lcd.run_marquee_scroll();
    EXPECT_EQ(lcd.marquee().position(), 3);
    EXPECT_EQ(lcd.marquee().head(), text + text.left(3)) << "head is not emptied on wrap";
    EXPECT_EQ(lcd.marquee().view(), text.mid(3) + text + text.left(3));
    EXPECT_EQ(lcd.marquee().view().count("AB"), 2);
}

TEST_F(LcdMarquee, SongAndResetStartAgainFromOneCopy) {
    lcd.setSong("Track");
    for (int n = 0; n < 40; ++n)
        lcd.run_marquee_scroll();
    ASSERT_GT(lcd.marquee().view().count("Track"), 1);
    lcd.reset_marquee();
    EXPECT_EQ(lcd.marquee().view(), "");
    lcd.run_marquee_scroll();
    EXPECT_EQ(lcd.marquee().view().count("Track"), 1);

    for (int n = 0; n < 40; ++n)
        lcd.run_marquee_scroll();
    lcd.setSong("Other");
    lcd.run_marquee_scroll();
    EXPECT_EQ(lcd.marquee().view(), QString(9, ' ') + "Other ");
}

TEST_F(LcdMarquee, BlankOrEmptyTitleScrollsTenBlanks) {
    for (const QString& title : {QString(), QString("    ")}) {
        lcd.setSong("x");
        lcd.setSong(title);
        EXPECT_EQ(lcd.Song(), "");
        EXPECT_EQ(lcd.marquee().text(), kBlanks);
        EXPECT_EQ(lcd.marquee().length(), 10);
        lcd.run_marquee_scroll();
        EXPECT_EQ(lcd.marquee().view(), kBlanks);
    }
    lcd.setSong(" x ");
    EXPECT_EQ(lcd.Song(), " x ");
    EXPECT_EQ(lcd.marquee().text(), kBlanks + " x ");
}

TEST_F(LcdMarquee, FastTimerMovesTheTitle) {
    lcd.setSong("Title");
    lcd.tmrBlinkFast_Timer();
    lcd.tmrBlinkFast_Timer();
    EXPECT_EQ(lcd.marquee().position(), 2);
    EXPECT_EQ(lcd.marquee().view(), band(kBlanks + "Title", 2, 15));
}

TEST_F(LcdMarquee, HoursOfScrollingKeepTheBandButNotAnEndlessHead) {
    // An idle deck scrolls its title for hours; what the field shows must
    // stay the band while the kept text stays small.
    const QString text = kBlanks + "Vorlan DJ";
    lcd.setSong("Vorlan DJ");
    for (int n = 1; n <= 60000; ++n) {
        lcd.run_marquee_scroll();
        if (n % 997 == 0 || n > 59990) {
            ASSERT_EQ(lcd.marquee().view().left(200), band(text, n, 200)) << n;
        }
    }
    EXPECT_LT(lcd.marquee().view().size(), qzvlcd::Marquee::kHeadLimit + 3 * text.size());
}

} // namespace
