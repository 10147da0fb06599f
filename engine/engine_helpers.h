#pragma once
// Small engine functions shared by the program: the version text, word
// splitting, the file test and texts the engine hands back as pointers.
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

// True when a directory look-up of `path` finds a name.
bool fileExists(const QString& path);
// A zero-terminated 8-bit text from the engine (UTF-8); empty for null.
QString stringFromAnsiPointer(const char* text);

} // namespace engine
