// Writing values: stored types, the environment-reference rule, and the
// errors a refused write raises.
#include "env/registry.h"
#include "platform/com/com_error.h"
#include "registry_fixture.h"

using env_test::raised;
using qzvenv::Registry;
using qzvenv::Variant;

namespace {

const QString kSection = QStringLiteral("Software\\Vorlan Test\\Written");

class RegistryWrite : public env_test::RegistryTest {
protected:
    void SetUp() override {
        RegistryTest::SetUp();
        r.setClassKey(Registry::kCurrentUser);
        r.setSectionKey(kSection);
    }
    void write(const QString& name, std::int32_t type, const Variant& v) {
        r.setValueKey(name);
        r.setValueType(type);
        r.setValue(v);
    }
    env_test::RawValue raw(const QString& name) {
        return env_test::readRaw(reg::HKEY_CURRENT_USER, kSection, name);
    }
    Registry r;
};

TEST_F(RegistryWrite, EnvironmentReferenceMakesAnExpandableString) {
    struct Case {
        const char* text;
        reg::DWORD stored;
    };
    const Case cases[] = {
        {"%PATH%", reg::REG_EXPAND_SZ},
        {"100%", reg::REG_SZ},
        {"%%", reg::REG_SZ},
        {"%a%", reg::REG_EXPAND_SZ},
        {"50% off, 20% more", reg::REG_EXPAND_SZ},
        {"no percent", reg::REG_SZ},
        {"%", reg::REG_SZ},
        {"", reg::REG_SZ},
    };
    for (std::int32_t asType : {Registry::kString, Registry::kExpandableString}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.text) + " as type " + std::to_string(asType));
            write(QStringLiteral("V"), asType, QString::fromUtf8(c.text));
            const auto stored = raw(QStringLiteral("V"));
            ASSERT_TRUE(stored.found);
            EXPECT_EQ(stored.type, c.stored);
            EXPECT_EQ(stored.data, env_test::stringData(c.text));
        }
    }
}

TEST_F(RegistryWrite, TextIsStoredInTheRegistryCodePage) {
    write(QStringLiteral("Title"), Registry::kString, QString::fromUtf8("Caf\xc3\xa9 del Mar"));
    EXPECT_EQ(raw(QStringLiteral("Title")).data, env_test::stringData("Caf\xc3\xa9 del Mar"));
    // Numbers written as text are their decimal text.
    write(QStringLiteral("Count"), Registry::kString, std::int16_t{-12});
    EXPECT_EQ(raw(QStringLiteral("Count")).data, env_test::stringData("-12"));
}

TEST_F(RegistryWrite, NumbersAndBytesReadBackUnchanged) {
    write(QStringLiteral("Little"), Registry::kNumber, std::int32_t{0x12345678});
    EXPECT_EQ(raw(QStringLiteral("Little")).type, reg::REG_DWORD);
    EXPECT_EQ(raw(QStringLiteral("Little")).data, QByteArray("\x78\x56\x34\x12", 4));

    write(QStringLiteral("Big"), Registry::kBigEndianNumber, std::int32_t{0x12345678});
    EXPECT_EQ(raw(QStringLiteral("Big")).type, reg::REG_DWORD_BIG_ENDIAN);
    EXPECT_EQ(raw(QStringLiteral("Big")).data, QByteArray("\x12\x34\x56\x78", 4));

    write(QStringLiteral("Short"), Registry::kNumber, std::int16_t{-2});
    write(QStringLiteral("Bytes"), Registry::kBinary, QByteArray("\x00\xff\x10", 3));
    EXPECT_EQ(raw(QStringLiteral("Bytes")).type, reg::REG_BINARY);

    const std::pair<const char*, Variant> expected[] = {
        {"Little", std::int32_t{0x12345678}},
        {"Big", std::int32_t{0x12345678}},
        {"Short", std::int32_t{-2}},
        {"Bytes", QByteArray("\x00\xff\x10", 3)},
    };
    for (const auto& [name, value] : expected) {
        r.setValueKey(QString::fromLatin1(name));
        EXPECT_EQ(r.Value(), value) << name;
    }
    EXPECT_EQ(r.LastValueWritten(), Variant(QByteArray("\x00\xff\x10", 3)));
}

TEST_F(RegistryWrite, WritingCreatesTheKeyAndItsParents) {
    r.setSectionKey(QStringLiteral("Software\\Vorlan Test\\Deep\\Deeper"));
    write(QStringLiteral("X"), Registry::kString, QStringLiteral("y"));
    EXPECT_TRUE(
        env_test::keyExists(reg::HKEY_CURRENT_USER, QStringLiteral("Software\\Vorlan Test\\Deep")));
    EXPECT_TRUE(r.KeyExists());
}

TEST_F(RegistryWrite, RefusedWritesRaiseWithTheFailureMessage) {
    write(QStringLiteral("Earlier"), Registry::kString, QStringLiteral("kept"));

    auto e =
        raised([&] { write(QStringLiteral("Blob"), Registry::kBinary, QStringLiteral("text")); });
    EXPECT_EQ(e.number(), 26001);
    EXPECT_EQ(e.source(), QStringLiteral("qzvenv.cRegistry"));
    EXPECT_EQ(e.description(),
              QStringLiteral("Failed to set registry value Key: '-2147483647',Section: "
                             "'Software\\Vorlan Test\\Written',Key: 'Blob' to value: 'text'"));

    e = raised([&] { write(QStringLiteral("Count"), Registry::kNumber, QStringLiteral("12")); });
    EXPECT_EQ(e.number(), 26001);
    EXPECT_EQ(e.source(), QStringLiteral("qzvenv.cRegistry"));

    e = raised([&] { write(QStringLiteral("List"), Registry::kStringList, QStringLiteral("a")); });
    EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x800469A9u));
    EXPECT_EQ(e.source(), QStringLiteral("qzvenv.cRegistry"));
    EXPECT_EQ(e.description(),
              QStringLiteral("Failed to set registry value Key: '-2147483647',Section: "
                             "'Software\\Vorlan Test\\Written',Key: 'List' to value: 'a'"));

    e = raised([&] { write(QStringLiteral("Zero"), 0, std::int32_t{5}); });
    EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x800469A9u));

    // A byte array is named by its bytes in hexadecimal.
    e = raised([&] { write(QStringLiteral("Six"), 6, QByteArray("\x0a\xbc", 2)); });
    EXPECT_TRUE(e.description().endsWith(QStringLiteral("to value: '0ABC'")));

    // A hive the registry does not know: the key cannot be created.
    r.setClassKey(0x1234);
    e = raised([&] { write(QStringLiteral("Nowhere"), Registry::kString, QStringLiteral("v")); });
    EXPECT_EQ(e.number(), 26001);
    EXPECT_EQ(e.description(),
              QStringLiteral("Failed to set registry value Key: '4660',Section: "
                             "'Software\\Vorlan Test\\Written',Key: 'Nowhere' to value: 'v'"));

    // Nothing of the refused writes was stored, and the last value written
    // is still the one before them.
    for (const char* name : {"Blob", "Count", "List", "Zero", "Six"})
        EXPECT_FALSE(raw(QString::fromLatin1(name)).found) << name;
    EXPECT_EQ(r.LastValueWritten(), Variant(QStringLiteral("kept")));
}

TEST_F(RegistryWrite, WriteKeyAddressesAnotherValueAndPutsTheKeysBack) {
    r.setValueKey(QStringLiteral("Mine"));
    r.setValueType(Registry::kString);
    r.WriteKey(QStringLiteral("right"), QStringLiteral("Deck"), QStringLiteral("Software\\Other"),
               Registry::kLocalMachine);
    EXPECT_EQ(env_test::readRaw(reg::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Other"),
                                QStringLiteral("Deck"))
                  .data,
              env_test::stringData("right"));
    EXPECT_EQ(r.ClassKey(), Registry::kCurrentUser);
    EXPECT_EQ(r.SectionKey(), kSection);
    EXPECT_EQ(r.ValueKey(), QStringLiteral("Mine"));

    // Also when the write is refused.
    r.setValueType(Registry::kBinary);
    EXPECT_THROW(r.WriteKey(QStringLiteral("text"), QStringLiteral("Deck"),
                            QStringLiteral("Software\\Other"), Registry::kLocalMachine),
                 com::ComError);
    EXPECT_EQ(r.ClassKey(), Registry::kCurrentUser);
    EXPECT_EQ(r.SectionKey(), kSection);
    EXPECT_EQ(r.ValueKey(), QStringLiteral("Mine"));
}

} // namespace
