#pragma once
// The attributes an ASF file's header holds, read from the header itself so
// that each keeps the name the file stores it under.
#include <string>
#include <utility>
#include <vector>

namespace audio {

// (name, value) pairs in file order: the content description (Title, Author,
// Copyright, Description, Rating; the empty ones left out), the extended
// content description, and the metadata and metadata library objects of the
// header extension. Text is UTF-8; numbers and flags are decimal; binary
// values are left out. Empty when the file has no readable ASF header.
std::vector<std::pair<std::string, std::string>> readAsfAttributes(const std::string& path);

} // namespace audio
