#pragma once
// optionsF: the settings loader and editor. Loading it (hidden, at start-up)
// reads every setting from the registry and applies it; showing it lets the
// user change them; closing it (any way) writes every setting back and
// unloads it, so the next showing reads them again.
#include <QDialog>
#include <array>
#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class ConsoleButton;
class Slider;

namespace core {
struct ProgramState;
}

class optionsF : public QDialog {
    Q_OBJECT

public:
    explicit optionsF(core::ProgramState& state);
    ~optionsF() override;

    // Loads the window without showing it: registers it and runs Form_Load.
    static optionsF* load(core::ProgramState& state);

    void Form_Load();
    // Takes the values from the controls, writes them all and re-applies the
    // pitch and cue intervals; then the window is unloaded.
    void Form_Unload();
    void cmbDevice_Click();
    // The engine runs on the default device because the chosen one could not
    // be opened: the list shows "Default Sound Device" and keeps it.
    void useDefaultDevice();
    void cmbPlayQuality_Click();
    void djSetupOpt_Click(int index);
    void txtPlaylistPath_LostFocus();
    // Shows the association window modally, over this one.
    void cmdAssociate_Click();
    // Shows the controller window modally, over this one.
    void cmdControllers_Click();
    void cmdcloseButton_Click();

    QLabel* titlebar = nullptr;
    QLabel* imgIcon = nullptr;
    ConsoleButton* cmdcloseButton = nullptr;
    QComboBox* cmbDevice = nullptr;
    QComboBox* cmbPlayQuality = nullptr;
    Slider* bufferSlider = nullptr;
    std::array<QRadioButton*, 2> optSeek{};
    Slider* pitchRange_slider = nullptr;
    Slider* TurntableStopSpeed_slider = nullptr;
    Slider* autoMixSlider = nullptr;
    std::array<QRadioButton*, 3> djSetupOpt{};
    QLineEdit* txtPlaylistPath = nullptr;
    ConsoleButton* cmdAssociate = nullptr;
    ConsoleButton* cmdControllers = nullptr;
    // Recordings: the folder they go to and their file format (WAV, FLAC, MP3).
    QLineEdit* txtRecordingsPath = nullptr;
    QComboBox* cmbRecordFormat = nullptr;
    // "Headphones": none, or the output the headphone mix goes to (from the next start).
    QComboBox* cmbHeadphones = nullptr;
    // "BpmRangeMin", "BpmRangeMax": the range the analysed tempo is folded into.
    QSpinBox* spinBpmMin = nullptr;
    QSpinBox* spinBpmMax = nullptr;
    // The automatic DJ: "AutoDJMode" (hand over at N %, or where the music
    // ends, on the beat) and "AutoDJFadeBeats" (the fade's length in beats).
    QComboBox* cmbAutoDJMode = nullptr;
    Slider* autoDJFadeSlider = nullptr;
    // "KeyLockEngine": the time-stretcher of key-locked decks, "Faster" or "Finer".
    QComboBox* cmbKeyLockEngine = nullptr;

    // The chosen quality and device texts, kept by the two lists' clicks.
    QString qualityText;
    QString deviceText;

public slots:
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    // The recordings and headphones row, below the playlist folder
    // (options_window_recording.cpp).
    void buildRecordingOptions();
    void readRecordingSettings();
    // Writes them; the first registry failure goes to `failure` (0 = none yet).
    void writeRecordingSettings(std::int32_t& failure);
    // The tempo analysis row, below the recordings (options_window_tempo.cpp).
    void buildTempoOptions();
    void readTempoSettings();
    void writeTempoSettings(std::int32_t& failure);
    // The automatic DJ's row, below it (options_window_autodj.cpp).
    void buildAutoDJOptions();
    void readAutoDJSettings();
    void writeAutoDJSettings(std::int32_t& failure);
    // The key-lock engine, right of the playlist folder (options_window_key_lock.cpp).
    void buildKeyLockOption();
    void readKeyLockSetting();
    void writeKeyLockSetting(std::int32_t& failure);
    void readSettings();
    void writeSettings();
    void showSliderValues();

    core::ProgramState& state_;
    QLabel* bufferValue_ = nullptr;
    QLabel* pitchRangeValue_ = nullptr;
    QLabel* turntableValue_ = nullptr;
    QLabel* autoMixValue_ = nullptr;
    QLabel* autoDJFadeValue_ = nullptr;
    bool unloaded_ = false;
};
