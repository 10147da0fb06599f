// The automatic DJ's row of the options: how it hands over ("AutoDJMode":
// at N % of the track, or where the music ends, on the beat) and the fade's
// length in beats ("AutoDJFadeBeats"); read when the window loads and
// written when it unloads.
#include "app/options_window.h"

#include "controls/widgets/console_look.h"
#include "controls/widgets/console_panel.h"
#include "controls/widgets/slider.h"
#include "core/fixed_texts.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/registry_values.h"

#include <QComboBox>
#include <QLabel>

namespace {

// The fade's length in beats: its range and the value of a first run.
constexpr int kFadeBeatsMin = 4;
constexpr int kFadeBeatsMax = 64;
constexpr int kFadeBeatsDefault = 16;

QString readSetting(const char* name) {
    return core::get_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), name);
}

} // namespace

void optionsF::buildAutoDJOptions() {
    makeCaption("AUTOMATIC DJ", this, {14, 344, 200, 12}, Qt::AlignLeft | Qt::AlignVCenter);
    cmbAutoDJMode = new QComboBox(this);
    cmbAutoDJMode->setObjectName("cmbAutoDJMode");
    cmbAutoDJMode->setGeometry(14, 358, 268, 22);
    cmbAutoDJMode->setToolTip("When the automatic DJ brings in the next song");
    cmbAutoDJMode->setFont(app::consoleFont(8, false));
    cmbAutoDJMode->addItems({"hand over at N %", "on the beat where the music ends"});
    makeCaption("FADE", this, {290, 344, 60, 12}, Qt::AlignLeft | Qt::AlignVCenter);
    autoDJFadeValue_ = makeCaption(QString(), this, {340, 344, 86, 12}, Qt::AlignRight);
    autoDJFadeValue_->setStyleSheet("color: rgb(0, 230, 0); background: transparent;");
    autoDJFadeSlider = new Slider(Qt::Horizontal, this);
    autoDJFadeSlider->setObjectName("autoDJFadeSlider");
    autoDJFadeSlider->setRange(kFadeBeatsMin, kFadeBeatsMax);
    autoDJFadeSlider->setSingleStep(4);
    autoDJFadeSlider->setPageStep(8);
    autoDJFadeSlider->setToolTip("Automatic DJ on the beat: the fade's length in beats");
    autoDJFadeSlider->setGeometry(290, 360, 136, 20);
    connect(autoDJFadeSlider, &Slider::Change, this, [this] {
        autoDJFadeValue_->setText(QString::number(autoDJFadeSlider->Value()) + " beats");
    });
}

void optionsF::readAutoDJSettings() {
    core::Settings& settings = state_.settings;
    settings.autoDJMode = core::numericPrefix(readSetting("AutoDJMode")) == 1
                              ? core::AutoDJMode::Beats
                              : core::AutoDJMode::Percent;
    const double beats = core::numericPrefix(readSetting("AutoDJFadeBeats"));
    settings.autoDJFadeBeats = static_cast<std::int16_t>(
        beats >= kFadeBeatsMin && beats <= kFadeBeatsMax ? core::roundHalfEven(beats)
                                                         : kFadeBeatsDefault);
    cmbAutoDJMode->setCurrentIndex(static_cast<int>(settings.autoDJMode));
    autoDJFadeSlider->setValue(settings.autoDJFadeBeats);
    autoDJFadeValue_->setText(QString::number(settings.autoDJFadeBeats) + " beats");
}

void optionsF::writeAutoDJSettings(std::int32_t& failure) {
    core::Settings& settings = state_.settings;
    settings.autoDJMode =
        cmbAutoDJMode->currentIndex() == 1 ? core::AutoDJMode::Beats : core::AutoDJMode::Percent;
    settings.autoDJFadeBeats = static_cast<std::int16_t>(autoDJFadeSlider->Value());
    for (const auto& [name, text] :
         {std::pair<const char*, QString>{"AutoDJMode",
                                          core::numberText(static_cast<int>(settings.autoDJMode))},
          {"AutoDJFadeBeats", core::numberText(settings.autoDJFadeBeats)}}) {
        const reg::LONG status = core::save_RegValue(
            reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), name, reg::REG_SZ, text);
        if (failure == reg::ERROR_SUCCESS)
            failure = status;
    }
}
