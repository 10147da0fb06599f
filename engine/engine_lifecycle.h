#pragma once
// Bringing the audio engine up and down, its settings, and the one error box
// for engine failures. The main window's init_BASS, terminate_BASS and
// ThrowError are built on these.
#include <QString>
#include <cstdint>
#include <optional>

namespace ui {
class Dialogs;
}

namespace engine {

class Channel;

// Flags the engine is started with.
inline constexpr std::uint32_t kInitFlags = 32;

// What starting the engine gave: an empty failure when the output runs,
// otherwise the message for the error box; and the device it runs on.
struct EngineStart {
    QString failure;
    int device = -1;
};

// Starts the engine on `device` at `outputRate` Hz for `window`. A device
// other than the default (-1) that the engine refuses as an illegal device
// number (23), such as a stored device that is no longer there, gives way to
// the default device, so a user is never locked out by a device that left.
// A failure gives "Can't initialize digital sound system. " or "Can't start
// digital output. " followed by the description of the engine's last error
// code. The output is not started when the engine does not initialise.
EngineStart startEngine(int device, std::uint32_t outputRate, void* window);

// Stops the output, frees both decks' streams (they are left empty) and
// frees the engine; every error is ignored.
void stopEngine(Channel& leftStream, Channel& rightStream);

// Seconds decoded ahead of the output (0.2 .. 2.0 from the options).
void setBufferLength(double seconds);
// The code of the engine's last failed call (kept while later calls succeed).
int lastErrorCode();
// The description of start-up device `number` - 1 (1 = the first output
// device); none past the last device.
std::optional<QString> deviceDescription(int number);

// The error box text: message, a blank line, "Error Code : " and the code.
QString errorBoxText(const QString& message, int code);
// Shows the error box for `message` with the engine's last error code:
// critical icon, OK only, title "Error". Returns when it is closed.
void showErrorBox(ui::Dialogs& dialogs, const QString& message);

} // namespace engine
