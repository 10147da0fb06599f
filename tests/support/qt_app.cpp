#include "tests/support/qt_app.h"

#include <QApplication>

namespace testing_support {

QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "vorlan-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        QApplication::setApplicationName("Vorlan");
        return a;
    }();
    return *app;
}

} // namespace testing_support
