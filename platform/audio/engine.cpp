#include "platform/audio/engine.h"

#include "platform/audio/asf_attributes.h"
#include "platform/audio/devices.h"
#include "platform/audio/error.h"
#include "platform/audio/tags.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace audio {
namespace {

// Decode-ahead limits, seconds.
constexpr float minBufferSeconds = 0.1f;
constexpr float maxBufferSeconds = 5.0f;
// Largest handle value: callers hold handles in signed 32-bit numbers, and
// decode-only streams take the ones above (decode_streams.cpp).
constexpr DWORD lastHandle = 0x3FFFFFFF;

} // namespace

Engine& Engine::instance() {
    static Engine engine;
    return engine;
}

int Engine::init(int device, DWORD freq) {
    if (initialised())
        return BASS_ERROR_ALREADY;
    if (freq == 0)
        freq = 44100;
    if (freq < 8000 || freq > 192000)
        return BASS_ERROR_FREQ;
    if (device < -3)
        return BASS_ERROR_DEVICE;
    const int rate = static_cast<int>(freq);
    const OutputMode mode = outputModeFromEnvironment();
    if (mode == OutputMode::Offline || device == -3) {
        if (const int code = std::exchange(pendingInitFailure_, 0))
            return code;
        auto offline = std::make_unique<OfflineOutput>(rate);
        offline->setPhones(phonesWanted_);
        output_ = std::move(offline);
    } else if (mode == OutputMode::Silent || device == BASS_DEVICE_SILENT) {
        output_ = std::make_unique<SilentOutput>(rate);
    } else if (device == BASS_DEVICE_DEFAULT && !portAudioHasOutput()) {
        output_ = std::make_unique<SilentOutput>(rate);
    } else {
        if (device >= 0 && static_cast<std::size_t>(device) + 1 >= deviceDescriptions().size())
            return BASS_ERROR_DEVICE;
        int error = BASS_OK;
        output_ = openPortAudioOutput(device, rate, error, phonesWanted_, phonesDevice_);
        if (!output_)
            return error;
    }
    started_ = false;
    return BASS_OK;
}

int Engine::start() {
    if (!initialised())
        return BASS_ERROR_INIT;
    if (output_->offline() && pendingStartFailure_ != 0) {
        const int code = pendingStartFailure_;
        pendingStartFailure_ = 0;
        return code;
    }
    const int error = output_->start();
    if (error == BASS_OK)
        started_ = true;
    return error;
}

int Engine::stop() {
    if (!initialised())
        return BASS_ERROR_INIT;
    output_->stop();
    started_ = false;
    return BASS_OK;
}

void Engine::free() {
    if (!initialised())
        return;
    stopRecording();
    output_->stop();
    for (auto& [handle, entry] : streams_) {
        entry.stream->hold();
        output_->mixer().remove(entry.stream.get());
        retiredUnderruns_ += entry.stream->underruns();
    }
    streams_.clear();
    output_.reset();
    started_ = false;
}

float Engine::setBufferLength(float seconds) {
    if (std::isfinite(seconds))
        bufferSeconds_ = std::clamp(seconds, minBufferSeconds, maxBufferSeconds);
    return bufferSeconds_;
}

HSTREAM Engine::create(Family family, const char* path, DWORD flags) {
    if (!initialised())
        return fail(BASS_ERROR_INIT);
    if (!path)
        return fail(BASS_ERROR_FILEOPEN);
    int error = BASS_OK;
    std::unique_ptr<Decoder> decoder = Decoder::open(path, family, error);
    if (!decoder)
        return fail(error);
    StreamEntry entry;
    entry.tags = family == Family::Wma ? std::optional(wmaTagLines(readAsfAttributes(path)))
                                       : readId3v1Block(path);
    entry.stream = std::make_unique<Stream>(family, std::move(decoder));
    if (flags & BASS_MP3_SETPOS) {
        if (!entry.stream->activate(bufferSeconds_, output_->mixer().outputRate()))
            return fail(BASS_ERROR_FORMAT);
        entry.stream->makeExact();
    }
    while (streams_.count(nextHandle_) || nextHandle_ == 0)
        nextHandle_ = nextHandle_ >= lastHandle ? 1 : nextHandle_ + 1;
    const HSTREAM handle = nextHandle_;
    nextHandle_ = nextHandle_ >= lastHandle ? 1 : nextHandle_ + 1;
    streams_.emplace(handle, std::move(entry));
    succeed();
    return handle;
}

StreamEntry* Engine::find(DWORD handle, CallKind kind) {
    if (!initialised()) {
        fail(BASS_ERROR_INIT);
        return nullptr;
    }
    const auto found = streams_.find(handle);
    if (found == streams_.end() ||
        (kind == CallKind::Main && found->second.stream->family() != Family::Main) ||
        (kind == CallKind::Wma && found->second.stream->family() != Family::Wma)) {
        fail(BASS_ERROR_HANDLE);
        return nullptr;
    }
    return &found->second;
}

Stream* Engine::activeStream(DWORD handle, CallKind kind) {
    StreamEntry* entry = find(handle, kind);
    if (!entry)
        return nullptr;
    if (!entry->stream->activate(bufferSeconds_, output_->mixer().outputRate())) {
        fail(BASS_ERROR_FORMAT);
        return nullptr;
    }
    return entry->stream.get();
}

bool Engine::play(Stream& stream, bool restart) {
    if (!started())
        return fail(BASS_ERROR_START);
    if (!output_->mixer().add(&stream))
        return fail(BASS_ERROR_NOCHAN);
    if (restart)
        seek(stream, 0);
    stream.markPlayStart();
    // A few periods decoded at once, so that the output does not start dry.
    stream.prebuffer(2 * Stream::maxChunkFrames);
    if (output_->realTime())
        stream.startWorker();
    stream.setState(PlayState::Playing);
    return succeed();
}

void Engine::seek(Stream& stream, std::int64_t frame) {
    Mixer& mixer = output_->mixer();
    stream.seek(frame, [&mixer] { mixer.waitIdle(); });
}

void Engine::setKeyLock(Stream& stream, KeyLockMode mode) {
    Mixer& mixer = output_->mixer();
    stream.setKeyLock(mode, [&mixer] { mixer.waitIdle(); });
}

bool Engine::release(DWORD handle) {
    StreamEntry* entry = find(handle, CallKind::Any);
    if (!entry)
        return false;
    entry->stream->hold();
    output_->mixer().remove(entry->stream.get());
    retiredUnderruns_ += entry->stream->underruns();
    streams_.erase(handle);
    return succeed();
}

std::uint64_t Engine::streamUnderruns() const {
    std::uint64_t total = retiredUnderruns_;
    for (const auto& [handle, entry] : streams_)
        total += entry.stream->underruns();
    return total;
}

} // namespace audio
