#pragma once
// An open registry key that closes itself.
#include "platform/registry/registry.h"

#include <cstdint>

namespace qzvenv {

// The registry handle of a hive held as a Long (0x80000000 etc.).
inline reg::HKEY hiveHandle(std::int32_t hive) {
    return static_cast<reg::HKEY>(static_cast<std::uint32_t>(hive));
}

class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey() {
        if (key_)
            reg::RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    // Opens an existing key; the registry's status.
    reg::LONG open(std::int32_t hive, const QString& path, reg::DWORD access) {
        return reg::RegOpenKeyEx(hiveHandle(hive), path, 0, access, &key_);
    }
    // Creates the key (and missing parents) or opens it; the registry's status.
    reg::LONG create(std::int32_t hive, const QString& path) {
        return reg::RegCreateKeyEx(hiveHandle(hive), path, 0, QString(),
                                   reg::REG_OPTION_NON_VOLATILE, reg::KEY_ALL_ACCESS, &key_,
                                   nullptr);
    }
    reg::HKEY handle() const { return key_; }

private:
    reg::HKEY key_ = 0;
};

} // namespace qzvenv
