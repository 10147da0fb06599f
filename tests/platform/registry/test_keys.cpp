// Keys: case-insensitive names that keep their case, the classes root view,
// deletion rules, enumeration order, handles and key paths.
#include "registry_fixture.h"

#include <QStringList>

using namespace reg;
using registry_testing::keyExists;
using registry_testing::readValue;
using registry_testing::registryString;
using registry_testing::writeValue;

namespace {

class RegistryKeys : public registry_testing::RegistryTest {};

// The names `enumerate` lists under `path`, in its order; a key that does
// not open, or an enumeration ending on another status than no-more-items,
// shows as a marker in the list.
QStringList namesOf(HKEY hive, const QString& path,
                    LONG (*enumerate)(HKEY key, DWORD index, QString* name)) {
    QStringList names;
    HKEY key = 0;
    if (RegOpenKeyEx(hive, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {QStringLiteral("<cannot open>")};
    QString name;
    DWORD index = 0;
    LONG status;
    while ((status = enumerate(key, index++, &name)) == ERROR_SUCCESS)
        names.append(name);
    if (status != ERROR_NO_MORE_ITEMS)
        names.append(QStringLiteral("<status %1>").arg(status));
    RegCloseKey(key);
    return names;
}

QStringList subKeysOf(HKEY hive, const QString& path) {
    return namesOf(hive, path, RegEnumKeyEx);
}

QStringList valuesOf(HKEY hive, const QString& path) {
    return namesOf(hive, path, [](HKEY key, DWORD index, QString* name) {
        return RegEnumValue(key, index, name, nullptr, nullptr, nullptr, nullptr);
    });
}

TEST_F(RegistryKeys, NamesCompareWithoutCaseAndKeepTheirCase) {
    const QString created = QStringLiteral("Software\\Vorlan\\Ärger Σίσυφος");
    HKEY key = 0;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, created, 0, QString(), 0, KEY_ALL_ACCESS, &key,
                             &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    RegCloseKey(key);

    // Non-ASCII letters fold too, final sigma included.
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\vorlan\\ärger ΣΊΣΥΦΟΣ"),
                             0, QString(), 0, KEY_ALL_ACCESS, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);
    EXPECT_EQ(subKeysOf(HKEY_CURRENT_USER, QStringLiteral("software\\VORLAN")),
              QStringList{QStringLiteral("Ärger Σίσυφος")});
    EXPECT_EQ(subKeysOf(HKEY_CURRENT_USER, QString()), QStringList{QStringLiteral("Software")});

    ASSERT_EQ(writeValue(HKEY_CURRENT_USER, created, QStringLiteral("Größe"), REG_SZ,
                         registryString("1")),
              ERROR_SUCCESS);
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, created, QStringLiteral("GRÖSSE")).status,
              ERROR_FILE_NOT_FOUND)
        << "simple folding: ß is not ss";
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, created, QStringLiteral("gRÖße")).bytes,
              registryString("1"));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, QStringLiteral("Software\\Vorlan\\Arger Σίσυφος")))
        << "letters differing by more than case stay different";
}

TEST_F(RegistryKeys, ClassesRootIsAViewOfLocalMachineClasses) {
    ASSERT_EQ(writeValue(HKEY_CLASSES_ROOT, QStringLiteral(".mp3"), QString(), REG_SZ,
                         registryString("Vorlan.Track")),
              ERROR_SUCCESS);
    EXPECT_EQ(
        readValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Classes\\.mp3"), QString()).bytes,
        registryString("Vorlan.Track"));

    ASSERT_EQ(writeValue(HKEY_LOCAL_MACHINE,
                         QStringLiteral("software\\classes\\Vorlan.Track\\shell\\open\\command"),
                         QString(), REG_SZ, registryString("\"/opt/vorlan\" \"%1\"")),
              ERROR_SUCCESS);
    EXPECT_EQ(readValue(HKEY_CLASSES_ROOT, QStringLiteral("Vorlan.Track\\Shell\\Open\\Command"),
                        QString())
                  .bytes,
              registryString("\"/opt/vorlan\" \"%1\""));
    EXPECT_EQ(subKeysOf(HKEY_CLASSES_ROOT, QString()),
              (QStringList{QStringLiteral(".mp3"), QStringLiteral("Vorlan.Track")}));

    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, QStringLiteral(".MP3")), ERROR_SUCCESS);
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Classes\\.mp3")));
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, QString()), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, QString()));
    EXPECT_TRUE(subKeysOf(HKEY_CURRENT_USER, QString()).isEmpty())
        << "the classes root is not the current user's";
}

TEST_F(RegistryKeys, KeyWithSubkeysCannotBeDeleted) {
    ASSERT_EQ(writeValue(HKEY_CURRENT_USER, QStringLiteral("Parent\\Child"), QStringLiteral("v"),
                         REG_SZ, registryString("x")),
              ERROR_SUCCESS);
    ASSERT_EQ(writeValue(HKEY_CURRENT_USER, QStringLiteral("Parent"), QStringLiteral("w"), REG_SZ,
                         registryString("y")),
              ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, QStringLiteral("Parent")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(
        readValue(HKEY_CURRENT_USER, QStringLiteral("Parent\\Child"), QStringLiteral("v")).bytes,
        registryString("x"))
        << "a refused delete changes nothing";
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, QStringLiteral("Parent"), QStringLiteral("w")).status,
              ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, QStringLiteral("Parent\\Child")), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, QStringLiteral("Parent")), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, QStringLiteral("Parent")), ERROR_FILE_NOT_FOUND);

    // A key made again under the same name starts empty.
    HKEY key = 0;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, QStringLiteral("Parent"), &key), ERROR_SUCCESS);
    DWORD subKeys = 9;
    DWORD values = 9;
    ASSERT_EQ(RegQueryInfoKey(key, &subKeys, &values, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 0u);
    RegCloseKey(key);

    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, QString()), ERROR_ACCESS_DENIED) << "a hive stays";
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, QString()), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryKeys, EnumerationFollowsCreationOrder) {
    const QString path = QStringLiteral("Software\\Order");
    for (const char* name : {"Zeta", "alpha", "Mid"}) {
        HKEY key = 0;
        ASSERT_EQ(
            RegCreateKey(HKEY_CURRENT_USER, path + QLatin1Char('\\') + QLatin1String(name), &key),
            ERROR_SUCCESS);
        RegCloseKey(key);
    }
    EXPECT_EQ(
        subKeysOf(HKEY_CURRENT_USER, path),
        (QStringList{QStringLiteral("Zeta"), QStringLiteral("alpha"), QStringLiteral("Mid")}));

    for (const char* name : {"z", "a", "m"})
        ASSERT_EQ(
            writeValue(HKEY_CURRENT_USER, path, QLatin1String(name), REG_SZ, registryString(name)),
            ERROR_SUCCESS);
    ASSERT_EQ(
        writeValue(HKEY_CURRENT_USER, path, QStringLiteral("Z"), REG_BINARY, QByteArray(300, 'q')),
        ERROR_SUCCESS);
    EXPECT_EQ(valuesOf(HKEY_CURRENT_USER, path),
              (QStringList{QStringLiteral("z"), QStringLiteral("a"), QStringLiteral("m")}))
        << "rewriting a value keeps its place";

    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteValue(key, QStringLiteral("A")), ERROR_SUCCESS);
    const BYTE byte = 1;
    ASSERT_EQ(RegSetValueEx(key, QStringLiteral("a"), 0, REG_BINARY, &byte, 1), ERROR_SUCCESS);
    EXPECT_EQ(valuesOf(HKEY_CURRENT_USER, path),
              (QStringList{QStringLiteral("z"), QStringLiteral("m"), QStringLiteral("a")}))
        << "a value written after deletion comes last";

    DWORD subKeys = 0;
    DWORD values = 0;
    DWORD largest = 0;
    ASSERT_EQ(RegQueryInfoKey(key, &subKeys, &values, &largest), ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 3u);
    EXPECT_EQ(values, 3u);
    EXPECT_EQ(largest, 300u);
    QString name;
    EXPECT_EQ(RegEnumKeyEx(key, 3, &name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumValue(key, 3, &name, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryKeys, HandlesCloseOnceAndGoStaleWhenTheirKeyIsDeleted) {
    HKEY key = 0;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, QStringLiteral("Software\\Gone"), &key),
              ERROR_SUCCESS);
    ASSERT_NE(key, 0u);
    EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKey(HKEY_CURRENT_USER, QStringLiteral("Software\\Gone")), ERROR_SUCCESS);

    const BYTE byte = 1;
    EXPECT_EQ(RegSetValueEx(key, QStringLiteral("v"), 0, REG_BINARY, &byte, 1),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueEx(key, QStringLiteral("v"), nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    HKEY child = 0;
    EXPECT_EQ(RegCreateKey(key, QStringLiteral("child"), &child), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(subKeysOf(HKEY_CURRENT_USER, QStringLiteral("Software")), QStringList())
        << "nothing was created through the stale handle";

    // The same name made again is a new key; the old handle stays stale.
    HKEY again = 0;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, QStringLiteral("Software\\Gone"), &again),
              ERROR_SUCCESS);
    EXPECT_NE(again, key);
    EXPECT_EQ(RegEnumValue(key, 0, nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegFlushKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(again), ERROR_SUCCESS);
    for (HKEY hive : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        EXPECT_EQ(RegCloseKey(hive), ERROR_SUCCESS);
        EXPECT_EQ(RegFlushKey(hive), ERROR_SUCCESS);
    }
    EXPECT_EQ(RegOpenKeyEx(HKEY(12345), QString(), 0, KEY_READ, &key), ERROR_INVALID_HANDLE);

    // Switching databases closes every open key.
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, QStringLiteral("Software"), &key), ERROR_SUCCESS);
    RegUseDatabase(databasePath());
    EXPECT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryKeys, KeyPathRules) {
    HKEY key = 0;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("\\Software\\Path"), 0, QString(), 0,
                             KEY_ALL_ACCESS, &key, &disposition),
              ERROR_SUCCESS)
        << "a leading backslash is tolerated";
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    const BYTE byte = 5;
    ASSERT_EQ(RegSetValueEx(key, QStringLiteral("v"), 0, REG_BINARY, &byte, 1), ERROR_SUCCESS);

    // An empty path opens the key itself under a new handle.
    HKEY same = 0;
    ASSERT_EQ(RegOpenKeyEx(key, QString(), 0, KEY_READ, &same), ERROR_SUCCESS);
    EXPECT_NE(same, key);
    EXPECT_EQ(RegQueryValueEx(same, QStringLiteral("v"), nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(same);
    RegCloseKey(key);
    EXPECT_EQ(
        readValue(HKEY_CURRENT_USER, QStringLiteral("Software\\Path"), QStringLiteral("v")).bytes,
        QByteArray(1, 5));

    for (const char* bad : {"Software\\\\Path", "Software\\Path\\", "\\\\Software"}) {
        key = 99;
        EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, QLatin1String(bad), &key),
                  ERROR_INVALID_PARAMETER)
            << bad;
        EXPECT_EQ(key, 0u);
        EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, QLatin1String(bad), 0, KEY_READ, &key),
                  ERROR_INVALID_PARAMETER)
            << bad;
    }
    key = 99;
    EXPECT_EQ(
        RegOpenKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\Nothing"), 0, KEY_READ, &key),
        ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, 0u);
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, QStringLiteral("Software\\Nothing")))
        << "opening never creates";
    EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, QStringLiteral("x"), nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(subKeysOf(HKEY_CURRENT_USER, QStringLiteral("Software")),
              QStringList{QStringLiteral("Path")});
}

} // namespace
