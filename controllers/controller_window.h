#pragma once
// The controller window (from the options): the MIDI devices connected now,
// the mapping all of them are played through or the one a device has of its
// own, and learning a binding: pick an action, press LEARN, move a control on
// the controller; the binding is saved in the user's mapping file at once.
// Modal over the options window. UI thread.
#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class ConsoleButton;

namespace controllers {

class Controllers;

class ControllerWindow : public QDialog {
    Q_OBJECT

public:
    explicit ControllerWindow(Controllers& controllers, QWidget* parent = nullptr);
    ~ControllerWindow() override;

    // Fills the lists from what there is now.
    void Form_Load();
    void cmbDevice_Click() { showMappings(); }
    void cmbMapping_Click();
    void cmdLearn_Click();
    void cmdcloseButton_Click() { done(0); }

    QListWidget* lstDevices = nullptr;
    QComboBox* cmbDevice = nullptr;  // "All devices", then each device connected
    QComboBox* cmbMapping = nullptr; // "(none)" or "(as all devices)", then the mapping files
    QComboBox* cmbAction = nullptr;  // every action id of the table
    ConsoleButton* cmdLearn = nullptr;
    QLabel* lblLearn = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void done(int result) override;

private:
    void build();
    void showDevices();
    void showMappings();
    void learned(const QString& path);

    Controllers& controllers_;
};

} // namespace controllers
