// libFuzzer target: the MP3 information reader (the 128-byte ID3v1 block at
// the end of the file) on arbitrary file bytes. Whatever the bytes, reading
// answers; a file ending in a "TAG" block gives its fields (title at most 30
// characters, year at most 4); a genre outside the table gives none.
#include "tags/mp3_info.h"
#include "tests/support/fuzz_work_folder.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString path = fuzzing::workFolder("mp3info-fuzz") + "/Band - 01 - Song.mp3";
    fuzzing::writeWorkFile(path, data, size);
    tags::clsMP3Info info;
    info.setFilename(path);
    if (!info.IsFileID3v1())
        std::abort();
    const bool tagged = size >= 128 && std::memcmp(data + size - 128, "TAG", 3) == 0;
    if (tagged &&
        (info.Title().size() > 30 || info.Artist().size() > 30 || info.Album().size() > 30 ||
         info.Year().size() > 4 || info.Comment().size() > 30))
        std::abort();
    if (!tagged && info.Title() != QStringLiteral("Song"))
        std::abort(); // untagged: the name of the file gives the fields
    return 0;
}
