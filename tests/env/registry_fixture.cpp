#include "registry_fixture.h"

namespace env_test {

RawValue readRaw(reg::HKEY hive, const QString& path, const QString& name) {
    const auto read = registry_testing::readValue(hive, path, name);
    if (read.status != reg::ERROR_SUCCESS)
        return {};
    return {true, read.type, read.bytes};
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
