#pragma once
// Make the first member of a fixture `AppFirst app;` so the QApplication
// exists before any widget member of the fixture is built.
#include "tests/support/qt_app.h"

namespace controls_tests {

struct AppFirst {
    AppFirst() { testing_support::qtApp(); }
};

} // namespace controls_tests
