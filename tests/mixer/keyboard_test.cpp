// The keyboard on the main window: every shortcut row driven by real key
// events sent to one of the window's controls (the window sees them first,
// so the control never moves), held and repeated keys, keys on empty decks,
// and the next-song box.
#include "app/main_window.h"
#include "app/options_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "engine/engine_helpers.h"
#include "mixer/actions.h"
#include "mixer/keyboard_shortcuts.h"
#include "playlist/playlist_window.h"
#include "tests/mixer/window_fixture.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>

namespace {

using fixtures::Format;
using mixer_test::song;

// Stands in for the desktop's handler of local files.
class FileOpener : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { opened << url; }

public:
    QList<QUrl> opened;
};

struct KeyRow {
    const char* what;
    Qt::Key key;
    // Ctrl, Alt and Shift: each goes down before the key and up after it.
    Qt::KeyboardModifiers modifiers;
    std::function<void()> before;
    std::function<void()> afterDown;
    std::function<void()> afterUp = {};
    int crossfader = 50; // the crossfader afterwards: the control the keys are sent to
};

class KeyboardTest : public mixer_test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        usePlaylist({a, b, c});
        loadDeck(0, a);
        loadDeck(1, b);
    }
    QString path(const std::string& name) const {
        return QString::fromStdString((audio_test::fixtureFolder() / name).string());
    }
    // A known desk: sliders, both decks stopped at half their display,
    // monitoring off, hints hidden, the playlist's cursor on entry 1.
    void resetDesk() {
        if (state->autoDJ.on)
            w->mixerPanel.autoDJ->click();
        for (Slider* s : {w->decks->left().controls().pitch, w->decks->right().controls().pitch})
            s->setValue(1000);
        for (Slider* s : {w->mixerPanel.desk.LVolScroll, w->mixerPanel.desk.RvolScroll,
                          w->mixerPanel.desk.MainVolScroll, w->mixerPanel.desk.monitorVolScroll,
                          w->mixerPanel.desk.crossFaderScroll})
            s->setValue(50);
        w->monitorCMB_Click(2);
        for (int deck : {0, 1}) {
            core::DeckRecord& r = state->decks[static_cast<std::size_t>(deck)];
            r.stream.stop();
            r.paused = false;
            r.cueMode = false;
            r.cuePosition = 1;
            r.memoryCue1 = 0;
            r.memoryCue2 = 0;
            (deck == 0 ? w->decks->left().controls().lcd : w->decks->right().controls().lcd)
                ->setProgress(50);
        }
        for (QTimer* t :
             {w->decks->left().controls().turntableStopTimer,
              w->decks->right().controls().turntableStopTimer, w->decks->left().controls().cueTimer,
              w->decks->right().controls().cueTimer})
            t->stop();
        w->hide_keyboard_Shortcuts();
        playlist->hide();
        state->playlist.select(1);
        state->appHelpFile.clear();
    }
    // Presses the row's keys on the crossfader, a control of the window.
    void press(const KeyRow& row) {
        QWidget* target = w->mixerPanel.desk.crossFaderScroll;
        QTest::keyPress(target, row.key, row.modifiers);
        row.afterDown();
        release(target, row.key, row.modifiers);
        if (row.afterUp)
            row.afterUp();
    }
    // A key-up, and the time the window holds it back for an auto-repeat
    // press that does not come.
    static void release(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyRelease(target, key, modifiers);
        QTest::qWait(2 * mixer::kRepeatPairMs);
    }
    // A key event as the keyboard's auto-repeat sends it while a key is held.
    void repeat(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString(), true);
        QApplication::sendEvent(w->mixerPanel.desk.crossFaderScroll, &release);
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), true);
        QApplication::sendEvent(w->mixerPanel.desk.crossFaderScroll, &press);
    }

    std::string a = song("key_a.wav", Format::Wav, 5);
    std::string b = song("key_b.mp3", Format::Mp3Cbr, 5);
    std::string c = song("key_c.wma", Format::Wma, 5, 22050, 1);
};

TEST_F(KeyboardTest, EveryRowPressesItsButtonOrSlider) {
    const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier,
                                ctrl = Qt::ControlModifier, alt = Qt::AltModifier,
                                ctrlAlt = ctrl | alt;
    core::DeckRecord& left = state->decks[0];
    core::DeckRecord& right = state->decks[1];
    const auto pitch = [](Slider* s, int v) { return [s, v] { EXPECT_EQ(s->Value(), v); }; };
    const auto value = pitch;
    const auto progress = [](qzvLCD* lcd, int v) {
        return [lcd, v] { EXPECT_EQ(lcd->Progress(), v); };
    };
    const auto monitorMode = [this](int mode) {
        return [this, mode] { EXPECT_EQ(state->monitorMode, mode); };
    };
    const auto nothing = [] {};
    FileOpener opener;
    const QByteArray searchPath = qgetenv("PATH");
    bool optionsShownModally = false;
    const KeyRow rows[] = {
        {"F2", Qt::Key_F2, none, nothing,
         [&] {
             for (QLineEdit* box : w->keyboardTXT)
                 EXPECT_FALSE(box->isHidden()) << box->text().toStdString();
         }},
        {"Esc", Qt::Key_Escape, none,
         [&] {
             for (QLineEdit* box : w->keyboardTXT)
                 box->show();
         },
         [&] {
             for (QLineEdit* box : w->keyboardTXT)
                 EXPECT_TRUE(box->isHidden()) << box->text().toStdString();
         }},
        {"Ctrl+Alt+Z", Qt::Key_Z, ctrlAlt, nothing, pitch(w->decks->left().controls().pitch, 990)},
        {"Ctrl+Z", Qt::Key_Z, ctrl, nothing, pitch(w->decks->left().controls().pitch, 999)},
        {"Ctrl+Shift+Z", Qt::Key_Z, ctrl | shift, nothing, pitch(w->decks->left().controls().pitch, 999)},
        {"Alt+Shift+Z", Qt::Key_Z, alt | shift, nothing,
         [&] {
             EXPECT_EQ(w->decks->left().controls().pitch->Value(), 1000);
             EXPECT_FALSE(left.bendDownHeld);
         }},
        {"Shift+Z", Qt::Key_Z, shift, nothing, [&] { EXPECT_TRUE(left.bendDownHeld); },
         [&] { EXPECT_FALSE(left.bendDownHeld); }},
        {"Ctrl+Alt+X", Qt::Key_X, ctrlAlt, nothing, pitch(w->decks->left().controls().pitch, 1010)},
        {"Ctrl+X", Qt::Key_X, ctrl, nothing, pitch(w->decks->left().controls().pitch, 1001)},
        {"Shift+X", Qt::Key_X, shift, nothing, [&] { EXPECT_TRUE(left.bendUpHeld); },
         [&] { EXPECT_FALSE(left.bendUpHeld); }},
        {"Ctrl+Alt+,", Qt::Key_Comma, ctrlAlt, nothing, pitch(w->decks->right().controls().pitch, 990)},
        {"Ctrl+,", Qt::Key_Comma, ctrl, nothing, pitch(w->decks->right().controls().pitch, 999)},
        {"Shift+,", Qt::Key_Less, shift, nothing, [&] { EXPECT_TRUE(right.bendDownHeld); },
         [&] { EXPECT_FALSE(right.bendDownHeld); }},
        {"Ctrl+Alt+.", Qt::Key_Period, ctrlAlt, nothing, pitch(w->decks->right().controls().pitch, 1010)},
        {"Ctrl+.", Qt::Key_Period, ctrl, nothing, pitch(w->decks->right().controls().pitch, 1001)},
        {"Shift+.", Qt::Key_Greater, shift, nothing, [&] { EXPECT_TRUE(right.bendUpHeld); },
         [&] { EXPECT_FALSE(right.bendUpHeld); }},
        {"F12", Qt::Key_F12, none, nothing, [&] { EXPECT_TRUE(playlist->isVisible()); }},
        {"Ctrl+Up", Qt::Key_Up, ctrl, nothing, progress(w->decks->left().controls().lcd, 51)},
        {"Alt+Up", Qt::Key_Up, alt, nothing, progress(w->decks->right().controls().lcd, 51)},
        {"Shift+Up", Qt::Key_Up, shift, nothing, value(w->mixerPanel.desk.monitorVolScroll, 49)},
        {"Up", Qt::Key_Up, none, nothing, [&] { EXPECT_EQ(state->playlist.cursor(), 0); }},
        {"Ctrl+Down", Qt::Key_Down, ctrl, nothing, progress(w->decks->left().controls().lcd, 49)},
        {"Alt+Down", Qt::Key_Down, alt, nothing, progress(w->decks->right().controls().lcd, 49)},
        {"Shift+Down", Qt::Key_Down, shift, nothing, value(w->mixerPanel.desk.monitorVolScroll, 51)},
        {"Down", Qt::Key_Down, none, nothing, [&] { EXPECT_EQ(state->playlist.cursor(), 2); }},
        {"Ctrl+Alt+Shift+Down", Qt::Key_Down, ctrlAlt | shift, nothing,
         [&] { EXPECT_EQ(state->playlist.cursor(), 2); }},
        {"Ctrl+Left, the control's key", Qt::Key_Left, ctrl, nothing, nothing, {}, 49},
        {"Alt+Left", Qt::Key_Left, alt, nothing, monitorMode(1)},
        {"Ctrl+Alt+Left", Qt::Key_Left, ctrlAlt,
         [&] {
             state->playlist.select(2);
             state->selectedDeck = 1;
         },
         [&] {
             EXPECT_EQ(state->selectedDeck, 0);
             EXPECT_EQ(left.loadedFile, path(c));
         }},
        // Held with the right deck selected (back to cue first): it searches
        // the right deck backwards until released.
        {"Left", Qt::Key_Left, none, [&] { w->decks->right().play_MouseDown(2); },
         [&] { EXPECT_TRUE(right.scrubBackHeld); }, [&] { EXPECT_FALSE(right.scrubBackHeld); }},
        {"Alt+Right", Qt::Key_Right, alt, nothing, monitorMode(2)},
        {"Ctrl+Alt+Right", Qt::Key_Right, ctrlAlt, [&] { state->playlist.select(2); },
         [&] {
             EXPECT_EQ(state->selectedDeck, 1);
             EXPECT_EQ(right.loadedFile, path(c));
         }},
        {"Right", Qt::Key_Right, none, [&] { w->decks->left().play_MouseDown(2); },
         [&] { EXPECT_TRUE(left.scrubForwardHeld); },
         [&] { EXPECT_FALSE(left.scrubForwardHeld); }},
        {"F5", Qt::Key_F5, none, nothing,
         [&] {
             EXPECT_EQ(w->mixerPanel.desk.LVolScroll->Value(), 49);
             EXPECT_EQ(state->leftDeckVolume, 26); // 2 x 0.5 x 0.5 x 51, half to even
         }},
        {"F6", Qt::Key_F6, none, nothing, value(w->mixerPanel.desk.LVolScroll, 51)},
        {"F7", Qt::Key_F7, none, nothing, value(w->mixerPanel.desk.RvolScroll, 49)},
        {"F8", Qt::Key_F8, none, nothing, value(w->mixerPanel.desk.RvolScroll, 51)},
        {"Page Up", Qt::Key_PageUp, none, nothing, value(w->mixerPanel.desk.MainVolScroll, 51)},
        {"Page Down", Qt::Key_PageDown, none, nothing, value(w->mixerPanel.desk.MainVolScroll, 49)},
        {"Q", Qt::Key_Q, none, nothing, [&] { EXPECT_TRUE(playing(0)); }},
        {"Shift+W", Qt::Key_W, shift, nothing,
         [&] {
             EXPECT_EQ(left.cuePosition, 0u);
             EXPECT_TRUE(playing(0));
         }},
        {"W", Qt::Key_W, none, nothing,
         [&] {
             EXPECT_EQ(left.cuePosition, 1u);
             EXPECT_TRUE(playing(0));
         }},
        {"P", Qt::Key_P, none, nothing, [&] { EXPECT_TRUE(playing(1)); }},
        {"Shift+O", Qt::Key_O, shift, nothing,
         [&] {
             EXPECT_EQ(right.cuePosition, 0u);
             EXPECT_TRUE(playing(1));
         }},
        {"O", Qt::Key_O, none, nothing,
         [&] {
             EXPECT_EQ(right.cuePosition, 1u);
             EXPECT_TRUE(playing(1));
         }},
        {"I", Qt::Key_I, none, [&] { w->decks->right().controls().play->click(); },
         [&] {
             EXPECT_TRUE(right.cueMode);
             EXPECT_FALSE(playing(1));
         }},
        {"E", Qt::Key_E, none, [&] { w->decks->left().controls().play->click(); },
         [&] {
             EXPECT_TRUE(left.cueMode);
             EXPECT_FALSE(playing(0));
         }},
        {"0", Qt::Key_0, none, [&] { w->decks->right().controls().play->click(); }, [&] { EXPECT_TRUE(right.paused); }},
        {"2", Qt::Key_2, none, [&] { w->decks->left().controls().play->click(); }, [&] { EXPECT_TRUE(left.paused); }},
        {"Ctrl+V", Qt::Key_V, ctrl, nothing, nothing, {}, 49},
        {"V", Qt::Key_V, none, nothing, nothing, {}, 0},
        {"Ctrl+V at 0",
         Qt::Key_V,
         ctrl,
         [&] { w->mixerPanel.desk.crossFaderScroll->setValue(0); },
         [&] { EXPECT_EQ(state->rightDeckVolume, 0); },
         {},
         0},
        {"B", Qt::Key_B, none, [&] { w->mixerPanel.desk.crossFaderScroll->setValue(10); }, nothing, {}, 50},
        {"Ctrl+N", Qt::Key_N, ctrl, nothing, nothing, {}, 51},
        {"N", Qt::Key_N, none, nothing, nothing, {}, 100},
        {"S", Qt::Key_S, none, [&] { state->selectedDeck = 1; },
         [&] {
             EXPECT_EQ(state->selectedDeck, 0);
             EXPECT_TRUE(w->decks->left().controls().lcd->Cueing());
         }},
        {"K", Qt::Key_K, none, [&] { state->selectedDeck = 0; },
         [&] {
             EXPECT_EQ(state->selectedDeck, 1);
             EXPECT_TRUE(w->decks->right().controls().lcd->Cueing());
         }},
        {"R", Qt::Key_R, none, nothing,
         [&] {
             EXPECT_TRUE(w->decks->left().controls().turntableStopTimer->isActive());
             EXPECT_TRUE(w->decks->left().controls().lcd->StopPlaying());
         }},
        {"U", Qt::Key_U, none, nothing,
         [&] {
             EXPECT_TRUE(w->decks->right().controls().turntableStopTimer->isActive());
             EXPECT_TRUE(w->decks->right().controls().lcd->StopPlaying());
         }},
        {"Ctrl+Shift+F4", Qt::Key_F4, ctrl | shift, [&] { w->monitorCMB_Click(0); },
         monitorMode(3)},
        {"F4", Qt::Key_F4, none, [&] { w->monitorCMB_Click(0); }, monitorMode(1)},
        {"Shift+F4", Qt::Key_F4, shift, [&] { w->monitorCMB_Click(0); }, monitorMode(1)},
        {"Shift+Enter", Qt::Key_Return, shift, nothing,
         [&] {
             EXPECT_TRUE(state->autoDJ.on);
             EXPECT_EQ(w->mixerPanel.autoDJ->BackColor(), app::kColourOn);
         }},
        {"Enter", Qt::Key_Return, none, nothing, [&] { EXPECT_FALSE(state->autoDJ.on); }},
        {"F10", Qt::Key_F10, none,
         [&] {
             QTimer::singleShot(0, [&] {
                 optionsShownModally = state->optionsWindow && state->optionsWindow->isModal() &&
                                       state->optionsWindow->isVisible();
                 if (state->optionsWindow)
                     state->optionsWindow->cmdcloseButton_Click();
             });
         },
         [&] { EXPECT_TRUE(optionsShownModally); }},
        {"F1 without a help file", Qt::Key_F1, none, [&] { dialogs.expectBox(ui::vbOK); },
         [&] {
             ASSERT_FALSE(dialogs.boxes().empty());
             const auto& box = dialogs.boxes().back();
             EXPECT_EQ(box.title, "Help cannot start...");
             EXPECT_TRUE(box.text.startsWith(
                 "You need Internet Explorer 4 or higher to view the help file."));
             EXPECT_GT(box.text.size(), 70) << "says where it can be had";
             EXPECT_EQ(box.icon(), ui::vbExclamation);
         }},
        {"F1 with the help file", Qt::Key_F1, none,
         [&] {
             state->appHelpFile = "/opt/vorlan/share/vorlan/help/index.html";
             QDesktopServices::setUrlHandler("file", &opener, "open");
         },
         [&] {
             QDesktopServices::unsetUrlHandler("file");
             ASSERT_EQ(opener.opened.size(), 1);
             EXPECT_EQ(opener.opened[0],
                       QUrl::fromLocalFile("/opt/vorlan/share/vorlan/help/index.html"));
         }},
        {"F1 with the help file and nothing to open it", Qt::Key_F1, none,
         [&] {
             state->appHelpFile = "/opt/vorlan/share/vorlan/help/index.html";
             qputenv("PATH", ""); // no xdg-open, no browser
             dialogs.expectBox(ui::vbOK);
         },
         [&] {
             qputenv("PATH", searchPath);
             ASSERT_FALSE(dialogs.boxes().empty());
             const auto& box = dialogs.boxes().back();
             EXPECT_EQ(box.title, "Help cannot start...");
             EXPECT_TRUE(box.text.startsWith("No program to open web pages was found."));
             EXPECT_TRUE(box.text.contains(" /opt/vorlan/share/vorlan/help/index.html"));
             EXPECT_FALSE(box.text.contains("Internet Explorer"));
         }},
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(row.what);
        resetDesk();
        row.before();
        press(row);
        EXPECT_EQ(w->mixerPanel.desk.crossFaderScroll->Value(), row.crossfader)
            << "the control saw the key";
    }
    resetDesk();
}

// Held keys: what presses a button acts once, slider steps repeat, and the
// auto-repeat's releases do not end a bend; the real release does.
TEST_F(KeyboardTest, HeldKeysRepeatOnlyWhatMayRepeat) {
    resetDesk();
    QWidget* target = w->mixerPanel.desk.crossFaderScroll;
    QTest::keyPress(target, Qt::Key_Q);
    advance(400);
    const std::uint64_t heard = state->decks[0].stream.position();
    repeat(Qt::Key_Q);
    EXPECT_GE(state->decks[0].stream.position(), heard) << "Play was pressed again";
    QTest::keyRelease(target, Qt::Key_Q);

    QTest::keyPress(target, Qt::Key_Return, Qt::ShiftModifier);
    repeat(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_TRUE(state->autoDJ.on);
    QTest::keyRelease(target, Qt::Key_Return, Qt::ShiftModifier);

    QTest::keyPress(target, Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
    const core::StreamHandle loaded = state->decks[0].stream.handle();
    repeat(Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(state->decks[0].stream.handle(), loaded) << "the next song was loaded again";
    QTest::keyRelease(target, Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);

    QTest::keyPress(target, Qt::Key_Z, Qt::ShiftModifier);
    const std::int16_t bent = state->decks[0].pitchPosition;
    repeat(Qt::Key_Z, Qt::ShiftModifier);
    repeat(Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_TRUE(state->decks[0].bendDownHeld);
    EXPECT_EQ(state->decks[0].pitchPosition, bent);
    release(target, Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_FALSE(state->decks[0].bendDownHeld);

    QTest::keyPress(target, Qt::Key_F5);
    repeat(Qt::Key_F5);
    repeat(Qt::Key_F5);
    QTest::keyRelease(target, Qt::Key_F5);
    EXPECT_EQ(w->mixerPanel.desk.LVolScroll->Value(), 47);
    resetDesk();
}

// With nothing loaded and an empty playlist the deck keys leave the decks
// alone.
TEST_F(KeyboardTest, KeysOnEmptyDecksChangeNothing) {
    for (core::DeckRecord& deck : state->decks)
        deck = core::DeckRecord();
    dialogs.expectBox(ui::vbYes);
    playlist->clearCB_Click();
    dialogs.clear();
    QWidget* target = w->mixerPanel.desk.crossFaderScroll;
    const short leftProgress = w->decks->left().controls().lcd->Progress();
    const auto chord = [&](Qt::KeyboardModifiers modifiers, Qt::Key key) {
        QTest::keyClick(target, key, modifiers);
    };
    chord(Qt::ControlModifier, Qt::Key_Up);
    chord(Qt::AltModifier, Qt::Key_Down);
    chord(Qt::ControlModifier | Qt::AltModifier, Qt::Key_Left);
    chord(Qt::ControlModifier | Qt::AltModifier, Qt::Key_Right);
    for (Qt::Key key : {Qt::Key_0, Qt::Key_2, Qt::Key_Up, Qt::Key_Down})
        chord(Qt::NoModifier, key);
    EXPECT_EQ(w->decks->left().controls().lcd->Progress(), leftProgress);
    EXPECT_EQ(state->playlist.cursor(), 0);
    for (const core::DeckRecord& deck : state->decks) {
        EXPECT_TRUE(deck.filePath.isEmpty());
        EXPECT_FALSE(deck.stream);
        EXPECT_FALSE(deck.paused);
    }
    EXPECT_TRUE(dialogs.boxes().empty());
}

// A bend whose key comes up as the window loses the keyboard ends at once:
// no repeated press can follow the key-up.
TEST_F(KeyboardTest, LeavingTheWindowEndsAHeldBendAtOnce) {
    resetDesk();
    QTest::keyPress(w->mixerPanel.desk.crossFaderScroll, Qt::Key_X, Qt::ShiftModifier);
    ASSERT_TRUE(state->decks[0].bendUpHeld);
    QTest::keyRelease(w->mixerPanel.desk.crossFaderScroll, Qt::Key_X, Qt::ShiftModifier);
    QEvent leave(QEvent::WindowDeactivate);
    QApplication::sendEvent(w, &leave);
    EXPECT_FALSE(state->decks[0].bendUpHeld);
}

// A controller runs an action by its text id: the same operation as its key,
// and a held action ends on the release.
TEST_F(KeyboardTest, ActionsRunByTheirTextIds) {
    resetDesk();
    EXPECT_EQ(mixer::findAction("deck.left.pitch.sideways"), nullptr);
    const struct {
        const char* id;
        std::function<bool()> pressed, released;
    } runs[] = {
        {"deck.right.play", [&] { return playing(1); }, [&] { return playing(1); }},
        {"deck.left.bend.down", [&] { return state->decks[0].bendDownHeld; },
         [&] { return !state->decks[0].bendDownHeld; }},
        {"crossfader.right", [&] { return w->mixerPanel.desk.crossFaderScroll->Value() == 100; },
         [&] { return w->mixerPanel.desk.crossFaderScroll->Value() == 100; }},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.id);
        const mixer::ActionRow* row = mixer::findAction(run.id);
        ASSERT_NE(row, nullptr);
        w->runAction(row->action);
        EXPECT_TRUE(run.pressed());
        w->runAction(row->action, false);
        EXPECT_TRUE(run.released());
    }
    resetDesk();
}

TEST_F(KeyboardTest, NextSongBoxShowsItsTextAsTooltipAndPassesTheFocusOn) {
    state->playlist.select(2);
    ASSERT_FALSE(w->mixerPanel.nextSong->text().isEmpty());
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w->mixerPanel.nextSong, &move);
    EXPECT_EQ(w->mixerPanel.nextSong->toolTip(), w->mixerPanel.nextSong->text());
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(w->mixerPanel.nextSong, &focus);
    EXPECT_EQ(w->focusWidget(), w->mixerPanel.playList);
}

} // namespace

#include "keyboard_test.moc"
