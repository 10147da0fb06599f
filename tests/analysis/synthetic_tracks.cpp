#include "tests/analysis/synthetic_tracks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <random>
#include <stdexcept>
#include <tuple>

namespace synthetic {
namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Adds a sound starting at `at` seconds, made by `voice(t)` for `seconds`.
template <typename Voice>
void addSound(std::vector<double>& mono, double at, double seconds, Voice&& voice) {
    const auto start = static_cast<std::ptrdiff_t>(std::llround(at * kRate));
    const auto count = static_cast<std::ptrdiff_t>(seconds * kRate);
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        const std::ptrdiff_t n = start + i;
        if (n < 0 || n >= static_cast<std::ptrdiff_t>(mono.size()))
            continue;
        mono[static_cast<std::size_t>(n)] += voice(static_cast<double>(i) / kRate);
    }
}

void drums(const Track& track, std::vector<double>& mono, std::mt19937& noise) {
    std::uniform_real_distribution<double> white(-1.0, 1.0);
    const double beat = 60.0 / track.bpm;
    const int beats = static_cast<int>(std::ceil(track.music / beat));
    // A held bass note under the drums, up to the music's end.
    addSound(mono, track.firstBeat, track.music,
             [](double t) { return 0.12 * std::sin(2 * kPi * 55 * t); });
    for (int b = 0; b < beats; ++b) {
        const double at = track.firstBeat + b * beat;
        addSound(mono, at, 0.25, [](double t) {
            const double phase = 2 * kPi * (50 * t + 60 * (1 - std::exp(-t * 30)) / 30);
            return 0.9 * std::exp(-t * 14) * std::sin(phase);
        });
        if (b % 4 == 1 || b % 4 == 3)
            addSound(mono, at, 0.18, [&](double t) {
                return std::exp(-t * 22) *
                       (0.35 * white(noise) + 0.3 * std::sin(2 * kPi * 190 * t));
            });
        for (const double eighth : {0.0, track.swung ? 2.0 / 3.0 : 0.5})
            addSound(mono, at + eighth * beat, 0.05,
                     [&](double t) { return 0.18 * std::exp(-t * 80) * white(noise); });
    }
}

void chordLoop(const Track& track, std::vector<double>& mono) {
    static const double roots[] = {220.0, 174.61, 261.63, 196.0};
    const double beat = 60.0 / track.bpm;
    const int beats = static_cast<int>(std::ceil(track.music / beat));
    for (int b = 0; b < beats; ++b) {
        const double root = roots[(b / 4) % 4];
        // A stronger first beat of the bar, and an off-beat swung or straight.
        const double accent = b % 4 == 0 ? 1.0 : 0.7;
        const double at = track.firstBeat + b * beat;
        const auto pluck = [root](double gain) {
            return [root, gain](double t) {
                double v = 0;
                for (const double ratio : {1.0, 1.26, 1.5, 2.0})
                    v += std::sin(2 * kPi * root * ratio * t);
                return gain * 0.22 * std::exp(-t * 7) * v;
            };
        };
        addSound(mono, at, beat, pluck(accent));
        addSound(mono, at + (track.swung ? 2.0 / 3.0 : 0.5) * beat, beat / 2, pluck(0.25));
    }
}

} // namespace

std::vector<short> render(const Track& track) {
    const double seconds = track.firstBeat + track.music + track.silentTail;
    std::vector<double> mono(static_cast<std::size_t>(seconds * kRate), 0.0);
    std::mt19937 noise(track.seed);
    if (track.chords)
        chordLoop(track, mono);
    else
        drums(track, mono, noise);
    // Everything after the music's end is silence; the fade is linear in gain.
    const double end = track.firstBeat + track.music;
    const double fadeStart = end - track.fadeOut;
    double peak = 1e-9;
    for (std::size_t i = 0; i < mono.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        if (t >= end)
            mono[i] = 0;
        else if (t > fadeStart)
            mono[i] *= (end - t) / track.fadeOut;
        peak = std::max(peak, std::abs(mono[i]));
    }
    std::vector<short> out(2 * mono.size());
    const double gain = track.amplitude * 32767 / peak;
    for (std::size_t i = 0; i < mono.size(); ++i)
        out[2 * i] = out[2 * i + 1] = static_cast<short>(std::lround(mono[i] * gain));
    return out;
}

void writeWav(const std::filesystem::path& path, const std::vector<short>& samples) {
    std::ofstream file(path, std::ios::binary);
    const auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    const auto put16 = [&](std::uint16_t v) {
        file.put(static_cast<char>(v & 0xFF));
        file.put(static_cast<char>(v >> 8));
    };
    const auto bytes = static_cast<std::uint32_t>(samples.size() * 2);
    file.write("RIFF", 4);
    put32(36 + bytes);
    file.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(2);
    put32(kRate);
    put32(kRate * 4);
    put16(4);
    put16(16);
    file.write("data", 4);
    put32(bytes);
    for (const short s : samples)
        put16(static_cast<std::uint16_t>(s));
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
}

std::vector<Track> benchmarkSet() {
    std::vector<Track> set;
    const double tempos[] = {90, 100, 124, 128, 140, 174};
    unsigned seed = 1;
    for (const bool chords : {false, true}) {
        for (const bool swung : {false, true}) {
            for (std::size_t i = 0; i < std::size(tempos); ++i) {
                Track t;
                t.bpm = tempos[i];
                t.chords = chords;
                t.swung = swung;
                t.seed = seed++;
                t.firstBeat = 0.05 + 0.37 * static_cast<double>((i + seed) % 5);
                t.silentTail = (i % 3 == 0) ? 8.0 : 0.0;
                t.fadeOut = (i % 3 == 1) ? 6.0 : 0.0;
                t.name = std::string(chords ? "chords" : "drums") + (swung ? " swung " : " ") +
                         std::to_string(static_cast<int>(t.bpm));
                set.push_back(t);
            }
        }
    }
    // Fast tracks whose first beat falls so that half a beat before it still
    // looks like the music's start (within its 100 ms blocks).
    for (const auto& [chords, swung, first, tail, seed] :
         {std::tuple{true, false, 1.26, 12.0, 12u}, std::tuple{false, true, 0.97, 18.0, 18u}}) {
        Track t;
        t.bpm = 174;
        t.chords = chords;
        t.swung = swung;
        t.firstBeat = first;
        t.silentTail = tail;
        t.seed = seed;
        t.name = std::string(chords ? "chords" : "drums") + (swung ? " swung " : " ") + "174 late";
        set.push_back(t);
    }
    return set;
}

} // namespace synthetic
