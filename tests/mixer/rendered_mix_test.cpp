// What the mixer settings sound like: the left deck plays 440 Hz, the right
// deck 1 kHz, and each tone's share of each output channel is measured on
// the rendered mix.
#include "controls/widgets/slider.h"
#include "tests/mixer/mixer_fixture.h"

#include <cmath>

namespace {

using mixer_test::MixerTest;
using mixer_test::Setting;
using mixer_test::toneRms;

constexpr double kLeftTone = 440, kRightTone = 1000;
// 0.2 s: a whole number of periods of both tones.
constexpr std::size_t kMeasureFrames = 8820;
// The output period the tests render in (the device runs 256..512 frames).
constexpr std::size_t kPeriod = 256;

// Each tone's level in each output channel, as a share of the tone played
// at full gain.
struct Shares {
    double leftToneLeft, leftToneRight, rightToneLeft, rightToneRight;
};

class RenderedMixTest : public MixerTest {
protected:
    void SetUp() override {
        MixerTest::SetUp();
        playDeck(0, mixer_test::toneWav(static_cast<int>(kLeftTone)));
        playDeck(1, mixer_test::toneWav(static_cast<int>(kRightTone)));
        // Full gain: one tone's RMS with both decks full and centred.
        apply({50, 100, 0, 0, 0, 2});
        const std::vector<short> full = settle();
        fullRms = toneRms(full, 0, kLeftTone);
        ASSERT_GT(fullRms, 0.35 * 32768 / std::sqrt(2.0));
    }

    // Renders one period for the gains to settle, then the measured frames.
    std::vector<short> settle() {
        audio_test::render(kPeriod);
        return audio_test::render(kMeasureFrames);
    }

    Shares shares(const Setting& setting) {
        apply(setting);
        const std::vector<short> mix = settle();
        return {toneRms(mix, 0, kLeftTone) / fullRms, toneRms(mix, 1, kLeftTone) / fullRms,
                toneRms(mix, 0, kRightTone) / fullRms, toneRms(mix, 1, kRightTone) / fullRms};
    }

    double fullRms = 0;
};

void expectShares(const Shares& got, const Shares& want, const char* what) {
    constexpr double tolerance = 0.01;
    EXPECT_NEAR(got.leftToneLeft, want.leftToneLeft, tolerance) << what << ": 440 Hz, left";
    EXPECT_NEAR(got.leftToneRight, want.leftToneRight, tolerance) << what << ": 440 Hz, right";
    EXPECT_NEAR(got.rightToneLeft, want.rightToneLeft, tolerance) << what << ": 1 kHz, left";
    EXPECT_NEAR(got.rightToneRight, want.rightToneRight, tolerance) << what << ": 1 kHz, right";
}

TEST_F(RenderedMixTest, CrossfaderLaw) {
    struct Row {
        int crossfader;
        double left, right; // each deck's gain, on both channels
    };
    const Row rows[] = {{0, 1, 0}, {25, 1, 0.5}, {50, 1, 1}, {75, 0.5, 1}, {100, 0, 1}};
    for (const Row& r : rows) {
        const std::string what = "crossfader " + std::to_string(r.crossfader);
        expectShares(shares({r.crossfader, 100, 0, 0, 0, 2}), {r.left, r.left, r.right, r.right},
                     what.c_str());
    }
}

TEST_F(RenderedMixTest, MonitorSplitsTheOutput) {
    // Left deck monitored at 80 (slider 20), its deck slider at half: the
    // left channel carries only the left deck at the monitor level, the right
    // channel the mix (left deck at its half level, right deck full). The
    // pan's whole-number rounding puts the left deck at 0.496 in the mix.
    expectShares(shares({50, 100, 50, 0, 20, 0}), {0.8, 0.5, 0, 1}, "monitor left deck");
    // And the right deck monitored the same way.
    expectShares(shares({50, 100, 0, 50, 20, 1}), {0, 1, 0.8, 0.5}, "monitor right deck");
}

TEST_F(RenderedMixTest, MasterHalvesBothDecks) {
    expectShares(shares({50, 50, 0, 0, 0, 2}), {0.5, 0.5, 0.5, 0.5}, "master 50");
}

// A slider move is heard within one output period, as a ramp: the left
// deck plays alone, monitored at full level, so its left channel is the
// untouched tone and its right channel that tone times its mixed gain.
TEST_F(RenderedMixTest, SliderMoveRampsWithinOnePeriod) {
    state->decks[1].stream.stop();
    apply({50, 100, 0, 0, 0, 0});
    settle();
    controls.LVolScroll->setValue(50);
    desk->run_volume_timer();
    const std::vector<short> period = audio_test::render(kPeriod);
    const std::vector<short> next = audio_test::render(kPeriod);

    // Gain of the right channel at every frame where the tone is loud
    // enough to read it (16-bit rounding keeps the error near 1/3000).
    const auto gains = [](const std::vector<short>& s) {
        std::vector<std::pair<std::size_t, double>> g;
        for (std::size_t i = 0; i < s.size() / 2; ++i)
            if (std::abs(s[i * 2]) > 3000)
                g.emplace_back(i, static_cast<double>(s[i * 2 + 1]) / s[i * 2]);
        return g;
    };
    const double ramp = 0.5 / kPeriod; // the library's gain step per frame
    const auto during = gains(period);
    ASSERT_GT(during.size(), 20u);
    for (std::size_t k = 1; k < during.size(); ++k) {
        const auto [i0, g0] = during[k - 1];
        const auto [i1, g1] = during[k];
        EXPECT_LE(std::abs(g1 - g0), ramp * static_cast<double>(i1 - i0) + 0.001)
            << "frames " << i0 << ".." << i1;
        EXPECT_NEAR(g1, 1.0 - ramp * static_cast<double>(i1 + 1), 0.002) << "frame " << i1;
    }
    for (const auto& [i, g] : gains(next))
        EXPECT_NEAR(g, 0.5, 0.001) << "frame " << i << " of the next period";
}

} // namespace
