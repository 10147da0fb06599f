// Reading values: the type rules and the fall-back to Default.
#include "env/registry.h"
#include "platform/system/environment.h"
#include "registry_fixture.h"

using qzvenv::Registry;
using qzvenv::Variant;

namespace {

const QString kSection = QStringLiteral("Software\\Vorlan Test\\Values");

class RegistryRead : public env_test::RegistryTest {
protected:
    void SetUp() override {
        RegistryTest::SetUp();
        r.setClassKey(Registry::kCurrentUser);
        r.setSectionKey(kSection);
    }
    Variant read(const QString& name) {
        r.setValueKey(name);
        return r.Value();
    }
    void put(const QString& name, reg::DWORD type, const QByteArray& data) {
        env_test::writeRaw(reg::HKEY_CURRENT_USER, kSection, name, type, data);
    }
    Registry r;
};

TEST_F(RegistryRead, MissingValueGivesDefaultAndKeepsValueType) {
    put(QStringLiteral("There"), reg::REG_SZ, env_test::stringData("x"));
    r.setDefault(QStringLiteral("fallback"));
    r.setValueType(Registry::kBinary);
    EXPECT_EQ(read(QStringLiteral("Missing")), Variant(QStringLiteral("fallback")));
    EXPECT_EQ(r.ValueType(), Registry::kBinary);

    r.setSectionKey(QStringLiteral("Software\\No Such Key"));
    r.setDefault(std::int32_t{-7});
    EXPECT_EQ(read(QStringLiteral("There")), Variant(std::int32_t{-7}));
    EXPECT_EQ(r.ValueType(), Registry::kBinary);

    // An unset default reads back as empty.
    Registry fresh;
    fresh.setClassKey(Registry::kCurrentUser);
    fresh.setSectionKey(kSection);
    fresh.setValueKey(QStringLiteral("Missing"));
    EXPECT_TRUE(qzvenv::isEmpty(fresh.Value()));
}

TEST_F(RegistryRead, EachTypeReadsBackAsItsKind) {
    ASSERT_TRUE(sys::setEnv(QStringLiteral("VORLAN_TEST_HOME"), QStringLiteral("/home/dj")));
    put(QStringLiteral("Plain"), reg::REG_SZ, env_test::stringData("Crate d\xc3\xa9j\xc3\xa0 vu"));
    put(QStringLiteral("Expand"), reg::REG_EXPAND_SZ,
        env_test::stringData("%VORLAN_TEST_HOME%/mixes;%VORLAN_NOT_SET%"));
    put(QStringLiteral("Binary"), reg::REG_BINARY, QByteArray("\x00\x01\xfe\xff", 4));
    put(QStringLiteral("Number"), reg::REG_DWORD, QByteArray("\x78\x56\x34\x12", 4));
    put(QStringLiteral("Negative"), reg::REG_DWORD, QByteArray("\xff\xff\xff\xff", 4));
    put(QStringLiteral("BigEndian"), reg::REG_DWORD_BIG_ENDIAN, QByteArray("\x12\x34\x56\x78", 4));
    put(QStringLiteral("List"), reg::REG_MULTI_SZ, QByteArray("one\0two\0\0", 9));
    put(QStringLiteral("Other"), 11, QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8));

    EXPECT_EQ(read(QStringLiteral("Plain")), Variant(QString::fromUtf8("Crate déjà vu")));
    EXPECT_EQ(r.ValueType(), 1);
    EXPECT_EQ(read(QStringLiteral("Expand")),
              Variant(QStringLiteral("/home/dj/mixes;%VORLAN_NOT_SET%")));
    EXPECT_EQ(r.ValueType(), 2);
    EXPECT_EQ(read(QStringLiteral("Binary")), Variant(QByteArray("\x00\x01\xfe\xff", 4)));
    EXPECT_EQ(r.ValueType(), 3);
    EXPECT_EQ(read(QStringLiteral("Number")), Variant(std::int32_t{0x12345678}));
    EXPECT_EQ(r.ValueType(), 4);
    EXPECT_EQ(read(QStringLiteral("Negative")), Variant(std::int32_t{-1}));
    EXPECT_EQ(read(QStringLiteral("BigEndian")), Variant(std::int32_t{0x12345678}));
    EXPECT_EQ(r.ValueType(), 5);
    EXPECT_EQ(read(QStringLiteral("List")), Variant(QString::fromLatin1("one\0two\0", 8)));
    EXPECT_EQ(r.ValueType(), 7);
    EXPECT_EQ(read(QStringLiteral("Other")),
              Variant(QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8)));
    EXPECT_EQ(r.ValueType(), 11);
    sys::unsetEnv(QStringLiteral("VORLAN_TEST_HOME"));
}

TEST_F(RegistryRead, StringsWithoutTerminatorKeepTheirLastCharacter) {
    put(QStringLiteral("Bare"), reg::REG_SZ, QByteArray("abc"));
    put(QStringLiteral("Empty"), reg::REG_SZ, QByteArray());
    put(QStringLiteral("JustNul"), reg::REG_SZ, QByteArray(1, '\0'));
    EXPECT_EQ(read(QStringLiteral("Bare")), Variant(QStringLiteral("abc")));
    EXPECT_EQ(read(QStringLiteral("Empty")), Variant(QString()));
    EXPECT_EQ(read(QStringLiteral("JustNul")), Variant(QString()));
}

TEST_F(RegistryRead, DefaultValueOfAKeyHasTheEmptyName) {
    put(QString(), reg::REG_SZ, env_test::stringData("the default"));
    EXPECT_EQ(read(QString()), Variant(QStringLiteral("the default")));
}

TEST_F(RegistryRead, ReadKeyAddressesAnotherValueAndPutsTheKeysBack) {
    env_test::writeRaw(reg::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Elsewhere"),
                       QStringLiteral("Deck"), reg::REG_SZ, env_test::stringData("left"));
    r.setValueKey(QStringLiteral("Mine"));
    r.setDefault(QStringLiteral("own default"));

    EXPECT_EQ(r.ReadKey(QStringLiteral("Deck"), QStringLiteral("Software\\Elsewhere"),
                        Registry::kLocalMachine, QStringLiteral("unused")),
              Variant(QStringLiteral("left")));
    EXPECT_EQ(r.ReadKey(QStringLiteral("Gone"), QStringLiteral("Software\\Elsewhere"),
                        Registry::kLocalMachine, std::int16_t{3}),
              Variant(std::int16_t{3}));

    EXPECT_EQ(r.ClassKey(), Registry::kCurrentUser);
    EXPECT_EQ(r.SectionKey(), kSection);
    EXPECT_EQ(r.ValueKey(), QStringLiteral("Mine"));
    EXPECT_EQ(r.Default(), Variant(QStringLiteral("own default")));
}

} // namespace
