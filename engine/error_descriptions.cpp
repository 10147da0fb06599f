#include "engine/error_descriptions.h"

#include <array>

namespace engine {

namespace {
// Index = code + 1, for codes -1 .. 38; null where the code has no text.
constexpr std::array<const char*, 40> kTexts = {
    "Some Other Mystery Error",
    "All is OK",
    "Memory Error",
    "Can't Open the File",
    "Can't Find a Free Sound Driver",
    "The Sample Buffer Was Lost - Please Report This!",
    "Invalid Handle",
    "Unsupported Format",
    "Invalid Playback Position",
    "BASS_Init Has Not Been Successfully Called",
    "BASS_Start Has Not Been Successfully Called",
    "Can't Initialize CD",
    "BASS_CDInit Has Not Been Successfully Called",
    "No CD in drive",
    "Can't Play the Selected CD Track",
    "Already Initialized",
    "CD Has No Volume Control",
    "Not Paused",
    "Not An Audio Track",
    "Can't Get a Free Channel",
    "An Illegal Type Was Specified",
    "An Illegal Parameter Was Specified",
    "No 3D Support",
    "No EAX Support",
    "Illegal Device Number",
    "Not Playing",
    "Illegal Sample Rate",
    "A3D.DLL is Not Installed",
    "The Stream is Not a File Stream (WAV/MP3)",
    nullptr, // 28
    "No Hardware Voices Available",
    nullptr, // 30
    "The MOD music has no sequence data",
    "No Internet connection could be opened",
    "Couldn't create the file",
    "Effects are not enabled",
    "The channel is playing",
    nullptr, // 36
    "The requested data is not available",
    "The channel is a 'decoding channel'",
};
} // namespace

QString getErrorDescription(int code) {
    if (code < -1 || code > 38)
        return {};
    const char* text = kTexts[static_cast<std::size_t>(code + 1)];
    return text ? QString::fromLatin1(text) : QString();
}

} // namespace engine
