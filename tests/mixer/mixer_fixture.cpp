#include "tests/mixer/mixer_fixture.h"

#include "controls/peak/qzvPeak.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "tests/support/qt_app.h"

#include <cmath>
#include <fstream>
#include <numbers>

namespace mixer_test {

Attributes attributesOf(const engine::Channel& stream) {
    DWORD volume = 0;
    int pan = 0;
    EXPECT_TRUE(BASS_ChannelGetAttributes(stream.handle(), nullptr, &volume, &pan));
    return {static_cast<int>(volume), pan};
}

namespace {

void put16(std::ofstream& out, std::uint16_t v) {
    const char b[] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    out.write(b, 2);
}
void put32(std::ofstream& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

} // namespace

std::string constantLevelWav(int left, int right) {
    const auto path = audio_test::fixtureFolder() /
                      ("level_" + std::to_string(left) + "_" + std::to_string(right) + ".wav");
    if (std::filesystem::exists(path))
        return path.string();
    constexpr std::uint32_t frames = 44100;
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put32(out, 36 + frames * 4);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);         // PCM
    put16(out, 2);         // stereo
    put32(out, 44100);     // frames a second
    put32(out, 44100 * 4); // bytes a second
    put16(out, 4);         // bytes a frame
    put16(out, 16);        // bits a sample
    out.write("data", 4);
    put32(out, frames * 4);
    const auto sample = [](int level) {
        return static_cast<std::uint16_t>(std::min(level * 256, 32767));
    };
    for (std::uint32_t i = 0; i < frames; ++i) {
        put16(out, sample(left));
        put16(out, sample(right));
    }
    return path.string();
}

std::string toneWav(int frequency) {
    fixtures::Tone tone;
    tone.format = fixtures::Format::Wav;
    tone.frequency = frequency;
    tone.amplitude = 0.4;
    tone.seconds = 3.0;
    return audio_test::fixture("tone" + std::to_string(frequency) + ".wav", tone);
}

double toneRms(const std::vector<short>& samples, int channel, double frequency) {
    const std::size_t n = samples.size() / 2;
    const double w = 2.0 * std::numbers::pi * frequency / 44100.0;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double s0 = samples[i * 2 + static_cast<std::size_t>(channel)] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    const double amplitude = 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(n);
    return amplitude / std::numbers::sqrt2;
}

void MixerTest::SetUp() {
    testing_support::qtApp();
    OfflineEngine::SetUp();
    state = std::make_unique<core::ProgramState>(dialogs);
    state->crossMax = 100;
    state->crossCentre = 50;
    panel = std::make_unique<QWidget>();
    auto slider = [this](Qt::Orientation o) {
        auto* s = new Slider(o, panel.get());
        s->setRange(0, 100);
        return s;
    };
    controls.crossFaderScroll = slider(Qt::Horizontal);
    controls.LVolScroll = slider(Qt::Vertical);
    controls.RvolScroll = slider(Qt::Vertical);
    controls.MainVolScroll = slider(Qt::Horizontal);
    controls.monitorVolScroll = slider(Qt::Vertical);
    for (auto& button : controls.monitorCMB)
        button = new ConsoleButton("", "", panel.get());
    controls.LVUmeter = new qzvPeak(panel.get());
    controls.RVUmeter = new qzvPeak(panel.get());
    controls.mainVolVUmeter = new qzvPeak(panel.get());
    desk = std::make_unique<mixer::MixerDesk>(*state, controls);
}

void MixerTest::TearDown() {
    desk.reset();
    panel.reset();
    state.reset();
    OfflineEngine::TearDown();
}

void MixerTest::playDeck(int deck, const std::string& path) {
    engine::Channel& stream = state->decks[static_cast<std::size_t>(deck)].stream;
    stream = engine::Channel::openMain(QByteArray::fromStdString(path), 0);
    EXPECT_TRUE(stream) << path;
    EXPECT_TRUE(stream.play());
    audio_test::render(2048);
}

void MixerTest::apply(const Setting& s) {
    controls.crossFaderScroll->setValue(s.crossfader);
    controls.MainVolScroll->setValue(s.master);
    controls.LVolScroll->setValue(s.leftDeck);
    controls.RvolScroll->setValue(s.rightDeck);
    controls.monitorVolScroll->setValue(s.monitor);
    desk->monitorCMB_Click(s.monitorButton);
}

} // namespace mixer_test
