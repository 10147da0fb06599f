#pragma once
// The file a recording goes to: 16-bit stereo frames at the output rate,
// written as WAV or FLAC (libsndfile) or MP3 (LAME). Writer thread only.
#include <cstdint>
#include <memory>
#include <string>

namespace audio {

enum class RecordFormat { Wav = 0, Flac = 1, Mp3 = 2 };

class RecordingFile {
public:
    virtual ~RecordingFile() = default;
    // Writes `frames` interleaved stereo frames; false (with failure() set)
    // when the file cannot take them, after which nothing more is written.
    virtual bool write(const std::int16_t* samples, std::size_t frames) = 0;
    // Finishes and closes the file so that what was written reads to the
    // end; false (with failure() set) when the close itself failed.
    virtual bool close() = 0;
    const std::string& failure() const { return failure_; }

protected:
    std::string failure_;
};

// A new file at `path` (an existing file is replaced); null with `error` set
// when it cannot be created.
std::unique_ptr<RecordingFile> createRecordingFile(const std::string& path, RecordFormat format,
                                                   int rate, std::string& error);

} // namespace audio
