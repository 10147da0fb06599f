// libFuzzer target: the tags of FLAC, AIFF, MP4, Ogg Vorbis and Opus files,
// read through TagLib, on arbitrary bytes. The first byte chooses the
// file's extension, the rest is the file. Whatever the bytes, the reader
// answers (tags or none) without a crash or a runaway allocation.
#include "tags/taglib_tags.h"
#include "tests/support/fuzz_work_folder.h"

#include <array>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::array<const char*, 6> extensions{"flac", "aiff", "m4a", "ogg", "opus", "aif"};
    if (size == 0)
        return 0;
    const QString path =
        fuzzing::workFolder("song-tags-fuzz") + "/song." + extensions[data[0] % extensions.size()];
    fuzzing::writeWorkFile(path, data + 1, size - 1);
    (void)tags::readSongTags(path);
    return 0;
}
