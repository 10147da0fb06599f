#include "core/fixed_texts.h"

#include "platform/system/cipher.h"

namespace core {

QString settingsKeyPath() {
    static const QString text =
        sys::decipher("5A3FA6C3471195402E7E3094D47C45F4ADE82FE861493DE085E3628DC09C84638796");
    return text;
}

QString notFoundMarker() {
    static const QString text = sys::decipher("5A2286F13300BB670546");
    return text;
}

QString splashLabelText() {
    static const QString text =
        sys::decipher("5A389EEA3E22B17100023CBF986743FEA5E8149E6D543FF284D354");
    return text;
}

QString versionRefusalText() {
    static const QString text = sys::decipher(
        "5A3881EC6066B77D1B5B589ADE2A7CE9BEEA12D02E5534E48FCC119ED19A9E648F8B46D53DAAF3E84BF57EC741"
        "1A12B24E6C25E00906DFCDB8C4B16F6AD56950B6CB66ABC22E109DC8115DB9047FC6D1ABFE772ED905D58E57");
    return text;
}

} // namespace core
