#include "app/headless_run.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace app {

void armHeadlessRun(QWidget* mainWindow) {
    const QString shot = qEnvironmentVariable("VORLAN_SCREENSHOT");
    if (!shot.isEmpty()) {
        // Wait for the first paint so the picture shows the finished window.
        QTimer::singleShot(500, Qt::PreciseTimer, mainWindow, [mainWindow, shot] {
            if (mainWindow->grab().save(shot))
                std::printf("screenshot: %s\n", qPrintable(shot));
            else
                std::fprintf(stderr, "could not save screenshot %s\n", qPrintable(shot));
            std::fflush(stdout);
        });
    }
    bool ok = false;
    const int quitAfter = qEnvironmentVariableIntValue("VORLAN_QUIT_AFTER_MS", &ok);
    if (ok && quitAfter >= 0) {
        std::printf("vorlan: main window shown\n");
        std::fflush(stdout);
        QPointer<QWidget> window = mainWindow;
        QTimer::singleShot(quitAfter, Qt::PreciseTimer, qApp, [window] {
            // The main window's own close: it stops the engine and unloads
            // the other windows.
            if (window)
                window->close();
            QApplication::quit();
        });
    }
}

} // namespace app
