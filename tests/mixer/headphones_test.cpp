// The headphones from the main window, on the offline output with its
// headphone mix: the column replaces the monitor switch, the keys pre-listen
// a deck, turn the cue/main knob, the volume and the split, and the rendered
// headphone mix carries each tone at the share they set while the main mix
// stays as the audience hears it.
#include "app/main_window.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "engine/headphones.h"
#include "mixer/actions.h"
#include "mixer/headphone_desk.h"
#include "tests/mixer/window_fixture.h"
#include "tests/platform/audio/audio_test_support.h"
#include "tests/support/screenshots.h"

#include <QFrame>
#include <cmath>
#include <complex>
#include <numbers>

namespace {

using fixtures::Format;
using mixer_test::song;

constexpr double kLeftTone = 440, kRightTone = 1000;
constexpr std::size_t kMeasured = 8820; // 0.2 s: whole periods of both tones
// A tone of the test songs at full gain: amplitude 0.5 of full scale.
const double kFull = 0.5 * 32768 / std::sqrt(2.0);

// RMS of the `frequency` component of one channel, as a share of kFull.
double share(const std::vector<short>& samples, int channel, double frequency) {
    std::complex<double> sum;
    for (std::size_t i = 0; i < kMeasured; ++i)
        sum += static_cast<double>(samples[i * 2 + static_cast<std::size_t>(channel)]) *
               std::polar(1.0, -2 * std::numbers::pi * frequency * static_cast<double>(i) / 44100);
    return std::sqrt(2.0) * std::abs(sum) / kMeasured / kFull;
}

class HeadphonesTest : public mixer_test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        state->settings.headphones = engine::kHeadphonesJack;
        w->terminate_BASS();
        ASSERT_TRUE(w->init_BASS());
        usePlaylist({left, right});
        loadDeck(0, left);
        loadDeck(1, right);
    }
    void TearDown() override {
        WindowTest::TearDown();
        engine::chooseHeadphones(engine::kHeadphonesNone);
    }
    void key(mixer::Action action, int times = 1) {
        for (int i = 0; i < times; ++i)
            w->runAction(action);
    }
    // One period for the gains to settle, then the measured frames.
    void render() {
        std::vector<short> settle(512 * 2);
        BASS_Offline_RenderWithPhones(settle.data(), settle.data(), 512);
        main.assign(kMeasured * 2, 0);
        phones.assign(kMeasured * 2, 0);
        ASSERT_TRUE(BASS_Offline_RenderWithPhones(main.data(), phones.data(), kMeasured));
    }
    const std::string left = song("phones_left.wav", Format::Wav, 6, 44100, 2, kLeftTone);
    const std::string right = song("phones_right.wav", Format::Wav, 6, 44100, 2, kRightTone);
    std::vector<short> main, phones;
};

TEST_F(HeadphonesTest, TheKeysSetWhatEachEarHears) {
    const mixer::HeadphoneControls& c = w->mixerPanel.phones;
    EXPECT_TRUE(w->phones().active());
    EXPECT_TRUE(c.splitCB->isVisibleTo(w) && !w->mixerPanel.desk.monitorCMB[0]->isVisibleTo(w));
    // On air: the right deck alone (crossfader right); the left deck cued up.
    key(mixer::Action::CrossfaderRight);
    w->decks->left().play_Click();
    w->decks->right().play_Click();
    key(mixer::Action::LeftPrelisten);
    testing_support::saveScreenshot(w->Mixer, "mixer_headphones");

    struct Row {
        const char* what;
        std::function<void()> set;
        double leftL, leftR, rightL, rightR; // each tone's share in each ear
    };
    const double onAir = [&] {
        render();
        return share(main, 0, kRightTone);
    }();
    ASSERT_GT(onAir, 0.1);
    const Row rows[] = {
        {"all cue, full volume",
         [&] {
             key(mixer::Action::PhonesMixCue, 50);
             key(mixer::Action::PhonesLouder, 20);
         },
         1, 1, 0, 0},
        {"three quarters main", [&] { key(mixer::Action::PhonesMixMain, 75); }, 0.25, 0.25,
         0.75 * onAir, 0.75 * onAir},
        {"half, half volume",
         [&] {
             key(mixer::Action::PhonesMixCue, 25);
             key(mixer::Action::PhonesQuieter, 50);
         },
         0.25, 0.25, 0.25 * onAir, 0.25 * onAir},
        {"split",
         [&] {
             key(mixer::Action::PhonesLouder, 50);
             key(mixer::Action::PhonesSplit);
         },
         1, 0, 0, onAir},
        {"split, right deck pre-listened too", [&] { key(mixer::Action::RightPrelisten); }, 1, 0, 1,
         onAir},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        r.set();
        render();
        constexpr double tolerance = 0.01;
        EXPECT_NEAR(share(phones, 0, kLeftTone), r.leftL, tolerance);
        EXPECT_NEAR(share(phones, 1, kLeftTone), r.leftR, tolerance);
        EXPECT_NEAR(share(phones, 0, kRightTone), r.rightL, tolerance);
        EXPECT_NEAR(share(phones, 1, kRightTone), r.rightR, tolerance);
        // The audience hears the right deck on both channels, and never the cue.
        EXPECT_NEAR(share(main, 0, kRightTone), onAir, tolerance);
        EXPECT_NEAR(share(main, 1, kRightTone), onAir, tolerance);
        EXPECT_LT(share(main, 0, kLeftTone) + share(main, 1, kLeftTone), tolerance);
    }
    EXPECT_TRUE(state->phones.split && state->phones.prelisten[0] && state->phones.prelisten[1]);
    EXPECT_TRUE(dialogs.boxes().empty());
}

} // namespace
