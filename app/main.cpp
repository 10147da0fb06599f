// The program's entry point.
#include "app/headless_run.h"
#include "app/startup.h"
#include "app/version.h"
#include "controls/widgets/console_look.h"
#include "core/program_state.h"
#include "platform/ui/qt_dialogs.h"
#include "platform/ui/screen_colormap.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(app::kProductName);
    QApplication::setApplicationVersion(QString("%1.%2.%3")
                                            .arg(app::kVersionMajor)
                                            .arg(app::kVersionMinor)
                                            .arg(app::kVersionRevision));
    // The desktop matches the program's windows to its desktop entry by this name.
    QGuiApplication::setDesktopFileName("vorlan");
    app::applyConsoleLook(application);
    ui::useScreenColormap(application);

    ui::QtDialogs dialogs;
    core::ProgramState state(dialogs);
    state.commandLine = app::commandLineText(QApplication::arguments());
    state.endProgram = [](int code) { QCoreApplication::exit(code); };
    state.onMainWindowShown = [&dialogs](QWidget* mainWindow) {
        dialogs.setParent(mainWindow);
        app::armHeadlessRun(mainWindow);
    };
    app::answerBoxesWhenUnattended();
    app::startProgram(state);
    const int status = application.exec();
    return state.programEnded ? state.exitCode : status;
}
