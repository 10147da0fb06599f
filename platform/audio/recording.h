#pragma once
// Recording the main output to a file, for the engine binding: one recording
// at a time, of every frame the output renders from its start to its end.
// User-interface thread.
#include "platform/audio/recording_file.h"

#include <cstdint>
#include <string>

namespace audio {

struct RecordingFigures {
    bool running = false;
    bool failed = false; // the file stopped taking frames; `failure` says why
    std::string failure;
    int rate = 0;              // Hz of the recording's frames
    std::uint64_t frames = 0;  // frames rendered into the recording since it started
    std::uint64_t written = 0; // of them, frames in the file
    std::uint64_t dropped = 0; // of them, frames the writer could not keep up with
};

// Starts recording to `path` as `format`: BASS_OK, or an error code with
// `error` saying why (BASS_ERROR_INIT without an engine, BASS_ERROR_ALREADY
// while a recording runs, BASS_ERROR_FILEOPEN when the file cannot be made).
int startRecording(const std::string& path, RecordFormat format, std::string& error);
// Ends the recording and closes its file; true when every frame reached it.
// `failure` (may be null) gets the reason otherwise. No recording: true.
bool stopRecording(std::string* failure);
RecordingFigures recordingFigures();

} // namespace audio
