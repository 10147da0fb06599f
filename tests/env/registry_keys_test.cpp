// Keys: existence, creation, deletion, deleting values, and enumeration.
#include "env/registry.h"
#include "platform/com/com_error.h"
#include "registry_fixture.h"

using env_test::raised;
using qzvenv::Registry;

namespace {

class RegistryKeys : public env_test::RegistryTest {
protected:
    void SetUp() override {
        RegistryTest::SetUp();
        r.setClassKey(Registry::kCurrentUser);
    }
    Registry r;
};

TEST_F(RegistryKeys, CreateAndDeleteKeys) {
    r.setSectionKey(QStringLiteral("Software\\Vorlan Test\\A\\B"));
    EXPECT_FALSE(r.KeyExists());
    EXPECT_TRUE(r.CreateKey());
    EXPECT_TRUE(r.KeyExists());
    EXPECT_TRUE(r.CreateKey()); // an existing key is fine
    r.setClassKey(Registry::kLocalMachine);
    EXPECT_FALSE(r.KeyExists()); // another hive

    r.setClassKey(Registry::kCurrentUser);
    r.setSectionKey(QStringLiteral("Software\\Vorlan Test\\A"));
    auto e = raised([&] { r.DeleteKey(); }); // still has a subkey
    EXPECT_EQ(e.number(), 26001);
    EXPECT_EQ(e.source(), QStringLiteral("qzvenv.cRegistry"));
    EXPECT_EQ(e.description(), QStringLiteral("Failed to delete registry Key: "
                                              "'-2147483647',Section: 'Software\\Vorlan Test\\A'"));
    EXPECT_TRUE(r.KeyExists());

    r.setSectionKey(QStringLiteral("Software\\Vorlan Test\\A\\B"));
    EXPECT_TRUE(r.DeleteKey());
    EXPECT_FALSE(r.KeyExists());
    EXPECT_THROW(r.DeleteKey(), com::ComError); // already gone

    r.setClassKey(0x1234);
    e = raised([&] { r.CreateKey(); });
    EXPECT_EQ(e.number(), 26001);
    EXPECT_EQ(e.source(), QStringLiteral("qzvenv.cRegistry"));
    EXPECT_EQ(e.description(), QStringLiteral("Failed to create registry Key: '4660',Section: "
                                              "'Software\\Vorlan Test\\A\\B'"));
}

TEST_F(RegistryKeys, DeleteValue) {
    const QString section = QStringLiteral("Software\\Vorlan Test\\Values");
    env_test::writeRaw(reg::HKEY_CURRENT_USER, section, QStringLiteral("Gone"), reg::REG_SZ,
                       env_test::stringData("x"));
    r.setSectionKey(section);
    r.setValueKey(QStringLiteral("Gone"));
    EXPECT_TRUE(r.DeleteValue());
    EXPECT_FALSE(env_test::readRaw(reg::HKEY_CURRENT_USER, section, QStringLiteral("Gone")).found);

    auto e = raised([&] { r.DeleteValue(); });
    EXPECT_EQ(e.number(), 26001);
    EXPECT_EQ(e.source(), QStringLiteral("qzvenv.cRegistry"));
    EXPECT_EQ(e.description(), QStringLiteral("Failed to delete registry Key: '-2147483647',"
                                              "Section: 'Software\\Vorlan Test\\Values',Key: "
                                              "'Gone'"));

    r.setSectionKey(QStringLiteral("Software\\Missing"));
    e = raised([&] { r.DeleteValue(); });
    EXPECT_EQ(e.number(), 26001);
    EXPECT_EQ(e.source(), QStringLiteral("qzvenv.cRegistry"));
    EXPECT_EQ(e.description(),
              QStringLiteral("Failed to open key 'Software\\Missing' for delete access"));
}

TEST_F(RegistryKeys, EnumerationRunsFromOneInTheRegistrysOrder) {
    const QString section = QStringLiteral("Software\\Vorlan Test\\Listed");
    for (const char* name : {"Zeta", "alpha", "Mid"})
        env_test::writeRaw(reg::HKEY_CURRENT_USER, section, QString::fromLatin1(name), reg::REG_SZ,
                           env_test::stringData("v"));
    for (const char* sub : {"Sub Two", "Sub One"}) {
        r.setSectionKey(section + u'\\' + QString::fromLatin1(sub));
        r.CreateKey();
    }
    r.setSectionKey(section);

    Registry::Names names;
    int count = -1;
    ASSERT_TRUE(r.EnumerateValues(names, count));
    ASSERT_EQ(count, 3);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[1], QStringLiteral("Zeta"));
    EXPECT_EQ(names[2], QStringLiteral("alpha"));
    EXPECT_EQ(names[3], QStringLiteral("Mid"));

    ASSERT_TRUE(r.EnumerateSections(names, count));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(names[1], QStringLiteral("Sub Two"));
    EXPECT_EQ(names[2], QStringLiteral("Sub One"));

    // A key with nothing in it.
    r.setSectionKey(section + QStringLiteral("\\Sub One"));
    ASSERT_TRUE(r.EnumerateValues(names, count));
    EXPECT_EQ(count, 0);
    ASSERT_TRUE(r.EnumerateSections(names, count));
    EXPECT_EQ(count, 0);
}

TEST_F(RegistryKeys, EnumeratingAMissingKey) {
    r.setSectionKey(QStringLiteral("Software\\Missing"));
    Registry::Names names{QStringLiteral("stale"), QStringLiteral("stale")};
    int count = 5;
    EXPECT_FALSE(r.EnumerateValues(names, count));
    EXPECT_EQ(count, 0);

    auto e = raised([&] { r.EnumerateSections(names, count); });
    EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x800469AAu));
    EXPECT_EQ(e.source(), QStringLiteral("qzvenv.cRegistry"));
    EXPECT_EQ(e.description(), QStringLiteral("Failed to enumerate registry Key: "
                                              "'-2147483647',Section: 'Software\\Missing'"));
    EXPECT_EQ(count, 0);
}

} // namespace
