#pragma once
// Starting the program: the splash opens first and loads the main window
// from its first timer tick.
#include <QStringList>

namespace app {
struct ProgramState;

// The command line as one text: the arguments after the program's name,
// joined by blanks.
QString commandLineText(const QStringList& arguments);

// Loads and shows the splash window; the event loop does the rest.
void startProgram(ProgramState& state);

} // namespace app
