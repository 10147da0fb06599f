#pragma once
// Starting the program: the splash opens first and loads the main window
// from its first timer tick.
#include <QStringList>

class QWidget;

namespace core {
struct ProgramState;
}

namespace app {

// The command line as one text: the arguments after the program's name,
// joined by blanks.
QString commandLineText(const QStringList& arguments);

// Loads and shows the splash window; the event loop does the rest.
void startProgram(core::ProgramState& state);

// Start-up's association offer: loads the association window hidden; shows
// it, not modal and owned by `mainWindow`, when the start-up flag is 1 and at
// most one of the file types belongs to the program.
void offerFileAssociations(core::ProgramState& state, QWidget* mainWindow);

} // namespace app
