#pragma once
// A fresh registry database per test (the registry tests' fixture), raw
// access to values for checking what the library stored, and catching the
// errors it raises.
#include "platform/com/com_error.h"
#include "platform/registry/registry.h"
#include "tests/platform/registry/registry_fixture.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <gtest/gtest.h>

namespace env_test {

using RegistryTest = registry_testing::RegistryTest;
using registry_testing::keyExists;

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
// Runs `call` and returns the error it raised; a call that raises nothing
// fails the test ("no error raised") and answers error 0.
com::ComError raised(const std::function<void()>& call);

} // namespace env_test
