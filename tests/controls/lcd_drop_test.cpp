// Something dropped on the display is passed on as OLEDragDrop.
#include "controls/lcd/qzvLCD.h"
#include "tests/controls/app_first.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <gtest/gtest.h>

namespace {

struct Drop {
    const QMimeData* data = nullptr;
    int effect = -1;
    short button = -1;
    short shift = -1;
    float x = 0;
    float y = 0;
};

class LcdDrop : public ::testing::Test {
protected:
    controls_tests::AppFirst app;
    // A drop reaches the widget that accepted the drag's entry.
    void enter(QMimeData* mime, Qt::DropActions actions) {
        QDragEnterEvent event(QPoint(90, 40), actions, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&lcd, &event);
        ASSERT_TRUE(event.isAccepted());
    }
    qzvLCD lcd;
};

TEST_F(LcdDrop, DropAnywhereRaisesOLEDragDropWithTwipsAndKeys) {
    std::vector<Drop> drops;
    QObject::connect(
        &lcd, &qzvLCD::OLEDragDrop,
        [&](const QMimeData* data, int* effect, short button, short shift, float x, float y) {
            drops.push_back({data, *effect, button, shift, x, y});
            *effect = 1; // copied
        });
    QMimeData mime;
    mime.setText("next song");
    enter(&mime, Qt::CopyAction | Qt::MoveAction);
    QDropEvent event(QPointF(100, 40), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                     Qt::ShiftModifier | Qt::ControlModifier);
    QCoreApplication::sendEvent(&lcd, &event);

    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].data, &mime);
    EXPECT_EQ(drops[0].effect, 3) << "copy and move offered";
    EXPECT_EQ(drops[0].button, 1);
    EXPECT_EQ(drops[0].shift, 3);
    EXPECT_FLOAT_EQ(drops[0].x, 1500.0f);
    EXPECT_FLOAT_EQ(drops[0].y, 600.0f);
    EXPECT_TRUE(event.isAccepted());
    EXPECT_EQ(event.dropAction(), Qt::CopyAction);
}

TEST_F(LcdDrop, RefusedDropIsIgnored) {
    int drops = 0;
    QObject::connect(&lcd, &qzvLCD::OLEDragDrop,
                     [&](const QMimeData*, int* effect, short, short, float, float) {
                         ++drops;
                         *effect = 0;
                     });
    QMimeData mime;
    enter(&mime, Qt::MoveAction);
    QDropEvent event(QPointF(5, 5), Qt::MoveAction, &mime, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&lcd, &event);
    EXPECT_EQ(drops, 1);
    EXPECT_FALSE(event.isAccepted());
}

TEST_F(LcdDrop, DisplayAcceptsAnyDrag) {
    EXPECT_TRUE(lcd.acceptDrops());
    QMimeData mime;
    QDragEnterEvent enter(QPoint(90, 75), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&lcd, &enter);
    EXPECT_TRUE(enter.isAccepted());
}

} // namespace
