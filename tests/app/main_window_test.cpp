// The main window frame: the three panel arrangements, every control with
// its name, caption and tooltip, the state colours, the slider type, and
// pictures of the windows for review.
#include "app/main_window.h"
#include "app/options_window.h"
#include "app/panel_layout.h"
#include "app/splash_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/peak/qzvPeak.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "tests/app/program_fixture.h"
#include "tests/support/qt_app.h"
#include "tests/support/screenshots.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTest>

namespace {

class MainWindowTest : public app_test::ProgramTest {
protected:
    void SetUp() override {
        app_test::ProgramTest::SetUp();
        app::applyConsoleLook(*qApp);
    }
};

TEST(PanelLayout, ThreeArrangements) {
    // Widths 4000 (left deck), 3000 (mixer), 5000 (right deck).
    auto p = app::placePanels(0, 4000, 3000, 5000);
    EXPECT_EQ(p.leftDeck, 140);
    EXPECT_EQ(p.mixer, 4150);
    EXPECT_EQ(p.rightDeck, 7160);
    p = app::placePanels(1, 4000, 3000, 5000);
    EXPECT_EQ(p.mixer, 140);
    EXPECT_EQ(p.leftDeck, 3150);
    EXPECT_EQ(p.rightDeck, 7160);
    p = app::placePanels(2, 4000, 3000, 5000);
    EXPECT_EQ(p.leftDeck, 140);
    EXPECT_EQ(p.rightDeck, 4150);
    EXPECT_EQ(p.mixer, 9160);
    p = app::placePanels(9, 4000, 3000, 5000);
    EXPECT_EQ(p.mixer, 4150);
}

TEST_F(MainWindowTest, PanelsInEachArrangement) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    const char* names[] = {"main-window-djsetup-0", "main-window-djsetup-1",
                           "main-window-djsetup-2"};
    for (int index = 0; index < 3; ++index) {
        state->optionsWindow->djSetupOpt_Click(index);
        EXPECT_EQ(state->settings.djSetup, index);
        std::vector<QWidget*> order{w->decks->left().controls().panel, w->Mixer,
                                    w->decks->right().controls().panel};
        if (index == 1)
            order = {w->Mixer, w->decks->left().controls().panel,
                     w->decks->right().controls().panel};
        if (index == 2)
            order = {w->decks->left().controls().panel, w->decks->right().controls().panel,
                     w->Mixer};
        // Left edge at 140 twips, each next panel 10 twips after the previous one.
        int leftTwips = 140;
        for (QWidget* panel : order) {
            EXPECT_EQ(panel->x(), app::twips(leftTwips))
                << index << " " << panel->objectName().toStdString();
            leftTwips += panel->width() * app::kTwipsPerPixel + 10;
        }
        EXPECT_EQ(w->decks->left().controls().panel->y(), app::twips(390));
        EXPECT_EQ(w->decks->right().controls().panel->y(), app::twips(390));
        EXPECT_EQ(w->Mixer->y(), app::twips(790));
        // Every panel lies inside the window, 120 twips from its right edge at most.
        for (QWidget* panel : order)
            EXPECT_TRUE(w->rect().contains(panel->geometry())) << index;
        EXPECT_EQ(w->width(), order.back()->geometry().right() + 1 + app::twips(120));
        EXPECT_FALSE(testing_support::saveScreenshot(w, names[index]).isEmpty());
    }
}

TEST_F(MainWindowTest, SetupStoredInTheSettingsArrangesTheWindowAtStart) {
    app_test::writeSetting("DjSetup", "1");
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    EXPECT_LT(w->Mixer->x(), w->decks->left().controls().panel->x());
    EXPECT_LT(w->decks->left().controls().panel->x(), w->decks->right().controls().panel->x());
}

TEST_F(MainWindowTest, EveryControlHasItsNameCaptionAndTooltip) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    const char* buttons[] = {"playCB2",
                             "stopCB2",
                             "LpauseCB",
                             "openFileCB2",
                             "cueCB2",
                             "LcueBackCB",
                             "LcueFowardCB",
                             "cmdReset_Lcue",
                             "Lplay_cue",
                             "LpitchZeroIndicator",
                             "LpBend_PlusCB",
                             "LpBend_Minus",
                             "speedCB1",
                             "speedCB2",
                             "playCB",
                             "stopCB",
                             "pauseCB",
                             "openFileCB1",
                             "cueCB",
                             "cueBackCB",
                             "cueFowardCB",
                             "cmdReset_Rcue",
                             "Rplay_cue",
                             "pitchZeroIndicator",
                             "RpBend_plusCB",
                             "RpBend_Minus",
                             "speedCB3",
                             "speedCB4",
                             "monitorCMB0",
                             "monitorCMB1",
                             "monitorCMB2",
                             "autoDJCB",
                             "playListCB",
                             "optionsCB",
                             "upCB",
                             "downCB",
                             "CmdMinimizeButton",
                             "cmdcloseButton"};
    for (const char* name : buttons) {
        auto* b = w->findChild<ConsoleButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_FALSE(b->text().isEmpty()) << name;
        EXPECT_FALSE(b->toolTip().isEmpty()) << name;
        EXPECT_TRUE(b->isVisibleTo(w)) << name;
    }
    const char* sliders[] = {"LpitchScroll", "RpitchScroll",  "crossFaderScroll", "LVolScroll",
                             "RvolScroll",   "MainVolScroll", "monitorVolScroll"};
    for (const char* name : sliders) {
        auto* s = w->findChild<Slider*>(name);
        ASSERT_NE(s, nullptr) << name;
        EXPECT_FALSE(s->toolTip().isEmpty()) << name;
    }
    EXPECT_EQ(w->findChild<ConsoleButton*>("playCB2")->text(), "PLAY");
    for (const char* name : {"LCD_L", "LCD_R"})
        EXPECT_TRUE(w->findChild<qzvLCD*>(name)->isVisibleTo(w)) << name;
    for (const char* name : {"LVUmeter", "RVUmeter", "mainVolVUmeter"})
        EXPECT_NE(w->findChild<qzvPeak*>(name), nullptr) << name;
    EXPECT_NE(w->findChild<QLineEdit*>("nextSongTXT"), nullptr);
    // The controls of each deck sit on that deck's panel.
    EXPECT_EQ(w->findChild<ConsoleButton*>("playCB2")->parentWidget()->objectName(), "Left_Deck");
    EXPECT_EQ(w->findChild<ConsoleButton*>("playCB")->parentWidget()->objectName(), "Right_Deck");
    EXPECT_EQ(w->mixerPanel.desk.crossFaderScroll->parentWidget(), w->Mixer);

    // Key hints, in index order, each next to the button its key presses.
    const char* letters[] = {"Q", "S", "R", "2", "V", "N", "B", "U", "0", "K", "P"};
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(w->keyboardTXT[i]->text(), letters[i]);
        EXPECT_EQ(w->keyboardTXT[i]->height(), app::twips(225));
    }
    EXPECT_EQ(w->keyboardTXT[0]->parentWidget()->objectName(), "Left_Deck");
    for (QLineEdit* hint : w->keyboardTXT)
        hint->setVisible(true);
    EXPECT_FALSE(testing_support::saveScreenshot(w, "main-window-key-hints").isEmpty());
    w->hide_keyboard_Shortcuts();
    for (QLineEdit* hint : w->keyboardTXT)
        EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(w->keyboardTXT[10]->parentWidget()->objectName(), "Right_Deck");
}

TEST_F(MainWindowTest, DesignColoursOfStateButtons) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    auto colour = [w](const char* name) { return w->findChild<ConsoleButton*>(name)->BackColor(); };
    for (const char* name :
         {"speedCB2", "speedCB4", "LpitchZeroIndicator", "pitchZeroIndicator", "monitorCMB2"})
        EXPECT_EQ(colour(name), app::kColourOn) << name;
    for (const char* name : {"speedCB1", "speedCB3", "autoDJCB", "Lplay_cue", "Rplay_cue"})
        EXPECT_EQ(colour(name), app::kColourOff) << name;
    // A colour change is drawn: bright green and dark green differ on screen.
    w->mixerPanel.autoDJ->setBackColor(app::kColourOn);
    const QImage on = w->mixerPanel.autoDJ->grab().toImage();
    w->mixerPanel.autoDJ->setBackColor(app::kColourOff);
    const QImage off = w->mixerPanel.autoDJ->grab().toImage();
    const QColor onCentre = on.pixelColor(4, on.height() / 2);
    const QColor offCentre = off.pixelColor(4, off.height() / 2);
    EXPECT_GT(onCentre.green(), offCentre.green());
    EXPECT_LT(onCentre.red(), 60);
}

TEST_F(MainWindowTest, MinimiseButton) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    w->CmdMinimizeButton_Click();
    EXPECT_TRUE(w->windowState() & Qt::WindowMinimized);
}

TEST(SliderType, ValueRangeStepsAndNotifications) {
    testing_support::qtApp();
    Slider s(Qt::Vertical);
    s.resize(24, 140);
    s.setRange(0, 100);
    s.setSingleStep(1);
    s.setPageStep(10);
    EXPECT_EQ(s.Min(), 0);
    EXPECT_EQ(s.Max(), 100);
    EXPECT_EQ(s.SmallChange(), 1);
    EXPECT_EQ(s.LargeChange(), 10);
    QSignalSpy changes(&s, &Slider::Change);
    QSignalSpy scrolls(&s, &Slider::Scroll);
    s.setValue(30);
    EXPECT_EQ(s.Value(), 30);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(scrolls.count(), 0); // set by code: no thumb movement
    s.setValue(250);
    EXPECT_EQ(s.Value(), 100); // limited to the range
    s.setValue(-5);
    EXPECT_EQ(s.Value(), 0);

    // The minimum is at the top of a vertical slider: dragging the thumb down
    // raises the value and reports Scroll as well as Change.
    s.setValue(0);
    changes.clear();
    QStyleOptionSlider option;
    option.initFrom(&s);
    option.orientation = Qt::Vertical;
    option.minimum = 0;
    option.maximum = 100;
    option.sliderPosition = 0;
    option.sliderValue = 0;
    option.upsideDown = false; // what QSlider gives a vertical slider with inverted appearance
    const QRect handle =
        s.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &s);
    EXPECT_LT(handle.center().y(), s.height() / 2);
    QSignalSpy downs(&s, &Slider::MouseDown);
    QTest::mousePress(&s, Qt::LeftButton, {}, handle.center());
    QTest::mouseMove(&s, QPoint(handle.center().x(), s.height() - 5));
    QTest::mouseRelease(&s, Qt::LeftButton, {}, QPoint(handle.center().x(), s.height() - 5));
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(0).toInt(), 1);
    EXPECT_GT(s.Value(), 80);
    EXPECT_GT(scrolls.count(), 0);
    EXPECT_GT(changes.count(), 0);
}

TEST(ConsoleButtonType, ReportsRightButtonPresses) {
    testing_support::qtApp();
    ConsoleButton b("PLAY", "Play");
    b.resize(60, 40);
    QSignalSpy downs(&b, &ConsoleButton::MouseDown);
    QSignalSpy ups(&b, &ConsoleButton::MouseUp);
    QSignalSpy clicks(&b, &QPushButton::clicked);
    QTest::mouseClick(&b, Qt::RightButton, Qt::ShiftModifier, {10, 10});
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(0).toInt(), 2);
    EXPECT_EQ(downs.at(0).at(1).toInt(), 1);
    EXPECT_EQ(ups.count(), 1);
    EXPECT_EQ(clicks.count(), 0); // a right click is not a click
    QTest::mouseClick(&b, Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(MainWindowTest, PicturesOfTheSplashAndTheOptionsWindow) {
    loadingF* splash = loadingF::load(*state);
    EXPECT_FALSE(testing_support::saveScreenshot(splash, "splash").isEmpty());
    splash->Form_Unload();
    flushDeletes();

    app_test::writeSetting("playlistPath", folder());
    optionsF* options = optionsF::load(*state);
    options->show();
    EXPECT_FALSE(testing_support::saveScreenshot(options, "options-window").isEmpty());
    options->cmdcloseButton_Click();
    flushDeletes();
}

} // namespace
