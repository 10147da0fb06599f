#pragma once
// Loading a window once: the window is made unless its reference in the
// program state holds one, registered in the loaded windows under its object
// name with the way it unloads, and its load run. UI thread only.
#include "core/program_state.h"

#include <QPointer>
#include <type_traits>

namespace core {

// `unload(window)` runs when the close unloads the window; `formLoad(window)`
// runs once after registering and may return false when the load failed
// (the window stays registered, its reference set, and null is returned).
// Returns the loaded window.
template <class Window, class Unload, class FormLoad>
Window* loadWindow(ProgramState& state, QPointer<Window>& loaded, Unload unload,
                   FormLoad formLoad) {
    if (loaded)
        return loaded;
    auto* window = new Window(state);
    loaded = window;
    state.addForm(window->objectName(), window, [window, unload] { unload(*window); });
    if constexpr (std::is_void_v<decltype(formLoad(*window))>) {
        formLoad(*window);
    } else if (!formLoad(*window)) {
        return nullptr;
    }
    return window;
}

} // namespace core
