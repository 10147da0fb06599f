// libFuzzer target: the M3U reader on arbitrary bytes of a list in a folder
// of its own (parsed as the file's bytes are, without the file), with its
// paths resolved against that folder. Whatever the
// bytes, no entry is a directive, every path but a Windows drive path comes
// back absolute, and a list holding a zero byte gives no entries.
#include "playlist/m3u_file.h"
#include "tests/support/fuzz_work_folder.h"

#include <QString>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QDir folder = [] {
        const QString lists = fuzzing::workFolder("m3u-fuzz") + "/lists";
        QDir().mkpath(lists + "/Album"); // a folder a backslash path may name
        return QDir(lists);
    }();
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList entries;
    for (const playlist::PlaylistEntry& entry : playlist::parsePlaylistEntries(text, folder))
        entries << entry.path;
    if (size > 0 && std::memchr(data, 0, size) && !entries.isEmpty())
        std::abort();
    for (const QString& entry : entries) {
        if (entry.startsWith('#'))
            std::abort();
        const bool driveLetter =
            entry.size() >= 3 && entry[1] == ':' && (entry[2] == '\\' || entry[2] == '/');
        if (!entry.isEmpty() && !entry.startsWith('/') && !driveLetter)
            std::abort(); // a relative path left unresolved
    }
    return 0;
}
