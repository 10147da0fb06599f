// Reading the settings when the options window loads and writing them when
// it unloads.
#include "app/main_window.h"
#include "app/options_window.h"
#include "decks/decks.h"

#include "controls/widgets/slider.h"
#include "core/fixed_texts.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/registry_values.h"
#include "engine/channel.h"
#include "engine/engine_lifecycle.h"
#include "platform/system/folders.h"
#include "platform/ui/dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <cmath>

namespace {

QString readSetting(const char* name) {
    return core::get_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), name);
}

// Writes one setting; keeps the first failure in `failure`.
void writeSetting(const char* name, const QString& text, reg::LONG& failure) {
    const reg::LONG status = core::save_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(),
                                                 name, reg::REG_SZ, text);
    if (failure == reg::ERROR_SUCCESS)
        failure = status;
}

// The stored number rounded to an integer, or `fallback` when it lies
// outside `min`..`max`.
long long wholeNumber(const QString& text, long long min, long long max, long long fallback) {
    const double value = core::numericPrefix(text);
    if (!(value >= static_cast<double>(min) && value <= static_cast<double>(max)))
        return fallback;
    return core::roundHalfEven(value);
}

double midpoint(const Slider* slider) {
    return slider->Min() / 2.0 + slider->Max() / 2.0;
}

} // namespace

void optionsF::readSettings() {
    core::Settings& settings = state_.settings;
    core::EngineSettings& engine = state_.engine;

    cmbPlayQuality->clear();
    cmbPlayQuality->addItem("CD Quality - 44100Hz");
    cmbPlayQuality->addItem("FM Quality - 22100Hz");
    cmbDevice->clear();
    cmbDevice->addItem("Default Sound Device");
    for (int number = 1; number <= 6; ++number) {
        if (const std::optional<QString> description = engine::deviceDescription(number))
            cmbDevice->addItem(*description);
    }

    const QString optStartUp = readSetting("optStartUp");
    const QString seekAccuracy = readSetting("SeekAccuracy");
    const QString quality = readSetting("InitQuality");
    const QString device = readSetting("initDevice");
    const QString turntable = readSetting("TurntableStopSpeed");
    const QString pitchRange = readSetting("pitchRange");
    const QString djSetup = readSetting("DjSetup");
    const QString automix = readSetting("AutomixStart");
    const QString buffer = readSetting("Buffer");
    const QString playlistPath = readSetting("playlistPath");

    settings.optStartUp = static_cast<std::int16_t>(wholeNumber(optStartUp, -32768, 32767, 0));

    // Seek accuracy: 0 fast, anything else the accurate-seek flag.
    const bool accurate = core::numericPrefix(seekAccuracy) != 0.0;
    optSeek[accurate ? 1 : 0]->setChecked(true);
    engine.streamFlags = accurate ? engine::kExactSeeks : 0;

    // Layout of the main window, applied at once.
    const int setup = static_cast<int>(wholeNumber(djSetup, 0, 2, 0));
    djSetupOpt[setup]->setChecked(true);
    djSetupOpt_Click(setup);

    // Pitch range: 1.0, 1.5 or 2.0; anything else is 1.0.
    const double range = core::numericPrefix(pitchRange);
    const int rangePosition = range == 1.5 ? 1 : range == 2.0 ? 2 : 0;
    pitchRange_slider->setValue(rangePosition);
    settings.pitchRange = rangePosition == 1 ? 1.5 : rangePosition == 2 ? 2.0 : 1.0;

    // Quality; an unknown text (first run) also asks for the association check.
    if (quality == cmbPlayQuality->itemText(0)) {
        cmbPlayQuality->setCurrentIndex(0);
        engine.outputRate = 44100;
    } else if (quality == cmbPlayQuality->itemText(1)) {
        cmbPlayQuality->setCurrentIndex(1);
        engine.outputRate = 22050;
    } else {
        cmbPlayQuality->setCurrentIndex(1);
        engine.outputRate = 22050;
        settings.optStartUp = 1;
    }
    cmbPlayQuality_Click();

    // Device: the list entry with the stored text; none matching leaves the
    // device number as it was and keeps the stored text for the next start.
    if (device == core::notFoundMarker()) {
        cmbDevice->setCurrentIndex(0);
        engine.device = -1;
        cmbDevice_Click();
    } else {
        const int position = cmbDevice->findText(device, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (position >= 0) {
            cmbDevice->setCurrentIndex(position);
            engine.device = static_cast<std::int16_t>(position - 1);
            cmbDevice_Click();
        } else {
            cmbDevice->setCurrentIndex(-1);
            deviceText = device;
        }
    }
    engine.deviceInUse = engine.device;

    // Sliders: 0 (or a value outside the slider's range) means the midpoint.
    const long long speed = wholeNumber(turntable, TurntableStopSpeed_slider->Min(),
                                        TurntableStopSpeed_slider->Max(), 0);
    settings.turntableStopSpeed =
        static_cast<std::int32_t>(speed != 0 ? speed : midpoint(TurntableStopSpeed_slider));
    TurntableStopSpeed_slider->setValue(settings.turntableStopSpeed);

    const long long mix = wholeNumber(automix, autoMixSlider->Min(), autoMixSlider->Max(), 0);
    settings.automixStart = static_cast<std::int16_t>(mix != 0 ? mix : midpoint(autoMixSlider));
    autoMixSlider->setValue(settings.automixStart);

    double seconds = core::numericPrefix(buffer);
    if (!(seconds >= bufferSlider->Min() / 10.0 && seconds <= bufferSlider->Max() / 10.0))
        seconds = 0;
    engine.bufferLength = seconds != 0 ? seconds : midpoint(bufferSlider) / 10.0;
    bufferSlider->setValue(static_cast<int>(core::roundHalfEven(engine.bufferLength * 10)));

    // Playlist folder: "Playlists" in the program folder on the first run,
    // or in the system folder when the program folder may not be written.
    if (playlistPath.toLower() == "not found") {
        settings.playlistPath = sys::writableProgramFolder() + "/Playlists";
        txtPlaylistPath->setText(settings.playlistPath);
        QDir().mkpath(settings.playlistPath); // errors ignored
    } else {
        settings.playlistPath = playlistPath;
        txtPlaylistPath->setText(playlistPath);
    }
    txtPlaylistPath_LostFocus();
    readRecordingSettings();
    readTempoSettings();
    readAutoDJSettings();
    readKeyLockSetting();
    // Both decks' pitch with the range just read.
    if (halvoranF* main = state_.mainWindow) {
        main->decks->changePitches();
    }
}

void optionsF::writeSettings() {
    core::Settings& settings = state_.settings;
    core::EngineSettings& engine = state_.engine;

    settings.turntableStopSpeed = TurntableStopSpeed_slider->Value();
    switch (pitchRange_slider->Value()) {
    case 0:
        settings.pitchRange = 1.0;
        break;
    case 1:
        settings.pitchRange = 1.5;
        break;
    case 2:
        settings.pitchRange = 2.0;
        break;
    default:
        break;
    }
    engine.streamFlags = optSeek[0]->isChecked() ? 0 : engine::kExactSeeks;
    settings.automixStart = static_cast<std::int16_t>(autoMixSlider->Value());
    engine.bufferLength = bufferSlider->Value() / 10.0;
    settings.playlistPath = txtPlaylistPath->text();

    reg::LONG failure = reg::ERROR_SUCCESS;
    writeSetting("optStartUp", core::numberText(settings.optStartUp), failure);
    writeSetting("SeekAccuracy", core::numberText(engine.streamFlags), failure);
    writeSetting("initQuality", qualityText, failure);
    writeSetting("initDevice", deviceText, failure);
    writeSetting("TurntableStopSpeed", core::numberText(settings.turntableStopSpeed), failure);
    writeSetting("pitchRange", core::numberText(settings.pitchRange), failure);
    writeSetting("DjSetup", core::numberText(settings.djSetup), failure);
    writeSetting("AutomixStart", core::numberText(settings.automixStart), failure);
    writeSetting("Buffer", core::numberText(engine.bufferLength), failure);
    writeSetting("playlistPath", settings.playlistPath, failure);
    writeRecordingSettings(failure);
    writeTempoSettings(failure);
    writeAutoDJSettings(failure);
    writeKeyLockSetting(failure);
    // One box for the lot: the user learns the settings were not kept, where
    // they should have gone and why.
    if (failure != reg::ERROR_SUCCESS)
        state_.dialogs.msgBox("The settings could not be saved to " + reg::RegDatabasePath() +
                                  "\r\n\r\n" + reg::RegStatusText(failure),
                              ui::vbExclamation | ui::vbOKOnly, "Settings Not Saved...");
}
