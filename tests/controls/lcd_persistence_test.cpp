// The display's properties in the host's property bag.
#include "controls/lcd/qzvLCD.h"
#include "platform/com/property_bag.h"
#include "tests/controls/app_first.h"

#include <gtest/gtest.h>

namespace {

using E = qzvLCD::Element;

const QStringList kKeyOrder{"Cueing", "LoopDir",  "Pitch",       "LoopPoint", "Looping",
                            "Remain", "Play",     "StopPlaying", "Pause",     "Rec",
                            "Song",   "Progress", "Loading",     "BackColor", "CueDir"};

class LcdPersistence : public ::testing::Test {
protected:
    controls_tests::AppFirst app;
};

TEST_F(LcdPersistence, WritesEveryKeyInOrderWithDefaults) {
    qzvLCD lcd;
    com::PropertyBag bag;
    lcd.WriteProperties(bag);
    EXPECT_EQ(bag.keys(), kKeyOrder);
    EXPECT_FALSE(bag.readProperty("Cueing").toBool());
    EXPECT_EQ(bag.readProperty("LoopDir").toInt(), 2);
    EXPECT_EQ(bag.readProperty("Pitch").toString(), " 0.00% ");
    EXPECT_EQ(bag.readProperty("LoopPoint").toString(), "00:00:00");
    EXPECT_EQ(bag.readProperty("Remain").toString(), "00:00:00");
    EXPECT_EQ(bag.readProperty("Song").toString(), "");
    EXPECT_EQ(bag.readProperty("Progress").toInt(), 0);
    EXPECT_EQ(bag.readProperty("BackColor").toInt(), 0);
    EXPECT_EQ(bag.readProperty("CueDir").toInt(), 2);
}

TEST_F(LcdPersistence, RoundTripKeepsEveryValue) {
    qzvLCD source;
    source.setCueing(true);
    source.setLoopDir(1);
    source.setPitch("-3.20%");
    source.setLoopPoint("00:02:10");
    source.setLooping(true);
    source.setRemain("00:04:59");
    source.setRec(true);
    source.setSong("Night Drive");
    source.setProgress(42);
    source.setLoading(true);
    source.setBackColor(QColor(10, 20, 30));
    source.setStopPlaying(true);
    source.setPause(true);
    com::PropertyBag bag;
    source.WriteProperties(bag);
    EXPECT_EQ(bag.readProperty("BackColor").toInt(), 10 | (20 << 8) | (30 << 16));

    qzvLCD copy;
    copy.ReadProperties(bag);
    EXPECT_EQ(copy.Cueing(), source.Cueing());
    EXPECT_EQ(copy.LoopDir(), 1);
    EXPECT_EQ(copy.Pitch(), "-3.20%");
    EXPECT_EQ(copy.LoopPoint(), "00:02:10");
    EXPECT_TRUE(copy.Looping());
    EXPECT_EQ(copy.Remain(), "00:04:59");
    EXPECT_FALSE(copy.Play());
    EXPECT_TRUE(copy.StopPlaying());
    EXPECT_TRUE(copy.Pause());
    EXPECT_TRUE(copy.Rec());
    EXPECT_EQ(copy.Song(), "Night Drive");
    EXPECT_EQ(copy.Progress(), 42);
    EXPECT_TRUE(copy.Loading());
    EXPECT_EQ(copy.BackColor(), QColor(10, 20, 30));
    EXPECT_EQ(copy.CueDir(), 2);

    com::PropertyBag again;
    copy.WriteProperties(again);
    EXPECT_EQ(again.keys(), kKeyOrder);
    EXPECT_EQ(again.values(), bag.values());
}

TEST_F(LcdPersistence, ReadingStoresWithoutLightingAnything) {
    com::PropertyBag bag;
    bag.writeProperty("Play", true);
    bag.writeProperty("Rec", true);
    bag.writeProperty("Looping", true);
    bag.writeProperty("LoopPoint", "00:00:30");
    bag.writeProperty("Song", "Stored Title");
    bag.writeProperty("Progress", 0);
    bag.writeProperty("CueDir", 0);
    qzvLCD lcd;
    lcd.ReadProperties(bag);
    EXPECT_TRUE(lcd.Play());
    EXPECT_EQ(lcd.CueDir(), 0);
    EXPECT_EQ(lcd.Progress(), 0);
    for (E e : {E::imgPlay, E::imgRec, E::imgLoop0, E::Shape_LoopPoint, E::img_CueDir0})
        EXPECT_FALSE(lcd.isShown(e)) << static_cast<int>(e);
    EXPECT_EQ(lcd.marquee().text(), QString(10, ' ')) << "the marquee is not restarted";
    EXPECT_EQ(lcd.progressWidth(), 0);
}

TEST_F(LcdPersistence, MissingKeysTakeTheirDefaults) {
    qzvLCD lcd;
    lcd.setPlay(true);
    lcd.setPitch("+1.00%");
    lcd.setBackColor(Qt::red);
    lcd.ReadProperties(com::PropertyBag());
    EXPECT_FALSE(lcd.Play());
    EXPECT_EQ(lcd.Pitch(), " 0.00% ");
    EXPECT_EQ(lcd.BackColor(), QColor(Qt::black));
    EXPECT_EQ(lcd.LoopDir(), 2);
    EXPECT_EQ(lcd.CueDir(), 2);
}

TEST_F(LcdPersistence, InitPropertiesRestoresTheDesignerDefaults) {
    qzvLCD lcd;
    lcd.setSong("x");
    lcd.setProgress(80);
    lcd.setCueDir(1);
    lcd.InitProperties();
    EXPECT_EQ(lcd.Song(), "");
    EXPECT_EQ(lcd.Progress(), 0);
    EXPECT_EQ(lcd.CueDir(), 2);
    EXPECT_EQ(lcd.Pitch(), " 0.00% ");
}

} // namespace
