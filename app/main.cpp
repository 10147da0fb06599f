// The program's entry point.
#include "app/headless_run.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Vorlan");
    QMainWindow window;
    window.setWindowTitle("Vorlan");
    window.resize(800, 480);
    window.show();
    app::armHeadlessRun(&window);
    return application.exec();
}
