// The key-lock engine of the options: Rubber Band's faster engine (less CPU)
// or its finer one (cleaner sound), for every key-locked deck; read when the
// window loads and written when it unloads ("KeyLockEngine").
#include "app/options_window.h"

#include "controls/widgets/console_look.h"
#include "core/fixed_texts.h"
#include "core/program_state.h"
#include "core/registry_values.h"

#include <QComboBox>

namespace {
constexpr const char* kFaster = "Faster";
constexpr const char* kFiner = "Finer";
} // namespace

void optionsF::buildKeyLockOption() {
    cmbKeyLockEngine = new QComboBox(this);
    cmbKeyLockEngine->setObjectName("cmbKeyLockEngine");
    cmbKeyLockEngine->setGeometry(292, 220, 134, 22);
    cmbKeyLockEngine->setToolTip("How key-locked decks are time-stretched: Faster uses less "
                                 "processor time, Finer sounds cleaner");
    cmbKeyLockEngine->setFont(app::consoleFont(8, false));
    // Shown with what they are for (there is no room for a caption); stored bare.
    cmbKeyLockEngine->addItems({QString("Key lock: ") + kFaster, QString("Key lock: ") + kFiner});
}

void optionsF::readKeyLockSetting() {
    const QString engine =
        core::get_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), "KeyLockEngine");
    state_.settings.keyLockFiner = engine == kFiner;
    cmbKeyLockEngine->setCurrentIndex(state_.settings.keyLockFiner ? 1 : 0);
}

void optionsF::writeKeyLockSetting(std::int32_t& failure) {
    state_.settings.keyLockFiner = cmbKeyLockEngine->currentIndex() == 1;
    const reg::LONG status =
        core::save_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), "KeyLockEngine",
                            reg::REG_SZ, state_.settings.keyLockFiner ? kFiner : kFaster);
    if (failure == reg::ERROR_SUCCESS)
        failure = status;
}
