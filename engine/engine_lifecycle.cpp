#include "engine/engine_lifecycle.h"

#include "engine/channel.h"
#include "engine/engine_helpers.h"
#include "engine/error_descriptions.h"
#include "platform/audio/bass.h"
#include "platform/ui/dialogs.h"

namespace engine {

EngineStart startEngine(int device, std::uint32_t outputRate, void* window) {
    bool initialised = BASS_Init(device, outputRate, kInitFlags, window);
    if (!initialised && device != -1 && BASS_ErrorGetCode() == BASS_ERROR_DEVICE) {
        device = -1;
        initialised = BASS_Init(device, outputRate, kInitFlags, window);
    }
    if (!initialised)
        return {"Can't initialize digital sound system. " +
                    getErrorDescription(BASS_ErrorGetCode()),
                device};
    if (!BASS_Start())
        return {"Can't start digital output. " + getErrorDescription(BASS_ErrorGetCode()), device};
    return {{}, device};
}

void stopEngine(Channel& leftStream, Channel& rightStream) {
    BASS_Stop();
    leftStream.free();
    rightStream.free();
    BASS_Free();
}

void setBufferLength(double seconds) {
    BASS_SetBufferLength(static_cast<float>(seconds));
}

int lastErrorCode() {
    return BASS_ErrorGetCode();
}

std::optional<QString> deviceDescription(int number) {
    if (const char* description = BASS_GetDeviceDescription(number))
        return stringFromAnsiPointer(description);
    return std::nullopt;
}

QString errorBoxText(const QString& message, int code) {
    return message + "\r\n\r\n" + "Error Code : " + QString::number(code);
}

void showErrorBox(ui::Dialogs& dialogs, const QString& message) {
    const int code = lastErrorCode();
    dialogs.msgBox(errorBoxText(message, code), ui::vbCritical | ui::vbOKOnly, "Error");
}

} // namespace engine
