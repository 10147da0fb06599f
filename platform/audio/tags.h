#pragma once
// Tag blocks as the tag calls hand them out.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace audio {

// The 128-byte ID3v1 block at the end of the file, when its last 128 bytes
// start with "TAG".
std::optional<std::string> readId3v1Block(const std::string& path);

// ASF header attributes (name, value) as zero-terminated "Name:Value" lines
// ended by an empty line; a name's first value only.
std::string wmaTagLines(const std::vector<std::pair<std::string, std::string>>& attributes);

} // namespace audio
