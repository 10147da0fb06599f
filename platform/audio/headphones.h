#pragma once
// The headphone output, for the engine binding: a second stereo pair beside
// the main output that carries the pre-listened streams (before their volume
// and pan) and the main mix, in a proportion and at a volume of its own.
// User-interface thread.
#include "platform/audio/bass.h"

namespace audio {

// Whether the next BASS_Init opens the headphone pair too; off by default.
// An output on JACK gets a pair of ports ("phones_l", "phones_r"), a
// device of four channels or more plays it on channels 3-4.
void setHeadphonesWanted(bool wanted);
// With the headphones wanted, the output device (numbered as BASS_Init's
// `device`) that plays them beside a PortAudio main output; -1 (the default)
// none: the JACK ports or channels 3-4 then.
void setHeadphonesDevice(int device);
// True when the running output plays a headphone mix.
bool headphonesReady();
// Pre-listens the stream `handle` (or stops); false when there is no such stream.
bool setPrelisten(DWORD handle, bool on);
// `mainShare` 0 only the pre-listened streams .. 1 only the main mix;
// `volume` 0..1; `split`: pre-listened streams on the left ear, the main mix
// on the right.
void setHeadphoneMix(double mainShare, double volume, bool split);

} // namespace audio
