#pragma once
// The file types Vorlan can be made the handler of, and their class
// registrations under the classes root of the program's registry. Check
// values are in the check-box order MP3, WMA, ASF, WAV, M3U, then FLAC, AIFF,
// M4A, OGG, OPUS; 1 = checked. The songs' types come from core/song_types.h.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace app {

struct FileType {
    const char* caption;     // the check box's caption
    const char* extension;   // ".mp3"
    const char* className;   // the class written as the extension's default value
    const char* description; // the class's default value
    const char* mimeTypes;   // the desktop's names of the type, ';'-separated
};

inline constexpr int kFileTypeCount = 10;
extern const std::array<FileType, kFileTypeCount> kFileTypes;

using TypeChecks = std::array<int, kFileTypeCount>;

// The program's file name, in the class commands and the open-with list.
inline constexpr const char* kProgramFileName = "vorlan";

// The command written for the open and Play verbs: the program folder +
// "/vorlan %1" (no quotes); the icon is the program without the argument.
QString associationCommand();
QString associationIcon();

// Which of the types the registry gives to the program: 1 when the
// extension's default value is the type's class, else 0.
TypeChecks readAssociations();
// How many of `checks` are 1.
std::int16_t checkedCount(const TypeChecks& checks);

// For each checked type: the extension's default value, the class with its
// description, its open and Play commands and its icon.
void Associate_Files(const TypeChecks& checks);
// For each unchecked type: the extension's open-with entry for the program
// and its default value; and the class with everything under it, unless a
// checked type still uses it (MP3, WMA and others share one class).
void remove_Association(const TypeChecks& checks);

} // namespace app
