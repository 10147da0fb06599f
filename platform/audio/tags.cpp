#include "platform/audio/tags.h"

#include <fstream>

namespace audio {

std::optional<std::string> readId3v1Block(const std::string& path) {
    constexpr std::streamoff blockSize = 128;
    std::ifstream in(path, std::ios::binary);
    if (!in.seekg(0, std::ios::end))
        return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < blockSize || !in.seekg(size - blockSize))
        return std::nullopt;
    std::string block(static_cast<std::size_t>(blockSize), '\0');
    if (!in.read(block.data(), blockSize) || block.compare(0, 3, "TAG") != 0)
        return std::nullopt;
    return block;
}

std::string wmaTagLines(const std::vector<std::pair<std::string, std::string>>& attributes) {
    std::string lines;
    std::vector<std::string> seen;
    for (const auto& [name, value] : attributes) {
        bool duplicate = false;
        for (const auto& earlier : seen)
            duplicate = duplicate || earlier == name;
        if (duplicate || name.empty() || value.find('\0') != std::string::npos)
            continue;
        seen.push_back(name);
        lines += name + ":" + value;
        lines.push_back('\0');
    }
    lines.push_back('\0');
    return lines;
}

} // namespace audio
