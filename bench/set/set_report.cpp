// Reads the recording of an unattended set (a WAV of 16- or 32-bit integer or
// 32-bit float samples) and reports what a listener would notice: the longest
// silence after the music first started, and the tracks heard in turn, each
// known by its tone (track i: 300 + 40 i Hz; see set_tracks.cpp).
//   set_report RECORDING.wav TRACKS
// Prints "silence_max_s", "tracks_heard", "handovers_in_order",
// "handovers_out_of_order" and the sequence of tracks heard.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

struct Wav {
    int channels = 0, rate = 0, bits = 0, format = 0;
    std::vector<float> right; // the last channel: the mix, whatever the monitor does
};

// Reads the fmt and data chunks, checking every size against what remains.
bool readWav(const char* path, Wav& wav) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) ||
        std::memcmp(bytes.data() + 8, "WAVE", 4))
        return false;
    std::size_t pos = 12;
    while (bytes.size() - pos >= 8) {
        const std::uint32_t size = u32(pos + 4);
        const std::size_t body = pos + 8;
        const std::size_t remaining = bytes.size() - body;
        const std::size_t usable = size > remaining ? remaining : size; // a capture cut short
        if (!std::memcmp(bytes.data() + pos, "fmt ", 4) && usable >= 16) {
            std::uint16_t format, channels, bits;
            std::memcpy(&format, bytes.data() + body, 2);
            std::memcpy(&channels, bytes.data() + body + 2, 2);
            std::memcpy(&bits, bytes.data() + body + 14, 2);
            wav.format = format == 0xFFFE && usable >= 26 ? bytes[body + 24] : format;
            wav.channels = channels;
            wav.rate = static_cast<int>(u32(body + 4));
            wav.bits = bits;
        } else if (!std::memcmp(bytes.data() + pos, "data", 4) && wav.channels > 0) {
            const std::size_t frameBytes = static_cast<std::size_t>(wav.channels) * wav.bits / 8;
            if (frameBytes == 0)
                return false;
            const std::size_t frames = usable / frameBytes;
            wav.right.resize(frames);
            for (std::size_t i = 0; i < frames; ++i) {
                const char* s = bytes.data() + body + i * frameBytes + frameBytes - wav.bits / 8;
                if (wav.format == 3 && wav.bits == 32) {
                    std::memcpy(&wav.right[i], s, 4);
                } else if (wav.bits == 16) {
                    std::int16_t v;
                    std::memcpy(&v, s, 2);
                    wav.right[i] = v / 32768.0f;
                } else if (wav.bits == 32) {
                    std::int32_t v;
                    std::memcpy(&v, s, 4);
                    wav.right[i] = static_cast<float>(v / 2147483648.0);
                } else {
                    return false;
                }
            }
            return true;
        }
        if (size > remaining)
            break;
        pos = body + size + (size & 1);
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: set_report RECORDING.wav TRACKS\n");
        return 2;
    }
    Wav wav;
    if (!readWav(argv[1], wav) || wav.rate <= 0) {
        std::fprintf(stderr, "%s: not a WAV recording this reader knows\n", argv[1]);
        return 1;
    }
    const int tracks = std::atoi(argv[2]);
    const std::size_t tenth = static_cast<std::size_t>(wav.rate) / 10;
    const std::size_t windows = wav.right.size() / tenth;

    // Silence: 100 ms windows whose peak stays under -40 dBFS, counted from
    // the first window with sound.
    double longest = 0, current = 0;
    bool started = false;
    std::vector<int> zeroCrossings(windows);
    std::vector<bool> loud(windows);
    for (std::size_t w = 0; w < windows; ++w) {
        float peak = 0;
        int crossings = 0;
        for (std::size_t i = w * tenth; i < (w + 1) * tenth; ++i) {
            peak = std::max(peak, std::fabs(wav.right[i]));
            if (i > 0 && (wav.right[i - 1] < 0) != (wav.right[i] < 0))
                ++crossings;
        }
        zeroCrossings[w] = crossings;
        loud[w] = peak >= 0.01f;
        started = started || loud[w];
        if (!started)
            continue;
        current = loud[w] ? 0 : current + 0.1;
        longest = std::max(longest, current);
    }

    // Tracks: a second of steady tone, each of its ten windows within 12 Hz
    // of the same track's (a cross-fade between two tones gives crossing
    // rates in between, which vary from window to window).
    const auto trackOf = [&](std::size_t w) {
        const double hz = zeroCrossings[w] / 2.0 * wav.rate / static_cast<double>(tenth);
        const int track = static_cast<int>(std::lround((hz - 300) / 40));
        return loud[w] && track >= 0 && track < tracks && std::fabs(hz - (300 + 40 * track)) <= 12
                   ? track
                   : -1;
    };
    std::vector<int> heard;
    for (std::size_t w = 0; w + 10 <= windows; w += 5) {
        const int track = trackOf(w);
        bool steady = track >= 0;
        for (std::size_t k = w + 1; k < w + 10 && steady; ++k)
            steady = trackOf(k) == track;
        if (steady && (heard.empty() || heard.back() != track))
            heard.push_back(track);
    }
    int inOrder = 0, outOfOrder = 0;
    for (std::size_t i = 1; i < heard.size(); ++i)
        (heard[i] == (heard[i - 1] + 1) % tracks ? inOrder : outOfOrder)++;

    std::printf("recording_s %.1f\n", static_cast<double>(wav.right.size()) / wav.rate);
    std::printf("silence_max_s %.1f\n", longest);
    std::printf("tracks_heard %zu\n", heard.size());
    std::printf("handovers_in_order %d\n", inOrder);
    std::printf("handovers_out_of_order %d\n", outOfOrder);
    std::printf("sequence");
    for (int track : heard)
        std::printf(" %d", track);
    std::printf("\n");
    return 0;
}
