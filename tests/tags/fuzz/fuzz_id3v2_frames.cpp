// libFuzzer target: the program's own ID3v2 frame reader (the titles' first
// choice) on arbitrary file bytes: text frames in every encoding, comments,
// extended headers, frame flags. Whatever the bytes, reading answers, a file
// not starting with "ID3" holds no tag, and the texts are read from the tag
// alone: a file cut at the tag's end reads the same.
#include "core/program_state.h"
#include "tags/id3v2_frames.h"
#include "tests/support/fuzz_work_folder.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

core::Id3v2Values read(const QString& path) {
    core::Id3v2Values values;
    values.TIT2 = QStringLiteral("left over"); // every text is emptied first
    if (tags::has_id3v2(path, values))
        tags::read_id3v2_frames(path, values);
    return values;
}

bool sameTexts(const core::Id3v2Values& a, const core::Id3v2Values& b) {
    return a.TIT2 == b.TIT2 && a.TPE1 == b.TPE1 && a.TALB == b.TALB && a.COMM == b.COMM &&
           a.TYER == b.TYER && a.TCON == b.TCON && a.TCOM == b.TCOM && a.TCOP == b.TCOP &&
           a.TOPE == b.TOPE && a.WXXX == b.WXXX && a.TENC == b.TENC && a.TRCK == b.TRCK;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString path = fuzzing::workFolder("id3v2-fuzz") + "/input.mp3";
    fuzzing::writeWorkFile(path, data, size);
    const core::Id3v2Values whole = read(path);
    const bool tagged = size >= 3 && std::memcmp(data, "ID3", 3) == 0;
    if (whole.hasId3v2 != tagged)
        std::abort();
    if (!tagged)
        return 0;
    if (whole.TIT2 == QStringLiteral("left over"))
        std::abort();
    // The same tag without the bytes after it.
    const auto tagSize = static_cast<std::size_t>(whole.totalSize);
    if (tagSize >= 10 && tagSize < size) {
        fuzzing::writeWorkFile(path, data, tagSize);
        if (!sameTexts(read(path), whole))
            std::abort();
    }
    return 0;
}
