#include "app/startup.h"

#include "app/splash_window.h"
#include "core/program_state.h"

namespace app {

QString commandLineText(const QStringList& arguments) {
    return arguments.mid(1).join(' ');
}

void startProgram(ProgramState& state) {
    loadingF::load(state);
}

} // namespace app
