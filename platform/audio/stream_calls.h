#pragma once
// The stream calls the main library and its WMA add-on share; `kind` tells
// which calls a handle must answer to.
#include "platform/audio/bass.h"
#include "platform/audio/engine.h"

namespace audio {

BOOL playStream(HSTREAM handle, BOOL flush, CallKind kind);
QWORD streamLength(HSTREAM handle, CallKind kind);
QWORD channelPosition(DWORD handle, CallKind kind);
BOOL setChannelPosition(DWORD handle, QWORD position, CallKind kind);
const char* streamTags(HSTREAM handle, DWORD kind, CallKind callKind);
BOOL freeStream(HSTREAM handle);
// A stream from `file` for the library of `family` (BASS_..._StreamCreateFile).
HSTREAM createStream(Family family, BOOL mem, const char* file, DWORD offset, DWORD length,
                     DWORD flags);

} // namespace audio
