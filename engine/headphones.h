#pragma once
// The headphone output of the engine: a second stereo pair that carries the
// pre-listened decks (before their volume and the crossfader) and the main
// mix. User-interface thread.
#include <QString>

namespace engine {

class Channel;

// The headphone choices of the options, in their order: none (the first,
// and the default), the engine's own pair of JACK ports, channels 3-4 of an
// output device that has four, or the description of another output device
// (deviceDescription()).
inline constexpr const char* kHeadphonesNone = "None";
inline constexpr const char* kHeadphonesJack = "phones_l / phones_r (JACK)";
inline constexpr const char* kHeadphonesChannels = "Channels 3 / 4 (sound card)";

// Whether the next engine start opens the headphone output (`choice` one
// of the texts above, or an output device's description; any other text is
// none).
void chooseHeadphones(const QString& choice);
// True when the running engine has a headphone output.
bool headphonesReady();
// Pre-listens `stream` (or stops); an empty stream is refused quietly.
void setPrelisten(const Channel& stream, bool on);
// `mainShare` 0..1 from the pre-listened decks only to the main mix only;
// `volume` 0..1; `split`: pre-listen on the left ear, the main mix on the right.
void setHeadphoneMix(double mainShare, double volume, bool split);

} // namespace engine
