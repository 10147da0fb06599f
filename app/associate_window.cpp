#include "app/associate_window.h"

#include "app/desktop_integration.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/console_frame.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/window_drag.h"
#include "core/load_window.h"
#include "core/program_state.h"
#include "platform/ui/dialogs.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

frmAssociate::frmAssociate(core::ProgramState& state) : QDialog(nullptr), state_(state) {
    setObjectName("frmAssociate");
    setWindowTitle("Associate Music files with Vorlan...");
    setWindowFlags(Qt::FramelessWindowHint | Qt::Dialog);
    setPalette(app::consolePalette());
    build();
}

frmAssociate::~frmAssociate() = default;

frmAssociate* frmAssociate::load(core::ProgramState& state) {
    return core::loadWindow(
        state, state.associateWindow, [](frmAssociate& window) { window.done(0); },
        [](frmAssociate& window) { window.Form_Load(); });
}

void frmAssociate::build() {
    // Five more types than the window first offered: 23 pixels each.
    constexpr int extra = 5 * 23;
    setFixedSize(340, 262 + extra);
    const app::ConsoleFrame frame = app::buildConsoleFrame(
        this, "        Associate Music files with Vorlan...", "Exit from the Recorder...");
    imgIcon = frame.imgIcon;
    titlebar = frame.titlebar;
    cmdcloseButton = frame.cmdcloseButton;
    new app::WindowDragHandle(this, false);
    // The caption's leading blanks leave room for the icon.
    titlebar->setGeometry(8, 3, width() - 48, 20);
    imgIcon->raise();

    FrameID3choice = new QGroupBox("Always open these files with Vorlan:", this);
    FrameID3choice->setObjectName("FrameID3choice");
    FrameID3choice->setGeometry(12, 32, width() - 24, 142 + extra);
    FrameID3choice->setFont(app::consoleFont(8));
    FrameID3choice->setStyleSheet(
        "QGroupBox { color: rgb(0, 220, 0); border: 1px solid rgb(70, 74, 80);"
        " border-radius: 4px; margin-top: 8px; }"
        " QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }");
    std::array<QCheckBox**, app::kFileTypeCount> members{&chkMP3, &chkWMA,  &chkASF,  &chkWAV,
                                                         &chkM3U, &chkFLAC, &chkAIFF, &chkM4A,
                                                         &chkOGG, &chkOPUS};
    const char* names[] = {"chkMP3",  "chkWMA",  "chkASF", "chkWAV", "chkM3U",
                           "chkFLAC", "chkAIFF", "chkM4A", "chkOGG", "chkOPUS"};
    for (int i = 0; i < app::kFileTypeCount; ++i) {
        auto* box = new QCheckBox(app::kFileTypes[i].caption, FrameID3choice);
        box->setObjectName(names[i]);
        box->setGeometry(14, 20 + 23 * i, width() - 60, 20);
        box->setFont(app::consoleFont(8, false));
        *members[i] = box;
    }

    cmdAssociate = new ConsoleButton("Update", "Write the chosen file types", this);
    cmdAssociate->setObjectName("cmdAssociate");
    cmdAssociate->setGeometry(width() - 104, 184 + extra, 92, 26);
    cmdAssociate->setFont(app::consoleFont(8));

    chkStartupShow = new QCheckBox(this);
    chkStartupShow->setObjectName("chkStartupShow");
    chkStartupShow->setGeometry(14, 188 + extra, 18, 18);
    chkStartupShow->setToolTip("Offer this dialog when Vorlan starts");
    lblStartup = new QLabel("Show on startup.", this);
    lblStartup->setObjectName("lblStartup");
    lblStartup->setGeometry(34, 188 + extra, 140, 18);
    lblStartup->setFont(app::consoleFont(8, false));
    lblStartup->setStyleSheet("color: rgb(200, 204, 210); background: transparent;");
    lblStartup->installEventFilter(this);

    Label18 = new QLabel("NOTE: You can undo this at any time (if you choose to) from the DJ "
                         "Options dialog... ",
                         this);
    Label18->setObjectName("Label18");
    Label18->setGeometry(14, 218 + extra, width() - 28, 36);
    Label18->setWordWrap(true);
    Label18->setFont(app::consoleFont(7, false));
    Label18->setStyleSheet("color: rgb(150, 156, 164); background: transparent;");

    connect(cmdcloseButton, &QPushButton::clicked, this, &frmAssociate::cmdcloseButton_Click);
    connect(cmdAssociate, &QPushButton::clicked, this, &frmAssociate::cmdAssociate_Click);
}

std::array<QCheckBox*, app::kFileTypeCount> frmAssociate::boxes() const {
    return {chkMP3, chkWMA, chkASF, chkWAV, chkM3U, chkFLAC, chkAIFF, chkM4A, chkOGG, chkOPUS};
}

void frmAssociate::Form_Load() {
    app::centreOnScreen(this);
    read_reg_values();
    chkStartupShow->setChecked(state_.settings.optStartUp == 1);
}

void frmAssociate::read_reg_values() {
    const app::TypeChecks checks = app::readAssociations();
    const auto list = boxes();
    for (int i = 0; i < app::kFileTypeCount; ++i)
        list[i]->setChecked(checks[i] == 1);
    state_.associatedTypes = app::checkedCount(checks);
}

app::TypeChecks frmAssociate::checkValues() const {
    app::TypeChecks checks{};
    const auto list = boxes();
    for (int i = 0; i < app::kFileTypeCount; ++i)
        checks[i] = list[i]->isChecked() ? 1 : 0;
    return checks;
}

namespace {

// Raises `window` once `owner` has appeared (its first paint): a window shown
// while its owner is still hidden opens behind the owner when the window
// manager (openbox) maps the owner later and puts it on top.
class RaiseAboveOwner : public QObject {
public:
    RaiseAboveOwner(QWidget* window, QWidget* owner) : QObject(window), window_(window) {
        owner->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            window_->raise();
            deleteLater();
        }
        return false;
    }

private:
    QWidget* window_;
};

} // namespace

void frmAssociate::showOwned(QWidget* owner, bool modal) {
    if (owner && parentWidget() != owner)
        setParent(owner, windowFlags());
    if (owner && !owner->isVisible())
        new RaiseAboveOwner(this, owner);
    if (modal)
        exec();
    else
        show();
}

void frmAssociate::cmdAssociate_Click() {
    const app::TypeChecks checks = checkValues();
    state_.dialogs.setWaitCursor(true);
    app::Associate_Files(checks);
    app::remove_Association(checks);
    QString error;
    const bool desktop = app::updateDesktopAssociations(checks, &error);
    state_.dialogs.setWaitCursor(false);
    if (!desktop)
        state_.dialogs.msgBox("The desktop could not be told about the file types.\n\n" + error,
                              ui::vbExclamation | ui::vbOKOnly, "Associate Music files...");
    done(0);
}

void frmAssociate::lblStartup_Click() {
    chkStartupShow->setChecked(!chkStartupShow->isChecked());
    state_.settings.optStartUp = chkStartupShow->isChecked() ? 1 : 0;
}

void frmAssociate::Form_QueryUnload() {
    state_.settings.optStartUp = chkStartupShow->isChecked() ? 1 : 0;
}

void frmAssociate::cmdcloseButton_Click() {
    done(0);
}

void frmAssociate::done(int result) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_QueryUnload();
        state_.removeForm(this);
        state_.associateWindow = nullptr;
        deleteLater();
    }
    QDialog::done(result);
}

void frmAssociate::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cmdcloseButton_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmAssociate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblStartup) {
            lblStartup_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAssociate::paintEvent(QPaintEvent*) {
    QPainter p(this);
    app::paintConsoleFrame(this, p);
}
