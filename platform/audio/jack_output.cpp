// The output on a JACK server, through libjack itself: a client "Vorlan"
// with two output ports connected to the device PortAudio's JACK host lists
// (a client whose input ports are the playback ports, "system" on most
// servers). libjack rather than PortAudio's JACK host, because that host can
// neither close nor be restarted once its server has gone away; a client of
// our own closes at once and a new one finds the server when it is back.
#include "platform/audio/audible_clock.h"
#include "platform/audio/bass.h"
#include "platform/audio/devices.h"
#include "platform/audio/jack_client_hook.h"
#include "platform/audio/output.h"
#include "platform/audio/rate_converter.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <jack/jack.h>
#include <memory>
#include <string>
#include <vector>

namespace audio {
namespace {

// Frames rendered in one piece; a longer JACK period is rendered in pieces.
constexpr std::size_t pieceFrames = 2048;

class JackOutput final : public Output {
public:
    explicit JackOutput(int rate) : Output(rate) {}
    ~JackOutput() override {
        if (!client_)
            return;
        QuietConsole quiet;
        if (!lost())
            jack_deactivate(client_);
        jackClientClosing(client_, lost());
        jack_client_close(client_);
    }

    // Opens the client and its ports; `target` is the client whose playback
    // ports the output is connected to when it starts.
    int open(const std::string& target, bool phones) {
        QuietConsole quiet;
        target_ = target;
        jack_status_t status{};
        client_ = jack_client_open("Vorlan", JackNoStartServer, &status);
        if (!client_)
            return BASS_ERROR_DRIVER;
        deviceRate_ = static_cast<int>(jack_get_sample_rate(client_));
        if (deviceRate_ <= 0)
            return BASS_ERROR_DRIVER;
        for (int channel = 0; channel < 2; ++channel) {
            const std::string name = "out_" + std::to_string(channel);
            ports_[channel] = jack_port_register(client_, name.c_str(), JACK_DEFAULT_AUDIO_TYPE,
                                                 JackPortIsOutput, 0);
            if (!ports_[channel])
                return BASS_ERROR_DRIVER;
        }
        if (phones && openPhones() != BASS_OK)
            return BASS_ERROR_DRIVER;
        if (deviceRate_ != mixer_.outputRate()) {
            converter_ = std::make_unique<RateConverter>(mixer_.outputRate(), deviceRate_,
                                                         phonesPorts_[0] != nullptr);
            if (!converter_->ready())
                return BASS_ERROR_MEM;
        }
        pcm_.assign(pieceFrames * 2, 0);
        floats_.assign(pieceFrames * 2, 0.0f);
        phonesFloats_.assign(pieceFrames * 2, 0.0f);
        jack_set_process_callback(client_, &JackOutput::process, this);
        jack_set_xrun_callback(client_, &JackOutput::xrun, this);
        jack_set_latency_callback(client_, &JackOutput::latency, this);
        jack_on_shutdown(client_, &JackOutput::shutdown, this);
        jackClientOpened(client_);
        return BASS_OK;
    }

    int start() override {
        if (lost())
            return BASS_ERROR_DRIVER;
        if (running_)
            return BASS_OK;
        QuietConsole quiet;
        if (jack_activate(client_) != 0)
            return BASS_ERROR_DRIVER;
        running_ = true;
        connectToTarget();
        connectPhones();
        readLatency();
        return BASS_OK;
    }
    void stop() override {
        if (lost() || !running_)
            return;
        QuietConsole quiet;
        jack_deactivate(client_);
        running_ = false;
    }
    bool lost() const override { return gone_.load(std::memory_order_acquire); }
    bool realTime() const override { return true; }
    double periodMicroseconds() const override {
        const std::uint32_t frames = periodFrames_.load(std::memory_order_relaxed);
        return 1e6 * static_cast<double>(frames ? frames : 256) / deviceRate_;
    }
    std::optional<double> audibleNow() const override { return steadySeconds(); }
    bool hasPhones() const override { return phonesPorts_[0] != nullptr; }

private:
    // Our two ports to the target's first two playback ports (a mono target
    // takes both channels on its one port).
    void connectToTarget() {
        const std::string pattern = "^" + target_ + ":";
        const char** found =
            jack_get_ports(client_, pattern.c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput);
        if (found && found[0]) {
            const std::array<const char*, 2> to{found[0], found[1] ? found[1] : found[0]};
            for (int channel = 0; channel < 2; ++channel)
                jack_connect(client_, jack_port_name(ports_[channel]), to[channel]);
        }
        if (found)
            jack_free(found);
    }

    // The playback latency of our ports, in frames: how long a frame written
    // in a period takes to be heard. User-interface or JACK's own thread.
    void readLatency() {
        jack_latency_range_t range{};
        jack_port_get_latency_range(ports_[0], JackPlaybackLatency, &range);
        latencyFrames_.store(range.max, std::memory_order_relaxed);
    }

    // JACK's process thread (real-time: no locks, no allocation, no I/O).
    static int process(jack_nframes_t frames, void* self) {
        auto* out = static_cast<JackOutput*>(self);
        const auto begin = std::chrono::steady_clock::now();
        const double now = std::chrono::duration<double>(begin.time_since_epoch()).count();
        const double rate = out->deviceRate_;
        const double audibleAt = now + out->latencyFrames_.load(std::memory_order_relaxed) / rate;
        runJackClientHook(frames);
        auto* left = static_cast<float*>(jack_port_get_buffer(out->ports_[0], frames));
        auto* right = static_cast<float*>(jack_port_get_buffer(out->ports_[1], frames));
        std::array<float*, 2> phones{};
        if (out->phonesPorts_[0])
            for (int channel = 0; channel < 2; ++channel)
                phones[channel] =
                    static_cast<float*>(jack_port_get_buffer(out->phonesPorts_[channel], frames));
        for (std::size_t done = 0; done < frames;) {
            const std::size_t n = std::min<std::size_t>(pieceFrames, frames - done);
            out->renderPiece(left + done, right + done, n, audibleAt + done / rate,
                             phones[0] ? phones[0] + done : nullptr,
                             phones[1] ? phones[1] + done : nullptr);
            done += n;
        }
        out->periodFrames_.store(frames, std::memory_order_relaxed);
        out->times_.recordSince(begin, 1e6 * frames / rate,
                                out->xrunSeen_.exchange(false, std::memory_order_relaxed));
        return 0;
    }

    // `n` frames of the mix into the two port buffers, as 32-bit floats
    // (a 16-bit sample s becomes s / 32768).
    // The headphone ports (null without them) get the headphone mix.
    void renderPiece(float* left, float* right, std::size_t n, double audibleAt, float* phonesLeft,
                     float* phonesRight) {
        if (converter_) {
            converter_->fillPairs(floats_.data(), phonesLeft ? phonesFloats_.data() : nullptr, n,
                                  [this, audibleAt, phonesLeft](std::int16_t* block,
                                                                std::int16_t* phonesBlock,
                                                                std::size_t count, double after) {
                                      mixer_.render(block, count, audibleAt + after,
                                                    phonesLeft ? phonesBlock : nullptr);
                                  });
            for (std::size_t i = 0; i < n; ++i) {
                left[i] = floats_[i * 2];
                right[i] = floats_[i * 2 + 1];
            }
            if (phonesLeft)
                for (std::size_t i = 0; i < n; ++i) {
                    phonesLeft[i] = phonesFloats_[i * 2];
                    phonesRight[i] = phonesFloats_[i * 2 + 1];
                }
            return;
        }
        mixer_.render(pcm_.data(), n, audibleAt, phonesLeft ? phonesPcm_.data() : nullptr);
        constexpr float scale = 1.0f / 32768.0f;
        for (std::size_t i = 0; i < n; ++i) {
            left[i] = static_cast<float>(pcm_[i * 2]) * scale;
            right[i] = static_cast<float>(pcm_[i * 2 + 1]) * scale;
        }
        if (!phonesLeft)
            return;
        for (std::size_t i = 0; i < n; ++i) {
            phonesLeft[i] = static_cast<float>(phonesPcm_[i * 2]) * scale;
            phonesRight[i] = static_cast<float>(phonesPcm_[i * 2 + 1]) * scale;
        }
    }

    int openPhones() {
        const std::array<const char*, 2> names{"phones_l", "phones_r"};
        for (int channel = 0; channel < 2; ++channel) {
            phonesPorts_[channel] = jack_port_register(
                client_, names[channel], JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
            if (!phonesPorts_[channel])
                return BASS_ERROR_DRIVER;
        }
        phonesPcm_.assign(pieceFrames * 2, 0);
        return BASS_OK;
    }

    // The headphone ports to the target's third and fourth playback ports;
    // a target without them leaves the routing to the user.
    void connectPhones() {
        if (!phonesPorts_[0])
            return;
        const std::string pattern = "^" + target_ + ":";
        const char** found =
            jack_get_ports(client_, pattern.c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput);
        if (found && found[0] && found[1] && found[2] && found[3])
            for (int channel = 0; channel < 2; ++channel)
                jack_connect(client_, jack_port_name(phonesPorts_[channel]), found[2 + channel]);
        if (found)
            jack_free(found);
    }

    static int xrun(void* self) {
        static_cast<JackOutput*>(self)->xrunSeen_.store(true, std::memory_order_relaxed);
        return 0;
    }
    static void latency(jack_latency_callback_mode_t mode, void* self) {
        if (mode == JackPlaybackLatency)
            static_cast<JackOutput*>(self)->readLatency();
    }
    // The server went away: the client is not used again except to close it.
    static void shutdown(void* self) {
        static_cast<JackOutput*>(self)->gone_.store(true, std::memory_order_release);
    }

    jack_client_t* client_ = nullptr;
    std::array<jack_port_t*, 2> ports_{};
    std::array<jack_port_t*, 2> phonesPorts_{}; // null without the headphone output
    std::string target_;
    int deviceRate_ = 0;
    bool running_ = false;
    // Set before the client is activated; the process thread only uses them.
    std::unique_ptr<RateConverter> converter_;
    std::vector<std::int16_t> pcm_;
    std::vector<std::int16_t> phonesPcm_;
    std::vector<float> floats_;       // the converted main pair
    std::vector<float> phonesFloats_; // the converted headphone pair
    std::atomic<std::uint32_t> latencyFrames_{0};
    std::atomic<std::uint32_t> periodFrames_{0};
    std::atomic<bool> xrunSeen_{false};
    std::atomic<bool> gone_{false};
};

} // namespace

std::unique_ptr<Output> openJackOutput(const std::string& target, int rate, int& error,
                                       bool phones) {
    auto output = std::make_unique<JackOutput>(rate);
    error = output->open(target, phones);
    if (error != BASS_OK)
        return nullptr;
    return output;
}

} // namespace audio
