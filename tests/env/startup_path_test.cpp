// The start-up step of the program: its folder is put in front of the
// machine-wide and the per-user PATH unless the machine-wide one names it.
#include "broadcast_counter.h"
#include "env/system.h"
#include "env/user.h"
#include "platform/system/folders.h"
#include "registry_fixture.h"

namespace {

const QString kSystemPath =
    QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment");

// The step as the splash window takes it, through the library's classes.
void putProgramFolderOnPath(const QString& folder) {
    qzvenv::System system;
    qzvenv::User user;
    const QString systemPath = system.Environment(QStringLiteral("PATH")).toLower();
    const QString userPath = user.Environment(QStringLiteral("PATH")).toLower();
    if (!systemPath.contains(QStringLiteral("vorlan"))) {
        system.setEnvironment(QStringLiteral("PATH"), folder + u';' + systemPath);
        user.setEnvironment(QStringLiteral("PATH"), folder + u';' + userPath);
    }
}

class StartupPath : public env_test::RegistryTest {
protected:
    QByteArray stored(reg::HKEY hive, const QString& path) {
        return env_test::readRaw(hive, path, QStringLiteral("PATH")).data;
    }
};

TEST_F(StartupPath, FolderGoesInFrontOfBothWhenTheMachinePathLacksIt) {
    env_test::writeRaw(reg::HKEY_LOCAL_MACHINE, kSystemPath, QStringLiteral("PATH"),
                       reg::REG_EXPAND_SZ, env_test::stringData("/usr/Local/bin:/usr/bin"));
    env_test::writeRaw(reg::HKEY_CURRENT_USER, QStringLiteral("Environment"),
                       QStringLiteral("PATH"), reg::REG_SZ, env_test::stringData("/home/DJ/bin"));
    const QString folder = sys::programFolder();
    ASSERT_FALSE(folder.toLower().contains(QStringLiteral("vorlan")));

    env_test::BroadcastCounter broadcasts;
    putProgramFolderOnPath(folder);

    EXPECT_EQ(broadcasts.settings,
              QStringList({QStringLiteral("Environment"), QStringLiteral("Environment")}));
    EXPECT_EQ(stored(reg::HKEY_LOCAL_MACHINE, kSystemPath),
              (folder + QStringLiteral(";/usr/local/bin:/usr/bin")).toUtf8() + '\0');
    EXPECT_EQ(stored(reg::HKEY_CURRENT_USER, QStringLiteral("Environment")),
              (folder + QStringLiteral(";/home/dj/bin")).toUtf8() + '\0');
}

TEST_F(StartupPath, MissingPathsBecomeTheFolderAlone) {
    env_test::BroadcastCounter broadcasts;
    putProgramFolderOnPath(QStringLiteral("/opt/Vorlan"));
    EXPECT_EQ(broadcasts.settings.size(), 2);
    EXPECT_EQ(stored(reg::HKEY_LOCAL_MACHINE, kSystemPath), QByteArray("/opt/Vorlan;\0", 13));
    EXPECT_EQ(stored(reg::HKEY_CURRENT_USER, QStringLiteral("Environment")),
              QByteArray("/opt/Vorlan;\0", 13));

    // The next start finds it and changes nothing.
    putProgramFolderOnPath(QStringLiteral("/opt/Vorlan"));
    EXPECT_EQ(broadcasts.settings.size(), 2);
}

TEST_F(StartupPath, NothingIsWrittenWhenTheMachinePathNamesIt) {
    env_test::writeRaw(reg::HKEY_LOCAL_MACHINE, kSystemPath, QStringLiteral("PATH"), reg::REG_SZ,
                       env_test::stringData("/opt/VORLAN/bin;/usr/bin"));
    env_test::writeRaw(reg::HKEY_CURRENT_USER, QStringLiteral("Environment"),
                       QStringLiteral("PATH"), reg::REG_SZ, env_test::stringData("/home/DJ/bin"));

    env_test::BroadcastCounter broadcasts;
    putProgramFolderOnPath(sys::programFolder());

    EXPECT_TRUE(broadcasts.settings.isEmpty());
    EXPECT_EQ(stored(reg::HKEY_LOCAL_MACHINE, kSystemPath),
              env_test::stringData("/opt/VORLAN/bin;/usr/bin"));
    EXPECT_EQ(stored(reg::HKEY_CURRENT_USER, QStringLiteral("Environment")),
              env_test::stringData("/home/DJ/bin"));
}

} // namespace
