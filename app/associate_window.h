#pragma once
// frmAssociate: makes Vorlan the handler of its five file types (the class
// registrations in the registry, the desktop entry and the user's default
// applications), shows which types belong to it now, and holds the "Show
// on startup." option of the start-up offer.
#include "app/file_associations.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class ConsoleButton;

namespace core {
struct ProgramState;
}

class frmAssociate : public QDialog {
    Q_OBJECT

public:
    explicit frmAssociate(core::ProgramState& state);
    ~frmAssociate() override;

    // Loads the dialog without showing it (registers it, runs Form_Load), or
    // returns the loaded one.
    static frmAssociate* load(core::ProgramState& state);
    // Shows the loaded dialog owned by `owner`: modal (waits until it is
    // unloaded) or not.
    void showOwned(QWidget* owner, bool modal);

    // Centres the dialog, reads the associations, shows the start-up flag.
    void Form_Load();
    // Checks the box of each type the registry gives to the program and
    // counts them into the program's associated-type count.
    void read_reg_values();
    // The five check values in box order (1 checked, 0 not).
    app::TypeChecks checkValues() const;
    void cmdAssociate_Click();
    void lblStartup_Click();
    // Copies the start-up box into the program's flag.
    void Form_QueryUnload();
    void cmdcloseButton_Click();

    QLabel* titlebar = nullptr;
    QLabel* imgIcon = nullptr;
    ConsoleButton* cmdcloseButton = nullptr;
    QGroupBox* FrameID3choice = nullptr;
    QCheckBox* chkMP3 = nullptr;
    QCheckBox* chkWMA = nullptr;
    QCheckBox* chkASF = nullptr;
    QCheckBox* chkWAV = nullptr;
    QCheckBox* chkM3U = nullptr;
    QCheckBox* chkFLAC = nullptr;
    QCheckBox* chkAIFF = nullptr;
    QCheckBox* chkM4A = nullptr;
    QCheckBox* chkOGG = nullptr;
    QCheckBox* chkOPUS = nullptr;
    ConsoleButton* cmdAssociate = nullptr;
    QCheckBox* chkStartupShow = nullptr;
    QLabel* lblStartup = nullptr;
    QLabel* Label18 = nullptr;

public slots:
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    // The boxes in check-value order.
    std::array<QCheckBox*, app::kFileTypeCount> boxes() const;

    core::ProgramState& state_;
    bool unloaded_ = false;
};
