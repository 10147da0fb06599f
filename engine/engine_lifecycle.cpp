#include "engine/engine_lifecycle.h"

#include "engine/error_descriptions.h"
#include "platform/ui/dialogs.h"

namespace engine {

QString startEngine(int device, std::uint32_t outputRate, void* window) {
    if (!BASS_Init(device, outputRate, kInitFlags, window))
        return "Can't initialize digital sound system. " + getErrorDescription(BASS_ErrorGetCode());
    if (!BASS_Start())
        return "Can't start digital output. " + getErrorDescription(BASS_ErrorGetCode());
    return {};
}

void stopEngine(HSTREAM leftStream, HSTREAM rightStream) {
    BASS_Stop();
    BASS_StreamFree(leftStream);
    BASS_StreamFree(rightStream);
    BASS_Free();
}

QString errorBoxText(const QString& message, int code) {
    return message + "\r\n\r\n" + "Error Code : " + QString::number(code);
}

void showErrorBox(ui::Dialogs& dialogs, const QString& message) {
    const int code = BASS_ErrorGetCode();
    dialogs.msgBox(errorBoxText(message, code), ui::vbCritical | ui::vbOKOnly, "Error");
}

} // namespace engine
