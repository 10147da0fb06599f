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

// Starts the engine on `device` at `outputRate` Hz for `window`. Returns an
// empty text when the output runs, otherwise the message for the error box:
// "Can't initialize digital sound system. " or "Can't start digital output. "
// followed by the description of the engine's error code. BASS_Start is not
// called when BASS_Init fails.
QString startEngine(int device, std::uint32_t outputRate, void* window);

// Stops the output, frees both decks' streams (whatever they hold, also 0)
// and frees the engine; every error is ignored.
void stopEngine(HSTREAM leftStream, HSTREAM rightStream);

// The error box text: message, a blank line, "Error Code : " and the code.
QString errorBoxText(const QString& message, int code);
// Shows the error box for `message` with the engine's last error code:
// critical icon, OK only, title "Error". Returns when it is closed.
void showErrorBox(ui::Dialogs& dialogs, const QString& message);

} // namespace engine
