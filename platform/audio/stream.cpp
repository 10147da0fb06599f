#include "platform/audio/stream.h"

#include "platform/audio/sample_math.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <samplerate.h>

namespace audio {
namespace {

// Frames the decoder hands over per step (worker or offline fill).
constexpr std::size_t decodeChunkFrames = 2048;
// Input frames converted for the resampler per refill.
constexpr std::size_t resampleInputFrames = 1024;
// The level window, in seconds.
constexpr double levelWindowSeconds = 0.020;
// Extra input the resampler may hold back beyond the ratio.
constexpr std::size_t resamplerMargin = 256;
// Key lock: stretched frames kept ahead of the output (at 44.1 kHz ~70 ms:
// a tempo change is heard soon, and a worker held up by a busy machine for
// a few periods does not leave the output dry), and the room for them.
constexpr std::size_t stretchAheadFrames = 3072;
constexpr std::size_t stretchedCapacity = 4096;

// A peak in 16-bit units to the level scale 0..128.
std::uint32_t peakToLevel(float peak) {
    return static_cast<std::uint32_t>(std::clamp(std::lround(peak / 256.0f), 0L, 128L));
}

} // namespace

Stream::Stream(Family family, std::unique_ptr<Decoder> decoder)
    : family_(family), decoder_(std::move(decoder)) {}

Stream::~Stream() {
    stopWorker_.store(true);
    wakeWorker();
    if (worker_.joinable())
        worker_.join();
    if (resampler_)
        src_delete(resampler_);
}

bool Stream::activate(double bufferSeconds, int outputRate) {
    if (active_)
        return true;
    if (!decoder_->activate())
        return false;
    int error = 0;
    resampler_ = src_new(SRC_SINC_FASTEST, 2, &error);
    if (!resampler_)
        return false;
    outputRate_ = outputRate;
    const auto ringFrames = static_cast<std::size_t>(std::ceil(bufferSeconds * sampleRate()));
    ring_ = std::make_unique<FrameRing>(std::max<std::size_t>(ringFrames, 4 * maxChunkFrames));
    in16_.assign(resampleInputFrames * 2, 0);
    inFloat_.assign(resampleInputFrames * 2, 0.0f);
    out_.assign(maxChunkFrames * 2, 0.0f);
    rate_.store(sampleRate());
    active_ = true;
    return true;
}

void Stream::makeExact() {
    if (!active_ || decoder_->exact())
        return;
    const Decoder::PacketScan scan = decoder_->scanPackets();
    std::lock_guard lock(decodeMutex_);
    decoder_->applyScan(scan);
}

void Stream::startWorker() {
    if (!active_ || worker_.joinable())
        return;
    worker_ = std::thread([this] { workerLoop(); });
}

// The worker fills the ring whole, then sleeps until the output has used a
// quarter of it (a few wake-ups a second instead of a poll), unless a play
// or a seek wakes it first. The decode lock is taken a chunk at a time, so a
// seek from the user-interface thread never waits for a whole refill.
void Stream::workerLoop() {
    while (!stopWorker_.load()) {
        for (;;) {
            std::lock_guard lock(decodeMutex_);
            if (stopWorker_.load())
                break;
            if (keyLock() != KeyLockMode::Off && state() == PlayState::Playing)
                stretchAhead(stretchAheadFrames);
            if (ring_->writable() < decodeChunkFrames / 2 || decodedEnd_.load() ||
                decodeChunk() == 0)
                break;
        }
        const auto wait =
            keyLock() == KeyLockMode::Off ? refillWait() : std::min(refillWait(), stretchWait());
        std::unique_lock lock(wakeMutex_);
        wake_.wait_for(lock, wait, [this] { return wakeRequested_ || stopWorker_.load(); });
        wakeRequested_ = false;
    }
}

std::chrono::microseconds Stream::refillWait() const {
    using namespace std::chrono_literals;
    if (state() != PlayState::Playing || decodedEnd_.load())
        return 250ms; // nothing is being used up; a play or a seek wakes the worker
    const std::size_t quarter = ring_->capacity() / 4;
    const std::size_t writable = ring_->writable();
    const std::size_t frames = quarter > writable ? quarter - writable : 0;
    // Source frames the output takes a second at the stream's current rate.
    const double perSecond = std::max(rate_.load(), 1);
    const auto wait =
        std::chrono::microseconds(static_cast<std::int64_t>(1e6 * frames / perSecond));
    return std::clamp<std::chrono::microseconds>(wait, 2ms, 250ms);
}

// The output takes stretched frames at the file's rate; the worker comes back
// when half of those kept ahead are used.
std::chrono::microseconds Stream::stretchWait() const {
    using namespace std::chrono_literals;
    if (state() != PlayState::Playing || stretchedEnd_.load())
        return 250ms;
    const std::size_t readable = stretched_->readable();
    const std::size_t spare =
        readable > stretchAheadFrames / 2 ? readable - stretchAheadFrames / 2 : 0;
    const auto wait = std::chrono::microseconds(
        static_cast<std::int64_t>(1e6 * static_cast<double>(spare) / sampleRate()));
    return std::clamp<std::chrono::microseconds>(wait, 1ms, 10ms);
}

bool Stream::stretchAhead(std::size_t frames) {
    if (!stretch_ || stretchedEnd_.load())
        return false;
    const std::size_t before = stretched_->readable();
    const double tempo = static_cast<double>(rate_.load()) / sampleRate();
    if (stretch_->fill(*ring_, *stretched_, frames, tempo, decodedEnd_.load()))
        stretchedEnd_.store(true);
    return stretched_->readable() > before || stretchedEnd_.load();
}

void Stream::prebufferStretched(std::size_t frames) {
    frames = std::min(frames, stretched_->capacity());
    while (stretched_->readable() < frames && !stretchedEnd_.load()) {
        const bool stretched = stretchAhead(frames);
        const bool decoded = decodeChunk() > 0;
        if (!stretched && !decoded)
            break;
    }
}

void Stream::wakeWorker() {
    {
        std::lock_guard lock(wakeMutex_);
        wakeRequested_ = true;
    }
    wake_.notify_one();
}

void Stream::setState(PlayState state) {
    state_.store(static_cast<int>(state));
    if (state == PlayState::Playing)
        wakeWorker();
}

std::size_t Stream::decodeChunk() {
    const std::size_t room = std::min(ring_->writable(), decodeChunkFrames);
    if (room == 0 || decodedEnd_.load())
        return 0;
    const std::size_t got = ring_->produceInto(room, [this](std::int16_t* out, std::size_t frames) {
        return decoder_->read(out, frames);
    });
    if (got < room) {
        endFrame_.store(decoder_->nextFrame());
        decodedEnd_.store(true);
    }
    return got;
}

void Stream::prebuffer(std::size_t frames) {
    std::lock_guard lock(decodeMutex_);
    frames = std::min(frames, ring_->capacity());
    while (ring_->readable() < frames && !decodedEnd_.load())
        if (decodeChunk() == 0)
            break;
    if (keyLock() != KeyLockMode::Off)
        prebufferStretched(stretchAheadFrames);
}

void Stream::fillFor(std::size_t frames) {
    if (!active_ || hold_.load() || state() != PlayState::Playing)
        return;
    const double perOutput = static_cast<double>(rate_.load()) / outputRate_;
    const auto needed = static_cast<std::size_t>(std::ceil(frames * perOutput)) + resamplerMargin;
    if (keyLock() == KeyLockMode::Off) {
        prebuffer(needed);
        return;
    }
    const double stretchedPerOutput = static_cast<double>(sampleRate()) / outputRate_;
    std::lock_guard lock(decodeMutex_);
    prebufferStretched(static_cast<std::size_t>(std::ceil(frames * stretchedPerOutput)) +
                       resamplerMargin);
}

void Stream::seekHeld(std::int64_t frame) {
    std::lock_guard lock(decodeMutex_);
    restartAt(frame, false);
}

void Stream::switchKeyLock(KeyLockMode mode) {
    std::lock_guard lock(decodeMutex_);
    if (mode != KeyLockMode::Off && (!stretch_ || stretch_->mode() != mode)) {
        stretch_ = std::make_unique<TimeStretch>(sampleRate(), mode);
        if (!stretched_)
            stretched_ = std::make_unique<FrameRing>(stretchedCapacity);
    }
    keyLock_.store(static_cast<int>(mode));
    // On from the frame rendered last: what the device still holds is heard first.
    restartAt(positionTicks_.load() / outputRate_, true);
}

void Stream::restartAt(std::int64_t frame, bool keepPosition) {
    decoder_->seek(frame);
    ring_->reset();
    decodedEnd_.store(false);
    endFrame_.store(0);
    src_reset(resampler_);
    resampling_ = false;
    inOffset_ = inAvailable_ = 0;
    ended_.store(false);
    if (!keepPosition) {
        levels_.clear();
        positionTicks_.store(frame * outputRate_);
        clock_.restart(frame * outputRate_);
    }
    // A little audio at once, so that the output does not run dry after a seek.
    const std::size_t prefill = std::min<std::size_t>(ring_->capacity(), 2 * maxChunkFrames);
    while (ring_->readable() < prefill && !decodedEnd_.load())
        if (decodeChunk() == 0)
            break;
    if (stretch_) {
        stretch_->reset();
        stretched_->reset();
        stretchedEnd_.store(false);
        if (keyLock() != KeyLockMode::Off)
            prebufferStretched(stretchAheadFrames);
    }
    wakeWorker();
}

void Stream::markPlayStart() {
    if (state() != PlayState::Playing)
        clock_.setFloor(positionTicks_.load());
}

std::int64_t Stream::positionFrames(std::optional<double> now) const {
    const std::int64_t ticks = now ? clock_.ticksAt(*now) : positionTicks_.load();
    std::int64_t frames = ticks / outputRate_;
    if (active_ && lengthFrames() > 0)
        frames = std::min(frames, lengthFrames());
    return std::max<std::int64_t>(frames, 0);
}

std::uint32_t Stream::level(std::optional<double> now) const {
    if (state() != PlayState::Playing)
        return 0;
    if (now)
        return clock_.peaksAt(*now, levelWindowSeconds);
    return levels_.peak(static_cast<std::uint32_t>(levelWindowSeconds * outputRate_));
}

std::size_t Stream::resample(std::size_t frames, double ratio, FrameRing& source,
                             bool sourceEnded) {
    std::size_t produced = 0;
    while (produced < frames) {
        if (inAvailable_ == 0) {
            const std::size_t got = source.read(in16_.data(), resampleInputFrames);
            for (std::size_t i = 0; i < got * 2; ++i)
                inFloat_[i] = static_cast<float>(in16_[i]);
            inOffset_ = 0;
            inAvailable_ = got;
        }
        const bool endOfInput = inAvailable_ == 0 && sourceEnded && source.readable() == 0;
        if (inAvailable_ == 0 && !endOfInput)
            break; // the decoder is behind
        SRC_DATA data{};
        data.data_in = inFloat_.data() + inOffset_ * 2;
        data.input_frames = static_cast<long>(inAvailable_);
        data.data_out = out_.data() + produced * 2;
        data.output_frames = static_cast<long>(frames - produced);
        data.end_of_input = endOfInput ? 1 : 0;
        data.src_ratio = ratio;
        if (src_process(resampler_, &data) != 0)
            break;
        inOffset_ += static_cast<std::size_t>(data.input_frames_used);
        inAvailable_ -= static_cast<std::size_t>(data.input_frames_used);
        produced += static_cast<std::size_t>(data.output_frames_gen);
        if (data.input_frames_used == 0 && data.output_frames_gen == 0)
            break;
    }
    return produced;
}

void Stream::render(float* mix, std::size_t frames, double audibleAt, float* cue) {
    if (hold_.load() || state() != PlayState::Playing || !active_)
        return;
    const int rate = rate_.load();
    const std::int64_t startTicks = positionTicks_.load();
    // Gains: volume 0..100 linear; pan as a balance that lowers one side.
    const float volume = volume_.load() / 100.0f;
    const int pan = pan_.load();
    const float targetLeft = volume * (pan > 0 ? 1.0f - pan / 100.0f : 1.0f);
    const float targetRight = volume * (pan < 0 ? 1.0f + pan / 100.0f : 1.0f);
    const bool steadyGains = targetLeft == gainLeft_ && targetRight == gainRight_;
    if (!prelisten_.load(std::memory_order_relaxed))
        cue = nullptr;

    std::size_t produced = 0;
    std::pair<float, float> peak{0.0f, 0.0f};
    // Key lock: the worker stretched the frames to the tempo at the file's
    // rate, so they only need the file rate converted to the output rate.
    const bool keyLocked = keyLock() != KeyLockMode::Off;
    FrameRing& source = keyLocked ? *stretched_ : *ring_;
    const bool sourceEnded = keyLocked ? stretchedEnd_.load() : decodedEnd_.load();
    const int sourceRate = keyLocked ? sampleRate() : rate;
    if (!resampling_ && sourceRate == outputRate_ && sampleRate() == outputRate_) {
        // The file's own rate: straight from the ring into the mix.
        produced = source.consumeFrom(
            frames, [&](const std::int16_t* in, std::size_t count, std::size_t offset) {
                if (steadyGains) {
                    addSamples(in, count, mix + offset * 2, targetLeft, targetRight, peak);
                    if (cue) {
                        std::pair<float, float> unused{0.0f, 0.0f};
                        addSamples(in, count, cue + offset * 2, 1.0f, 1.0f, unused);
                    }
                    return;
                }
                float* out = out_.data() + offset * 2;
                for (std::size_t i = 0; i < count * 2; ++i)
                    out[i] = static_cast<float>(in[i]);
            });
        positionTicks_.fetch_add(static_cast<std::int64_t>(produced) * rate);
        if (!steadyGains) {
            peak = stereoPeaks(out_.data(), produced);
            mixWithGains(mix, produced, targetLeft, targetRight);
            addToCue(cue, produced);
        }
    } else {
        resampling_ = true;
        const double ratio =
            std::clamp(static_cast<double>(outputRate_) / sourceRate, 1.0 / 256, 256.0);
        produced = resample(frames, ratio, source, sourceEnded);
        positionTicks_.fetch_add(static_cast<std::int64_t>(produced) * rate);
        peak = stereoPeaks(out_.data(), produced);
        mixWithGains(mix, produced, targetLeft, targetRight);
        addToCue(cue, produced);
    }
    const auto [peakLeft, peakRight] = peak;
    const std::uint32_t left = peakToLevel(peakLeft), right = peakToLevel(peakRight);
    levels_.push(static_cast<std::uint32_t>(frames), left, right);

    if (produced < frames) {
        const bool ended = keyLocked ? stretchedEnd_.load() : decodedEnd_.load();
        const bool drained = inAvailable_ == 0 && ended && source.readable() == 0;
        finishIfDrained(drained);
    }
    if (audibleAt >= 0) {
        AudibleClock::Chunk chunk;
        chunk.audibleAt = audibleAt;
        chunk.seconds = static_cast<double>(frames) / outputRate_;
        chunk.startTicks = startTicks;
        chunk.endTicks = positionTicks_.load();
        chunk.ticksPerSecond = static_cast<double>(rate) * outputRate_;
        chunk.peaks = left | (right << 16);
        clock_.record(chunk);
    }
}

// Adds `out_` into `mix` with the channel gains, ramping from the previous
// gains to the new ones over this chunk so that changes do not click.
void Stream::mixWithGains(float* mix, std::size_t frames, float left, float right) {
    if (frames == 0)
        return;
    if (left == gainLeft_ && right == gainRight_) {
        for (std::size_t i = 0; i < frames; ++i) {
            mix[i * 2] += out_[i * 2] * left;
            mix[i * 2 + 1] += out_[i * 2 + 1] * right;
        }
        return;
    }
    const float stepLeft = (left - gainLeft_) / static_cast<float>(frames);
    const float stepRight = (right - gainRight_) / static_cast<float>(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const auto k = static_cast<float>(i + 1);
        mix[i * 2] += out_[i * 2] * (gainLeft_ + stepLeft * k);
        mix[i * 2 + 1] += out_[i * 2 + 1] * (gainRight_ + stepRight * k);
    }
    gainLeft_ = left;
    gainRight_ = right;
}

void Stream::addToCue(float* cue, std::size_t frames) const {
    if (!cue)
        return;
    for (std::size_t i = 0; i < frames * 2; ++i)
        cue[i] += out_[i];
}

void Stream::finishIfDrained(bool drained) {
    if (!drained) {
        underruns_.fetch_add(1);
        return;
    }
    positionTicks_.store(endFrame_.load() * outputRate_);
    ended_.store(true);
    int playing = static_cast<int>(PlayState::Playing);
    state_.compare_exchange_strong(playing, static_cast<int>(PlayState::Stopped));
}

} // namespace audio
