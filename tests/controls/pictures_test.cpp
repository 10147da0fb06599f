// Pictures of the display and the meter in typical states, written to the
// screenshots folder for review, with a few pixels checked.
#include "controls/lcd/qzvLCD.h"
#include "controls/peak/qzvPeak.h"
#include "tests/controls/app_first.h"
#include "tests/support/screenshots.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

using C = qzvPeak::Column;

// Writes the picture at its own size and four times enlarged (for review).
QImage shoot(QWidget& widget, const QString& name) {
    const QString path = testing_support::saveScreenshot(&widget, name);
    EXPECT_FALSE(path.isEmpty()) << name.toStdString();
    const QPixmap pixmap = widget.grab();
    const QFileInfo info(path);
    pixmap.scaled(pixmap.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(info.dir().filePath(name + "_x4.png"));
    return pixmap.toImage();
}

class ControlPictures : public ::testing::Test {
protected:
    controls_tests::AppFirst app;
    // Point of the display area's element in control pixels.
    static QPoint inDisplay(int x, int y) { return QPoint(2 + x, 2 + y); }
};

TEST_F(ControlPictures, DisplayStates) {
    qzvLCD idle;
    QImage image = shoot(idle, "lcd_idle");
    EXPECT_EQ(image.size(), QSize(181, 85));
    EXPECT_EQ(image.pixelColor(inDisplay(60, 38)), QColor(49, 52, 49)) << "LCD face";
    EXPECT_EQ(image.pixelColor(inDisplay(175, 30)), QColor(Qt::black)) << "beyond the face";
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black)) << "back colour";
    EXPECT_NE(image.pixelColor(inDisplay(2, 16)), QColor(0, 255, 0)) << "play dark";

    qzvLCD playing;
    playing.setSong("Midnight Groove - The Night Shift");
    playing.setPitch("+2.35%");
    playing.setRemain("00:03:41");
    playing.setProgress(35);
    playing.setPlay(true);
    for (int i = 0; i < 14; ++i)
        playing.tmrBlinkFast_Timer();
    image = shoot(playing, "lcd_playing");
    EXPECT_EQ(image.pixelColor(inDisplay(2, 16)), QColor(0, 255, 0)) << "play triangle";
    EXPECT_EQ(image.pixelColor(inDisplay(40, 64)), QColor(128, 0, 0)) << "progress bar";
    EXPECT_NE(image.pixelColor(inDisplay(80, 64)), QColor(128, 0, 0)) << "beyond 35 %";
    EXPECT_EQ(image.pixelColor(inDisplay(170, 42)), QColor(46, 46, 46)) << "title field";

    qzvLCD paused;
    paused.setSong("Deep Blue");
    paused.setRemain("00:01:05");
    paused.setCueDir(1);
    paused.setCueing(true);
    paused.setPause(true);
    for (int i = 0; i < 6; ++i) // an even number of ticks: the blinkers are lit
        paused.tmrBlinkFast_Timer();
    image = shoot(paused, "lcd_paused_cue");
    EXPECT_EQ(image.pixelColor(inDisplay(15, 20)), QColor(255, 255, 0)) << "pause bar";
    EXPECT_EQ(image.pixelColor(inDisplay(38, 32)), QColor(255, 255, 0)) << "back cue arrow";

    qzvLCD loading;
    loading.setLoading(true);
    loading.setSong("Loading next track");
    for (int i = 0; i < 6; ++i)
        loading.tmrBlinkFast_Timer();
    image = shoot(loading, "lcd_loading");

    qzvLCD loop;
    loop.setSong("Loop Session");
    loop.setPlay(true);
    loop.setLoopPoint("00:02:14");
    loop.setLoopDir(1);
    loop.setLooping(true);
    loop.setRec(true);
    loop.setProgress(80);
    loop.setPitch("-1.10%");
    loop.setRemain("00:00:52");
    for (int i = 0; i < 5; ++i)
        loop.tmrBlinkFast_Timer();
    image = shoot(loop, "lcd_loop_point");
    EXPECT_EQ(image.pixelColor(inDisplay(96, 12)), QColor(0, 255, 0)) << "loop point frame";
    EXPECT_EQ(image.pixelColor(inDisplay(5, 35)), QColor(255, 0, 0)) << "REC block";

    qzvLCD stopped;
    stopped.setBackColor(QColor(40, 40, 40));
    stopped.setSong("Stopped");
    stopped.setStopPlaying(true);
    stopped.setProgress(100);
    image = shoot(stopped, "lcd_stopped");
    EXPECT_EQ(image.pixelColor(inDisplay(26, 20)), QColor(255, 128, 0)) << "stop block";
    EXPECT_EQ(image.pixelColor(0, 0), QColor(40, 40, 40));
}

TEST_F(ControlPictures, MeterLevels) {
    const std::pair<short, const char*> levels[] = {
        {0, "peak_0"}, {40, "peak_40"}, {90, "peak_90"}, {128, "peak_128"}};
    for (auto [value, name] : levels) {
        qzvPeak meter;
        meter.setLPeak(value);
        meter.setRPeak(static_cast<short>(value * 3 / 4));
        const QImage image = shoot(meter, name);
        EXPECT_EQ(image.size(), QSize(16, 137));
        EXPECT_EQ(image.pixelColor(5, 134), QColor(0, 255, 0)) << "bottom LED";
        EXPECT_EQ(image.pixelColor(2, 134), QColor(Qt::black)) << "background";
    }
    qzvPeak full;
    full.setLPeak(128);
    const QImage image = full.grab().toImage();
    EXPECT_EQ(image.pixelColor(5, 0), QColor(255, 0, 0)) << "top LED, mostly cut off";
    EXPECT_EQ(image.pixelColor(5, 134 - 5 * 18), QColor(255, 255, 0)) << "LED 18";
    EXPECT_EQ(image.pixelColor(11, 0), QColor(Qt::black)) << "right column dark";
}

TEST_F(ControlPictures, ConsoleWithTwoDisplaysAndThreeMeters) {
    QWidget console;
    console.setFixedSize(2 * 181 + 3 * 16 + 6 * 12, 85 + 52 + 24);
    QPalette palette = console.palette();
    palette.setColor(QPalette::Window, QColor(28, 30, 33));
    console.setPalette(palette);
    console.setAutoFillBackground(true);
    auto* left = new qzvLCD(&console);
    auto* right = new qzvLCD(&console);
    left->move(12, 12);
    right->move(console.width() - 12 - 181, 12);
    left->setSong("Left Deck Title");
    left->setPitch("+0.80%");
    left->setRemain("00:02:07");
    left->setProgress(60);
    left->setPlay(true);
    right->setSong("Right Deck Title");
    right->setRemain("00:05:12");
    right->setProgress(1);
    right->setCueDir(0);
    right->setCueing(true);
    for (int i = 0; i < 8; ++i) {
        left->tmrBlinkFast_Timer();
        right->tmrBlinkFast_Timer();
    }
    const short peaks[3][2] = {{110, 96}, {20, 35}, {70, 80}};
    for (int m = 0; m < 3; ++m) {
        auto* meter = new qzvPeak(&console);
        meter->move(12 + 181 + 18 + m * 28, 12);
        meter->setBackStyle(0);
        meter->setLPeak(peaks[m][0]);
        meter->setRPeak(peaks[m][1]);
    }
    shoot(console, "controls_console");
}

} // namespace
