// cValuePairs: members by position from 1 or by key, count and order.
#include "env/system.h"
#include "platform/com/com_error.h"
#include "registry_fixture.h"

namespace {

class ValuePairs : public env_test::RegistryTest {
protected:
    void SetUp() override {
        RegistryTest::SetUp();
        const QString path =
            QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment");
        for (const char* name : {"One", "Two", "Three"})
            env_test::writeRaw(reg::HKEY_LOCAL_MACHINE, path, QString::fromLatin1(name),
                               reg::REG_SZ,
                               env_test::stringData((std::string(name) + "-value").c_str()));
    }
    qzvenv::System system;
};

TEST_F(ValuePairs, MembersByPositionAndKey) {
    qzvenv::cValuePairs& list = system.List();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(1).Variable(), QStringLiteral("One"));
    EXPECT_EQ(list.Item(3).Variable(), QStringLiteral("Three"));
    EXPECT_EQ(list.Item(QStringLiteral("TWO")).Value(), QStringLiteral("Two-value"));

    QStringList order;
    for (const qzvenv::cValuePair& pair : list)
        order.append(pair.Variable());
    EXPECT_EQ(order,
              QStringList({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")}));

    for (int position : {0, 4, -1}) {
        const auto e = env_test::raised([&] { list.Item(position); });
        EXPECT_EQ(e.number(), 9) << position;
        EXPECT_EQ(e.source(), QStringLiteral("qzvenv.cValuePairs"));
        EXPECT_EQ(e.description(), QStringLiteral("Subscript out of range"));
    }
    const auto e = env_test::raised([&] { list.Item(QStringLiteral("Four")); });
    EXPECT_EQ(e.number(), 5);
    EXPECT_EQ(e.description(), QStringLiteral("Invalid procedure call or argument"));
}

TEST_F(ValuePairs, ChangedMembersStayInTheListUnderTheirKey) {
    qzvenv::cValuePair& two = system.List().Item(2);
    two.setValue(QStringLiteral("edited"));
    two.setVariable(QStringLiteral("Renamed"));
    EXPECT_EQ(system.List().Item(QStringLiteral("Two")).Value(), QStringLiteral("edited"));
    EXPECT_EQ(system.List().Item(2).Variable(), QStringLiteral("Renamed"));
    // The registry is not touched.
    EXPECT_EQ(system.Environment(QStringLiteral("Two")), QStringLiteral("Two-value"));
}

} // namespace
