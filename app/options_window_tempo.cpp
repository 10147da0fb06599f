// The tempo analysis row of the options: the BPM range the analysed tempo is
// folded into (whole beats a minute, default 75 to 150); read when the window
// loads and written when it unloads. A new range applies to every result
// handed out from then on.
#include "app/options_window.h"

#include "controls/widgets/console_look.h"
#include "controls/widgets/console_panel.h"
#include "core/fixed_texts.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/registry_values.h"

#include <QSpinBox>

namespace {

// The range's ends may lie in 40..300 BPM; the top is at least one octave
// above the bottom, so every tempo has a place in it.
constexpr int kLowestBpm = 40;
constexpr int kHighestBpm = 300;

double readBpm(const char* name, double fallback) {
    const QString text = core::get_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), name);
    const double value = core::numericPrefix(text);
    return value >= kLowestBpm && value <= kHighestBpm ? value : fallback;
}

} // namespace

void optionsF::buildTempoOptions() {
    makeCaption("BPM RANGE", this, {14, 298, 200, 12}, Qt::AlignLeft | Qt::AlignVCenter);
    auto spin = [this](QSpinBox*& box, const char* name, int x, const QString& tip) {
        box = new QSpinBox(this);
        box->setObjectName(name);
        box->setGeometry(x, 312, 70, 22);
        box->setRange(kLowestBpm, kHighestBpm);
        box->setSuffix(" BPM");
        box->setToolTip(tip);
        box->setFont(app::consoleFont(8, false));
    };
    spin(spinBpmMin, "spinBpmMin", 14, "The slowest tempo the analysis gives a track");
    makeCaption("to", this, {88, 312, 20, 22}, Qt::AlignCenter);
    spin(spinBpmMax, "spinBpmMax", 112, "The fastest tempo: no more than this, twice the slowest");
}

void optionsF::readTempoSettings() {
    core::Settings& settings = state_.settings;
    settings.bpmRangeMin = readBpm("BpmRangeMin", 75);
    settings.bpmRangeMax = readBpm("BpmRangeMax", 150);
    if (settings.bpmRangeMax < 2 * settings.bpmRangeMin) {
        settings.bpmRangeMin = 75;
        settings.bpmRangeMax = 150;
    }
    spinBpmMin->setValue(static_cast<int>(core::roundHalfEven(settings.bpmRangeMin)));
    spinBpmMax->setValue(static_cast<int>(core::roundHalfEven(settings.bpmRangeMax)));
}

void optionsF::writeTempoSettings(std::int32_t& failure) {
    core::Settings& settings = state_.settings;
    // A range narrower than an octave is widened upwards.
    settings.bpmRangeMin = spinBpmMin->value();
    settings.bpmRangeMax = std::min<double>(
        kHighestBpm, std::max<double>(spinBpmMax->value(), 2 * spinBpmMin->value()));
    if (settings.bpmRangeMax < 2 * settings.bpmRangeMin)
        settings.bpmRangeMin = settings.bpmRangeMax / 2;
    for (const auto& [name, value] :
         {std::pair<const char*, double>{"BpmRangeMin", settings.bpmRangeMin},
          {"BpmRangeMax", settings.bpmRangeMax}}) {
        const reg::LONG status =
            core::save_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), name, reg::REG_SZ,
                                core::numberText(value));
        if (failure == reg::ERROR_SUCCESS)
            failure = status;
    }
}
