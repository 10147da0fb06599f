#pragma once
// A JACK client for the tests that records what the engine's PortAudio
// output sends: two input ports connected to the engine's output ports, the
// samples of every period kept with the time they reached the recorder.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

typedef struct _jack_client jack_client_t;
typedef struct _jack_port jack_port_t;

namespace audio_test {

class JackRecorder {
public:
    // Opens a client on the server `server`, room for `seconds` of sound.
    JackRecorder(const std::string& server, double seconds);
    ~JackRecorder();
    JackRecorder(const JackRecorder&) = delete;
    JackRecorder& operator=(const JackRecorder&) = delete;

    bool open() const { return client_ != nullptr; }
    // Connects the engine's output ports (client "Vorlan") whose names start
    // with `ports` to ours; false when they are not there.
    bool connectToEngine(const std::string& ports = "out_");
    // Recording runs between start() and stop(); stop() waits for the
    // period in progress.
    void start();
    void stop();

    int rate() const;
    int period() const;
    // The latency from the playback ports to the listener, frames.
    int playbackLatency() const;

    // After stop(): frames recorded, interleaved stereo, full scale 1.0.
    std::size_t frames() const { return frames_.load(); }
    const std::vector<float>& samples() const { return samples_; }
    // When the period holding recorded frame `index` reached the recorder,
    // seconds on the monotonic clock (std::chrono::steady_clock).
    double arrival(std::size_t index) const;
    // Underruns (xruns) the server reported since the client opened.
    std::uint64_t xruns() const { return xruns_.load(); }
    // Recorded frame `index` of channel `channel` as 16-bit (exact for
    // samples that came from 16-bit).
    int sample16(std::size_t index, int channel) const;

private:
    static int process(std::uint32_t frames, void* self);
    static int xrun(void* self);
    std::size_t cycleOf(std::size_t index) const;

    jack_client_t* client_ = nullptr;
    jack_port_t* ports_[2] = {nullptr, nullptr};
    std::vector<float> samples_;
    std::vector<std::size_t> cycleFirst_; // its first recorded frame
    std::vector<double> cycleArrivals_;   // when it reached the recorder
    std::atomic<bool> recording_{false};
    std::atomic<bool> inCycle_{false};
    std::atomic<std::size_t> frames_{0};
    std::atomic<std::size_t> cycles_{0};
    std::atomic<std::uint64_t> xruns_{0};
};

} // namespace audio_test
