#include "core/registry_values.h"

#include "core/fixed_texts.h"
#include "platform/system/text.h"

#include <array>
#include <cstring>

namespace core {

namespace {

QString stringFromBytes(const reg::BYTE* data, reg::DWORD size) {
    // The stored length minus its terminating NUL; a string stored without
    // one keeps every character.
    if (size > 0 && data[size - 1] == 0)
        --size;
    return sys::fromAnsi(QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size)));
}

QString hexFromBytes(const reg::BYTE* data, reg::DWORD size) {
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size)).toHex().toUpper());
}

QString numberFromBytes(const reg::BYTE* data, reg::DWORD size) {
    if (size < 4)
        return notFoundMarker();
    std::int32_t number = 0;
    std::memcpy(&number, data, 4); // stored little-endian, as this machine
    const QString digits = QString::number(number < 0 ? -static_cast<long long>(number) : number)
                               .rightJustified(3, '0');
    return number < 0 ? "-" + digits : digits;
}

} // namespace

QString get_RegValue(reg::HKEY hive, const QString& keyPath, const QString& valueName) {
    reg::HKEY key = 0;
    if (reg::RegOpenKeyEx(hive, keyPath, 0, reg::KEY_QUERY_VALUE, &key) != reg::ERROR_SUCCESS)
        return notFoundMarker();
    std::array<reg::BYTE, kRegValueBuffer> buffer{};
    reg::DWORD size = kRegValueBuffer;
    reg::DWORD type = reg::REG_NONE;
    const reg::LONG status =
        reg::RegQueryValueEx(key, valueName, nullptr, &type, buffer.data(), &size);
    reg::RegCloseKey(key);
    if (status != reg::ERROR_SUCCESS || size > kRegValueBuffer)
        return notFoundMarker();
    switch (type) {
    case reg::REG_SZ:
    case reg::REG_EXPAND_SZ:
    case reg::REG_MULTI_SZ:
        return stringFromBytes(buffer.data(), size);
    case reg::REG_BINARY:
        return hexFromBytes(buffer.data(), size);
    case reg::REG_DWORD:
        return numberFromBytes(buffer.data(), size);
    default:
        return notFoundMarker();
    }
}

reg::LONG save_RegValue(reg::HKEY hive, const QString& keyPath, const QString& valueName,
                        reg::DWORD type, const QVariant& value) {
    reg::HKEY key = 0;
    reg::LONG status = reg::RegCreateKeyEx(hive, keyPath, 0, {}, reg::REG_OPTION_NON_VOLATILE,
                                           reg::KEY_WRITE, &key, nullptr);
    if (status != reg::ERROR_SUCCESS)
        return status;
    if (type == reg::REG_DWORD) {
        const std::int32_t number = value.toInt();
        reg::BYTE bytes[4];
        std::memcpy(bytes, &number, 4);
        status = reg::RegSetValueEx(key, valueName, 0, reg::REG_DWORD, bytes, 4);
    } else {
        QByteArray text = sys::toAnsi(value.toString());
        text.append('\0');
        status = reg::RegSetValueEx(key, valueName, 0, reg::REG_SZ,
                                    reinterpret_cast<const reg::BYTE*>(text.constData()),
                                    static_cast<reg::DWORD>(text.size()));
    }
    const reg::LONG flushed = reg::RegFlushKey(key);
    reg::RegCloseKey(key);
    return status != reg::ERROR_SUCCESS ? status : flushed;
}

QStringList list_RegValues(reg::HKEY hive, const QString& keyPath) {
    QStringList names;
    reg::HKEY key = 0;
    if (reg::RegOpenKeyEx(hive, keyPath, 0, reg::KEY_READ, &key) != reg::ERROR_SUCCESS)
        return names;
    QString name;
    for (reg::DWORD i = 0;
         reg::RegEnumValue(key, i, &name, nullptr, nullptr, nullptr, nullptr) == reg::ERROR_SUCCESS;
         ++i)
        names << name;
    reg::RegCloseKey(key);
    return names;
}

void delete_RegValue(reg::HKEY hive, const QString& keyPath, const QString& valueName) {
    reg::HKEY key = 0;
    if (reg::RegOpenKeyEx(hive, keyPath, 0, reg::KEY_WRITE, &key) != reg::ERROR_SUCCESS)
        return;
    reg::RegDeleteValue(key, valueName);
    reg::RegFlushKey(key);
    reg::RegCloseKey(key);
}

} // namespace core
