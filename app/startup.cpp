#include "app/startup.h"

#include "app/associate_window.h"
#include "app/splash_window.h"
#include "core/program_state.h"

#include <QFileInfo>

namespace app {

QString commandLineText(const QStringList& arguments) {
    const QString text = arguments.mid(1).join(' ');
    // The program works from its own folder once started: a file named
    // relative to the folder it was started from is taken by its full path.
    const QFileInfo file(text);
    if (!text.isEmpty() && file.isRelative() && file.isFile())
        return file.absoluteFilePath();
    return text;
}

void startProgram(core::ProgramState& state) {
    loadingF::load(state);
}

void offerFileAssociations(core::ProgramState& state, QWidget* mainWindow) {
    frmAssociate* window = frmAssociate::load(state);
    if (state.settings.optStartUp == 1 && state.associatedTypes <= 1)
        window->showOwned(mainWindow, false);
}

} // namespace app
