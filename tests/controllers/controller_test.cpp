// MIDI controllers on the started program: mapping files with errors, and a
// controller on a private JACK server (the program's output on the same
// server) sending through the shipped generic mapping: decks and mixer act,
// soft takeover, a relative encoder, lights, a device plugged in late.
#include "app/main_window.h"
#include "app/options_window.h"
#include "controllers/controller_window.h"
#include "controllers/controllers.h"
#include "controls/widgets/slider.h"
#include "core/fixed_texts.h"
#include "core/registry_values.h"
#include "decks/decks.h"
#include "platform/midi/midi_message.h"
#include "tests/controllers/midi_test_client.h"
#include "tests/mixer/window_fixture.h"
#include "tests/platform/audio/jack_take.h"
#include "tests/support/screenshots.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

using controllers_test::MidiTestClient;
using fixtures::Format;
using mixer_test::song;

bool waitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QTest::qWait(5);
    return done();
}

class MappingFileTest : public mixer_test::WindowTest {};

// A file the program cannot use is refused with a box naming the line, and
// the program runs on with no mapping (the keys still play a deck).
TEST_F(MappingFileTest, AFileWithAnErrorIsRefusedNamingItsLine) {
    struct Case {
        const char* text;
        const char* says;
    };
    for (const Case c : {
             Case{"{\n  \"bindings\": [\n    {\"action\": \"deck.left.play\", \"note\": 16},\n"
                  "    {\"action\": \"deck.left.cue\" \"note\": 18}\n  ]\n}\n",
                  "on line 4:"},
             Case{"{\n  \"bindings\": [\n    {\"action\": \"deck.left.play\", \"note\": 16},\n\n"
                  "    {\"action\": \"deck.left.fly\", \"note\": 18}\n  ]\n}\n",
                  "on line 5: there is no action \"deck.left.fly\""},
         }) {
        SCOPED_TRACE(c.text);
        dialogs.clear();
        dialogs.expectBox(ui::vbOK);
        const QString path = fileWith("broken.json", c.text);
        EXPECT_FALSE(w->controllers().useMapping(path));
        ASSERT_EQ(dialogs.boxes().size(), 1u);
        EXPECT_TRUE(dialogs.boxes()[0].text.contains(c.says))
            << dialogs.boxes()[0].text.toStdString();
        EXPECT_TRUE(dialogs.boxes()[0].text.contains("broken.json"));
        EXPECT_FALSE(w->controllers().mapping().has_value());
    }
    usePlaylist({song("ctl_key.wav", Format::Wav, 3)});
    loadDeck(0, "ctl_key.wav");
    w->runAction(mixer::Action::LeftPlay);
    EXPECT_TRUE(playing(0));
}

// The program on the test program's private JACK server with the generic
// mapping in use, and a controller client on the same server.
class ControllerOnJack : public mixer_test::WindowTest {
protected:
    void SetUp() override {
        audio_test::JackServer& server = audio_test::jackServerAt(44100);
        if (!server.running())
            GTEST_SKIP() << "JACK cannot start here: " << server.failure();
        server.select();
        ::unsetenv("VORLAN_AUDIO");
        WindowTest::SetUp();
        ASSERT_TRUE(w->controllers().useMapping(generic()));
        device = std::make_unique<MidiTestClient>(server.name(), "controller");
        ASSERT_TRUE(device->open());
        ASSERT_TRUE(waitFor([&] {
            return w->controllers().devices().contains(QString::fromStdString(device->outPort()));
        }));
        usePlaylist({a, b});
        loadDeck(0, a);
        loadDeck(1, b);
    }
    void TearDown() override {
        device.reset();
        if (w)
            WindowTest::TearDown();
        ::setenv("VORLAN_AUDIO", "offline", 1);
    }
    static QString generic() {
        return QString(VORLAN_BUILD_DIR) + "/share/vorlan/controllers/generic.json";
    }
    bool lit(int channel, int note, bool on) {
        const auto& got = device->received();
        const auto last = std::find_if(got.rbegin(), got.rend(), [&](const midi::MidiMessage& m) {
            return m.kind() == midi::kNoteOn && m.channel() == channel && m.data1() == note;
        });
        return last != got.rend() && (last->data2() == 127) == on;
    }
    Slider& slider(int side, bool pitch) {
        return pitch ? *w->decks->deck(side).controls().pitch
                     : *(side == 0 ? w->mixerPanel.desk.LVolScroll : w->mixerPanel.desk.RvolScroll);
    }

    std::unique_ptr<MidiTestClient> device;
    std::string a = song("ctl_a.wav", Format::Wav, 6);
    std::string b = song("ctl_b.mp3", Format::Mp3Cbr, 6);
};

// Each deck on its channel: PLAY starts it and its light comes on, PAUSE
// stops it and the PLAY light goes out while the PAUSE light comes on.
TEST_F(ControllerOnJack, TransportButtonsPlayTheDeckAndLightUp) {
    for (int side : {0, 1}) {
        SCOPED_TRACE(side);
        device->send(midi::kNoteOn, side, 16, 127);
        device->send(midi::kNoteOff, side, 16, 0);
        EXPECT_TRUE(waitFor([&] { return playing(side); }));
        EXPECT_TRUE(waitFor([&] { return lit(side, 16, true); }));
        EXPECT_FALSE(playing(1 - side));
        device->send(midi::kNoteOn, side, 17, 127);
        device->send(midi::kNoteOff, side, 17, 0);
        EXPECT_TRUE(waitFor([&] { return !playing(side); }));
        EXPECT_TRUE(waitFor([&] { return lit(side, 16, false) && lit(side, 17, true); }));
    }
}

// The crossfader (at its centre on the screen) does not jump to a fader at
// the far left; once the fader passes the centre it follows it, and a move
// of the control by the mouse makes the fader meet it again.
TEST_F(ControllerOnJack, SoftTakeoverWaitsForTheFaderToMeetTheScreen) {
    Slider& crossfader = *w->mixerPanel.desk.crossFaderScroll;
    ASSERT_EQ(crossfader.Value(), 50);
    device->send(midi::kControlChange, 0, 8, 0);
    QTest::qWait(100);
    EXPECT_EQ(crossfader.Value(), 50);
    device->send(midi::kControlChange, 0, 8, 70); // passed the centre: taken over
    EXPECT_TRUE(waitFor([&] { return crossfader.Value() == 55; }));
    device->send(midi::kControlChange, 0, 8, 0);
    EXPECT_TRUE(waitFor([&] { return crossfader.Value() == 0; }));
    EXPECT_EQ(state->rightDeckVolume, 0);
    crossfader.setValue(100); // the mouse
    device->send(midi::kControlChange, 0, 8, 10);
    QTest::qWait(100);
    EXPECT_EQ(crossfader.Value(), 100);
    // Each deck's volume fader the same way, on its channel.
    for (int side : {0, 1}) {
        SCOPED_TRACE(side);
        slider(side, false).setValue(0); // loudest
        device->send(midi::kControlChange, side, 7, 0);
        QTest::qWait(100);
        EXPECT_EQ(slider(side, false).Value(), 0);
        device->send(midi::kControlChange, side, 7, 127);
        device->send(midi::kControlChange, side, 7, 64);
        EXPECT_TRUE(waitFor([&] { return slider(side, false).Value() == 50; }));
    }
}

// A relative encoder moves a deck's pitch up and down from where it stands.
TEST_F(ControllerOnJack, RelativeEncoderStepsThePitch) {
    for (int side : {0, 1}) {
        SCOPED_TRACE(side);
        Slider& pitch = slider(side, true);
        pitch.setValue(1200);
        device->send(midi::kControlChange, side, 10, 4); // four steps up
        EXPECT_TRUE(waitFor([&] { return pitch.Value() == 1263; }));
        device->send(midi::kControlChange, side, 10, 127); // one step down
        EXPECT_TRUE(waitFor([&] { return pitch.Value() == 1247; }));
        EXPECT_EQ(slider(1 - side, true).Value(), side == 0 ? 1000 : 1247);
    }
}

// A controller plugged in while the program runs is connected and plays,
// and a fader of the first one already taken over stays so; one unplugged
// leaves the other playing.
TEST_F(ControllerOnJack, ADevicePluggedInLaterIsPickedUp) {
    Slider& crossfader = *w->mixerPanel.desk.crossFaderScroll;
    device->send(midi::kControlChange, 0, 8, 0);
    device->send(midi::kControlChange, 0, 8, 70);
    ASSERT_TRUE(waitFor([&] { return crossfader.Value() == 55; }));
    audio_test::JackServer& server = audio_test::jackServerAt(44100);
    auto late = std::make_unique<MidiTestClient>(server.name(), "late controller");
    ASSERT_TRUE(late->open());
    EXPECT_TRUE(waitFor([&] {
        return w->controllers().devices().contains(QString::fromStdString(late->outPort()));
    }));
    late->send(midi::kNoteOn, 1, 16, 100);
    EXPECT_TRUE(waitFor([&] { return playing(1); }));
    EXPECT_TRUE(waitFor([&] {
        const auto& got = late->received();
        return std::any_of(got.begin(), got.end(), [](const midi::MidiMessage& m) {
            return m.channel() == 1 && m.data1() == 16 && m.data2() == 127;
        });
    }));
    device->send(midi::kControlChange, 0, 8, 20);
    EXPECT_TRUE(waitFor([&] { return crossfader.Value() == 16; })) << crossfader.Value();
    late.reset();
    EXPECT_TRUE(waitFor([&] { return w->controllers().devices().size() == 1; }));
    device->send(midi::kNoteOn, 0, 16, 100);
    EXPECT_TRUE(waitFor([&] { return playing(0); }));
}

// A second controller given a mapping of its own in the window plays
// through it, the first still through the mapping of all devices; each
// one's lights come from its own mapping and go to it alone.
TEST_F(ControllerOnJack, ADeviceWithItsOwnMappingPlaysThroughIt) {
    audio_test::JackServer& server = audio_test::jackServerAt(44100);
    MidiTestClient other(server.name(), "other controller");
    ASSERT_TRUE(other.open());
    const QString name = QString::fromStdString(other.outPort());
    ASSERT_TRUE(waitFor([&] { return w->controllers().devices().contains(name); }));
    QDir().mkpath(controllers::Controllers::userFolder());
    const QString own = controllers::Controllers::userFolder() + "/other.json";
    QFile file(own);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"bindings": [{"action": "deck.right.play", "note": 16, "light": true}]})");
    file.close();

    optionsF::load(*state)->cmdControllers_Click();
    controllers::ControllerWindow& window = w->controllers().window();
    window.cmbDevice->setCurrentIndex(window.cmbDevice->findData(name));
    window.cmbDevice_Click();
    window.cmbMapping->setCurrentIndex(window.cmbMapping->findData(own));
    window.cmbMapping_Click();
    EXPECT_EQ(w->controllers().mappingPath(name), own);
    window.cmdcloseButton_Click();
    // Kept for the next start under the device's name.
    const QString kept = core::settingsKeyPath() + "\\Controller mappings";
    EXPECT_EQ(core::get_RegValue(reg::HKEY_LOCAL_MACHINE, kept, name), own);

    const auto lastLight = [](MidiTestClient& client, int channel) {
        const auto& got = client.received();
        const auto last = std::find_if(got.rbegin(), got.rend(), [&](const midi::MidiMessage& m) {
            return m.kind() == midi::kNoteOn && m.channel() == channel && m.data1() == 16;
        });
        return last == got.rend() ? -1 : last->data2();
    };
    other.send(midi::kNoteOn, 0, 16, 127); // its own mapping: the right deck
    EXPECT_TRUE(waitFor([&] { return playing(1); }));
    EXPECT_FALSE(playing(0));
    EXPECT_TRUE(waitFor([&] { return lastLight(other, 0) == 127; }));
    EXPECT_TRUE(waitFor([&] { return lastLight(*device, 1) == 127; })); // all devices': ch 2
    EXPECT_NE(lastLight(*device, 0), 127);
    EXPECT_NE(lastLight(other, 1), 127);
    device->send(midi::kNoteOn, 0, 16, 127); // all devices' mapping: the left deck
    device->send(midi::kNoteOff, 0, 16, 0);
    EXPECT_TRUE(waitFor([&] { return playing(0); }));

    // Back to the mapping of all devices: the same note plays the left deck.
    ASSERT_TRUE(w->controllers().useMapping({}, name));
    EXPECT_FALSE(core::list_RegValues(reg::HKEY_LOCAL_MACHINE, kept).contains(name));
    EXPECT_EQ(w->controllers().mappingPath(), generic());
    w->runAction(mixer::Action::LeftPause);
    ASSERT_TRUE(waitFor([&] { return !playing(0); }));
    other.send(midi::kNoteOn, 0, 16, 127);
    EXPECT_TRUE(waitFor([&] { return playing(0); }));
}

// High-resolution messages and the binding options: a 14-bit control pair,
// a pitch bend inverted on half the travel, an inverted control.
TEST_F(ControllerOnJack, FourteenBitPairsPitchBendInvertAndRange) {
    const QString path = fileWith("fine.json", R"({"bindings": [
        {"action": "deck.left.pitch", "channel": 1, "cc14": 1},
        {"action": "deck.right.pitch", "channel": 2, "pitchBend": true, "invert": true,
         "range": [0.25, 0.75]},
        {"action": "crossfader", "channel": 1, "cc": 5, "invert": true}]})");
    ASSERT_TRUE(w->controllers().useMapping(path));
    struct Case {
        std::uint8_t kind;
        int channel, data1, data2;
        Slider* slider;
        int expected;
    };
    Slider* left = &slider(0, true);
    Slider* right = &slider(1, true);
    for (const Case c :
         {Case{midi::kControlChange, 0, 1, 96, left, 1500},  // high bits alone
          Case{midi::kControlChange, 0, 33, 64, left, 1508}, // and the low ones
          Case{midi::kPitchBend, 1, 127, 127, right, 500},
          Case{midi::kPitchBend, 1, 0, 0, right, 1500},
          Case{midi::kControlChange, 0, 5, 127, w->mixerPanel.desk.crossFaderScroll, 0}}) {
        SCOPED_TRACE(testing::Message() << c.data1 << " " << c.data2);
        device->send(c.kind, c.channel, c.data1, c.data2);
        EXPECT_TRUE(waitFor([&] { return c.slider->Value() == c.expected; })) << c.slider->Value();
    }
}

// The controller window from the options lists the controller; a binding
// learned there (pick an action, LEARN, move a control) plays at once and
// is saved in the user's copy of the mapping, which is then the one in use.
TEST_F(ControllerOnJack, TheWindowLearnsABindingAndSavesIt) {
    optionsF::load(*state)->cmdControllers_Click();
    controllers::ControllerWindow& window = w->controllers().window();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(
        window.lstDevices->findItems(QString::fromStdString(device->outPort()), Qt::MatchExactly)
            .size(),
        1);
    window.cmbAction->setCurrentIndex(window.cmbAction->findText("crossfader"));
    window.cmdLearn_Click();
    device->send(midi::kControlChange, 3, 30, 64);
    ASSERT_TRUE(waitFor([&] { return window.lblLearn->text().startsWith("Bound and saved"); }));
    testing_support::saveScreenshot(&window, "controller_window");
    Slider& crossfader = *w->mixerPanel.desk.crossFaderScroll;
    EXPECT_EQ(crossfader.Value(), 50);             // the message learned from moves nothing
    device->send(midi::kControlChange, 3, 30, 64); // soft takeover: meets the screen
    device->send(midi::kControlChange, 3, 30, 127);
    EXPECT_TRUE(waitFor([&] { return crossfader.Value() == 100; }));

    const QString saved = controllers::Controllers::userFolder() + "/generic.json";
    EXPECT_EQ(window.cmbMapping->currentData().toString(), saved);
    const controllers::MappingRead read = controllers::readMappingFile(saved);
    ASSERT_TRUE(read.mapping) << read.error.toStdString();
    // The shipped bindings came along: the left deck's PLAY still plays.
    device->send(midi::kNoteOn, 0, 16, 127);
    EXPECT_TRUE(waitFor([&] { return playing(0); }));
    window.cmdcloseButton_Click();
    EXPECT_FALSE(window.isVisible());
}

} // namespace
