// The recordings and headphones row of the options: the folder recordings go
// to, their file format and the headphone output; read when the window loads
// and written when it unloads.
#include "app/options_window.h"

#include "controls/widgets/console_look.h"
#include "controls/widgets/console_panel.h"
#include "core/fixed_texts.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/registry_values.h"
#include "engine/engine_lifecycle.h"
#include "engine/headphones.h"
#include "mixer/recording.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

QString readSetting(const char* name) {
    return core::get_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), name);
}

} // namespace

void optionsF::buildRecordingOptions() {
    makeCaption("RECORDINGS FOLDER", this, {14, 254, 200, 12}, Qt::AlignLeft | Qt::AlignVCenter);
    txtRecordingsPath = new QLineEdit(this);
    txtRecordingsPath->setObjectName("txtRecordingsPath");
    txtRecordingsPath->setGeometry(14, 268, 190, 22);
    txtRecordingsPath->setToolTip("Where the REC button puts its recordings and their track lists");
    txtRecordingsPath->setFont(app::consoleFont(8, false));
    makeCaption("FORMAT", this, {212, 254, 70, 12}, Qt::AlignLeft | Qt::AlignVCenter);
    cmbRecordFormat = new QComboBox(this);
    cmbRecordFormat->setObjectName("cmbRecordFormat");
    cmbRecordFormat->setGeometry(212, 268, 70, 22);
    cmbRecordFormat->setToolTip("The recordings' file format");
    cmbRecordFormat->setFont(app::consoleFont(8, false));
    cmbRecordFormat->addItems({"WAV", "FLAC", "MP3"});
    makeCaption("HEADPHONES", this, {290, 254, 136, 12}, Qt::AlignLeft | Qt::AlignVCenter);
    cmbHeadphones = new QComboBox(this);
    cmbHeadphones->setObjectName("cmbHeadphones");
    cmbHeadphones->setGeometry(290, 268, 136, 22);
    cmbHeadphones->setToolTip("Where the headphone mix goes, from the next start");
    cmbHeadphones->setFont(app::consoleFont(8, false));
    cmbHeadphones->addItems(
        {engine::kHeadphonesNone, engine::kHeadphonesJack, engine::kHeadphonesChannels});
    // Or a second sound card.
    for (int number = 1; number <= 6; ++number)
        if (const std::optional<QString> description = engine::deviceDescription(number))
            cmbHeadphones->addItem(*description);
}

void optionsF::readRecordingSettings() {
    core::Settings& settings = state_.settings;
    const QString folder = readSetting("RecordingsFolder");
    settings.recordingsFolder = folder == core::notFoundMarker() || folder.isEmpty()
                                    ? mixer::defaultRecordingsFolder()
                                    : folder;
    const double format = core::numericPrefix(readSetting("RecordingFormat"));
    settings.recordingFormat = static_cast<std::int16_t>(format == 1 || format == 2 ? format : 0);
    txtRecordingsPath->setText(settings.recordingsFolder);
    cmbRecordFormat->setCurrentIndex(settings.recordingFormat);
    const int phones = cmbHeadphones->findText(readSetting("Headphones"));
    cmbHeadphones->setCurrentIndex(std::max(phones, 0));
    settings.headphones = cmbHeadphones->currentText();
}

void optionsF::writeRecordingSettings(std::int32_t& failure) {
    core::Settings& settings = state_.settings;
    const QString folder = txtRecordingsPath->text().trimmed();
    settings.recordingsFolder = folder.isEmpty() ? mixer::defaultRecordingsFolder() : folder;
    settings.recordingFormat =
        static_cast<std::int16_t>(std::max(0, cmbRecordFormat->currentIndex()));
    for (const auto& [name, text] :
         {std::pair<const char*, QString>{"RecordingsFolder", settings.recordingsFolder},
          {"RecordingFormat", core::numberText(settings.recordingFormat)},
          {"Headphones", settings.headphones}}) {
        const reg::LONG status = core::save_RegValue(
            reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), name, reg::REG_SZ, text);
        if (failure == reg::ERROR_SUCCESS)
            failure = status;
    }
}
