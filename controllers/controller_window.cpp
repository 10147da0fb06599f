#include "controllers/controller_window.h"

#include "controllers/controllers.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/console_frame.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/console_panel.h"
#include "controls/widgets/window_drag.h"
#include "mixer/actions.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPainter>

namespace controllers {

ControllerWindow::ControllerWindow(Controllers& controllers, QWidget* parent)
    : QDialog(parent), controllers_(controllers) {
    setWindowTitle("Controllers");
    setWindowFlags(Qt::FramelessWindowHint | Qt::Dialog);
    setModal(true);
    setPalette(app::consolePalette());
    build();
}

ControllerWindow::~ControllerWindow() = default;

void ControllerWindow::build() {
    setFixedSize(400, 300);
    const app::ConsoleFrame frame =
        app::buildConsoleFrame(this, "Controllers", "Close the controller window (Esc)");
    new app::WindowDragHandle(this, false);
    connect(frame.cmdcloseButton, &QPushButton::clicked, this,
            &ControllerWindow::cmdcloseButton_Click);
    const auto caption = [this](const QString& text, int y) {
        makeCaption(text, this, {14, y, 372, 12}, Qt::AlignLeft | Qt::AlignVCenter);
    };

    caption("DEVICES", 34);
    lstDevices = new QListWidget(this);
    lstDevices->setObjectName("lstDevices");
    lstDevices->setGeometry(14, 48, 372, 70);
    lstDevices->setToolTip("The MIDI devices connected now");

    caption("MAPPING", 128);
    cmbDevice = new QComboBox(this);
    cmbDevice->setObjectName("cmbDevice");
    cmbDevice->setGeometry(14, 142, 150, 22);
    cmbDevice->setToolTip("All devices, or one device with a mapping of its own");
    cmbMapping = new QComboBox(this);
    cmbMapping->setObjectName("cmbMapping");
    cmbMapping->setGeometry(170, 142, 216, 22);
    cmbMapping->setToolTip("The mapping the chosen devices are played through");

    caption("LEARN: PICK AN ACTION, PRESS LEARN, MOVE A CONTROL", 176);
    cmbAction = new QComboBox(this);
    cmbAction->setObjectName("cmbAction");
    cmbAction->setGeometry(14, 190, 262, 22);
    for (const mixer::ActionRow& row : mixer::actionTable())
        cmbAction->addItem(row.id, static_cast<int>(row.action));
    cmdLearn = new ConsoleButton("LEARN", "Bind the next control moved to the action", this);
    cmdLearn->setObjectName("cmdLearn");
    cmdLearn->setGeometry(286, 188, 100, 26);
    cmdLearn->setFont(app::consoleFont(7.5));
    lblLearn = new QLabel(this);
    lblLearn->setObjectName("lblLearn");
    lblLearn->setGeometry(14, 222, 372, 60);
    lblLearn->setWordWrap(true);
    lblLearn->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblLearn->setStyleSheet("color: rgb(0, 230, 0); background: transparent;");

    for (QWidget* w :
         std::initializer_list<QWidget*>{lstDevices, cmbDevice, cmbMapping, cmbAction, lblLearn})
        w->setFont(app::consoleFont(8, false));
    connect(cmbDevice, &QComboBox::activated, this, [this] { cmbDevice_Click(); });
    connect(cmbMapping, &QComboBox::activated, this, [this] { cmbMapping_Click(); });
    connect(cmdLearn, &QPushButton::clicked, this, [this] { cmdLearn_Click(); });
    connect(&controllers_, &Controllers::devicesChanged, this, [this] { showDevices(); });
    connect(&controllers_, &Controllers::learned, this,
            [this](const QString& path) { learned(path); });
}

void ControllerWindow::Form_Load() {
    app::centreOnScreen(this);
    showDevices();
    showMappings();
    lblLearn->clear();
}

void ControllerWindow::showDevices() {
    lstDevices->clear();
    const QStringList devices = controllers_.devices();
    lstDevices->addItems(devices);
    if (devices.isEmpty())
        lstDevices->addItem(controllers_.mapping() ? "No device is connected."
                                                   : "Choose a mapping to connect the devices.");
    const QString chosen = cmbDevice->currentData().toString();
    cmbDevice->clear();
    cmbDevice->addItem("All devices", QString());
    for (const QString& device : devices)
        cmbDevice->addItem(device, device);
    cmbDevice->setCurrentIndex(std::max(0, cmbDevice->findData(chosen)));
    showMappings();
}

void ControllerWindow::showMappings() {
    const QString device = cmbDevice->currentData().toString();
    cmbMapping->clear();
    cmbMapping->addItem(device.isEmpty() ? "(none)" : "(as all devices)", QString());
    for (const QString& path : controllers_.mappingFiles())
        cmbMapping->addItem(QFileInfo(path).fileName() +
                                (path.startsWith(Controllers::userFolder()) ? " (yours)" : ""),
                            path);
    const QString inUse =
        device.isEmpty() ? controllers_.mappingPath() : controllers_.mappingPath(device);
    cmbMapping->setCurrentIndex(std::max(0, cmbMapping->findData(inUse)));
}

void ControllerWindow::cmbMapping_Click() {
    controllers_.useMapping(cmbMapping->currentData().toString(),
                            cmbDevice->currentData().toString());
    showDevices();
}

void ControllerWindow::cmdLearn_Click() {
    const auto action = static_cast<mixer::Action>(cmbAction->currentData().toInt());
    controllers_.learn(action);
    lblLearn->setText(
        QString("Move a control on the controller for %1...").arg(mixer::actionRow(action).id));
    showDevices();
}

void ControllerWindow::learned(const QString& path) {
    lblLearn->setText(path.isEmpty() ? "The binding is in use, but it could not be saved."
                                     : QString("Bound and saved in %1.").arg(path));
    showMappings();
}

void ControllerWindow::done(int result) {
    controllers_.cancelLearning();
    QDialog::done(result);
}

void ControllerWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    app::paintConsoleFrame(this, p, {.top = QColor(44, 47, 51), .bottom = QColor(24, 26, 28)});
}

} // namespace controllers
