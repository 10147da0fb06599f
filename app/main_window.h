#pragma once
// halvoranF: the main window, a borderless two-deck DJ console. It holds the
// left deck, mixer and right deck panels with every deck and mixer control,
// its timers, and runs the program's start-up (after the splash) and its
// close. The controls get their behaviour from the deck, pitch, cueing,
// mixer, metering, automatic DJ and keyboard code.
#include "platform/ui/precise_timer.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class ConsoleButton;
class Slider;
class qzvLCD;
class qzvPeak;

namespace app {
struct ProgramState;
}
namespace mixer {
enum class Action;
class ActionRunner;
class AutoDJ;
class KeyboardShortcuts;
class MixerDesk;
} // namespace mixer
namespace decks {
class Decks;
}

class halvoranF : public QWidget {
    Q_OBJECT

public:
    explicit halvoranF(app::ProgramState& state);
    ~halvoranF() override;

    // Loads the main window unless it is loaded already: Form_Initialize,
    // then Form_Load. Returns the window, or null when the program ended.
    static halvoranF* load(app::ProgramState& state);

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

    // ---- Decks (one-line calls into the two decks) ----
    void init_LeftPlayer();
    void init_RightPlayer();
    void play_now();
    void changeLpitch();
    void changeRpitch();
    void run_pitchTimer_timer();
    void tmrTrackLength_Timer();
    void playCB2_Click();
    void playCB_Click();
    void playCB2_MouseDown(int button);
    void playCB_MouseDown(int button);
    void LpauseCB_Click();
    void pauseCB_Click();
    void stopCB2_MouseDown();
    void stopCB_MouseDown();
    void openFileCB2_Click();
    void openFileCB1_Click();
    void LpitchScroll_Change();
    void RpitchScroll_Change();
    void LpitchZeroIndicator_Click();
    void pitchZeroIndicator_Click();
    void LpBend_PlusCB_MouseDown();
    void LpBend_PlusCB_MouseUp();
    void LpBend_Minus_MouseDown();
    void LpBend_Minus_MouseUp();
    void RpBend_plusCB_MouseDown();
    void RpBend_plusCB_MouseUp();
    void RpBend_Minus_MouseDown();
    void RpBend_Minus_MouseUp();
    void speedCB_Click(int index);
    void upCB_Click();
    void downCB_Click();

    // ---- Cueing, scrubbing, turntable stop, drag and drop ----
    void cueCB2_MouseDown(int button);
    void cueCB_MouseDown(int button);
    void cueCB2_Click();
    void cueCB_Click();
    void LcueBackCB_MouseDown();
    void LcueBackCB_MouseUp();
    void LcueFowardCB_MouseDown();
    void LcueFowardCB_MouseUp();
    void cueBackCB_MouseDown();
    void cueBackCB_MouseUp();
    void cueFowardCB_MouseDown();
    void cueFowardCB_MouseUp();
    void cmdReset_Lcue_Click();
    void cmdReset_Rcue_Click();
    void Lplay_cue_Click(int index);
    void Rplay_cue_Click(int index);
    void tmrLcue_Timer();
    void tmrRcue_Timer();
    void tmrLTurntableStop_Timer();
    void tmrRTurntableStop_Timer();
    void do_dragDrop();
    void do_dragdrop_RIGHT();

    // ---- Handlers ----
    void cmdcloseButton_Click();
    void CmdMinimizeButton_Click();
    void optionsCB_Click();
    // Shows the playlist window (not modal), centred on the screen.
    void playListCB_Click();
    void tmrAsync_Timer();

    // ---- Automatic DJ (one-line calls into the automatic DJ) ----
    void autoDJCB_Click();
    void run_autoDJ();
    void get_next_song();
    void tmrAutoFade_Timer();

    // ---- Actions (the keys, and whatever else runs an action by its id) ----
    // `pressed` false: the action's key or button was let go.
    void runAction(mixer::Action action, bool pressed = true);

    // ---- Mixer ----
    // Volume and pan of both decks reach their streams; the three meters
    // take one reading. Both are also reached through the program links.
    void run_volume_timer();
    void run_VUmeterTimer();
    void monitorCMB_Click(int index);
    // Both notifications of each mixer slider rerun the volumes; the mouse
    // moving over one gives the Mixer panel the keyboard focus.
    void crossFaderScroll_Change();
    void crossFaderScroll_Scroll();
    void crossFaderScroll_MouseMove(int button, int shift, int x, int y);
    void LVolScroll_Change();
    void LVolScroll_Scroll();
    void LVolScroll_MouseMove(int button, int shift, int x, int y);
    void RvolScroll_Change();
    void RvolScroll_Scroll();
    void RvolScroll_MouseMove(int button, int shift, int x, int y);
    void MainVolScroll_Change();
    void MainVolScroll_Scroll();
    void MainVolScroll_MouseMove(int button, int shift, int x, int y);
    void monitorVolScroll_Change();
    void monitorVolScroll_Scroll();
    void monitorVolScroll_MouseMove(int button, int shift, int x, int y);

    // ---- Fields ----
    std::int32_t ieMajor = 0;
    std::int32_t ieMinor = 0;

    // ---- Panels ----
    QFrame* Left_Deck = nullptr;
    QFrame* Mixer = nullptr;
    QFrame* Right_Deck = nullptr;

    // ---- Window frame ----
    QLabel* titlebar = nullptr;
    QLabel* imgIcon = nullptr;
    ConsoleButton* CmdMinimizeButton = nullptr;
    ConsoleButton* cmdcloseButton = nullptr;

    // ---- Left deck ----
    ConsoleButton* playCB2 = nullptr;
    ConsoleButton* stopCB2 = nullptr;
    ConsoleButton* LpauseCB = nullptr;
    ConsoleButton* openFileCB2 = nullptr;
    ConsoleButton* cueCB2 = nullptr;
    ConsoleButton* LcueBackCB = nullptr;
    ConsoleButton* LcueFowardCB = nullptr;
    ConsoleButton* cmdReset_Lcue = nullptr;
    std::array<ConsoleButton*, 1> Lplay_cue{};
    Slider* LpitchScroll = nullptr;
    ConsoleButton* LpitchZeroIndicator = nullptr;
    ConsoleButton* LpBend_PlusCB = nullptr;
    ConsoleButton* LpBend_Minus = nullptr;
    qzvLCD* LCD_L = nullptr;

    // ---- Right deck ----
    ConsoleButton* playCB = nullptr;
    ConsoleButton* stopCB = nullptr;
    ConsoleButton* pauseCB = nullptr;
    ConsoleButton* openFileCB1 = nullptr;
    ConsoleButton* cueCB = nullptr;
    ConsoleButton* cueBackCB = nullptr;
    ConsoleButton* cueFowardCB = nullptr;
    ConsoleButton* cmdReset_Rcue = nullptr;
    std::array<ConsoleButton*, 1> Rplay_cue{};
    Slider* RpitchScroll = nullptr;
    ConsoleButton* pitchZeroIndicator = nullptr;
    ConsoleButton* RpBend_plusCB = nullptr;
    ConsoleButton* RpBend_Minus = nullptr;
    qzvLCD* LCD_R = nullptr;

    // Rate buttons: 1 and 2 left deck (22050, 44100), 3 and 4 right deck; 0 unused.
    std::array<ConsoleButton*, 5> speedCB{};

    // ---- Mixer ----
    Slider* crossFaderScroll = nullptr;
    Slider* LVolScroll = nullptr;
    Slider* RvolScroll = nullptr;
    Slider* MainVolScroll = nullptr;
    Slider* monitorVolScroll = nullptr;
    // 0 monitor the left deck, 1 the right deck, 2 monitor off.
    std::array<ConsoleButton*, 3> monitorCMB{};
    ConsoleButton* autoDJCB = nullptr;
    QLineEdit* nextSongTXT = nullptr;
    ConsoleButton* playListCB = nullptr;
    ConsoleButton* optionsCB = nullptr;
    ConsoleButton* upCB = nullptr;
    ConsoleButton* downCB = nullptr;
    qzvPeak* LVUmeter = nullptr;
    qzvPeak* RVUmeter = nullptr;
    qzvPeak* mainVolVUmeter = nullptr;

    // Key hints "Q" "S" "R" "2" "V" "N" "B" "U" "0" "K" "P".
    std::array<QLineEdit*, 11> keyboardTXT{};

    // ---- Timers ----
    ui::PreciseTimer tmrTrackLength;
    ui::PreciseTimer tmrLcue;
    ui::PreciseTimer tmrRcue;
    ui::PreciseTimer tmrLTurntableStop;
    ui::PreciseTimer tmrRTurntableStop;
    ui::PreciseTimer tmrAutoFade;
    ui::PreciseTimer tmrAsync;

    app::ProgramState& state;
    // Both deck players, on the controls above.
    std::unique_ptr<decks::Decks> decks;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_TitleBar();
    void build_LeftDeck();
    void build_RightDeck();
    void build_Mixer();
    void build_KeyboardHints();
    // The mixer object on the mixer panel's controls, and its handlers.
    void build_MixerDesk();
    void connect_MixerLinks();
    std::unique_ptr<mixer::MixerDesk> mixerDesk_;
    // The automatic DJ on the mixer's crossfader, and the keyboard
    // (main_window_autodj.cpp, main_window_keys.cpp).
    void build_AutoDJ();
    void build_Keyboard();
    std::unique_ptr<mixer::AutoDJ> autoDJ_;
    std::unique_ptr<mixer::ActionRunner> actions_;
    // Watches the application's key events; goes before the actions it runs.
    std::unique_ptr<mixer::KeyboardShortcuts> keyboard_;
    // The decks on their controls, and every deck control's event.
    void build_Decks();
    // Drops on the decks (the next-song box or files) and the next-song box's drag.
    void build_Drops();
    bool loaded_ = false;
    bool unloaded_ = false;
};
