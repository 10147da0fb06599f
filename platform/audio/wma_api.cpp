// The WMA add-on's calls: the same streams, opened from ASF containers only.
#include "platform/audio/bass.h"
#include "platform/audio/engine.h"
#include "platform/audio/error.h"
#include "platform/audio/stream_calls.h"

extern "C" {

HSTREAM BASS_WMA_StreamCreateFile(BOOL mem, const char* file, DWORD offset, DWORD length,
                                  DWORD flags) {
    return audio::createStream(audio::Family::Wma, mem, file, offset, length, flags);
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
    if (mode != 0)
        return audio::withEngine([&](audio::Engine& engine) -> BOOL {
            if (!engine.find(handle, audio::CallKind::Wma))
                return FALSE;
            return audio::fail(BASS_ERROR_ILLPARAM);
        });
    return audio::setChannelPosition(handle, position, audio::CallKind::Wma);
}

const char* BASS_WMA_StreamGetTags(HSTREAM handle, DWORD kind) {
    return audio::streamTags(handle, kind, audio::CallKind::Wma);
}

} // extern "C"
