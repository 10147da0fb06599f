// The writer that the crash-safety test kills: saves one of the program's
// files over and over, alternating between two versions, until it is killed.
//   crash_writer KIND PATH READY_FD [VERSION]
// KIND: playlist (the playlist save), settings (the options window's
// settings, one registry value after another), flac-tags or mp3-tags (the tag
// editor's save). Writes one byte to READY_FD once it is about to start
// saving, so the parent times its kill from there. With VERSION (0 or 1) it
// saves that version once and ends.
#include "core/fixed_texts.h"
#include "core/registry_values.h"
#include "playlist/m3u_file.h"
#include "tags/id3v2_writer.h"
#include "tags/taglib_tags.h"
#include "tests/app/crash_versions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

bool save(const char* kind, const QString& path, int version) {
    if (!std::strcmp(kind, "playlist"))
        return playlist::writePlaylistFile(path, crash::playlistVersion(version));
    if (!std::strcmp(kind, "settings")) {
        for (const auto& [name, value] : crash::settingsVersion(version))
            if (core::save_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), name,
                                    reg::REG_SZ, value) != reg::ERROR_SUCCESS)
                return false;
        return true;
    }
    if (!std::strcmp(kind, "flac-tags")) {
        tags::SongTags song;
        song.title = crash::titleVersion(version);
        song.artist = "Artist";
        return tags::writeSongTags(path, song, nullptr);
    }
    tags::Id3v2Texts texts;
    texts.title = crash::titleVersion(version);
    texts.artist = "Artist";
    return tags::write_id3v2_tag(path, texts) == 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (argc == 5)
        return save(argv[1], path, std::atoi(argv[4])) ? 0 : 1;
    const int ready = std::atoi(argv[3]);
    const char byte = 1;
    if (::write(ready, &byte, 1) != 1)
        return 2;
    ::close(ready);
    for (int version = 1;; version ^= 1)
        if (!save(argv[1], path, version)) {
            std::fprintf(stderr, "save failed\n");
            return 1;
        }
}
