#include "app/options_window.h"

#include "app/associate_window.h"
#include "app/main_window.h"
#include "controllers/controllers.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/console_frame.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/console_panel.h"
#include "controls/widgets/slider.h"
#include "controls/widgets/window_drag.h"
#include "core/load_window.h"
#include "core/program_state.h"
#include "decks/decks.h"
#include "platform/system/folders.h"
#include "platform/ui/dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <algorithm>

optionsF::optionsF(core::ProgramState& state) : QDialog(nullptr), state_(state) {
    setObjectName("optionsF");
    setWindowTitle("Options");
    setWindowFlags(Qt::FramelessWindowHint | Qt::Dialog);
    setModal(true);
    setPalette(app::consolePalette());
    build();
}

optionsF::~optionsF() = default;

optionsF* optionsF::load(core::ProgramState& state) {
    return core::loadWindow(
        state, state.optionsWindow, [](optionsF& window) { window.done(0); },
        [](optionsF& window) { window.Form_Load(); });
}

void optionsF::build() {
    setFixedSize(440, 436);
    const app::ConsoleFrame frame =
        app::buildConsoleFrame(this, "Options", "Close the options and save them (Esc, Enter)");
    imgIcon = frame.imgIcon;
    titlebar = frame.titlebar;
    cmdcloseButton = frame.cmdcloseButton;
    new app::WindowDragHandle(this, false);

    auto caption = [this](const QString& text, int x, int y, int w = 200) {
        return makeCaption(text, this, {x, y, w, 12}, Qt::AlignLeft | Qt::AlignVCenter);
    };
    auto valueLabel = [this](int x, int y, int w) {
        auto* label = makeCaption(QString(), this, {x, y, w, 12}, Qt::AlignRight);
        label->setStyleSheet("color: rgb(0, 230, 0); background: transparent;");
        return label;
    };
    auto slider = [this](const char* name, Qt::Orientation o, int min, int max, int small,
                         int large, const QString& tip, const QRect& g) {
        auto* s = new Slider(o, this);
        s->setObjectName(name);
        s->setRange(min, max);
        s->setSingleStep(small);
        s->setPageStep(large);
        s->setToolTip(tip);
        s->setGeometry(g);
        connect(s, &Slider::Change, this, &optionsF::showSliderValues);
        return s;
    };

    caption("SOUND DEVICE", 14, 32);
    cmbDevice = new QComboBox(this);
    cmbDevice->setObjectName("cmbDevice");
    cmbDevice->setGeometry(14, 46, 200, 22);
    cmbDevice->setToolTip("The sound device used from the next start");
    caption("OUTPUT QUALITY", 14, 76);
    cmbPlayQuality = new QComboBox(this);
    cmbPlayQuality->setObjectName("cmbPlayQuality");
    cmbPlayQuality->setGeometry(14, 90, 200, 22);
    cmbPlayQuality->setToolTip("The output rate used from the next start");
    connect(cmbDevice, &QComboBox::activated, this, &optionsF::cmbDevice_Click);
    connect(cmbPlayQuality, &QComboBox::activated, this, &optionsF::cmbPlayQuality_Click);

    caption("BUFFER LENGTH", 14, 120);
    bufferValue_ = valueLabel(150, 120, 64);
    bufferSlider = slider("bufferSlider", Qt::Horizontal, 2, 20, 1, 2,
                          "Decode-ahead buffer, 0.2 to 2 seconds, used from the next start",
                          {14, 134, 200, 20});

    caption("SEEK ACCURACY", 14, 162);
    optSeek[0] = new QRadioButton("Medium ", this);
    optSeek[0]->setObjectName("optSeek0");
    optSeek[0]->setGeometry(14, 176, 95, 20);
    optSeek[0]->setToolTip("Fast positioning in MP3 files");
    optSeek[1] = new QRadioButton("High", this);
    optSeek[1]->setObjectName("optSeek1");
    optSeek[1]->setGeometry(114, 176, 95, 20);
    optSeek[1]->setToolTip("Exact positioning in MP3 files (slower to open)");
    optSeek[0]->setChecked(true);
    auto* seekGroup = new QButtonGroup(this);
    seekGroup->addButton(optSeek[0], 0);
    seekGroup->addButton(optSeek[1], 1);

    caption("PITCH RANGE", 228, 32);
    pitchRangeValue_ = valueLabel(340, 32, 86);
    pitchRange_slider =
        slider("pitchRange_slider", Qt::Horizontal, 0, 2, 1, 1,
               "Full pitch slider travel: 10, 15 or 20 percent", {228, 46, 198, 20});
    caption("AUTOMIX START", 228, 76);
    autoMixValue_ = valueLabel(340, 76, 86);
    autoMixSlider =
        slider("autoMixSlider", Qt::Horizontal, 70, 100, 1, 2,
               "Automatic DJ: where in the track the next song starts", {228, 90, 198, 20});

    caption("MIXER LAYOUT", 228, 120);
    const char* layouts[] = {"Deck L | Mixer | Deck R", "Mixer | Deck L | Deck R",
                             "Deck L | Deck R | Mixer"};
    for (int i = 0; i < 3; ++i) {
        djSetupOpt[i] = new QRadioButton(layouts[i], this);
        djSetupOpt[i]->setObjectName(QString("djSetupOpt%1").arg(i));
        djSetupOpt[i]->setGeometry(228, 134 + 20 * i, 160, 20);
        djSetupOpt[i]->setToolTip("Arrangement of the main window's panels");
        connect(djSetupOpt[i], &QRadioButton::clicked, this, [this, i] { djSetupOpt_Click(i); });
    }

    auto* setupGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i)
        setupGroup->addButton(djSetupOpt[i], i);

    caption("STOP", 392, 120, 40);
    turntableValue_ = valueLabel(384, 212, 48);
    TurntableStopSpeed_slider =
        slider("TurntableStopSpeed_slider", Qt::Vertical, 1000, 7000, 200, 500,
               "Turntable stop speed: how fast a stopped deck slows down", {400, 134, 24, 76});

    cmdControllers =
        new ConsoleButton("CONTROLLERS...", "MIDI controllers: devices, mapping, learning", this);
    cmdControllers->setObjectName("cmdControllers");
    cmdControllers->setGeometry(228, 194, 120, 22);
    cmdControllers->setFont(app::consoleFont(7.5));
    connect(cmdControllers, &QPushButton::clicked, this, &optionsF::cmdControllers_Click);

    caption("PLAYLIST FOLDER", 14, 206);
    txtPlaylistPath = new QLineEdit(this);
    txtPlaylistPath->setObjectName("txtPlaylistPath");
    txtPlaylistPath->setGeometry(14, 220, 270, 22);
    txtPlaylistPath->setToolTip("Where playlists are kept");
    txtPlaylistPath->installEventFilter(this);

    cmdAssociate =
        new ConsoleButton("FILE TYPES...", "Make Vorlan the player of its file types", this);
    cmdAssociate->setObjectName("cmdAssociate");
    cmdAssociate->setGeometry(14, 396, 120, 26);
    cmdAssociate->setFont(app::consoleFont(7.5));
    makeCaption("Esc or Enter closes the options and saves them", this, {150, 402, 276, 14},
                Qt::AlignRight | Qt::AlignVCenter);

    for (QWidget* w : std::initializer_list<QWidget*>{cmbDevice, cmbPlayQuality, optSeek[0],
                                                      optSeek[1], djSetupOpt[0], djSetupOpt[1],
                                                      djSetupOpt[2], txtPlaylistPath})
        w->setFont(app::consoleFont(8, false));
    buildRecordingOptions();
    buildTempoOptions();
    buildAutoDJOptions();
    buildKeyLockOption();
    connect(cmdcloseButton, &QPushButton::clicked, this, &optionsF::cmdcloseButton_Click);
    connect(cmdAssociate, &QPushButton::clicked, this, &optionsF::cmdAssociate_Click);
}

void optionsF::showSliderValues() {
    bufferValue_->setText(QString::number(bufferSlider->Value() / 10.0, 'f', 1) + " s");
    static const char* ranges[] = {"+/- 10 %", "+/- 15 %", "+/- 20 %"};
    pitchRangeValue_->setText(ranges[std::clamp(pitchRange_slider->Value(), 0, 2)]);
    autoMixValue_->setText(QString::number(autoMixSlider->Value()) + " %");
    turntableValue_->setText(QString::number(TurntableStopSpeed_slider->Value()));
}

void optionsF::Form_Load() {
    app::centreOnScreen(this);
    state_.cueSearchInterval = 80;
    readSettings();
    showSliderValues();
}

void optionsF::cmbDevice_Click() {
    deviceText = cmbDevice->currentText();
}

void optionsF::useDefaultDevice() {
    state_.engine.device = -1;
    state_.engine.deviceInUse = -1;
    cmbDevice->setCurrentIndex(0);
    cmbDevice_Click();
}

void optionsF::cmbPlayQuality_Click() {
    qualityText = cmbPlayQuality->currentText();
}

void optionsF::djSetupOpt_Click(int index) {
    if (state_.mainWindow)
        state_.mainWindow->place_Panels(index);
    state_.settings.djSetup = static_cast<std::int16_t>(index);
}

void optionsF::txtPlaylistPath_LostFocus() {
    const QString path = txtPlaylistPath->text();
    if (!path.isEmpty() && QFileInfo(path).isDir())
        return;
    const QString saved = state_.settings.playlistPath;
    const int answer =
        state_.dialogs.msgBox("The Playlist directory was not found. Do you want to create it?",
                              ui::vbYesNo | ui::vbExclamation, "Path Not Found...");
    if (answer == ui::vbYes) {
        const QString folder = path.endsWith('/') ? path : path + "/";
        if (path.isEmpty() || !QDir().mkpath(folder)) {
            state_.dialogs.msgBox(
                "The Playlist directory could not be created. Please ensure that the path is valid",
                ui::vbExclamation | ui::vbOKOnly, "Path Error...");
            txtPlaylistPath->setText(saved);
        }
        return;
    }
    if (path == saved) {
        state_.settings.playlistPath = sys::writableProgramFolder() + "/Playlists";
        txtPlaylistPath->setText(state_.settings.playlistPath);
    } else {
        txtPlaylistPath->setText(saved);
    }
}

void optionsF::cmdAssociate_Click() {
    frmAssociate::load(state_)->showOwned(this, true);
}

void optionsF::cmdControllers_Click() {
    if (state_.mainWindow)
        state_.mainWindow->controllers().showWindow();
}

void optionsF::cmdcloseButton_Click() {
    done(0);
}

void optionsF::done(int result) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
    QDialog::done(result);
}

void optionsF::Form_Unload() {
    writeSettings();
    if (halvoranF* main = state_.mainWindow) {
        main->decks->changePitches();
        main->decks->setScrubInterval(state_.cueSearchInterval);
    }
    state_.removeForm(this);
    state_.optionsWindow = nullptr;
    deleteLater();
}

void optionsF::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        cmdcloseButton_Click();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool optionsF::eventFilter(QObject* watched, QEvent* event) {
    // Focus moved on inside the window (not the window closing or another
    // program becoming active).
    if (watched == txtPlaylistPath && event->type() == QEvent::FocusOut && !unloaded_) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason)
            txtPlaylistPath_LostFocus();
    }
    return QDialog::eventFilter(watched, event);
}

void optionsF::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor line(70, 74, 80);
    app::paintConsoleFrame(
        this, p, {.top = QColor(44, 47, 51), .bottom = QColor(24, 26, 28), .titleLine = line});
    // The line above the buttons.
    p.setPen(line);
    p.drawLine(6, 298, width() - 7, 298);
}
