#pragma once
// Small engine functions shared by the deck code: the version text, word
// splitting, byte-to-seconds conversion, seeking, the playing test, the file
// test and texts the engine hands back as pointers.
#include "platform/audio/bass.h"

#include <QString>
#include <cstdint>

namespace engine {

// The running engine's version as "major.minor" (e.g. "1.6").
QString getBassVersionString();

// Low and high 16 bits of a 32-bit value, 0..65535.
inline std::int32_t loWord(std::uint32_t value) {
    return static_cast<std::int32_t>(value & 0xFFFFu);
}
inline std::int32_t hiWord(std::uint32_t value) {
    return static_cast<std::int32_t>((value >> 16) & 0xFFFFu);
}

// Seconds of `bytes` of the stream's data (at the file's own rate).
float bytesToSeconds(HSTREAM stream, std::uint32_t bytes);
// Seeks the stream to the byte position; the engine's result.
BOOL seekChannel(HSTREAM stream, std::uint32_t bytes);
// True while the stream plays: neither stopped (0) nor paused (3). False for 0.
bool isChannelPlaying(HSTREAM stream);
// True when a directory look-up of `path` finds a name.
bool fileExists(const QString& path);
// A zero-terminated 8-bit text from the engine (UTF-8); empty for null.
QString stringFromAnsiPointer(const char* text);

} // namespace engine
