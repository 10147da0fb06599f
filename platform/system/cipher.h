#pragma once
// The program's enciphered texts: fixed texts (the settings key path, the
// registry not-found marker, a start-up message, a splash label) are kept in
// the source only in enciphered form and deciphered when first needed.
//
// The cipher is our own: the UTF-8 bytes of the text are XORed with a
// keystream from a 32-bit xorshift generator seeded by a per-text salt, and
// the salt byte followed by the result is written as upper-case hex.
#include <QString>
#include <string_view>

namespace sys {

// Hex text as produced by encipher(); malformed input gives an empty text.
QString decipher(std::string_view enciphered);
// The enciphered form of `plain` with the given salt (0..255).
std::string encipher(const QString& plain, unsigned salt = 0x5A);

} // namespace sys
