// The database file: where it lives, how it is created, and that a damaged,
// foreign or unreadable file is reported and never changed.
#include "registry_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <sqlite3.h>
#include <unistd.h>

using namespace reg;
using registry_testing::readValue;
using registry_testing::registryString;
using registry_testing::writeValue;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<cannot read>");
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class RegistryFiles : public registry_testing::RegistryTest {
protected:
    // Fills the database with some keys and values, then closes it.
    void makeRegistry() {
        for (int i = 0; i < 60; ++i)
            ASSERT_EQ(writeValue(HKEY_CURRENT_USER,
                                 QStringLiteral("Software\\Vorlan\\Key%1").arg(i % 7),
                                 QStringLiteral("Value%1").arg(i), REG_BINARY,
                                 QByteArray(3000 + i, char(i))),
                      ERROR_SUCCESS);
        closeRegistry();
    }
    // Points the registry elsewhere (not opened until used) so the file is free.
    void closeRegistry() { RegUseDatabase(folder.filePath(QStringLiteral("elsewhere.db"))); }

    // Every kind of call answers `status` and the file keeps its bytes.
    void expectRefusedAndUntouched(LONG status) {
        const QByteArray before = fileBytes(databasePath());
        RegUseDatabase(databasePath());
        HKEY key = 0;
        EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, QStringLiteral("Software\\Vorlan"), &key),
                  status);
        EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE"), 0, KEY_READ, &key),
                  status);
        const BYTE byte = 1;
        EXPECT_EQ(RegSetValueEx(HKEY_CURRENT_USER, QStringLiteral("v"), 0, REG_BINARY, &byte, 1),
                  status);
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueEx(HKEY_CLASSES_ROOT, QString(), nullptr, nullptr, nullptr, &size),
                  status);
        EXPECT_EQ(RegEnumKeyEx(HKEY_CURRENT_USER, 0, nullptr), status);
        EXPECT_EQ(RegEnumValue(HKEY_CURRENT_USER, 0, nullptr, nullptr, nullptr, nullptr, nullptr),
                  status);
        EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, QStringLiteral("Software")), status);
        EXPECT_EQ(RegDeleteValue(HKEY_CURRENT_USER, QStringLiteral("v")), status);
        EXPECT_EQ(RegQueryInfoKey(HKEY_LOCAL_MACHINE, nullptr, nullptr, nullptr), status);
        EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
        closeRegistry();
        EXPECT_TRUE(fileBytes(databasePath()) == before) << "the file was changed";
        for (const char* side : {"-wal", "-shm", "-journal"})
            EXPECT_FALSE(QFileInfo::exists(databasePath() + QLatin1String(side))) << side;
    }
};

TEST_F(RegistryFiles, MissingFileAndFolderAreCreatedOnFirstUse) {
    const QString path = folder.filePath(QStringLiteral("deep/er/registry.db"));
    RegUseDatabase(path);
    EXPECT_EQ(RegDatabasePath(), path);
    EXPECT_FALSE(QFileInfo::exists(path)) << "nothing happens before the first call";
    ASSERT_EQ(writeValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Vorlan"),
                         QStringLiteral("Last Playlist"), REG_SZ, registryString("/music/a.m3u")),
              ERROR_SUCCESS);
    EXPECT_TRUE(QFileInfo::exists(path));

    // Written with a write-ahead log and full syncs.
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr),
        SQLITE_OK);
    sqlite3_stmt* mode = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &mode, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(mode), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(mode, 0)), "wal");
    sqlite3_finalize(mode);
    sqlite3_close(db);
}

TEST_F(RegistryFiles, LocationComesFromTheEnvironment) {
    const QByteArray savedRegistry = qgetenv("VORLAN_REGISTRY");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray savedHome = qgetenv("HOME");

    qputenv("VORLAN_REGISTRY", QFile::encodeName(folder.filePath(QStringLiteral("named.db"))));
    RegUseDatabase(QString());
    EXPECT_EQ(RegDatabasePath(), folder.filePath(QStringLiteral("named.db")));

    qunsetenv("VORLAN_REGISTRY");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(QStringLiteral("config"))));
    RegUseDatabase(QString());
    EXPECT_EQ(RegDatabasePath(), folder.filePath(QStringLiteral("config/vorlan/registry.db")));
    HKEY key = 0;
    EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, QStringLiteral("Software"), &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("config/vorlan/registry.db"))));

    qunsetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(folder.filePath(QStringLiteral("home"))));
    RegUseDatabase(QString());
    EXPECT_EQ(RegDatabasePath(),
              folder.filePath(QStringLiteral("home/.config/vorlan/registry.db")));

    closeRegistry();
    qputenv("VORLAN_REGISTRY", savedRegistry);
    qputenv("XDG_CONFIG_HOME", savedConfig);
    qputenv("HOME", savedHome);
}

TEST_F(RegistryFiles, GarbageAndShortFilesAreReportedAndLeftAsTheyWere) {
    QByteArray garbage(10000, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char& b : garbage)
        b = char(generator.bounded(256));
    writeFile(databasePath(), garbage);
    expectRefusedAndUntouched(ERROR_REGISTRY_CORRUPT);

    writeFile(databasePath(), "not a registry\n");
    expectRefusedAndUntouched(ERROR_REGISTRY_CORRUPT);

    writeFile(databasePath(), QByteArray("SQLite format 3\0", 16)); // a bare header
    expectRefusedAndUntouched(ERROR_REGISTRY_CORRUPT);
}

TEST_F(RegistryFiles, TruncatedAndDamagedDatabasesAreReportedAndLeftAsTheyWere) {
    makeRegistry();
    const QByteArray sound = fileBytes(databasePath());
    ASSERT_GT(sound.size(), 40000);

    writeFile(databasePath(), sound.left(sound.size() / 2));
    expectRefusedAndUntouched(ERROR_REGISTRY_CORRUPT);
    // Only the last page missing: calls that never read it must refuse too.
    writeFile(databasePath(), sound.left(sound.size() - 4096));
    expectRefusedAndUntouched(ERROR_REGISTRY_CORRUPT);
    writeFile(databasePath(), sound.left(4096 + 100));
    expectRefusedAndUntouched(ERROR_REGISTRY_CORRUPT);
    // Cut short inside the last page (SQLite would read the rest as zeros).
    for (const int missing : {1, 100, 3000, 4095}) {
        SCOPED_TRACE(missing);
        writeFile(databasePath(), sound.left(sound.size() - missing));
        expectRefusedAndUntouched(ERROR_REGISTRY_CORRUPT);
    }

    QByteArray damaged = sound;
    for (qsizetype i = 4096; i < damaged.size() / 2; ++i)
        damaged[i] = char(0xA5);
    writeFile(databasePath(), damaged);
    expectRefusedAndUntouched(ERROR_REGISTRY_CORRUPT);

    // One page in the middle of the values, which no call below reads, made
    // invalid: the file is still refused as a whole.
    damaged = sound;
    const qsizetype value30 = sound.indexOf(QByteArray(3030, char(30)));
    ASSERT_GT(value30, 4096);
    damaged[value30 / 4096 * 4096] = char(0xFF); // the page's kind
    writeFile(databasePath(), damaged);
    expectRefusedAndUntouched(ERROR_REGISTRY_CORRUPT);

    // Put back whole, it works again: a failure is not remembered.
    writeFile(databasePath(), sound);
    RegUseDatabase(databasePath());
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, QStringLiteral("Software\\Vorlan\\Key3"),
                        QStringLiteral("Value59"))
                  .bytes,
              QByteArray(3059, char(59)));
}

TEST_F(RegistryFiles, AnotherProgramsDatabaseIsNotTakenOver) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(databasePath()).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE songs(title TEXT); INSERT INTO songs VALUES('a');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    expectRefusedAndUntouched(ERROR_REGISTRY_CORRUPT);
}

TEST_F(RegistryFiles, AfterAReportedFailureTheProgramCarriesOn) {
    writeFile(databasePath(), "garbage");
    RegUseDatabase(databasePath());
    EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Vorlan"), QStringLiteral("x"))
                  .status,
              ERROR_REGISTRY_CORRUPT);
    // Once the bad file is gone, the next call starts a new registry.
    ASSERT_TRUE(QFile::remove(databasePath()));
    EXPECT_EQ(writeValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Vorlan"),
                         QStringLiteral("x"), REG_SZ, registryString("1")),
              ERROR_SUCCESS);

    // An empty file (as a crash while creating one leaves it) is a new registry.
    closeRegistry();
    writeFile(databasePath(), QByteArray());
    RegUseDatabase(databasePath());
    EXPECT_EQ(writeValue(HKEY_CURRENT_USER, QStringLiteral("Software"), QStringLiteral("y"), REG_SZ,
                         registryString("2")),
              ERROR_SUCCESS);
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, QStringLiteral("Software"), QStringLiteral("y")).bytes,
              registryString("2"));
}

TEST_F(RegistryFiles, UnusablePathsAnswerAStatus) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("registry.db")));
    RegUseDatabase(databasePath());
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, QString(), QString()).status, ERROR_REGISTRY_IO_FAILED);

    const QString blocked = folder.filePath(QStringLiteral("file/registry.db"));
    writeFile(folder.filePath(QStringLiteral("file")), "a file where a folder should be");
    RegUseDatabase(blocked);
    EXPECT_NE(readValue(HKEY_CURRENT_USER, QString(), QString()).status, ERROR_SUCCESS);
    closeRegistry();
}

TEST_F(RegistryFiles, FilePermissionsAreAnsweredWithAccessDenied) {
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind the superuser";
    makeRegistry();
    const QString key = QStringLiteral("Software\\Vorlan\\Key0");

    ASSERT_TRUE(QFile::setPermissions(databasePath(), QFileDevice::Permissions()));
    expectRefusedAndUntouched(ERROR_ACCESS_DENIED);

    // Read-only: reads work, writes are refused, the file keeps its bytes.
    ASSERT_TRUE(QFile::setPermissions(databasePath(), QFileDevice::ReadOwner));
    const QByteArray before = fileBytes(databasePath());
    RegUseDatabase(databasePath());
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, key, QStringLiteral("Value0")).bytes,
              QByteArray(3000, char(0)));
    EXPECT_EQ(writeValue(HKEY_CURRENT_USER, key, QStringLiteral("Value0"), REG_SZ,
                         registryString("changed")),
              ERROR_ACCESS_DENIED);
    closeRegistry();
    EXPECT_TRUE(fileBytes(databasePath()) == before);
    EXPECT_FALSE(QFileInfo::exists(databasePath() + QStringLiteral("-wal")))
        << "no side files that would keep it read-only later";

    // Writable again: writes work again.
    ASSERT_TRUE(
        QFile::setPermissions(databasePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    RegUseDatabase(databasePath());
    EXPECT_EQ(writeValue(HKEY_CURRENT_USER, key, QStringLiteral("Value0"), REG_SZ,
                         registryString("changed")),
              ERROR_SUCCESS);
}

} // namespace
