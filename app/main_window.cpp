#include "app/main_window.h"

#include "app/browser_version.h"
#include "app/options_window.h"
#include "app/panel_layout.h"
#include "app/splash_window.h"
#include "app/startup.h"
#include "app/version.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/console_frame.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/slider.h"
#include "controls/widgets/window_drag.h"
#include "core/fixed_texts.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/registry_values.h"
#include "decks/decks.h"
#include "engine/engine_helpers.h"
#include "engine/engine_lifecycle.h"
#include "mixer/auto_dj.h"
#include "mixer/key_codes.h"
#include "mixer/keyboard_shortcuts.h"
#include "mixer/mixer_desk.h"
#include "platform/system/folders.h"
#include "platform/ui/dialogs.h"
#include "playlist/playlist_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <algorithm>

halvoranF::halvoranF(app::ProgramState& state_) : QWidget(nullptr), state(state_) {
    setObjectName("halvoranF");
    setWindowTitle(app::kProductName);
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    setPalette(app::consolePalette());
    setMouseTracking(true);

    build_TitleBar();
    build_LeftDeck();
    build_RightDeck();
    build_Mixer();
    place_Panels(0);
    build_KeyboardHints();
    build_Decks();
    build_MixerDesk();
    build_AutoDJ();
    build_Keyboard();
    titlebar->setText(app::kProductName);

    new app::WindowDragHandle(imgIcon, true);
    new app::WindowDragHandle(titlebar, false);
    new app::WindowDragHandle(Mixer, true);
    Mixer->installEventFilter(this);

    connect(cmdcloseButton, &QPushButton::clicked, this, &halvoranF::cmdcloseButton_Click);
    connect(CmdMinimizeButton, &QPushButton::clicked, this, &halvoranF::CmdMinimizeButton_Click);
    connect(optionsCB, &QPushButton::clicked, this, &halvoranF::optionsCB_Click);
    connect(playListCB, &QPushButton::clicked, this, &halvoranF::playListCB_Click);
    tmrAsync.setInterval(1);
    connect(&tmrAsync, &QTimer::timeout, this, &halvoranF::tmrAsync_Timer);
}

halvoranF::~halvoranF() {
    // The mixer links lead into this window, unless a newer main window took them.
    if (!state.mainWindow || state.mainWindow == this) {
        state.links.runVolumeTimer = nullptr;
        state.links.runVUmeterTimer = nullptr;
        state.links.runAutoDJ = nullptr;
    }
}

halvoranF* halvoranF::load(app::ProgramState& state) {
    if (state.mainWindow || state.programEnded)
        return state.mainWindow;
    auto* window = new halvoranF(state);
    state.mainWindow = window;
    state.addForm("halvoranF", window, [window] { window->close(); });
    if (!window->Form_Initialize() || !window->Form_Load())
        return nullptr;
    return window;
}

bool halvoranF::Form_Initialize() {
    state.step("chdir");
    QDir::setCurrent(sys::programFolder());
    state.step("version_check");
    if (state.bassVersionText() != app::kRequiredBassVersion) {
        state.dialogs.msgBox(app::versionRefusalText(), ui::vbCritical | ui::vbOKOnly,
                             app::kVersionRefusalTitle);
        state.end(1);
        return false;
    }
    return true;
}

bool halvoranF::Form_Load() {
    loaded_ = true;
    state.step("init_Timers");
    init_Timers();

    state.step("help_file");
    const QString version = app::get_RegValue(reg::HKEY_LOCAL_MACHINE,
                                              "Software\\Microsoft\\Internet Explorer", "Version");
    const app::BrowserVersion browser = app::parseBrowserVersion(version);
    ieMajor = browser.major;
    ieMinor = browser.minor;
    state.appHelpFile = app::helpFileFor(app::helpBrowserVersion(browser), sys::programFolder());

    state.step("loops_folder");
    QDir().mkpath(sys::systemFolder() + "/Vorlan Loops"); // errors ignored

    state.step("load_optionsF");
    optionsF::load(state);

    state.step("geometry");
    set_WindowGeometry();

    state.step("lcd_song");
    LCD_L->setSong(app::kProductName);
    LCD_R->setSong(app::kProductName);

    state.step("mixer_start_values");
    connect_MixerLinks();
    state.crossMax = static_cast<std::int16_t>(crossFaderScroll->Max());
    state.crossCentre = static_cast<std::int16_t>(app::roundHalfEven(state.crossMax / 2.0));
    crossFaderScroll->setValue(state.crossCentre);
    MainVolScroll->setValue(static_cast<int>(app::roundHalfEven(state.crossMax * 0.5)));

    state.step("init_BASS");
    if (!init_BASS())
        return false;
    state.step("BASS_SetBufferLength");
    BASS_SetBufferLength(static_cast<float>(state.engine.bufferLength));

    state.step("tmrAsync");
    tmrAsync.start();

    state.step("monitorCMB_Click");
    monitorCMB_Click(2);

    state.step("cue_intervals");
    tmrLcue.setInterval(state.cueSearchInterval);
    tmrRcue.setInterval(state.cueSearchInterval);

    state.step("hide_keyboard_Shortcuts");
    hide_keyboard_Shortcuts();
    run_pitchTimer_timer();

    state.step("tmrTrackLength");
    tmrTrackLength.start();

    state.step("command_line");
    load_CommandLineSong();

    state.step("load_frmAssociate");
    app::offerFileAssociations(state, this);

    state.step("show");
    show();
    if (state.onMainWindowShown)
        state.onMainWindowShown(this);
    // The splash stays up, showing the playlist's progress, until tmrAsync
    // has loaded the playlist window.
    return true;
}

void halvoranF::load_CommandLineSong() {
    connect(&state.playlist, &app::PlaylistModel::nextSongShown, nextSongTXT, &QLineEdit::setText,
            Qt::UniqueConnection);
    if (!playlist::isCommandLineSong(state.commandLine))
        return;
    playlistF* playlist = playlistF::load(state);
    playlist->loadsongs_to_playlist(state.commandLine);
    state.decks[0].filePath = state.playlist.lastAddedFile;
    if (state.decks[0].filePath.isEmpty())
        return;
    state.playlist.select(state.playlist.cursor());
    init_LeftPlayer();
    // A song that did not load has been reported; playing would load it again.
    if (state.decks[0].stream == 0)
        return;
    Lplay_cue[0]->setBackColor(app::kColourOff);
    state.decks[0].cuePosition = 0;
    playCB2_Click();
}

void halvoranF::init_Timers() {
    tmrTrackLength.setInterval(80);
    tmrRcue.setInterval(80);
    tmrLcue.setInterval(80);
    tmrRTurntableStop.setInterval(30);
    tmrLTurntableStop.setInterval(30);
    tmrAutoFade.setInterval(100);
    for (QTimer* t : {&tmrTrackLength, &tmrRcue, &tmrLcue, &tmrRTurntableStop, &tmrLTurntableStop,
                      &tmrAutoFade})
        t->stop();
}

void halvoranF::set_WindowGeometry() {
    const int right = std::max({Left_Deck->geometry().right(), Mixer->geometry().right(),
                                Right_Deck->geometry().right()}) +
                      1;
    const int bottom = std::max({Left_Deck->geometry().bottom(), Mixer->geometry().bottom(),
                                 Right_Deck->geometry().bottom()}) +
                       1;
    const int margin = app::twips(app::kWindowMargin);
    setFixedSize(right + margin, bottom + margin);
    CmdMinimizeButton->move(width() - 56, 4);
    cmdcloseButton->move(width() - 30, 4);
    titlebar->resize(width() - 100, titlebar->height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 2);
    }
}

// ---- Engine ----

bool halvoranF::init_BASS() {
    const engine::EngineStart start = engine::startEngine(
        state.engine.deviceInUse, state.engine.outputRate, reinterpret_cast<void*>(winId()));
    if (start.failure.isEmpty()) {
        if (start.device != state.engine.deviceInUse && state.optionsWindow)
            state.optionsWindow->useDefaultDevice();
        return true;
    }
    ThrowError(start.failure);
    close();
    state.end(1);
    return false;
}

void halvoranF::terminate_BASS() {
    engine::stopEngine(state.decks[0].stream, state.decks[1].stream);
}

void halvoranF::ThrowError(const QString& message) {
    engine::showErrorBox(state.dialogs, message);
    Form_KeyUp(mixer::vk::Ctrl, 0);
    Form_KeyUp(mixer::vk::Alt, 0);
}

// ---- Close ----

bool halvoranF::Form_QueryUnload() {
    if (engine::isChannelPlaying(state.decks[0].stream) ||
        engine::isChannelPlaying(state.decks[1].stream)) {
        state.dialogs.msgBox(
            "Can't Exit when song is playing. Pause or Stop all music before closing...",
            ui::vbExclamation | ui::vbOKOnly, QString());
        return true;
    }
    return false;
}

void halvoranF::shutdown_Program() {
    state.step("disable_Timers");
    disable_Timers();
    state.step("terminate_BASS");
    terminate_BASS();
    // Every other loaded window, last loaded first.
    const std::vector<app::LoadedForm> forms = state.forms;
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        if (it->name == objectName())
            continue;
        state.step(("unload:" + it->name).toUtf8().constData());
        it->unload();
    }
}

void halvoranF::disable_Timers() {
    for (QTimer* t : {&tmrTrackLength, &tmrRcue, &tmrLcue, &tmrRTurntableStop, &tmrLTurntableStop,
                      &tmrAutoFade})
        t->stop();
}

void halvoranF::closeEvent(QCloseEvent* event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    if (loaded_ && (Form_QueryUnload() || !playlist::savePlaylistBeforeExit(state))) {
        event->ignore();
        return;
    }
    shutdown_Program();
    Form_Unload();
    event->accept();
}

void halvoranF::Form_Unload() {
    unloaded_ = true;
    tmrAsync.stop();
    state.step("release_Resources");
    release_Resources();
    deleteLater();
}

void halvoranF::release_Resources() {
    state.removeForm(this);
    state.optionsWindow = nullptr;
    state.mainWindow = nullptr;
    disconnect(&state.playlist, &app::PlaylistModel::nextSongShown, nextSongTXT, nullptr);
}

// ---- Handlers ----

void halvoranF::cmdcloseButton_Click() {
    close();
}

void halvoranF::CmdMinimizeButton_Click() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void halvoranF::optionsCB_Click() {
    optionsF* options = state.optionsWindow ? state.optionsWindow.data() : optionsF::load(state);
    options->exec();
}

void halvoranF::playListCB_Click() {
    playlistF* playlist = playlistF::load(state);
    playlist->show();
    app::centreOnScreen(playlist);
    playlist->raise();
    playlist->activateWindow();
}

void halvoranF::tmrAsync_Timer() {
    tmrAsync.stop();
    state.step("load_playlistF");
    playlistF::load(state);
    if (state.splash) {
        state.step("unload_loadingF");
        state.splash->Form_Unload();
    }
}

void halvoranF::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        app::moveWindowByMouse(this, true);
    QWidget::mousePressEvent(event);
}

void halvoranF::mouseMoveEvent(QMouseEvent* event) {
    Mixer->setFocus();
    QWidget::mouseMoveEvent(event);
}

bool halvoranF::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Mixer && event->type() == QEvent::MouseMove)
        Mixer->setFocus();
    return QWidget::eventFilter(watched, event);
}

void halvoranF::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        state.dialogs.setWaitCursor(true);
        update();
        state.dialogs.setWaitCursor(false);
    }
    QWidget::changeEvent(event);
}

void halvoranF::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient back(0, 0, 0, height());
    back.setColorAt(0, QColor(30, 32, 35));
    back.setColorAt(1, QColor(16, 17, 19));
    p.fillRect(rect(), back);
    p.setPen(QColor(0, 110, 0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor(60, 64, 70));
    p.drawLine(6, 24, width() - 7, 24);
}
