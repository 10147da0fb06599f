// libFuzzer target: decoding the typed values the registry hands back, by
// the program's own reader (get_RegValue) and the environment library's
// (Registry::Value). The first input byte is the value's type, the rest its
// stored bytes. Whatever they are, both readers answer; binary data comes
// back as stored (as bytes, and as two hex digits a byte), a 32-bit number
// as its little-endian bytes.
#include "core/fixed_texts.h"
#include "core/registry_values.h"
#include "env/registry.h"
#include "platform/registry/registry.h"
#include "tests/support/fuzz_work_folder.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

const QString kKey = QStringLiteral("Software\\Vorlan Fuzz");
const QString kValue = QStringLiteral("Value");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        const QString db = fuzzing::workFolder("registry-fuzz") + "/registry.db";
        return setenv("VORLAN_REGISTRY", QFile::encodeName(db).constData(), 1) == 0;
    }();
    if (!ready || size == 0)
        return 0;
    const reg::DWORD type = data[0];
    const QByteArray stored(reinterpret_cast<const char*>(data + 1),
                            static_cast<qsizetype>(size - 1));
    reg::HKEY key = 0;
    if (reg::RegCreateKeyEx(reg::HKEY_CURRENT_USER, kKey, 0, {}, reg::REG_OPTION_NON_VOLATILE,
                            reg::KEY_WRITE, &key, nullptr) != reg::ERROR_SUCCESS ||
        reg::RegSetValueEx(key, kValue, 0, type, data + 1, static_cast<reg::DWORD>(size - 1)) !=
            reg::ERROR_SUCCESS)
        std::abort();
    reg::RegCloseKey(key);

    const QString text = core::get_RegValue(reg::HKEY_CURRENT_USER, kKey, kValue);
    if (type == reg::REG_BINARY && stored.size() <= core::kRegValueBuffer &&
        text != QString::fromLatin1(stored.toHex().toUpper()))
        std::abort();
    if (type == reg::REG_DWORD && stored.size() < 4 && text != core::notFoundMarker())
        std::abort();

    qzvenv::Registry registry;
    registry.setClassKey(qzvenv::Registry::kCurrentUser);
    registry.setSectionKey(kKey);
    registry.setValueKey(kValue);
    const qzvenv::Variant value = registry.Value();
    if (registry.ValueType() != static_cast<std::int32_t>(type))
        std::abort();
    if (type == reg::REG_BINARY && std::get<QByteArray>(value) != stored)
        std::abort();
    if (type == reg::REG_DWORD) {
        std::uint8_t bytes[4] = {};
        std::memcpy(bytes, stored.constData(), std::min<std::size_t>(4, stored.size()));
        const std::int32_t number = std::get<std::int32_t>(value);
        if (std::memcmp(&number, bytes, 4) != 0)
            std::abort();
    }
    return 0;
}
