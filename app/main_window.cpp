#include "app/main_window.h"

#include "analysis/analysis_queue.h"
#include "app/browser_version.h"
#include "app/options_window.h"
#include "app/panel_layout.h"
#include "app/splash_window.h"
#include "app/startup.h"
#include "app/track_analyses.h"
#include "app/version.h"
#include "controllers/controllers.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/console_frame.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/slider.h"
#include "controls/widgets/window_drag.h"
#include "core/fixed_texts.h"
#include "core/load_window.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/registry_values.h"
#include "decks/decks.h"
#include "engine/engine_helpers.h"
#include "engine/engine_lifecycle.h"
#include "engine/headphones.h"
#include "mixer/action_runner.h"
#include "mixer/auto_dj.h"
#include "mixer/headphone_desk.h"
#include "mixer/keyboard_shortcuts.h"
#include "mixer/mixer_desk.h"
#include "mixer/recording.h"
#include "mixer/track_tick.h"
#include "platform/system/folders.h"
#include "platform/ui/dialogs.h"
#include "playlist/playlist_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <algorithm>

halvoranF::halvoranF(core::ProgramState& state_) : QWidget(nullptr), state(state_) {
    setObjectName("halvoranF");
    setWindowTitle(app::kProductName);
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    setPalette(app::consolePalette());
    setMouseTracking(true);

    build_TitleBar();
    build_Decks();
    build_Mixer();
    place_Panels(0);
    build_KeyboardHints();
    build_MixerDesk();
    analyses_ = std::make_unique<app::TrackAnalyses>(state, *decks);
    build_AutoDJ();
    build_Keyboard();

    new app::WindowDragHandle(this, true);
    new app::WindowDragHandle(Mixer, true);
    Mixer->installEventFilter(this);

    connect(cmdcloseButton, &QPushButton::clicked, this, &halvoranF::cmdcloseButton_Click);
    connect(CmdMinimizeButton, &QPushButton::clicked, this, &halvoranF::CmdMinimizeButton_Click);
    connect(mixerPanel.options, &QPushButton::clicked, this, &halvoranF::optionsCB_Click);
    connect(mixerPanel.playList, &QPushButton::clicked, this, &halvoranF::playListCB_Click);
    tmrAsync.setInterval(1);
    connect(&tmrAsync, &QTimer::timeout, this, &halvoranF::tmrAsync_Timer);
}

halvoranF::~halvoranF() = default;

halvoranF* halvoranF::load(core::ProgramState& state) {
    if (state.programEnded)
        return state.mainWindow;
    return core::loadWindow(
        state, state.mainWindow, [](halvoranF& window) { window.close(); },
        [](halvoranF& window) { return window.Form_Initialize() && window.Form_Load(); });
}

bool halvoranF::Form_Initialize() {
    QDir::setCurrent(sys::programFolder());
    if (state.bassVersionText() != core::kRequiredBassVersion) {
        state.dialogs.msgBox(core::versionRefusalText(), ui::vbCritical | ui::vbOKOnly,
                             core::kVersionRefusalTitle);
        state.end(1);
        return false;
    }
    return true;
}

bool halvoranF::Form_Load() {
    loaded_ = true;
    init_Timers();

    const QString version = core::get_RegValue(reg::HKEY_LOCAL_MACHINE,
                                               "Software\\Microsoft\\Internet Explorer", "Version");
    const app::BrowserVersion browser = app::parseBrowserVersion(version);
    ieMajor = browser.major;
    ieMinor = browser.minor;
    state.appHelpFile = app::helpFileFor(app::helpBrowserVersion(browser), sys::programFolder());

    QDir().mkpath(sys::systemFolder() + "/Vorlan Loops"); // errors ignored

    optionsF::load(state);

    set_WindowGeometry();

    decks->left().controls().lcd->setSong(app::kProductName);
    decks->right().controls().lcd->setSong(app::kProductName);

    state.crossMax = static_cast<std::int16_t>(mixerPanel.desk.crossFaderScroll->Max());
    state.crossCentre = static_cast<std::int16_t>(core::roundHalfEven(state.crossMax / 2.0));
    mixerPanel.desk.crossFaderScroll->setValue(state.crossCentre);
    mixerPanel.desk.MainVolScroll->setValue(
        static_cast<int>(core::roundHalfEven(state.crossMax * 0.5)));

    if (!init_BASS())
        return false;
    engine::setBufferLength(state.engine.bufferLength);

    tmrAsync.start();

    monitorCMB_Click(2);

    decks->setScrubInterval(state.cueSearchInterval);

    hide_keyboard_Shortcuts();
    decks->run_pitchTimer_timer();

    tmrTrackLength.start();
    controllers_->restoreMapping();

    load_CommandLineSong();

    app::offerFileAssociations(state, this);

    show();
    if (state.onMainWindowShown)
        state.onMainWindowShown(this);
    // The splash stays up, showing the playlist's progress, until tmrAsync
    // has loaded the playlist window.
    return true;
}

void halvoranF::load_CommandLineSong() {
    connect(&state.playlist, &core::PlaylistModel::nextSongShown, mixerPanel.nextSong,
            &QLineEdit::setText, Qt::UniqueConnection);
    if (!playlist::isCommandLineSong(state.commandLine))
        return;
    playlistF* playlist = playlistF::load(state);
    playlist->loadsongs_to_playlist(state.commandLine);
    state.decks[0].filePath = state.playlist.lastAddedFile;
    if (state.decks[0].filePath.isEmpty())
        return;
    state.playlist.select(state.playlist.cursor());
    decks::Deck& left = decks->left();
    left.init_Player();
    // A song that did not load has been reported; playing would load it again.
    if (!state.decks[0].stream)
        return;
    left.controls().playFromMemory->setBackColor(app::kColourOff);
    state.decks[0].cuePosition = 0;
    left.play_Click();
}

void halvoranF::init_Timers() {
    tmrTrackLength.setInterval(80);
    tmrAutoFade.setInterval(100);
    disable_Timers();
}

void halvoranF::set_WindowGeometry() {
    const QRect left = decks->left().controls().panel->geometry();
    const QRect right = decks->right().controls().panel->geometry();
    const int rightEdge = std::max({left.right(), Mixer->geometry().right(), right.right()}) + 1;
    const int bottom = std::max({left.bottom(), Mixer->geometry().bottom(), right.bottom()}) + 1;
    const int margin = app::twips(app::kWindowMargin);
    setFixedSize(rightEdge + margin, bottom + margin);
    CmdMinimizeButton->move(width() - 56, 4);
    cmdcloseButton->move(width() - 30, 4);
    titlebar->resize(width() - 100, titlebar->height());
    app::centreOnScreen(this);
}

// ---- Engine ----

bool halvoranF::init_BASS() {
    engine::chooseHeadphones(state.settings.headphones);
    const engine::EngineStart start = engine::startEngine(
        state.engine.deviceInUse, state.engine.outputRate, reinterpret_cast<void*>(winId()));
    if (start.failure.isEmpty()) {
        if (start.device != state.engine.deviceInUse && state.optionsWindow)
            state.optionsWindow->useDefaultDevice();
        phones_->engineStarted([this] { monitorCMB_Click(2); });
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
}

// ---- Close ----

bool halvoranF::Form_QueryUnload() {
    if (state.decks[0].stream.isPlaying() || state.decks[1].stream.isPlaying()) {
        state.dialogs.msgBox(
            "Can't Exit when song is playing. Pause or Stop all music before closing...",
            ui::vbExclamation | ui::vbOKOnly, QString());
        return true;
    }
    return false;
}

void halvoranF::shutdown_Program() {
    disable_Timers();
    if (recording_)
        recording_->stop();
    terminate_BASS();
    // Every other loaded window, last loaded first.
    const std::vector<core::LoadedForm> forms = state.forms;
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        if (it->name == objectName())
            continue;
        it->unload();
    }
}

void halvoranF::disable_Timers() {
    tmrTrackLength.stop();
    decks->stopTimers();
    tmrAutoFade.stop();
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
    release_Resources();
    deleteLater();
}

void halvoranF::release_Resources() {
    state.removeForm(this);
    state.optionsWindow = nullptr;
    state.mainWindow = nullptr;
    disconnect(&state.playlist, &core::PlaylistModel::nextSongShown, mixerPanel.nextSong, nullptr);
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
    playlistF::load(state);
    if (state.splash)
        state.splash->Form_Unload();
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
    app::paintConsoleFrame(this, p);
}
