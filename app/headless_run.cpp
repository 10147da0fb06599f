#include "app/headless_run.h"

#include "engine/output_report.h"
#include "platform/system/safe_rewrite.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <optional>

namespace app {

namespace {

// Each box is answered No (or OK when it has no No), and what it said is
// printed: a missing song at start-up, "Save Playlist?" at the close.
void answerBoxesUnattended() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        QAbstractButton* answer = box->button(QMessageBox::No);
        if (!answer)
            answer = box->button(QMessageBox::Ok);
        if (!answer)
            return;
        std::fprintf(stderr, "vorlan: unattended, answered \"%s\" to: %s\n",
                     qPrintable(answer->text()), qPrintable(box->text()));
        answer->click();
    });
    timer->start(50);
}

// Milliseconds an unattended run lasts (VORLAN_QUIT_AFTER_MS); empty when
// the run is attended.
std::optional<int> unattendedMilliseconds() {
    bool ok = false;
    const int quitAfter = qEnvironmentVariableIntValue("VORLAN_QUIT_AFTER_MS", &ok);
    if (ok && quitAfter >= 0)
        return quitAfter;
    return std::nullopt;
}

void writeOutputReport() {
    const QString path = qEnvironmentVariable("VORLAN_OUTPUT_REPORT");
    if (path.isEmpty())
        return;
    const QString failure = sys::writeFileContents(path, engine::outputReport());
    if (!failure.isEmpty())
        std::fprintf(stderr, "vorlan: output report: %s\n", qPrintable(failure));
}

} // namespace

void answerBoxesWhenUnattended() {
    if (unattendedMilliseconds())
        answerBoxesUnattended();
}

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
    if (qEnvironmentVariableIsSet("VORLAN_OUTPUT_REPORT")) {
        auto* timer = new QTimer(mainWindow);
        QObject::connect(timer, &QTimer::timeout, &writeOutputReport);
        timer->start(10000);
    }
    if (const std::optional<int> quitAfter = unattendedMilliseconds()) {
        std::printf("vorlan: main window shown\n");
        std::fflush(stdout);
        QPointer<QWidget> window = mainWindow;
        QTimer::singleShot(*quitAfter, Qt::PreciseTimer, qApp, [window] {
            writeOutputReport();
            // The main window's own close: it stops the engine and unloads
            // the other windows.
            if (window)
                window->close();
            // exit, not quit: quit asks the windows again, and a playing deck refuses.
            QCoreApplication::exit(0);
        });
    }
}

} // namespace app
