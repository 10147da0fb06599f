#pragma once
// halvoranF: the main window, a borderless two-deck DJ console. It lays out
// the two deck panels (built and wired by the decks) and the mixer panel,
// holds the title bar, the mixer's controls and the window's timers, and runs
// the program's start-up (after the splash) and its close.
#include "mixer/mixer_panel.h"
#include "platform/ui/precise_timer.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class ConsoleButton;

namespace core {
struct ProgramState;
}
namespace mixer {
enum class Action;
class ActionRunner;
class AutoDJ;
class HeadphoneDesk;
class KeyboardShortcuts;
class MixerDesk;
class Recording;
class TrackTick;
} // namespace mixer
namespace decks {
class Decks;
}
namespace controllers {
class Controllers;
}
namespace app {
class TrackAnalyses;
}

class halvoranF : public QWidget {
    Q_OBJECT

public:
    explicit halvoranF(core::ProgramState& state);
    ~halvoranF() override;

    // Loads the main window unless it is loaded already: Form_Initialize,
    // then Form_Load. Returns the window, or null when the program ended.
    static halvoranF* load(core::ProgramState& state);

    // ---- Start-up ----
    // Current folder = program folder; refuses to run unless the audio
    // library is version 1.6 (the program then ends). False when refused.
    bool Form_Initialize();
    // Timers, help file, loops folder, settings (options window), geometry,
    // displays, mixer start values, the engine, cue intervals, the track
    // timer; then shows the window and unloads the splash. False when the
    // engine could not start (the program then ends).
    bool Form_Load();
    void init_Timers();
    void hide_keyboard_Shortcuts();
    // A song named on the command line is added to the playlist and taken
    // onto the left deck.
    void load_CommandLineSong();

    // ---- Engine ----
    bool init_BASS();
    void terminate_BASS();
    // The error box for an engine failure, with the engine's last error code.
    void ThrowError(const QString& message);

    // ---- Close ----
    // True when the close must be cancelled (a deck is playing).
    bool Form_QueryUnload();
    void shutdown_Program();
    void disable_Timers();
    void Form_Unload();
    void release_Resources();

    // ---- Layout ----
    // Places the three panels for arrangement `index` (0..2).
    void place_Panels(int index);
    // Width = right edge of the rightmost panel + 120 twips; centred on screen.
    void set_WindowGeometry();

    // ---- Handlers ----
    void cmdcloseButton_Click();
    void CmdMinimizeButton_Click();
    void optionsCB_Click();
    // Shows the playlist window (not modal), centred on the screen.
    void playListCB_Click();
    void tmrAsync_Timer();

    // ---- Actions (the keys, and whatever else runs an action by its id) ----
    // `pressed` false: the action's key or button was let go.
    void runAction(mixer::Action action, bool pressed = true);

    // ---- Mixer ----
    void monitorCMB_Click(int index);

    // ---- Fields ----
    std::int32_t ieMajor = 0;
    std::int32_t ieMinor = 0;

    // ---- Panels ----
    // The mixer panel; each deck panel is its deck's (decks->deck(side).controls().panel).
    QFrame* Mixer = nullptr;

    // ---- Window frame ----
    QLabel* titlebar = nullptr;
    QLabel* imgIcon = nullptr;
    ConsoleButton* CmdMinimizeButton = nullptr;
    ConsoleButton* cmdcloseButton = nullptr;

    // ---- Mixer ----
    // The mixer panel's controls: sliders, meters, monitor switch, next-song
    // box and buttons (mixer/mixer_panel.h).
    mixer::MixerPanel mixerPanel;

    // Key hints "Q" "S" "R" "2" "V" "N" "B" "U" "0" "K" "P".
    std::array<QLineEdit*, 11> keyboardTXT{};

    // ---- Timers ----
    // The track tick (80 ms), the automatic DJ's fade (100 ms) and the
    // playlist's load after start-up (1 ms, once).
    ui::PreciseTimer tmrTrackLength;
    ui::PreciseTimer tmrAutoFade;
    ui::PreciseTimer tmrAsync;

    core::ProgramState& state;
    // Both deck players, each with its panel, controls and timers.
    std::unique_ptr<decks::Decks> decks;
    mixer::AutoDJ& autoDJ() { return *autoDJ_; }
    mixer::TrackTick& trackTick() { return *trackTick_; }
    // The MIDI controllers playing the actions.
    controllers::Controllers& controllers() { return *controllers_; }
    mixer::Recording& recording() { return *recording_; }
    mixer::HeadphoneDesk& phones() { return *phones_; }
    // The tempo, beat grid and music span of the decks' and the playlist's tracks.
    app::TrackAnalyses& analyses() { return *analyses_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_TitleBar();
    void build_Decks();
    void build_Mixer();
    void build_KeyboardHints();
    // The mixer object's links to the decks, the automatic DJ on the
    // crossfader and the decks, and the track tick over all three
    // (main_window_wiring.cpp).
    void build_MixerDesk();
    void build_AutoDJ();
    void build_Keyboard();
    std::unique_ptr<mixer::MixerDesk> mixerDesk_;
    // The analyses the automatic DJ asks for ahead; outlives it.
    std::unique_ptr<mixer::AutoDJ> autoDJ_;
    std::unique_ptr<mixer::TrackTick> trackTick_;
    std::unique_ptr<mixer::Recording> recording_;
    std::unique_ptr<mixer::HeadphoneDesk> phones_;
    std::unique_ptr<mixer::ActionRunner> actions_;
    // Watches the application's key events; goes before the actions it runs.
    std::unique_ptr<mixer::KeyboardShortcuts> keyboard_;
    // The MIDI controllers; go before the actions they run.
    std::unique_ptr<controllers::Controllers> controllers_;
    std::unique_ptr<app::TrackAnalyses> analyses_;
    bool loaded_ = false;
    bool unloaded_ = false;
};
