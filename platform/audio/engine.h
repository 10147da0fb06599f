#pragma once
// The library's state: whether it is initialised and started, the output,
// and the open streams by handle. Calls reach it only through withEngine(),
// which holds its lock, so calls from several threads are serialised; the
// output thread never takes it.
#include "platform/audio/bass.h"
#include "platform/audio/output.h"
#include "platform/audio/recorder.h"
#include "platform/audio/stream.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace audio {

// Which calls a handle answers to: the main library's stream calls, the WMA
// add-on's, or either (channel calls).
enum class CallKind { Any, Main, Wma };

struct StreamEntry {
    std::unique_ptr<Stream> stream;
    std::optional<std::string> tags; // ID3v1 block or WMA lines
};

class Engine {
public:
    ~Engine() { free(); }

    int init(int device, DWORD freq);
    int start();
    int stop();
    void free();
    bool initialised() const { return output_ != nullptr; }
    Output* output() { return output_.get(); }

    float setBufferLength(float seconds);

    // A new stream on `path`; 0 with the error set on failure.
    HSTREAM create(Family family, const char* path, DWORD flags);
    // The stream behind `handle` for a call of `kind`, or null with error 8 or 5.
    StreamEntry* find(DWORD handle, CallKind kind);
    // As find(), and opened for decoding (error 6 when it cannot be).
    Stream* activeStream(DWORD handle, CallKind kind);
    bool play(Stream& stream, bool restart);
    void seek(Stream& stream, std::int64_t frame);
    void setKeyLock(Stream& stream, KeyLockMode mode);
    bool release(DWORD handle);
    void failNextInit(int code) { pendingInitFailure_ = code; }
    void failNextStart(int code) { pendingStartFailure_ = code; }
    // Started, and its device still there.
    bool started() const { return started_ && !output_->lost(); }
    // Times a playing stream had no decoded audio ready for the output,
    // freed streams included, since the library was loaded.
    std::uint64_t streamUnderruns() const;
    // The recording of the main output, null when none runs (recording_api.cpp).
    Recorder* recorder() { return recorder_.get(); }
    int startRecording(const std::string& path, RecordFormat format, std::string& error);
    // Whether the next init opens the headphone output too (headphones_api.cpp).
    void setPhonesWanted(bool wanted) { phonesWanted_ = wanted; }
    // The output device (numbered as BASS_Init's) the headphone mix goes to; -1 none.
    void setPhonesDevice(int device) { phonesDevice_ = device; }
    // Ends the recording (its file closed); true when it ended well.
    bool stopRecording(std::string* failure = nullptr);

private:
    template <typename Work> friend decltype(auto) withEngine(Work&& work);
    static Engine& instance();

    std::mutex mutex_;
    std::unique_ptr<Output> output_;
    bool started_ = false;
    float bufferSeconds_ = 0.5f;
    int pendingInitFailure_ = 0;
    int pendingStartFailure_ = 0;
    std::map<DWORD, StreamEntry> streams_;
    std::uint64_t retiredUnderruns_ = 0; // of the streams freed so far
    std::unique_ptr<Recorder> recorder_;
    bool phonesWanted_ = false;
    int phonesDevice_ = -1;
    DWORD nextHandle_ = 0x00010001;
};

// Runs `work(Engine&)` with the library's lock held and answers what it
// answers: the one way to the engine.
template <typename Work> decltype(auto) withEngine(Work&& work) {
    Engine& engine = Engine::instance();
    std::lock_guard lock(engine.mutex_);
    return work(engine);
}

} // namespace audio
