#include "core/program_state.h"

#include "engine/engine_helpers.h"

#include <QObject>

#include <algorithm>
#include <random>

namespace core {

ProgramState::ProgramState(ui::Dialogs& dialogs_)
    : dialogs(dialogs_), rnd([engine = std::mt19937(5489u)]() mutable {
          return std::uniform_real_distribution<double>(0.0, 1.0)(engine);
      }),
      bassVersionText(engine::getBassVersionString) {}

ProgramState::~ProgramState() {
    // Windows still loaded when the program object goes away (a test that
    // did not close its program) are destroyed with it.
    for (auto it = createdWindows.rbegin(); it != createdWindows.rend(); ++it)
        delete it->data();
}

void ProgramState::addForm(const QString& name, QObject* window, std::function<void()> unload) {
    forms.push_back({name, window, std::move(unload)});
    createdWindows.emplace_back(window);
}

void ProgramState::removeForm(QObject* window) {
    forms.erase(std::remove_if(forms.begin(), forms.end(),
                               [window](const LoadedForm& f) { return f.window == window; }),
                forms.end());
}

void ProgramState::end(int code) {
    programEnded = true;
    exitCode = code;
    if (endProgram)
        endProgram(code);
}

} // namespace core
