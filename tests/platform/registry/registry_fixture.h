#pragma once
// Shared by the registry tests (and the environment library's): a database
// of its own for every test, and short ways to write and read one value and
// to check that a key exists.
#include "platform/registry/registry.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace registry_testing {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        reg::RegUseDatabase(databasePath());
    }
    // Back to the environment's database (opened only when used again), so
    // the temporary folder can go.
    void TearDown() override { reg::RegUseDatabase(QString()); }

    QString databasePath() const { return folder.filePath(QStringLiteral("registry.db")); }

    QTemporaryDir folder;
};

// A registry string: UTF-8 with its terminating NUL.
inline QByteArray registryString(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.append('\0');
    return bytes;
}

inline reg::LONG writeValue(reg::HKEY hive, const QString& path, const QString& name,
                            reg::DWORD type, const QByteArray& bytes) {
    reg::HKEY key = 0;
    reg::LONG status = reg::RegCreateKeyEx(hive, path, 0, QString(), reg::REG_OPTION_NON_VOLATILE,
                                           reg::KEY_ALL_ACCESS, &key, nullptr);
    if (status != reg::ERROR_SUCCESS)
        return status;
    status = reg::RegSetValueEx(key, name, 0, type,
                                reinterpret_cast<const reg::BYTE*>(bytes.constData()),
                                reg::DWORD(bytes.size()));
    reg::RegCloseKey(key);
    return status;
}

struct ReadResult {
    reg::LONG status = -1;
    reg::DWORD type = 0xdead;
    QByteArray bytes;
};

// Reads a value whole: asks its size first, then its bytes.
inline ReadResult readValue(reg::HKEY hive, const QString& path, const QString& name) {
    ReadResult result;
    reg::HKEY key = 0;
    result.status = reg::RegOpenKeyEx(hive, path, 0, reg::KEY_READ, &key);
    if (result.status != reg::ERROR_SUCCESS)
        return result;
    reg::DWORD size = 0;
    result.status = reg::RegQueryValueEx(key, name, nullptr, &result.type, nullptr, &size);
    if (result.status == reg::ERROR_SUCCESS) {
        result.bytes.resize(qsizetype(size));
        result.status =
            reg::RegQueryValueEx(key, name, nullptr, &result.type,
                                 reinterpret_cast<reg::BYTE*>(result.bytes.data()), &size);
        result.bytes.resize(qsizetype(size));
    }
    reg::RegCloseKey(key);
    return result;
}

inline bool keyExists(reg::HKEY hive, const QString& path) {
    reg::HKEY key = 0;
    const reg::LONG status = reg::RegOpenKeyEx(hive, path, 0, reg::KEY_READ, &key);
    reg::RegCloseKey(key);
    return status == reg::ERROR_SUCCESS;
}

} // namespace registry_testing
