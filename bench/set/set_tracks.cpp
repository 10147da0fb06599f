// Makes the music of an unattended set: TRACKS short tracks cycling through
// every format the program plays, each a steady tone of its own frequency
// (track i: 300 + 40 i Hz) so a recording tells which track is heard, plus
// two damaged files and two missing ones, all listed in FOLDER/set.m3u.
//   set_tracks FOLDER TRACKS SECONDS
#include "tests/fixtures/fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: set_tracks FOLDER TRACKS SECONDS\n");
        return 2;
    }
    const fs::path folder = argv[1];
    const int tracks = std::atoi(argv[2]);
    const double seconds = std::atof(argv[3]);
    fs::create_directories(folder);
    using fixtures::Format;
    const Format formats[] = {Format::Mp3Cbr, Format::Flac,      Format::Wav,  Format::M4aAac,
                              Format::Mp3Vbr, Format::OggVorbis, Format::Aiff, Format::Opus,
                              Format::Wma,    Format::M4aAlac,   Format::Asf};
    std::ofstream list(folder / "set.m3u");
    list << "#EXTM3U\n";
    for (int i = 0; i < tracks; ++i) {
        // Bad entries among the good ones: a file of noise named as an MP3,
        // a FLAC cut after its first kilobyte, and two files that are not there.
        if (i == 5)
            list << "damaged-noise.mp3\n";
        if (i == 12)
            list << "missing-one.flac\n";
        if (i == 20)
            list << "damaged-cut.flac\n";
        if (i == 33)
            list << "missing-two.mp3\n";
        fixtures::Tone tone;
        tone.format = formats[i % std::size(formats)];
        tone.sampleRate = tone.format == Format::Opus ? 48000 : 44100;
        tone.seconds = seconds;
        tone.frequency = 300 + 40 * i;
        tone.amplitude = 0.3;
        const std::string name =
            "track" + std::to_string(i) + "." + fixtures::extensionOf(tone.format);
        fixtures::makeTone(folder / name, tone);
        list << name << "\n";
    }
    {
        std::ofstream noise(folder / "damaged-noise.mp3", std::ios::binary);
        for (int i = 0; i < 200000; ++i)
            noise.put(static_cast<char>(std::rand()));
    }
    fixtures::Tone flac;
    flac.format = Format::Flac;
    flac.seconds = seconds;
    fixtures::makeTone(folder / "whole.flac", flac);
    fs::copy_file(folder / "whole.flac", folder / "damaged-cut.flac",
                  fs::copy_options::overwrite_existing);
    fs::resize_file(folder / "damaged-cut.flac", 1024);
    fs::remove(folder / "whole.flac");
    std::printf("%s: %d tracks, 4 bad entries\n", (folder / "set.m3u").c_str(), tracks);
    return 0;
}
