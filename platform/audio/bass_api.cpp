// The main library's calls.
#include "platform/audio/bass.h"

#include "platform/audio/decode_streams.h"
#include "platform/audio/devices.h"
#include "platform/audio/engine.h"
#include "platform/audio/error.h"
#include "platform/audio/stream_calls.h"

#include <cmath>

using audio::CallKind;
using audio::Engine;
using audio::fail;
using audio::PlayState;
using audio::succeed;
using audio::withEngine;

namespace {

constexpr QWORD bytesPerFrame = 4;
constexpr QWORD failedPosition = static_cast<QWORD>(-1);
constexpr DWORD failedLevel = static_cast<DWORD>(-1);
// Decoded ahead by a pre-buffer call, seconds.
constexpr double prebufferSeconds = 0.25;

BOOL resultOf(int code) {
    return code == BASS_OK ? succeed() : fail(code);
}

} // namespace

namespace audio {

BOOL playStream(HSTREAM handle, BOOL flush, CallKind kind) {
    return withEngine([&](Engine& engine) -> BOOL {
        Stream* stream = engine.activeStream(handle, kind);
        if (!stream)
            return FALSE;
        return engine.play(*stream, flush != FALSE);
    });
}

QWORD streamLength(HSTREAM handle, CallKind kind) {
    if (isDecodeHandle(handle))
        return decodeStreamLength(handle);
    return withEngine([&](Engine& engine) -> QWORD {
        Stream* stream = engine.activeStream(handle, kind);
        if (!stream)
            return failedPosition;
        stream->makeExact();
        succeed();
        return static_cast<QWORD>(stream->lengthFrames()) * bytesPerFrame;
    });
}

QWORD channelPosition(DWORD handle, CallKind kind) {
    return withEngine([&](Engine& engine) -> QWORD {
        StreamEntry* entry = engine.find(handle, kind);
        if (!entry)
            return failedPosition;
        succeed();
        return static_cast<QWORD>(entry->stream->positionFrames(engine.output()->audibleNow())) *
               bytesPerFrame;
    });
}

BOOL setChannelPosition(DWORD handle, QWORD position, CallKind kind) {
    return withEngine([&](Engine& engine) -> BOOL {
        Stream* stream = engine.activeStream(handle, kind);
        if (!stream)
            return FALSE;
        stream->makeExact();
        const QWORD frame = position / bytesPerFrame;
        if (frame > static_cast<QWORD>(stream->lengthFrames()))
            return fail(BASS_ERROR_POSITION);
        engine.seek(*stream, static_cast<std::int64_t>(frame));
        return succeed();
    });
}

const char* streamTags(HSTREAM handle, DWORD kind, CallKind callKind) {
    return withEngine([&](Engine& engine) -> const char* {
        StreamEntry* entry = engine.find(handle, callKind);
        if (!entry)
            return nullptr;
        if (kind != BASS_TAG_ID3) {
            fail(BASS_ERROR_ILLTYPE);
            return nullptr;
        }
        if (!entry->tags) {
            fail(BASS_ERROR_NOTAVAIL);
            return nullptr;
        }
        succeed();
        return entry->tags->c_str();
    });
}

BOOL freeStream(HSTREAM handle) {
    if (isDecodeHandle(handle))
        return freeDecodeStream(handle);
    return withEngine([&](Engine& engine) -> BOOL { return engine.release(handle); });
}

HSTREAM createStream(Family family, BOOL mem, const char* file, DWORD offset, DWORD length,
                     DWORD flags) {
    if ((flags & BASS_STREAM_DECODE) && !mem && offset == 0 && length == 0)
        return createDecodeStream(family, file, flags);
    return withEngine([&](Engine& engine) -> HSTREAM {
        if (mem || offset != 0 || length != 0)
            return fail(engine.initialised() ? BASS_ERROR_ILLPARAM : BASS_ERROR_INIT);
        return engine.create(family, file, flags);
    });
}

} // namespace audio

extern "C" {

DWORD BASS_GetVersion() {
    return 0x00060001;
}

BOOL BASS_Init(int device, DWORD freq, DWORD, void*) {
    return withEngine([&](Engine& engine) { return resultOf(engine.init(device, freq)); });
}

BOOL BASS_Start() {
    return withEngine([](Engine& engine) { return resultOf(engine.start()); });
}

BOOL BASS_Stop() {
    return withEngine([](Engine& engine) { return resultOf(engine.stop()); });
}

void BASS_Free() {
    withEngine([](Engine& engine) {
        if (!engine.initialised()) {
            fail(BASS_ERROR_INIT);
            return;
        }
        engine.free();
        succeed();
    });
}

int BASS_ErrorGetCode() {
    return audio::lastError();
}

float BASS_SetBufferLength(float seconds) {
    return withEngine([&](Engine& engine) {
        succeed();
        return engine.setBufferLength(seconds);
    });
}

const char* BASS_GetDeviceDescription(int device) {
    const auto& descriptions = audio::deviceDescriptions();
    if (device < 0 || static_cast<std::size_t>(device) >= descriptions.size()) {
        fail(BASS_ERROR_DEVICE);
        return nullptr;
    }
    succeed();
    return descriptions[static_cast<std::size_t>(device)].c_str();
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const char* file, DWORD offset, DWORD length, DWORD flags) {
    return audio::createStream(audio::Family::Main, mem, file, offset, length, flags);
}

BOOL BASS_StreamPreBuf(HSTREAM handle) {
    return withEngine([&](Engine& engine) -> BOOL {
        audio::Stream* stream = engine.activeStream(handle, CallKind::Any);
        if (!stream)
            return FALSE;
        if (engine.output()->realTime())
            stream->startWorker();
        stream->prebuffer(static_cast<std::size_t>(prebufferSeconds * stream->sampleRate()));
        return succeed();
    });
}

BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD) {
    return audio::playStream(handle, flush, CallKind::Main);
}

BOOL BASS_StreamFree(HSTREAM handle) {
    return audio::freeStream(handle);
}

QWORD BASS_StreamGetLength(HSTREAM handle) {
    return audio::streamLength(handle, CallKind::Main);
}

const char* BASS_StreamGetTags(HSTREAM handle, DWORD kind) {
    return audio::streamTags(handle, kind, CallKind::Main);
}

BOOL BASS_ChannelPause(DWORD handle) {
    return withEngine([&](Engine& engine) -> BOOL {
        audio::StreamEntry* entry = engine.find(handle, CallKind::Any);
        if (!entry)
            return FALSE;
        if (entry->stream->state() != PlayState::Playing)
            return fail(BASS_ERROR_NOPLAY);
        entry->stream->setState(PlayState::Paused);
        return succeed();
    });
}

BOOL BASS_ChannelResume(DWORD handle) {
    return withEngine([&](Engine& engine) -> BOOL {
        audio::StreamEntry* entry = engine.find(handle, CallKind::Any);
        if (!entry)
            return FALSE;
        if (entry->stream->state() != PlayState::Paused)
            return fail(BASS_ERROR_NOTPAUSED);
        if (!engine.started())
            return fail(BASS_ERROR_START);
        entry->stream->markPlayStart();
        entry->stream->setState(PlayState::Playing);
        return succeed();
    });
}

BOOL BASS_ChannelStop(DWORD handle) {
    return withEngine([&](Engine& engine) -> BOOL {
        audio::StreamEntry* entry = engine.find(handle, CallKind::Any);
        if (!entry)
            return FALSE;
        entry->stream->setState(PlayState::Stopped);
        return succeed();
    });
}

DWORD BASS_ChannelIsActive(DWORD handle) {
    return withEngine([&](Engine& engine) -> DWORD {
        audio::StreamEntry* entry = engine.find(handle, CallKind::Any);
        if (!entry)
            return BASS_ACTIVE_STOPPED;
        succeed();
        return static_cast<DWORD>(entry->stream->state());
    });
}

QWORD BASS_ChannelGetPosition(DWORD handle) {
    return audio::channelPosition(handle, CallKind::Any);
}

BOOL BASS_ChannelSetPosition(DWORD handle, QWORD position) {
    return audio::setChannelPosition(handle, position, CallKind::Any);
}

float BASS_ChannelBytes2Seconds(DWORD handle, QWORD position) {
    if (audio::isDecodeHandle(handle)) {
        const DWORD rate = audio::decodeStreamRate(handle);
        return rate ? static_cast<float>(static_cast<double>(position / bytesPerFrame) / rate)
                    : -1.0f;
    }
    return withEngine([&](Engine& engine) -> float {
        audio::Stream* stream = engine.activeStream(handle, CallKind::Any);
        if (!stream)
            return -1.0f;
        succeed();
        return static_cast<float>(static_cast<double>(position / bytesPerFrame) /
                                  stream->sampleRate());
    });
}

BOOL BASS_ChannelGetAttributes(DWORD handle, DWORD* freq, DWORD* volume, int* pan) {
    if (audio::isDecodeHandle(handle)) {
        const DWORD rate = audio::decodeStreamRate(handle);
        if (rate == 0)
            return FALSE;
        if (freq)
            *freq = rate;
        if (volume)
            *volume = 100;
        if (pan)
            *pan = 0;
        return TRUE;
    }
    return withEngine([&](Engine& engine) -> BOOL {
        audio::Stream* stream = engine.activeStream(handle, CallKind::Any);
        if (!stream)
            return FALSE;
        if (freq)
            *freq = static_cast<DWORD>(stream->rate());
        if (volume)
            *volume = static_cast<DWORD>(stream->volume());
        if (pan)
            *pan = stream->pan();
        return succeed();
    });
}

BOOL BASS_ChannelSetAttributes(DWORD handle, int freq, int volume, int pan) {
    return withEngine([&](Engine& engine) -> BOOL {
        audio::Stream* stream = engine.activeStream(handle, CallKind::Any);
        if (!stream)
            return FALSE;
        if (freq != -1 && (freq < 100 || freq > 100000))
            return fail(BASS_ERROR_FREQ);
        if ((volume != -1 && (volume < 0 || volume > 100)) ||
            (pan != -101 && (pan < -100 || pan > 100)))
            return fail(BASS_ERROR_ILLPARAM);
        if (freq != -1)
            stream->setRate(freq);
        if (volume != -1)
            stream->setVolume(volume);
        if (pan != -101)
            stream->setPan(pan);
        return succeed();
    });
}

BOOL BASS_ChannelSetKeyLock(DWORD handle, DWORD mode) {
    return withEngine([&](Engine& engine) -> BOOL {
        audio::Stream* stream = engine.activeStream(handle, CallKind::Any);
        if (!stream)
            return FALSE;
        if (mode > BASS_KEYLOCK_FINER)
            return fail(BASS_ERROR_ILLPARAM);
        engine.setKeyLock(*stream, static_cast<audio::KeyLockMode>(mode));
        return succeed();
    });
}

DWORD BASS_ChannelGetKeyLock(DWORD handle) {
    return withEngine([&](Engine& engine) -> DWORD {
        audio::Stream* stream = engine.activeStream(handle, CallKind::Any);
        if (!stream)
            return static_cast<DWORD>(-1);
        succeed();
        return static_cast<DWORD>(stream->keyLock());
    });
}

DWORD BASS_ChannelGetLevel(DWORD handle) {
    return withEngine([&](Engine& engine) -> DWORD {
        audio::StreamEntry* entry = engine.find(handle, CallKind::Any);
        if (!entry)
            return failedLevel;
        succeed();
        return entry->stream->level(engine.output()->audibleNow());
    });
}

} // extern "C"
