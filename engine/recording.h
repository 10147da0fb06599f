#pragma once
// The engine's recording of the main output (what the audience hears) into a
// WAV, FLAC or MP3 file. User-interface thread.
#include <QString>
#include <cstdint>

namespace engine {

// The file formats, in the order the options list them.
enum class RecordFormat { wav = 0, flac = 1, mp3 = 2 };

// The file name extension of `format`, without the dot ("wav").
QString recordExtension(RecordFormat format);

// Starts recording into `path` (an existing file is replaced). Empty when it
// runs, else why it could not start.
QString startRecording(const QString& path, RecordFormat format);

// Ends the recording and closes its file. Empty when every frame reached the
// file, else what went wrong.
QString stopRecording();

// Where a running recording stands.
struct RecordingProgress {
    bool running = false;
    bool failed = false; // the file took no more frames; `failure` says why
    QString failure;
    double seconds = 0; // of the main output since the recording started
};
RecordingProgress recordingProgress();

} // namespace engine
