#pragma once
// loadingF: the splash window that opens first. It puts the program folder
// on the persistent search path, shows the version and the loading progress,
// and loads the main window from its first tmrLoad tick.
#include "platform/ui/precise_timer.h"

#include <QWidget>
#include <cstdint>

class QLabel;

namespace core {
struct ProgramState;
}

class loadingF : public QWidget {
    Q_OBJECT

public:
    explicit loadingF(core::ProgramState& state);
    ~loadingF() override;

    // Loads the splash (registers it, runs Form_Load) and shows it.
    static loadingF* load(core::ProgramState& state);

    void Form_Load();
    // Disables both timers and drops the program's reference; the window is
    // destroyed once control returns to the event loop.
    void Form_Unload();
    void tmrLoad_Timer();
    void tmrSplash_Timer();

    QLabel* titleLABEL = nullptr;
    QLabel* descLABEL = nullptr; // the enciphered label text
    QLabel* ver_label = nullptr;
    QLabel* loadingLABEL = nullptr;
    ui::PreciseTimer tmrLoad;
    ui::PreciseTimer tmrSplash;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    core::ProgramState& state_;
    std::int32_t lastShown_ = 0; // the entry count the label shows
    bool unloaded_ = false;
};
