#include "app/file_associations.h"

#include "core/registry_values.h"
#include "core/song_types.h"
#include "platform/system/folders.h"

namespace app {

namespace {

// The association of song type `index`, by its first extension.
FileType songFileType(int index) {
    static const std::array<QByteArray, core::kSongTypes.size()> extensions = [] {
        std::array<QByteArray, core::kSongTypes.size()> list;
        for (std::size_t i = 0; i < core::kSongTypes.size(); ++i)
            list[i] = "." + QByteArray(core::kSongTypes[i].extensions).split(' ').first();
        return list;
    }();
    const core::SongType& song = core::kSongTypes[static_cast<std::size_t>(index)];
    return {song.caption, extensions[static_cast<std::size_t>(index)].constData(), song.className,
            song.description, song.mimeTypes};
}

} // namespace

const std::array<FileType, kFileTypeCount> kFileTypes{{
    songFileType(0),
    songFileType(1),
    songFileType(2),
    songFileType(3),
    {"M3U- Halvoran1 Playlists...", ".m3u", "Vorlan.Music.Playlist", "Vorlan Music Playlist",
     "audio/x-mpegurl"},
    songFileType(4),
    songFileType(5),
    songFileType(6),
    songFileType(7),
    songFileType(8),
}};

// Key paths are written without a closing backslash (".mp3" for the key
// ".mp3\"): this registry takes no empty key name.
namespace {

constexpr reg::HKEY kClassesRoot = reg::HKEY_CLASSES_ROOT;

void writeDefault(const QString& key, const QString& text) {
    core::save_RegValue(kClassesRoot, key, QString(), reg::REG_SZ, text);
}

void deleteDefault(const QString& key) {
    reg::HKEY handle = 0;
    if (reg::RegOpenKeyEx(kClassesRoot, key, 0, reg::KEY_ALL_ACCESS, &handle) != reg::ERROR_SUCCESS)
        return;
    reg::RegDeleteValue(handle, QString());
    reg::RegCloseKey(handle);
}

// Deletes `key` of `parent` with all its subkeys (a key with subkeys cannot
// be deleted by itself). Errors are ignored.
void deleteTree(reg::HKEY parent, const QString& key) {
    reg::HKEY handle = 0;
    if (reg::RegOpenKeyEx(parent, key, 0, reg::KEY_ALL_ACCESS, &handle) != reg::ERROR_SUCCESS)
        return;
    QStringList children;
    QString name;
    for (reg::DWORD i = 0; reg::RegEnumKeyEx(handle, i, &name) == reg::ERROR_SUCCESS; ++i)
        children << name;
    for (const QString& child : children)
        deleteTree(handle, child);
    reg::RegCloseKey(handle);
    reg::RegDeleteKey(parent, key);
}

} // namespace

QString associationIcon() {
    return sys::programFolder() + "/" + kProgramFileName;
}

QString associationCommand() {
    return associationIcon() + " %1";
}

TypeChecks readAssociations() {
    TypeChecks checks{};
    for (int i = 0; i < kFileTypeCount; ++i) {
        const QString current =
            core::get_RegValue(kClassesRoot, kFileTypes[i].extension, QString());
        checks[i] = current == kFileTypes[i].className ? 1 : 0;
    }
    return checks;
}

std::int16_t checkedCount(const TypeChecks& checks) {
    std::int16_t count = 0;
    for (int check : checks)
        count = static_cast<std::int16_t>(count + (check == 1 ? 1 : 0));
    return count;
}

void Associate_Files(const TypeChecks& checks) {
    const QString command = associationCommand();
    for (int i = 0; i < kFileTypeCount; ++i) {
        if (checks[i] != 1)
            continue;
        const FileType& type = kFileTypes[i];
        const QString cls = type.className;
        writeDefault(type.extension, cls);
        writeDefault(cls, type.description);
        writeDefault(cls + "\\shell\\open\\command", command);
        writeDefault(cls + "\\shell\\Play\\command", command);
        writeDefault(cls + "\\DefaultIcon", associationIcon());
    }
}

void remove_Association(const TypeChecks& checks) {
    for (int i = 0; i < kFileTypeCount; ++i) {
        if (checks[i] != 0)
            continue;
        const FileType& type = kFileTypes[i];
        const QString extension = type.extension;
        reg::RegDeleteKey(kClassesRoot, extension + "\\OpenWithList\\" + kProgramFileName);
        deleteDefault(extension);
        bool shared = false;
        for (int j = 0; j < kFileTypeCount; ++j)
            shared =
                shared || (checks[j] == 1 && QString(kFileTypes[j].className) == type.className);
        if (!shared)
            deleteTree(kClassesRoot, type.className);
    }
}

} // namespace app
