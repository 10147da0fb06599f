#pragma once
// A fresh registry database per test, raw access to values for checking
// what the library stored, and catching the errors it raises.
#include "platform/com/com_error.h"
#include "platform/registry/registry.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace env_test {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    QTemporaryDir dir_;
};

struct RawValue {
    bool found = false;
    reg::DWORD type = reg::REG_NONE;
    QByteArray data;
};

// Reads a value straight from the registry.
RawValue readRaw(reg::HKEY hive, const QString& path, const QString& name);
// Stores a value straight into the registry (creating the key).
void writeRaw(reg::HKEY hive, const QString& path, const QString& name, reg::DWORD type,
              const QByteArray& data);
// The bytes of an ANSI registry string with its terminating NUL.
QByteArray stringData(const char* text);
bool keyExists(reg::HKEY hive, const QString& path);
// Runs `call` and returns the error it raised; a call that raises nothing
// fails the test ("no error raised") and answers error 0.
com::ComError raised(const std::function<void()>& call);

} // namespace env_test
