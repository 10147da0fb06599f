// System and User: variables kept in the registry, the change broadcast and
// the list taken once.
#include "broadcast_counter.h"
#include "env/process.h"
#include "env/system.h"
#include "env/user.h"
#include "platform/com/com_error.h"
#include "platform/system/environment.h"
#include "registry_fixture.h"

namespace {

template <typename T> struct Location;
template <> struct Location<qzvenv::System> {
    static constexpr reg::HKEY hive = reg::HKEY_LOCAL_MACHINE;
    static QString path() {
        return QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment");
    }
};
template <> struct Location<qzvenv::User> {
    static constexpr reg::HKEY hive = reg::HKEY_CURRENT_USER;
    static QString path() { return QStringLiteral("Environment"); }
};

template <typename T> class RegistryVariables : public env_test::RegistryTest {
protected:
    env_test::RawValue raw(const QString& name) {
        return env_test::readRaw(Location<T>::hive, Location<T>::path(), name);
    }
    void put(const QString& name, reg::DWORD type, const char* text) {
        env_test::writeRaw(Location<T>::hive, Location<T>::path(), name, type,
                           env_test::stringData(text));
    }
};
using Classes = ::testing::Types<qzvenv::System, qzvenv::User>;
TYPED_TEST_SUITE(RegistryVariables, Classes);

TYPED_TEST(RegistryVariables, ReadsWhatIsStoredAtItsLocation) {
    ASSERT_TRUE(sys::setEnv(QStringLiteral("VORLAN_TEST_ROOT"), QStringLiteral("/srv")));
    this->put(QStringLiteral("Crates"), reg::REG_SZ, "/music/crates");
    this->put(QStringLiteral("Mixes"), reg::REG_EXPAND_SZ, "%VORLAN_TEST_ROOT%/mixes");

    TypeParam env;
    EXPECT_EQ(env.Environment(QStringLiteral("Crates")), QStringLiteral("/music/crates"));
    EXPECT_EQ(env.Environment(QStringLiteral("crates")), QStringLiteral("/music/crates"));
    EXPECT_EQ(env.Environment(QStringLiteral("Mixes")), QStringLiteral("/srv/mixes"));
    EXPECT_EQ(env.Environment(QStringLiteral("Missing")), QString());
    sys::unsetEnv(QStringLiteral("VORLAN_TEST_ROOT"));
}

// A name holding "=" names no variable: it must not read the tail of
// another variable's entry ("QZV_X=a" in "QZV_X=a=b=c"), nor expand.
TYPED_TEST(RegistryVariables, NamesHoldingAnEqualsSignReadAsMissing) {
    ASSERT_TRUE(sys::setEnv(QStringLiteral("QZV_X"), QStringLiteral("a=b=c")));
    TypeParam env;
    for (const char* name : {"QZV_X=a", "QZV_X=", "QZV_X=a=b"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(qzvenv::Process().Environment(QString::fromLatin1(name)), QString());
        const QByteArray reference = QByteArray("%") + name + "%";
        this->put(QStringLiteral("Ref"), reg::REG_EXPAND_SZ, reference.constData());
        EXPECT_EQ(env.Environment(QStringLiteral("Ref")), QString::fromLatin1(reference));
    }
    // Nor does a name with a NUL read as the part before it.
    EXPECT_EQ(qzvenv::Process().Environment(QStringLiteral("QZV_X") + QChar(0) + u'a'), QString());
    EXPECT_EQ(qzvenv::Process().Environment(QStringLiteral("QZV_X")), QStringLiteral("a=b=c"));
    sys::unsetEnv(QStringLiteral("QZV_X"));
}

TYPED_TEST(RegistryVariables, WritesStoreByTheReferenceRuleAndBroadcastOnce) {
    env_test::BroadcastCounter broadcasts;
    TypeParam env;
    env.setEnvironment(QStringLiteral("Discount"), QStringLiteral("100%"));
    env.setEnvironment(QStringLiteral("Loops"), QStringLiteral("%HOME%/loops"));

    EXPECT_EQ(broadcasts.settings,
              QStringList({QStringLiteral("Environment"), QStringLiteral("Environment")}));
    EXPECT_EQ(this->raw(QStringLiteral("Discount")).type, reg::REG_SZ);
    EXPECT_EQ(this->raw(QStringLiteral("Discount")).data, env_test::stringData("100%"));
    EXPECT_EQ(this->raw(QStringLiteral("Loops")).type, reg::REG_EXPAND_SZ);
    EXPECT_EQ(this->raw(QStringLiteral("Loops")).data, env_test::stringData("%HOME%/loops"));

    // Read back: the reference expanded by the process environment.
    EXPECT_EQ(env.Environment(QStringLiteral("Loops")),
              sys::getEnv(QStringLiteral("HOME")).value_or(QString()) + QStringLiteral("/loops"));
    // Overwriting a variable that was expandable with plain text.
    env.setEnvironment(QStringLiteral("Loops"), QStringLiteral("/loops"));
    EXPECT_EQ(this->raw(QStringLiteral("Loops")).type, reg::REG_SZ);
    EXPECT_EQ(broadcasts.settings.size(), 3);
}

TYPED_TEST(RegistryVariables, ListIsTakenOnceInRegistryOrder) {
    this->put(QStringLiteral("PATH"), reg::REG_SZ, "/usr/bin");
    this->put(QStringLiteral("TEMP"), reg::REG_SZ, "/tmp");
    this->put(QStringLiteral("Greeting"), reg::REG_SZ, "a=b");

    TypeParam env;
    qzvenv::cValuePairs& list = env.List();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(1).Variable(), QStringLiteral("PATH"));
    EXPECT_EQ(list.Item(1).Value(), QStringLiteral("/usr/bin"));
    EXPECT_EQ(list.Item(2).Variable(), QStringLiteral("TEMP"));
    EXPECT_EQ(list.Item(QStringLiteral("greeting")).Value(), QStringLiteral("a=b"));

    env.setEnvironment(QStringLiteral("PATH"), QStringLiteral("/opt/vorlan;/usr/bin"));
    env.setEnvironment(QStringLiteral("NEW"), QStringLiteral("1"));
    qzvenv::cValuePairs& again = env.List();
    EXPECT_EQ(&again, &list);
    ASSERT_EQ(again.Count(), 3);
    EXPECT_EQ(again.Item(QStringLiteral("PATH")).Value(), QStringLiteral("/usr/bin"));
    EXPECT_THROW(again.Item(QStringLiteral("NEW")), com::ComError);

    // A new object reads the registry afresh.
    TypeParam fresh;
    EXPECT_EQ(fresh.List().Count(), 4);
    EXPECT_EQ(fresh.List().Item(QStringLiteral("PATH")).Value(),
              QStringLiteral("/opt/vorlan;/usr/bin"));
}

TYPED_TEST(RegistryVariables, ListOfAnEmptyLocationIsEmpty) {
    TypeParam env;
    EXPECT_EQ(env.List().Count(), 0);
    EXPECT_EQ(env.List().begin(), env.List().end());
}

using RegistryVariableLocations = env_test::RegistryTest;

TEST_F(RegistryVariableLocations, SystemAndUserAreSeparate) {
    qzvenv::System system;
    qzvenv::User user;
    system.setEnvironment(QStringLiteral("DECKS"), QStringLiteral("2"));
    EXPECT_EQ(user.Environment(QStringLiteral("DECKS")), QString());
    user.setEnvironment(QStringLiteral("DECKS"), QStringLiteral("4"));
    EXPECT_EQ(system.Environment(QStringLiteral("DECKS")), QStringLiteral("2"));
    EXPECT_EQ(user.Environment(QStringLiteral("DECKS")), QStringLiteral("4"));
}

} // namespace
