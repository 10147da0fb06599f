#include "engine/engine_lifecycle.h"

#include "engine/error_descriptions.h"
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
