#include "platform/audio/decode_streams.h"

#include "platform/audio/engine.h"
#include "platform/audio/error.h"

#include <map>
#include <memory>
#include <mutex>

namespace audio {
namespace {

constexpr DWORD bytesPerFrame = 4;
constexpr DWORD failedData = static_cast<DWORD>(-1);
// Decode handles: 0x40000001..0x7FFFFFFF (the engine's stay below 0x40000000).
constexpr DWORD firstHandle = 0x40000001;
constexpr DWORD lastHandle = 0x7FFFFFFF;

struct DecodeStream {
    std::mutex mutex; // serialises the decoder
    std::unique_ptr<Decoder> decoder;
};

class DecodeStreams {
public:
    static DecodeStreams& instance() {
        static DecodeStreams streams;
        return streams;
    }

    HSTREAM add(std::unique_ptr<Decoder> decoder) {
        std::lock_guard lock(mutex_);
        while (streams_.count(next_))
            next_ = next_ >= lastHandle ? firstHandle : next_ + 1;
        const HSTREAM handle = next_;
        next_ = next_ >= lastHandle ? firstHandle : next_ + 1;
        auto stream = std::make_shared<DecodeStream>();
        stream->decoder = std::move(decoder);
        streams_.emplace(handle, std::move(stream));
        return handle;
    }
    // The stream, kept alive while the caller uses it; null with error 5.
    std::shared_ptr<DecodeStream> find(DWORD handle) {
        std::lock_guard lock(mutex_);
        const auto found = streams_.find(handle);
        if (found == streams_.end()) {
            fail(BASS_ERROR_HANDLE);
            return nullptr;
        }
        return found->second;
    }
    bool remove(DWORD handle) {
        std::lock_guard lock(mutex_);
        if (!streams_.erase(handle))
            return fail(BASS_ERROR_HANDLE);
        return succeed();
    }

private:
    std::mutex mutex_;
    std::map<DWORD, std::shared_ptr<DecodeStream>> streams_;
    DWORD next_ = firstHandle;
};

} // namespace

bool isDecodeHandle(DWORD handle) {
    return handle >= firstHandle && handle <= lastHandle;
}

HSTREAM createDecodeStream(Family family, const char* file, DWORD flags) {
    if (!withEngine([](Engine& engine) { return engine.initialised(); }))
        return fail(BASS_ERROR_INIT);
    if (!file)
        return fail(BASS_ERROR_FILEOPEN);
    int error = BASS_OK;
    std::unique_ptr<Decoder> decoder = Decoder::open(file, family, error);
    if (!decoder)
        return fail(error);
    if (!decoder->activate())
        return fail(BASS_ERROR_FORMAT);
    if (flags & BASS_MP3_SETPOS)
        decoder->applyScan(decoder->scanPackets());
    const HSTREAM handle = DecodeStreams::instance().add(std::move(decoder));
    succeed();
    return handle;
}

BOOL freeDecodeStream(HSTREAM handle) {
    return DecodeStreams::instance().remove(handle);
}

QWORD decodeStreamLength(HSTREAM handle) {
    const std::shared_ptr<DecodeStream> stream = DecodeStreams::instance().find(handle);
    if (!stream)
        return static_cast<QWORD>(-1);
    std::lock_guard lock(stream->mutex);
    succeed();
    return static_cast<QWORD>(stream->decoder->lengthFrames()) * bytesPerFrame;
}

DWORD decodeStreamRate(HSTREAM handle) {
    const std::shared_ptr<DecodeStream> stream = DecodeStreams::instance().find(handle);
    if (!stream)
        return 0;
    std::lock_guard lock(stream->mutex);
    succeed();
    return static_cast<DWORD>(stream->decoder->sampleRate());
}

} // namespace audio

extern "C" {

DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
    if (!audio::isDecodeHandle(handle)) {
        // A stream that plays to the output has no data to pull.
        const bool known = audio::withEngine([&](audio::Engine& engine) {
            return engine.find(handle, audio::CallKind::Any) != nullptr;
        });
        if (known)
            audio::fail(BASS_ERROR_NOTAVAIL);
        return audio::failedData;
    }
    const std::shared_ptr<audio::DecodeStream> stream =
        audio::DecodeStreams::instance().find(handle);
    if (!stream)
        return audio::failedData;
    if (!buffer) {
        audio::fail(BASS_ERROR_ILLPARAM);
        return audio::failedData;
    }
    std::lock_guard lock(stream->mutex);
    const std::size_t frames =
        stream->decoder->read(static_cast<std::int16_t*>(buffer), length / audio::bytesPerFrame);
    if (frames == 0 && length >= audio::bytesPerFrame) {
        audio::fail(BASS_ERROR_ENDED);
        return audio::failedData;
    }
    audio::succeed();
    return static_cast<DWORD>(frames) * audio::bytesPerFrame;
}

} // extern "C"
