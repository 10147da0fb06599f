// What one property write of the host lights and clears on the display.
#include "controls/lcd/qzvLCD.h"
#include "tests/controls/app_first.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

using E = qzvLCD::Element;

class LcdCascade : public ::testing::Test {
protected:
    controls_tests::AppFirst app;
    qzvLCD lcd;
};

TEST_F(LcdCascade, StartsWithEveryIndicatorDarkAndDataModelDefaults) {
    for (E e : {E::LABEL_loading, E::imgPlay, E::imgPause0, E::imgPause1, E::imgStop, E::LABEL_cue,
                E::img_CueDir0, E::img_CueDir1, E::imgRec, E::LABEL_Rec, E::imgLoop0, E::imgLoop1,
                E::Shape_LoopPoint, E::LABEL_loopPointHeading, E::Label_LoopPoint, E::img_LoopDir0,
                E::img_LoopDir1})
        EXPECT_FALSE(lcd.isShown(e)) << static_cast<int>(e);
    EXPECT_EQ(lcd.CueDir(), 2);
    EXPECT_EQ(lcd.LoopDir(), 2);
    EXPECT_EQ(lcd.Pitch(), " 0.00% ");
    EXPECT_EQ(lcd.LoopPoint(), "00:00:00");
    EXPECT_EQ(lcd.Remain(), "00:00:00");
    EXPECT_EQ(lcd.Progress(), 0);
    EXPECT_EQ(lcd.Song(), "");
    EXPECT_EQ(lcd.BackColor(), QColor(Qt::black));
    EXPECT_EQ(lcd.size(), QSize(181, 85));
}

TEST_F(LcdCascade, PlayAfterPauseAndCueLightsOnlyThePlayTriangle) {
    lcd.setStopPlaying(true);
    lcd.setPause(true);
    lcd.setCueing(true);
    lcd.setCueDir(1);
    EXPECT_FALSE(lcd.Pause()) << "a cue direction clears Pause";
    lcd.setPause(true);
    ASSERT_TRUE(lcd.isShown(E::imgPause0));
    ASSERT_TRUE(lcd.isShown(E::img_CueDir1));

    lcd.setPlay(true);
    EXPECT_TRUE(lcd.Play());
    EXPECT_FALSE(lcd.Pause());
    EXPECT_FALSE(lcd.StopPlaying());
    EXPECT_FALSE(lcd.Cueing());
    EXPECT_EQ(lcd.CueDir(), 2);
    EXPECT_TRUE(lcd.isShown(E::imgPlay));
    for (E e :
         {E::imgPause0, E::imgPause1, E::imgStop, E::LABEL_cue, E::img_CueDir0, E::img_CueDir1})
        EXPECT_FALSE(lcd.isShown(e)) << static_cast<int>(e);
}

TEST_F(LcdCascade, PlayCascadeWritesInItsOrder) {
    lcd.setPause(true);
    QStringList names;
    QObject::connect(&lcd, &qzvLCD::propertyChanged, [&](const QString& n) { names << n; });
    lcd.setPlay(true);
    EXPECT_EQ(names, QStringList({"Play", "Pause", "StopPlaying", "Cueing", "CueDir"}));
}

TEST_F(LcdCascade, StopClearsPlayPauseAndCueAndShowsTheStopBlock) {
    lcd.setPlay(true);
    lcd.setCueing(true);
    lcd.setStopPlaying(true);
    EXPECT_FALSE(lcd.Play());
    EXPECT_FALSE(lcd.isShown(E::imgPlay));
    EXPECT_FALSE(lcd.Cueing());
    EXPECT_FALSE(lcd.isShown(E::LABEL_cue));
    EXPECT_TRUE(lcd.isShown(E::imgStop));
    lcd.setStopPlaying(false);
    EXPECT_FALSE(lcd.isShown(E::imgStop));
}

TEST_F(LcdCascade, PauseClearsPlayButKeepsStop) {
    lcd.setPlay(true);
    lcd.setPause(true);
    EXPECT_FALSE(lcd.Play());
    EXPECT_FALSE(lcd.isShown(E::imgPlay));
    EXPECT_TRUE(lcd.isShown(E::imgPause0));
    EXPECT_TRUE(lcd.isShown(E::imgPause1));

    lcd.setPause(false);
    lcd.setStopPlaying(true);
    lcd.setPause(true);
    EXPECT_TRUE(lcd.StopPlaying());
    EXPECT_TRUE(lcd.isShown(E::imgStop));
    lcd.setPause(false);
    EXPECT_FALSE(lcd.isShown(E::imgPause0));
}

TEST_F(LcdCascade, CueDirectionLightsBothArrowsAndClearsTransport) {
    lcd.setPlay(true);
    lcd.setCueDir(0);
    EXPECT_TRUE(lcd.isShown(E::img_CueDir0));
    EXPECT_TRUE(lcd.isShown(E::img_CueDir1));
    EXPECT_FALSE(lcd.Play());
    EXPECT_FALSE(lcd.Pause());
    EXPECT_FALSE(lcd.StopPlaying());
    EXPECT_FALSE(lcd.isShown(E::imgPlay));
    lcd.setCueDir(2);
    EXPECT_FALSE(lcd.isShown(E::img_CueDir0));
    EXPECT_FALSE(lcd.isShown(E::img_CueDir1));
}

TEST_F(LcdCascade, LoopPointTextShowsOrHidesTheWholeBlock) {
    lcd.setLoopPoint("00:01:30");
    for (E e : {E::Shape_LoopPoint, E::LABEL_loopPointHeading, E::Label_LoopPoint, E::img_LoopDir0,
                E::img_LoopDir1})
        EXPECT_TRUE(lcd.isShown(e)) << static_cast<int>(e);
    lcd.setLoopPoint("");
    for (E e : {E::Shape_LoopPoint, E::LABEL_loopPointHeading, E::Label_LoopPoint, E::img_LoopDir0,
                E::img_LoopDir1})
        EXPECT_FALSE(lcd.isShown(e)) << static_cast<int>(e);
    EXPECT_EQ(lcd.LoopPoint(), "");
}

TEST_F(LcdCascade, SimpleIndicatorsFollowTheirProperty) {
    lcd.setRec(true);
    EXPECT_TRUE(lcd.isShown(E::imgRec));
    EXPECT_TRUE(lcd.isShown(E::LABEL_Rec));
    lcd.setRec(false);
    EXPECT_FALSE(lcd.isShown(E::imgRec));
    EXPECT_FALSE(lcd.isShown(E::LABEL_Rec));

    lcd.setLooping(true);
    EXPECT_TRUE(lcd.isShown(E::imgLoop0));
    EXPECT_TRUE(lcd.isShown(E::imgLoop1));
    lcd.setLooping(false);
    EXPECT_FALSE(lcd.isShown(E::imgLoop0));

    lcd.setCueing(true);
    EXPECT_TRUE(lcd.isShown(E::LABEL_cue));
    lcd.setLoopDir(1);
    EXPECT_EQ(lcd.LoopDir(), 1);
    EXPECT_FALSE(lcd.isShown(E::img_LoopDir1)) << "LoopDir is stored only";
}

TEST_F(LcdCascade, LoadingAcceptsAnyHostValue) {
    lcd.setLoading(short(-1));
    EXPECT_TRUE(lcd.Loading());
    EXPECT_TRUE(lcd.isShown(E::LABEL_loading));
    lcd.setLoading(QString("0"));
    EXPECT_FALSE(lcd.Loading());
    EXPECT_FALSE(lcd.isShown(E::LABEL_loading));
    lcd.setLoading(true);
    EXPECT_TRUE(lcd.Loading());
    lcd.setLoading(QVariant());
    EXPECT_FALSE(lcd.Loading());
}

TEST_F(LcdCascade, TextsAreShownUnchanged) {
    lcd.setRemain("03:25:x");
    lcd.setPitch("+12.50%");
    EXPECT_EQ(lcd.Remain(), "03:25:x");
    EXPECT_EQ(lcd.Pitch(), "+12.50%");
}

// What the screen shows after a caption longer than its box was replaced by
// a short one must equal a fresh drawing: nothing of the long one is left.
TEST_F(LcdCascade, ALongCaptionLeavesNothingBehind) {
    using Setter = void (qzvLCD::*)(const QString&);
    const Setter setters[] = {&qzvLCD::setRemain, &qzvLCD::setPitch, &qzvLCD::setLoopPoint};
    lcd.show();
    for (const Setter set : setters) {
        const QString text = "-00:00:00 remaining of the whole mix tonight";
        (lcd.*set)(text);
        QCoreApplication::processEvents();
        (lcd.*set)("1");
        QCoreApplication::processEvents();
        const QImage onScreen =
            lcd.screen()->grabWindow(lcd.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage fresh = lcd.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(onScreen == fresh) << "stale pixels after " << text.toStdString();
    }
}

TEST_F(LcdCascade, SizeIsFixed) {
    lcd.resize(400, 300);
    EXPECT_EQ(lcd.size(), QSize(181, 85));
}

} // namespace
