#include "tests/platform/audio/jack_recorder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <jack/jack.h>
#include <thread>

namespace audio_test {

JackRecorder::JackRecorder(const std::string& server, double seconds) {
    jack_status_t status{};
    client_ = jack_client_open("recorder",
                               static_cast<jack_options_t>(JackNoStartServer | JackServerName),
                               &status, server.c_str());
    if (!client_)
        return;
    const auto capacity = static_cast<std::size_t>(seconds * jack_get_sample_rate(client_));
    samples_.assign(capacity * 2, 0.0f);
    const std::size_t cycles =
        capacity / std::max<std::uint32_t>(1, jack_get_buffer_size(client_)) + 2;
    cycleFirst_.assign(cycles, 0);
    cycleArrivals_.assign(cycles, 0);
    ports_[0] = jack_port_register(client_, "in_0", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    ports_[1] = jack_port_register(client_, "in_1", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    jack_set_process_callback(client_, &JackRecorder::process, this);
    jack_set_xrun_callback(client_, &JackRecorder::xrun, this);
    if (!ports_[0] || !ports_[1] || jack_activate(client_) != 0) {
        jack_client_close(client_);
        client_ = nullptr;
    }
}

JackRecorder::~JackRecorder() {
    if (client_) {
        jack_deactivate(client_);
        jack_client_close(client_);
    }
}

bool JackRecorder::connectToEngine(const std::string& ports) {
    const std::string pattern = "^Vorlan[^:]*:" + ports;
    const char** found =
        jack_get_ports(client_, pattern.c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput);
    if (!found)
        return false;
    bool connected = found[0] && found[1];
    for (int channel = 0; connected && channel < 2; ++channel) {
        const int result = jack_connect(client_, found[channel], jack_port_name(ports_[channel]));
        connected = result == 0 || result == EEXIST;
    }
    jack_free(found);
    return connected;
}

void JackRecorder::start() {
    frames_.store(0);
    cycles_.store(0);
    recording_.store(true);
}

void JackRecorder::stop() {
    recording_.store(false);
    while (inCycle_.load())
        std::this_thread::yield();
}

// JACK's process thread: copies this period into the preallocated buffers.
int JackRecorder::process(std::uint32_t frames, void* self) {
    auto* recorder = static_cast<JackRecorder*>(self);
    recorder->inCycle_.store(true);
    if (recorder->recording_.load()) {
        const std::size_t first = recorder->frames_.load(std::memory_order_relaxed);
        const std::size_t cycle = recorder->cycles_.load(std::memory_order_relaxed);
        const std::size_t room = recorder->samples_.size() / 2 - first;
        const std::size_t n = std::min<std::size_t>(frames, room);
        if (n > 0 && cycle < recorder->cycleFirst_.size()) {
            const auto* left =
                static_cast<const float*>(jack_port_get_buffer(recorder->ports_[0], frames));
            const auto* right =
                static_cast<const float*>(jack_port_get_buffer(recorder->ports_[1], frames));
            float* out = recorder->samples_.data() + first * 2;
            for (std::size_t i = 0; i < n; ++i) {
                out[i * 2] = left[i];
                out[i * 2 + 1] = right[i];
            }
            recorder->cycleFirst_[cycle] = first;
            recorder->cycleArrivals_[cycle] =
                std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
                    .count();
            recorder->cycles_.store(cycle + 1, std::memory_order_release);
            recorder->frames_.store(first + n, std::memory_order_release);
        }
    }
    recorder->inCycle_.store(false);
    return 0;
}

int JackRecorder::xrun(void* self) {
    static_cast<JackRecorder*>(self)->xruns_.fetch_add(1);
    return 0;
}

int JackRecorder::rate() const {
    return static_cast<int>(jack_get_sample_rate(client_));
}

int JackRecorder::period() const {
    return static_cast<int>(jack_get_buffer_size(client_));
}

int JackRecorder::playbackLatency() const {
    jack_port_t* playback = jack_port_by_name(client_, "system:playback_1");
    if (!playback)
        return 0;
    jack_latency_range_t range{};
    jack_port_get_latency_range(playback, JackPlaybackLatency, &range);
    return static_cast<int>(range.max);
}

std::size_t JackRecorder::cycleOf(std::size_t index) const {
    const auto end = cycleFirst_.begin() + static_cast<std::ptrdiff_t>(cycles_.load());
    const auto after = std::upper_bound(cycleFirst_.begin(), end, index);
    return after == cycleFirst_.begin() ? 0
                                        : static_cast<std::size_t>(after - cycleFirst_.begin() - 1);
}

double JackRecorder::arrival(std::size_t index) const {
    return cycleArrivals_[cycleOf(index)];
}

int JackRecorder::sample16(std::size_t index, int channel) const {
    const float value = samples_[index * 2 + static_cast<std::size_t>(channel)] * 32768.0f;
    return static_cast<int>(std::lround(std::clamp(value, -32768.0f, 32767.0f)));
}

} // namespace audio_test
