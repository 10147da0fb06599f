#include "registry_fixture.h"

namespace env_test {

void RegistryTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    reg::RegUseDatabase(dir_.filePath(QStringLiteral("registry.db")));
}

void RegistryTest::TearDown() {
    reg::RegUseDatabase(QString());
}

RawValue readRaw(reg::HKEY hive, const QString& path, const QString& name) {
    RawValue out;
    reg::HKEY key = 0;
    if (reg::RegOpenKeyEx(hive, path, 0, reg::KEY_READ, &key) != reg::ERROR_SUCCESS)
        return out;
    reg::DWORD size = 0;
    if (reg::RegQueryValueEx(key, name, nullptr, &out.type, nullptr, &size) == reg::ERROR_SUCCESS) {
        out.data.resize(static_cast<qsizetype>(size));
        out.found = reg::RegQueryValueEx(key, name, nullptr, &out.type,
                                         reinterpret_cast<reg::BYTE*>(out.data.data()),
                                         &size) == reg::ERROR_SUCCESS;
    }
    reg::RegCloseKey(key);
    return out;
}

void writeRaw(reg::HKEY hive, const QString& path, const QString& name, reg::DWORD type,
              const QByteArray& data) {
    reg::HKEY key = 0;
    ASSERT_EQ(reg::RegCreateKeyEx(hive, path, 0, QString(), reg::REG_OPTION_NON_VOLATILE,
                                  reg::KEY_ALL_ACCESS, &key, nullptr),
              reg::ERROR_SUCCESS);
    EXPECT_EQ(reg::RegSetValueEx(key, name, 0, type,
                                 reinterpret_cast<const reg::BYTE*>(data.constData()),
                                 static_cast<reg::DWORD>(data.size())),
              reg::ERROR_SUCCESS);
    reg::RegCloseKey(key);
}

QByteArray stringData(const char* text) {
    return QByteArray(text, static_cast<qsizetype>(qstrlen(text)) + 1);
}

bool keyExists(reg::HKEY hive, const QString& path) {
    reg::HKEY key = 0;
    if (reg::RegOpenKeyEx(hive, path, 0, reg::KEY_READ, &key) != reg::ERROR_SUCCESS)
        return false;
    reg::RegCloseKey(key);
    return true;
}

com::ComError raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const com::ComError& e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return com::ComError(0, QString(), QString());
}

} // namespace env_test
