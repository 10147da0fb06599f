#include "platform/audio/recorder.h"

#include <chrono>
#include <cstring>

namespace audio {
namespace {

// How long the writer sleeps when the ring is empty: a few periods.
constexpr auto writerNap = std::chrono::milliseconds(20);

} // namespace

Recorder::Recorder(std::unique_ptr<RecordingFile> file, int rate)
    : file_(std::move(file)), rate_(rate) {
    writer_ = std::thread([this] { run(); });
}

void Recorder::push(const std::int16_t* samples, std::size_t frames) {
    const std::size_t stored = ring_.produceInto(frames, [&](std::int16_t* to, std::size_t room) {
        std::memcpy(to, samples, room * 4);
        samples += room * 2;
        return room;
    });
    taken_.fetch_add(frames, std::memory_order_relaxed);
    if (stored < frames)
        dropped_.fetch_add(frames - stored, std::memory_order_relaxed);
}

void Recorder::run() {
    while (!stopping_.load(std::memory_order_acquire)) {
        if (!drain())
            return;
        std::this_thread::sleep_for(writerNap);
    }
    drain();
}

bool Recorder::drain() {
    if (failed())
        return false;
    bool good = true;
    while (good && ring_.readable() > 0) {
        ring_.consumeFrom(ring_.readable(),
                          [&](const std::int16_t* samples, std::size_t count, std::size_t) {
                              if (good && file_->write(samples, count))
                                  written_.fetch_add(count, std::memory_order_relaxed);
                              else
                                  good = false;
                          });
    }
    if (!good)
        fail();
    return good;
}

void Recorder::fail() {
    file_->close();
    failure_ = file_->failure();
    failed_.store(true, std::memory_order_release);
}

bool Recorder::finish() {
    if (finished_)
        return closedWell_;
    finished_ = true;
    stopping_.store(true, std::memory_order_release);
    if (writer_.joinable())
        writer_.join();
    if (!failed()) {
        if (!file_->close())
            fail();
    }
    closedWell_ = !failed() && framesDropped() == 0;
    return closedWell_;
}

} // namespace audio
