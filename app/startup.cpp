#include "app/startup.h"

#include "app/associate_window.h"
#include "app/splash_window.h"
#include "core/program_state.h"

namespace app {

QString commandLineText(const QStringList& arguments) {
    return arguments.mid(1).join(' ');
}

void startProgram(ProgramState& state) {
    loadingF::load(state);
}

void offerFileAssociations(ProgramState& state, QWidget* mainWindow) {
    frmAssociate* window = frmAssociate::load(state);
    if (state.settings.optStartUp == 1 && state.associatedTypes <= 1)
        window->showOwned(mainWindow, false);
}

} // namespace app
