#pragma once
// Records the main output: the output thread hands every frame it renders to
// push(), which copies it into a ring without blocking or allocating; a
// writer thread of the recorder's own takes the frames from the ring to the
// file. A write that fails (a full disk, a file grown past its limit) ends
// the writing: the file is closed with what it holds, and the failure is
// kept for the user-interface thread to report.
#include "platform/audio/recording_file.h"
#include "platform/audio/ring_buffer.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

namespace audio {

class Recorder {
public:
    // Room for about six seconds at 44100 Hz: the writer may stall that long.
    static constexpr std::size_t ringFrames = 1 << 18;

    // Starts the writer on `file` (taken over); frames are at `rate` Hz.
    Recorder(std::unique_ptr<RecordingFile> file, int rate);
    ~Recorder() { finish(); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Output thread (real-time): `frames` interleaved stereo frames. Frames
    // that find the ring full are counted as dropped.
    void push(const std::int16_t* samples, std::size_t frames);

    // User-interface thread, once nothing pushes any more: writes what the
    // ring still holds, then closes the file. True when every frame reached
    // a properly closed file.
    bool finish();

    int rate() const { return rate_; }
    // Frames handed to the recorder since it started: the recording's clock.
    std::uint64_t framesTaken() const { return taken_.load(std::memory_order_relaxed); }
    std::uint64_t framesWritten() const { return written_.load(std::memory_order_relaxed); }
    std::uint64_t framesDropped() const { return dropped_.load(std::memory_order_relaxed); }
    // The writing stopped on an error; failure() says which.
    bool failed() const { return failed_.load(std::memory_order_acquire); }
    const std::string& failure() const { return failure_; }

private:
    void run();
    // Writes what the ring holds; false once the file failed.
    bool drain();
    void fail();

    std::unique_ptr<RecordingFile> file_;
    int rate_;
    FrameRing ring_{ringFrames};
    std::thread writer_;
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> taken_{0};
    std::atomic<std::uint64_t> written_{0};
    std::atomic<std::uint64_t> dropped_{0};
    std::atomic<bool> failed_{false};
    std::string failure_; // set by the writer before failed_
    bool finished_ = false;
    bool closedWell_ = false;
};

} // namespace audio
