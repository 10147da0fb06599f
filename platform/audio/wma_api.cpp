// The WMA add-on's calls: the same streams, opened from ASF containers only.
#include "platform/audio/bass.h"
#include "platform/audio/engine.h"
#include "platform/audio/error.h"

namespace audio {
BOOL playStream(HSTREAM handle, BOOL flush, CallKind kind);
QWORD streamLength(HSTREAM handle, CallKind kind);
QWORD channelPosition(DWORD handle, CallKind kind);
BOOL setChannelPosition(DWORD handle, QWORD position, CallKind kind);
const char* streamTags(HSTREAM handle, DWORD kind, CallKind callKind);
BOOL freeStream(HSTREAM handle);
} // namespace audio

extern "C" {

HSTREAM BASS_WMA_StreamCreateFile(BOOL mem, const char* file, DWORD offset, DWORD length,
                                  DWORD flags) {
    std::lock_guard lock(audio::engine().mutex);
    if (mem || offset != 0 || length != 0)
        return audio::fail(audio::engine().initialised() ? BASS_ERROR_ILLPARAM : BASS_ERROR_INIT);
    return audio::engine().create(audio::Family::Wma, file, flags);
}

// Plays from the current position; also resumes a paused stream.
BOOL BASS_WMA_StreamPlay(HSTREAM handle, BOOL flush, DWORD) {
    return audio::playStream(handle, flush, audio::CallKind::Wma);
}

BOOL BASS_WMA_StreamFree(HSTREAM handle) {
    return audio::freeStream(handle);
}

QWORD BASS_WMA_StreamGetLength(HSTREAM handle) {
    return audio::streamLength(handle, audio::CallKind::Wma);
}

QWORD BASS_WMA_ChannelGetPosition(HSTREAM handle) {
    return audio::channelPosition(handle, audio::CallKind::Wma);
}

// `mode` 0 = a byte position.
BOOL BASS_WMA_ChannelSetPosition(HSTREAM handle, QWORD position, DWORD mode) {
    if (mode != 0) {
        std::lock_guard lock(audio::engine().mutex);
        if (!audio::engine().find(handle, audio::CallKind::Wma))
            return FALSE;
        return audio::fail(BASS_ERROR_ILLPARAM);
    }
    return audio::setChannelPosition(handle, position, audio::CallKind::Wma);
}

const char* BASS_WMA_StreamGetTags(HSTREAM handle, DWORD kind) {
    return audio::streamTags(handle, kind, audio::CallKind::Wma);
}

} // extern "C"
