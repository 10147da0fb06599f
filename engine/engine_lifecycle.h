#pragma once
// Bringing the audio engine up and down, and the one error box for engine
// failures. The main window's init_BASS, terminate_BASS and ThrowError are
// built on these.
#include "platform/audio/bass.h"

#include <QString>
#include <cstdint>

namespace ui {
class Dialogs;
}

namespace engine {

// Flags passed to BASS_Init.
inline constexpr DWORD kInitFlags = 32;

// What starting the engine gave: an empty failure when the output runs,
// otherwise the message for the error box; and the device it runs on.
struct EngineStart {
    QString failure;
    int device = -1;
};

// Starts the engine on `device` at `outputRate` Hz for `window`. A device
// other than the default (-1) that BASS_Init refuses as an illegal device
// number (23), such as a stored device that is no longer there, gives way to
// the default device, so a user is never locked out by a device that left.
// A failure gives "Can't initialize digital sound system. " or "Can't start
// digital output. " followed by the description of the engine's last error
// code. BASS_Start is not called when BASS_Init fails.
EngineStart startEngine(int device, std::uint32_t outputRate, void* window);

// Stops the output, frees both decks' streams (whatever they hold, also 0)
// and frees the engine; every error is ignored.
void stopEngine(HSTREAM leftStream, HSTREAM rightStream);

// The error box text: message, a blank line, "Error Code : " and the code.
QString errorBoxText(const QString& message, int code);
// Shows the error box for `message` with the engine's last error code:
// critical icon, OK only, title "Error". Returns when it is closed.
void showErrorBox(ui::Dialogs& dialogs, const QString& message);

} // namespace engine
