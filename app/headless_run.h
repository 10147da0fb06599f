#pragma once
// Unattended runs: VORLAN_SCREENSHOT names a PNG file that receives a picture
// of the main window once it is shown; VORLAN_QUIT_AFTER_MS closes the
// program after that many milliseconds (and prints "vorlan: main window
// shown" when the window is shown, for timing); VORLAN_OUTPUT_REPORT names a
// file rewritten every 10 s, and at that close, with the output's figures
// (engine/output_report.h), for soak runs that stop the program from outside.
class QWidget;

namespace app {

// With VORLAN_QUIT_AFTER_MS set nobody is there to answer a message box:
// from the start of the run each box is answered No (or OK) and its text is
// printed. Does nothing otherwise. Call before the program starts.
void answerBoxesWhenUnattended();
// Arms both for `mainWindow`; does nothing when neither variable is set.
void armHeadlessRun(QWidget* mainWindow);

} // namespace app
