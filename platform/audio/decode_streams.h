#pragma once
// Decode-only streams (BASS_STREAM_DECODE): opened like any stream but never
// mixed to the output; their decoded data is pulled by BASS_ChannelGetData on
// the calling thread, so an analysis can read a whole file on a worker thread
// while the decks play. Each stream has its own lock: calls on different
// decode streams run in parallel, and none of them holds the engine's lock
// while it decodes. They take the handles above the engine's own range.
#include "platform/audio/bass.h"
#include "platform/audio/decoder.h"

namespace audio {

bool isDecodeHandle(DWORD handle);
// A decode stream of `file` for the library of `family`; 0 with the error set.
HSTREAM createDecodeStream(Family family, const char* file, DWORD flags);
BOOL freeDecodeStream(HSTREAM handle);
// Length in bytes; (QWORD)-1 on failure.
QWORD decodeStreamLength(HSTREAM handle);
// The file's sample rate; 0 on failure.
DWORD decodeStreamRate(HSTREAM handle);

} // namespace audio
