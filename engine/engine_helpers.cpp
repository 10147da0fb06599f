#include "engine/engine_helpers.h"

#include "platform/system/folders.h"
#include "platform/system/text.h"

namespace engine {

QString getBassVersionString() {
    const QString major = QString::number(loWord(BASS_GetVersion()));
    const QString minor = QString::number(hiWord(BASS_GetVersion()));
    return major + "." + minor;
}

float bytesToSeconds(HSTREAM stream, std::uint32_t bytes) {
    return BASS_ChannelBytes2Seconds(stream, static_cast<QWORD>(bytes));
}

BOOL seekChannel(HSTREAM stream, std::uint32_t bytes) {
    return BASS_ChannelSetPosition(stream, static_cast<QWORD>(bytes));
}

bool isChannelPlaying(HSTREAM stream) {
    const DWORD active = BASS_ChannelIsActive(stream);
    return active != BASS_ACTIVE_STOPPED && active != BASS_ACTIVE_PAUSED;
}

bool fileExists(const QString& path) {
    return sys::fileExists(path);
}

QString stringFromAnsiPointer(const char* text) {
    return text ? sys::fromAnsi(text) : QString();
}

} // namespace engine
