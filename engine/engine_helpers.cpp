#include "engine/engine_helpers.h"

#include "platform/audio/bass.h"
#include "platform/system/folders.h"
#include "platform/system/text.h"

namespace engine {

QString getBassVersionString() {
    const QString major = QString::number(loWord(BASS_GetVersion()));
    const QString minor = QString::number(hiWord(BASS_GetVersion()));
    return major + "." + minor;
}

bool fileExists(const QString& path) {
    return sys::fileExists(path);
}

QString stringFromAnsiPointer(const char* text) {
    return text ? sys::fromAnsi(text) : QString();
}

} // namespace engine
