#pragma once
// Where the mix goes: a PortAudio device, a silent output clocked in real
// time, or the offline output that renders only when a test asks.
#include "platform/audio/mixer.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace audio {

// Callback time histogram in percent of the period (0..199, last bucket = more).
class CallbackTimes {
public:
    void record(double percent, bool late);
    // A callback that began at `begin` and ends now, against a period of
    // `periodMicroseconds` (output thread; no locks, no allocation).
    void recordSince(std::chrono::steady_clock::time_point begin, double periodMicroseconds,
                     bool late) {
        const double spent =
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin)
                .count();
        record(100.0 * spent / periodMicroseconds, late);
    }
    void reset();
    std::uint64_t callbacks() const { return callbacks_.load(); }
    std::uint64_t late() const { return late_.load(); }
    double percentile(double fraction) const;
    double maximum() const { return max_.load(); }

private:
    std::array<std::atomic<std::uint64_t>, 200> buckets_{};
    std::atomic<std::uint64_t> callbacks_{0};
    std::atomic<std::uint64_t> late_{0};
    std::atomic<double> max_{0};
    // The output thread updates these without ever taking a lock.
    static_assert(std::atomic<double>::is_always_lock_free);
    static_assert(std::atomic<std::uint64_t>::is_always_lock_free);
};

class Output {
public:
    explicit Output(int rate) : mixer_(rate) {}
    virtual ~Output() = default;
    Mixer& mixer() { return mixer_; }
    // Starts the output; 0 or an error code.
    virtual int start() = 0;
    virtual void stop() = 0;
    // True when streams must decode ahead on worker threads.
    virtual bool realTime() const = 0;
    virtual bool offline() const { return false; }
    // True when a started output has stopped by itself (its device went away).
    virtual bool lost() const { return false; }
    virtual double periodMicroseconds() const = 0;
    // The time the streams' listener clocks are read at (monotonic seconds),
    // on outputs that play through a device with its own latency; empty on
    // outputs where the rendered position is the one heard.
    virtual std::optional<double> audibleNow() const { return std::nullopt; }
    // True when the output also plays the headphone mix (its own pair of channels).
    virtual bool hasPhones() const { return false; }
    CallbackTimes& times() { return times_; }

protected:
    Mixer mixer_;
    CallbackTimes times_;
};

class OfflineOutput final : public Output {
public:
    using Output::Output;
    int start() override;
    void stop() override { running_ = false; }
    bool realTime() const override { return false; }
    bool offline() const override { return true; }
    double periodMicroseconds() const override { return 0; }
    bool running() const { return running_; }
    void failNextStart(int code) { failNextStart_ = code; }
    // Renders `frames` frames (decoding synchronously as needed); with
    // `phones`, the headphone mix of the same frames goes there.
    void render(std::int16_t* out, std::size_t frames, std::int16_t* phones = nullptr);
    // The offline output plays a headphone mix when asked for one at init.
    void setPhones(bool on) { phones_ = on; }
    bool hasPhones() const override { return phones_; }

private:
    bool phones_ = false;
    bool running_ = false;
    int failNextStart_ = 0;
};

class SilentOutput final : public Output {
public:
    static constexpr std::size_t periodFrames = 512;
    using Output::Output;
    ~SilentOutput() override { stop(); }
    int start() override;
    void stop() override;
    bool realTime() const override { return true; }
    double periodMicroseconds() const override;

private:
    void run();
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::vector<std::int16_t> buffer_;
};

// A PortAudio output stream on output device `device` (-1 = PortAudio's
// default); a device of PortAudio's JACK host plays through the JACK output. Null (with `error`
// set) when it cannot be opened.
// With `phones`, an output on JACK also gets the headphone pair; elsewhere
// output device `phonesDevice` (numbered as `device`; -1 none) plays the
// headphone mix, or without one, a device of four channels or more plays it
// on channels 3-4.
std::unique_ptr<Output> openPortAudioOutput(int device, int rate, int& error, bool phones = false,
                                            int phonesDevice = -1);
// The output on the running JACK server, connected to the playback ports of
// client `target` when it starts. Null (with `error` set) when it cannot open.
// With `phones`, the client also gets the ports "phones_l" and "phones_r"
// for the headphone mix, connected to the target's third and fourth
// playback ports when it has them.
std::unique_ptr<Output> openJackOutput(const std::string& target, int rate, int& error,
                                       bool phones = false);
// True when PortAudio reports at least one output device.
bool portAudioHasOutput();

} // namespace audio
