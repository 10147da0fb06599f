#include "app/splash_window.h"

#include "app/main_window.h"
#include "app/program_path.h"
#include "app/version.h"
#include "controls/widgets/console_frame.h"
#include "controls/widgets/console_look.h"
#include "core/fixed_texts.h"
#include "core/load_window.h"
#include "core/program_state.h"
#include "platform/system/folders.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>

loadingF::loadingF(core::ProgramState& state) : QWidget(nullptr), state_(state) {
    setObjectName("loadingF");
    setWindowTitle(app::kProductName);
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    setFixedSize(400, 190);
    setPalette(app::consolePalette());

    titleLABEL = new QLabel(QString(app::kProductName).toUpper(), this);
    titleLABEL->setGeometry(24, 22, 352, 50);
    titleLABEL->setFont(app::consoleFont(30));
    titleLABEL->setStyleSheet("color: rgb(0, 230, 0);");

    descLABEL = new QLabel(this);
    descLABEL->setGeometry(26, 76, 352, 20);
    descLABEL->setFont(app::consoleFont(10, false));
    descLABEL->setStyleSheet("color: rgb(220, 224, 228);");

    ver_label = new QLabel(this);
    ver_label->setGeometry(26, 100, 352, 16);
    ver_label->setFont(app::consoleFont(8, false));
    ver_label->setStyleSheet("color: rgb(150, 156, 162);");

    loadingLABEL = new QLabel("Initializing Sound System...", this);
    loadingLABEL->setGeometry(26, 150, 352, 18);
    loadingLABEL->setFont(app::consoleFont(9));
    loadingLABEL->setStyleSheet("color: rgb(255, 200, 0);");

    connect(&tmrLoad, &QTimer::timeout, this, &loadingF::tmrLoad_Timer);
    connect(&tmrSplash, &QTimer::timeout, this, &loadingF::tmrSplash_Timer);
}

loadingF::~loadingF() = default;

loadingF* loadingF::load(core::ProgramState& state) {
    return core::loadWindow(
        state, state.splash, [](loadingF& splash) { splash.Form_Unload(); },
        [](loadingF& splash) {
            splash.Form_Load();
            splash.show();
        });
}

void loadingF::Form_Load() {
    app::putProgramFolderOnPath(sys::programFolder());

    tmrLoad.setInterval(25);
    tmrLoad.stop();
    tmrSplash.setInterval(60);
    tmrSplash.stop();

    ver_label->setText(QString("version %1.%2 build %3")
                           .arg(app::kVersionMajor)
                           .arg(app::kVersionMinor)
                           .arg(app::kVersionRevision));

    setCursor(Qt::WaitCursor);
    app::centreOnScreen(this);
    descLABEL->setText(core::splashLabelText());
    tmrLoad.start();
}

void loadingF::tmrLoad_Timer() {
    if (!tmrSplash.isActive())
        tmrSplash.start();
    // A message box during the main window's load (a song on the command
    // line that cannot be played) runs events, and the load unloads this
    // window: it may be gone when the load returns.
    const QPointer<loadingF> self(this);
    halvoranF::load(state_);
    if (!self)
        return;
    if (state_.programEnded) {
        tmrLoad.stop();
        tmrSplash.stop();
    }
}

void loadingF::tmrSplash_Timer() {
    // The entries read so far (the cursor entry stays at the first while a
    // playlist file is read, so it cannot show the progress).
    const int loaded = state_.playlist.count();
    if (loaded >= lastShown_) {
        lastShown_ = loaded;
        loadingLABEL->setText("Loading Playlist: " + QString::number(loaded) + " Songs done...");
    }
}

void loadingF::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    tmrLoad.stop();
    tmrSplash.stop();
    state_.removeForm(this);
    state_.splash = nullptr;
    hide();
    deleteLater();
}

void loadingF::paintEvent(QPaintEvent*) {
    QPainter p(this);
    app::paintConsoleFrame(this, p,
                           {.top = QColor(40, 44, 48),
                            .bottom = QColor(14, 15, 16),
                            .rim = QColor(0, 150, 0),
                            .titleLine = QColor()});
    p.fillRect(QRect(24, 128, 352, 2), QColor(0, 120, 0));
}
