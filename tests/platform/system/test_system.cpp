// System services: environment, expansion, broadcast, attributes, text, cipher.
#include "platform/system/cipher.h"
#include "platform/system/environment.h"
#include "platform/system/folders.h"
#include "platform/system/text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

TEST(Environment, SetReadUnsetAndBlock) {
    ASSERT_TRUE(sys::setEnv("VORLAN_T_A", "x=y;z"));
    EXPECT_EQ(sys::getEnv("VORLAN_T_A").value(), "x=y;z");
    EXPECT_TRUE(sys::environmentBlock().contains("VORLAN_T_A=x=y;z"));
    EXPECT_FALSE(sys::setEnv("BAD=NAME", "1"));
    EXPECT_FALSE(sys::setEnv("", "1"));
    ASSERT_TRUE(sys::unsetEnv("VORLAN_T_A"));
    EXPECT_FALSE(sys::getEnv("VORLAN_T_A").has_value());
}

TEST(Environment, ExpansionKeepsUnknownNamesAndLonePercents) {
    sys::setEnv("VORLAN_T_HOME", "/home/dj");
    sys::unsetEnv("VORLAN_T_NONE");
    EXPECT_EQ(sys::expandEnvironmentStrings("%VORLAN_T_HOME%/music"), "/home/dj/music");
    EXPECT_EQ(sys::expandEnvironmentStrings("%VORLAN_T_NONE%/x"), "%VORLAN_T_NONE%/x");
    EXPECT_EQ(sys::expandEnvironmentStrings("100%"), "100%");
    EXPECT_EQ(sys::expandEnvironmentStrings("%%"), "%%");
    EXPECT_EQ(sys::expandEnvironmentStrings("a%VORLAN_T_HOME%b%VORLAN_T_HOME%"),
              "a/home/djb/home/dj");
    // An unknown name's closing percent may open the next name.
    EXPECT_EQ(sys::expandEnvironmentStrings("%VORLAN_T_NONE%VORLAN_T_HOME%"),
              "%VORLAN_T_NONE/home/dj");
}

TEST(SettingChange, ObserversSeeEachBroadcastUntilUnsubscribed) {
    QStringList seen;
    const int before = sys::SettingChange::count();
    const int id = sys::SettingChange::subscribe([&](const QString& s) { seen << s; });
    sys::SettingChange::broadcast("Environment");
    sys::SettingChange::unsubscribe(id);
    sys::SettingChange::broadcast("Environment");
    EXPECT_EQ(seen, QStringList{"Environment"});
    EXPECT_EQ(sys::SettingChange::count(), before + 2);
}

TEST(Folders, ProgramAndSystemFolders) {
    EXPECT_TRUE(QDir(sys::programFolder()).exists());
    EXPECT_FALSE(sys::programFolder().endsWith('/'));
    const QByteArray old = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/tmp/vorlan-data/");
    EXPECT_EQ(sys::systemFolder(), "/tmp/vorlan-data/vorlan");
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(sys::systemFolder(), QDir::homePath() + "/.local/share/vorlan");
    qputenv("XDG_DATA_HOME", old);
}

TEST(Folders, FileExistsAndReadOnlyAttribute) {
    QTemporaryDir dir;
    const QString path = dir.filePath("song.mp3");
    EXPECT_FALSE(sys::fileExists(path));
    EXPECT_FALSE(sys::fileExists(""));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(sys::fileExists(path));
    EXPECT_TRUE(sys::fileExists(dir.path()));
    EXPECT_FALSE(sys::isReadOnly(path));
    ASSERT_TRUE(sys::setReadOnly(path, true));
    EXPECT_TRUE(sys::isReadOnly(path));
    ASSERT_TRUE(sys::setReadOnly(path, false));
    EXPECT_FALSE(sys::isReadOnly(path));
    struct stat st {};
    ASSERT_EQ(::stat(path.toUtf8().constData(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
    EXPECT_FALSE(sys::setReadOnly(dir.filePath("missing"), true));
}

TEST(Text, TagBytesMapOneToOne) {
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    const QString text = sys::bytesToText(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0xE9].unicode(), 0xE9);
    EXPECT_EQ(sys::textToBytes(text), all);
    EXPECT_EQ(sys::textToBytes(QString::fromUtf8("a\u20ACb")), QByteArray("a?b"));
    EXPECT_EQ(sys::fromAnsi(sys::toAnsi(QString::fromUtf8("Café ☕"))), QString::fromUtf8("Café ☕"));
    EXPECT_TRUE(sys::fromAnsi(static_cast<const char*>(nullptr)).isEmpty());
}

TEST(Cipher, RoundTripsAndHidesThePlainText) {
    const QString plain = QString::fromUtf8("Software\\Vorlan\\Settings – ü");
    for (unsigned salt : {0u, 0x5Au, 255u}) {
        const std::string e = sys::encipher(plain, salt);
        EXPECT_EQ(sys::decipher(e), plain);
        EXPECT_EQ(e.find("Software"), std::string::npos);
    }
    EXPECT_NE(sys::encipher(plain, 1), sys::encipher(plain, 2));
    EXPECT_TRUE(sys::decipher("").isEmpty());
    EXPECT_TRUE(sys::decipher("5").isEmpty());
    EXPECT_TRUE(sys::decipher("5Z00").isEmpty());
}

} // namespace
