// Values: typed round-trips, sizes, the more-data answer, names.
#include "registry_fixture.h"

#include <QRandomGenerator>
#include <vector>

using namespace reg;
using registry_testing::readValue;
using registry_testing::registryString;
using registry_testing::writeValue;

namespace {

class RegistryValues : public registry_testing::RegistryTest {};

const QString kPath = QStringLiteral("Software\\Vorlan\\Values");

QByteArray randomBytes(qsizetype size, quint32 seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (char& b : bytes)
        b = char(generator.bounded(256));
    return bytes;
}

TEST_F(RegistryValues, EveryTypeRoundTripsByteForByteAndSurvivesReopening) {
    QByteArray allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes.append(char(i));
    const struct {
        DWORD type;
        QByteArray bytes;
    } cases[] = {
        {REG_SZ, registryString(QStringLiteral("Plattenspieler Ü ß ∆ 🎧"))},
        {REG_EXPAND_SZ, registryString(QStringLiteral("%HOME%\\Music"))},
        {REG_BINARY, allBytes},
        {REG_DWORD, QByteArray("\x78\x56\x34\x12", 4)},
        {REG_DWORD_BIG_ENDIAN, QByteArray("\x12\x34\x56\x78", 4)},
        {REG_MULTI_SZ, QByteArray("one\0two\0\0", 9)},
        {REG_NONE, QByteArray("\0\1", 2)},
    };
    for (const auto& c : cases)
        ASSERT_EQ(writeValue(HKEY_CURRENT_USER, kPath, QString::number(c.type), c.type, c.bytes),
                  ERROR_SUCCESS);

    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& c : cases) {
            const auto read = readValue(HKEY_CURRENT_USER, kPath, QString::number(c.type));
            ASSERT_EQ(read.status, ERROR_SUCCESS) << "type " << c.type;
            EXPECT_EQ(read.type, c.type);
            EXPECT_EQ(read.bytes, c.bytes) << "type " << c.type;
        }
        RegUseDatabase(databasePath()); // reopen: the values come from the file
    }
}

TEST_F(RegistryValues, EmptyAndOneMebibyteValuesRoundTripAndLargerOnesAreRefused) {
    HKEY key = 0;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, kPath, &key), ERROR_SUCCESS);

    ASSERT_EQ(RegSetValueEx(key, QStringLiteral("empty"), 0, REG_BINARY, nullptr, 0),
              ERROR_SUCCESS);
    const BYTE unused = 7;
    ASSERT_EQ(RegSetValueEx(key, QStringLiteral("empty string"), 0, REG_SZ, &unused, 0),
              ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 99;
    BYTE buffer[4] = {1, 2, 3, 4};
    ASSERT_EQ(RegQueryValueEx(key, QStringLiteral("empty"), nullptr, &type, buffer, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 0u);
    size = 99;
    ASSERT_EQ(RegQueryValueEx(key, QStringLiteral("empty string"), nullptr, &type, buffer, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 0u);

    const QByteArray big = randomBytes(kMaxValueSize, 42);
    ASSERT_EQ(RegSetValueEx(key, QStringLiteral("big"), 0, REG_BINARY,
                            reinterpret_cast<const BYTE*>(big.constData()), kMaxValueSize),
              ERROR_SUCCESS);
    const QByteArray tooBig = randomBytes(kMaxValueSize + 1, 43);
    EXPECT_EQ(RegSetValueEx(key, QStringLiteral("big"), 0, REG_BINARY,
                            reinterpret_cast<const BYTE*>(tooBig.constData()), kMaxValueSize + 1),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(key);

    const auto read = readValue(HKEY_CURRENT_USER, kPath, QStringLiteral("big"));
    ASSERT_EQ(read.status, ERROR_SUCCESS);
    EXPECT_EQ(read.bytes.size(), qsizetype(kMaxValueSize));
    EXPECT_TRUE(read.bytes == big) << "the 1 MiB value came back changed";
}

TEST_F(RegistryValues, ShortBufferAnswersMoreDataWithTheNeededSize) {
    const QByteArray ten("0123456789", 10);
    ASSERT_EQ(writeValue(HKEY_CURRENT_USER, kPath, QStringLiteral("Ten"), REG_BINARY, ten),
              ERROR_SUCCESS);
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kPath, 0, KEY_READ, &key), ERROR_SUCCESS);

    std::vector<BYTE> buffer(100, 0xAA);
    DWORD type = 0;
    DWORD size = 4;
    EXPECT_EQ(RegQueryValueEx(key, QStringLiteral("Ten"), nullptr, &type, buffer.data(), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(buffer[0], 0xAA) << "a short buffer is left alone";

    size = 0;
    EXPECT_EQ(RegQueryValueEx(key, QStringLiteral("Ten"), nullptr, nullptr, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 10u) << "no buffer: the size only";

    for (DWORD offered : {10u, 100u}) {
        size = offered;
        EXPECT_EQ(RegQueryValueEx(key, QStringLiteral("Ten"), nullptr, &type, buffer.data(), &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(size, 10u);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer.data()), 10), ten);
        EXPECT_EQ(buffer[10], 0xAA) << "nothing written past the value";
    }

    type = 0;
    EXPECT_EQ(RegQueryValueEx(key, QStringLiteral("Ten"), nullptr, &type, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY) << "type only";
    EXPECT_EQ(RegQueryValueEx(key, QStringLiteral("Ten"), nullptr, &type, buffer.data(), nullptr),
              ERROR_INVALID_PARAMETER);

    // The same rules when listing.
    QString name;
    size = 3;
    EXPECT_EQ(RegEnumValue(key, 0, &name, nullptr, &type, buffer.data(), &size), ERROR_MORE_DATA);
    EXPECT_EQ(name, QStringLiteral("Ten"));
    EXPECT_EQ(size, 10u);
    RegCloseKey(key);
}

TEST_F(RegistryValues, EmptyNameIsTheDefaultValue) {
    ASSERT_EQ(writeValue(HKEY_CURRENT_USER, kPath, QString(), REG_SZ, registryString("Default")),
              ERROR_SUCCESS);
    ASSERT_EQ(writeValue(HKEY_CURRENT_USER, kPath, QStringLiteral("Other"), REG_SZ,
                         registryString("Other")),
              ERROR_SUCCESS);
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, kPath, QString()).bytes, registryString("Default"));

    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kPath, 0, KEY_READ, &key), ERROR_SUCCESS);
    QString name = QStringLiteral("not set");
    ASSERT_EQ(RegEnumValue(key, 0, &name, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_TRUE(name.isEmpty());
    EXPECT_EQ(RegDeleteValue(key, QString()), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueEx(key, QString(), nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueEx(key, QStringLiteral("Other"), nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(RegistryValues, WritingAgainReplacesTypeAndBytesButKeepsTheName) {
    ASSERT_EQ(writeValue(HKEY_CURRENT_USER, kPath, QStringLiteral("Volume"), REG_SZ,
                         registryString("loud")),
              ERROR_SUCCESS);
    ASSERT_EQ(writeValue(HKEY_CURRENT_USER, kPath, QStringLiteral("VOLUME"), REG_DWORD,
                         QByteArray("\x50\0\0\0", 4)),
              ERROR_SUCCESS);
    const auto read = readValue(HKEY_CURRENT_USER, kPath, QStringLiteral("volume"));
    EXPECT_EQ(read.type, REG_DWORD);
    EXPECT_EQ(read.bytes, QByteArray("\x50\0\0\0", 4));

    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kPath, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKey(key, nullptr, &values, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(values, 1u);
    QString name;
    ASSERT_EQ(RegEnumValue(key, 0, &name, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(name, QStringLiteral("Volume"));
    RegCloseKey(key);
}

TEST_F(RegistryValues, MissingValuesAndBadArgumentsAnswerTheirStatus) {
    HKEY key = 0;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, kPath, &key), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(key, QStringLiteral("nothing"), nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValue(key, QStringLiteral("nothing")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegSetValueEx(key, QStringLiteral("x"), 0, REG_BINARY, nullptr, 5),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegEnumValue(key, 0, nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, QStringLiteral("Software\\Nowhere"), QString()).status,
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(RegistryValues, OverLongNamesAreRefused) {
    HKEY key = 0;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, kPath, &key), ERROR_SUCCESS);
    const QString longest(kMaxValueNameLength, QLatin1Char('v'));
    const QString tooLong(kMaxValueNameLength + 1, QLatin1Char('v'));
    const BYTE one = 1;
    EXPECT_EQ(RegSetValueEx(key, longest, 0, REG_BINARY, &one, 1), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueEx(key, tooLong, 0, REG_BINARY, &one, 1), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueEx(key, tooLong, nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(key, QString::fromLatin1("nul\0inside", 10), 0, REG_BINARY, &one, 1),
              ERROR_INVALID_PARAMETER);

    const QString longestKey(kMaxKeyNameLength, QLatin1Char('k'));
    const QString tooLongKey(kMaxKeyNameLength + 1, QLatin1Char('k'));
    HKEY child = 0;
    EXPECT_EQ(RegCreateKey(key, longestKey, &child), ERROR_SUCCESS);
    RegCloseKey(child);
    EXPECT_EQ(RegCreateKey(key, tooLongKey, &child), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(child, 0u);
    EXPECT_EQ(RegCreateKey(key, QStringLiteral("ok\\") + tooLongKey, &child),
              ERROR_INVALID_PARAMETER);

    DWORD subKeys = 0;
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKey(key, &subKeys, &values, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 1u) << "a refused path creates nothing, not even its first part";
    EXPECT_EQ(values, 1u);
    RegCloseKey(key);
}

} // namespace
