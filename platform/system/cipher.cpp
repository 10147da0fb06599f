#include "platform/system/cipher.h"

#include <cstdint>
#include <string>

namespace sys {
namespace {

struct Keystream {
    std::uint32_t state;
    explicit Keystream(unsigned salt) : state(0x9E3779B9u ^ (salt * 0x01000193u)) {
        if (state == 0)
            state = 1;
    }
    std::uint8_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<std::uint8_t>(state >> 24);
    }
};

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string encipher(const QString& plain, unsigned salt) {
    static const char* digits = "0123456789ABCDEF";
    salt &= 0xFF;
    std::string out;
    auto put = [&](std::uint8_t b) {
        out += digits[b >> 4];
        out += digits[b & 15];
    };
    put(static_cast<std::uint8_t>(salt));
    Keystream ks(salt);
    for (char c : plain.toUtf8())
        put(static_cast<std::uint8_t>(c) ^ ks.next());
    return out;
}

QString decipher(std::string_view enciphered) {
    if (enciphered.size() < 2 || enciphered.size() % 2 != 0)
        return {};
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(enciphered.size() / 2));
    for (std::size_t i = 0; i < enciphered.size(); i += 2) {
        const int hi = hexValue(enciphered[i]), lo = hexValue(enciphered[i + 1]);
        if (hi < 0 || lo < 0)
            return {};
        bytes.append(static_cast<char>(hi * 16 + lo));
    }
    Keystream ks(static_cast<std::uint8_t>(bytes[0]));
    QByteArray plain;
    plain.reserve(bytes.size() - 1);
    for (qsizetype i = 1; i < bytes.size(); ++i)
        plain.append(static_cast<char>(static_cast<std::uint8_t>(bytes[i]) ^ ks.next()));
    return QString::fromUtf8(plain);
}

} // namespace sys
