#pragma once
// The offline output, for tests: no device and no clock; time advances only
// when the test renders frames, and the mixed samples come back. Chosen by
// BASS_Init when VORLAN_AUDIO=offline, or by device BASS_DEVICE_OFFLINE.
#include "platform/audio/bass.h"

inline constexpr int BASS_DEVICE_OFFLINE = -3;

extern "C" {
// Renders `frames` frames of the mix (16-bit stereo interleaved at the
// output rate) into `out` (may be null to discard) and advances time.
// Fails with BASS_ERROR_INIT unless the offline output is in use.
BOOL BASS_Offline_Render(short* out, DWORD frames);
// As BASS_Offline_Render, and the headphone mix of the same frames into
// `phones` (16-bit stereo interleaved). Fails with BASS_ERROR_NOTAVAIL
// unless the engine was initialised with the headphone output.
BOOL BASS_Offline_RenderWithPhones(short* out, short* phones, DWORD frames);
// Makes the next BASS_Init that would open the offline output fail with
// `code` (0 clears), so tests can see how the program handles a device that
// cannot be opened.
void BASS_Offline_FailNextInit(int code);
// Makes the next BASS_Start fail with `code` (0 clears), so tests can see
// how the program handles an output that will not start.
void BASS_Offline_FailNextStart(int code);
}
