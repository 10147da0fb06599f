#pragma once
// Synthetic tracks with a known tempo, first beat and music span, written as
// 16-bit stereo WAV files at 44100 Hz: a drum pattern (kick on every beat,
// snare on 2 and 4, hi-hats on the eighths, straight or swung) or a chord
// loop (a plucked chord on every beat, a new chord every bar), after a
// silent lead-in, ending in an optional linear fade-out and a silent tail.
#include <filesystem>
#include <string>
#include <vector>

namespace synthetic {

struct Track {
    std::string name;
    double bpm = 120.0;
    double firstBeat = 0.0;  // seconds of silence before the first beat
    double music = 30.0;     // seconds from the first beat to the end of the music
    double fadeOut = 0.0;    // the last seconds of the music fade linearly to nothing
    double silentTail = 0.0; // seconds of silence after the music
    bool swung = false;      // off-beat eighths at 2/3 of the beat instead of 1/2
    bool chords = false;     // a chord loop instead of drums
    double amplitude = 0.5;  // peak, 0..1 of full scale
    unsigned seed = 1;

    double musicEnd() const { return firstBeat + music; }
};

// Interleaved 16-bit stereo samples of `track` at 44100 Hz.
std::vector<short> render(const Track& track);
// Writes `samples` (stereo, 44100 Hz) as a WAV file at `path`.
void writeWav(const std::filesystem::path& path, const std::vector<short>& samples);

// The table the analysis is measured over: drums and chord loops at 90, 100,
// 124, 128, 140 and 174 BPM, straight and swung, with different lead-ins,
// silent tails and quiet fade-outs.
std::vector<Track> benchmarkSet();

} // namespace synthetic
