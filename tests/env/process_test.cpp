// Process: the running process's own variables.
#include "env/process.h"
#include "platform/com/com_error.h"
#include "platform/system/environment.h"

#include <gtest/gtest.h>
#include <vector>

extern char** environ;

namespace {

// Replaces the process environment by `entries` while it exists. Nothing may
// set variables meanwhile.
class FakeEnvironment {
public:
    explicit FakeEnvironment(std::vector<const char*> entries)
        : entries_(std::move(entries)), saved_(environ) {
        entries_.push_back(nullptr);
        environ = const_cast<char**>(entries_.data());
    }
    ~FakeEnvironment() { environ = saved_; }
    FakeEnvironment(const FakeEnvironment&) = delete;
    FakeEnvironment& operator=(const FakeEnvironment&) = delete;

private:
    std::vector<const char*> entries_;
    char** saved_;
};

TEST(ProcessEnvironment, ReadAndWrite) {
    qzvenv::Process process;
    EXPECT_EQ(process.Environment(QStringLiteral("VORLAN_TEST_UNSET")), QString());

    process.setEnvironment(QStringLiteral("VORLAN_TEST_DECK"), QStringLiteral("left"));
    EXPECT_EQ(process.Environment(QStringLiteral("VORLAN_TEST_DECK")), QStringLiteral("left"));
    EXPECT_EQ(sys::getEnv(QStringLiteral("VORLAN_TEST_DECK")), QStringLiteral("left"));

    process.setEnvironment(QStringLiteral("VORLAN_TEST_DECK"), QString());
    EXPECT_EQ(process.Environment(QStringLiteral("VORLAN_TEST_DECK")), QString());

    // Values of any length come back whole.
    for (int length : {255, 256, 257, 4000}) {
        const QString value(length, u'x');
        process.setEnvironment(QStringLiteral("VORLAN_TEST_LONG"), value);
        EXPECT_EQ(process.Environment(QStringLiteral("VORLAN_TEST_LONG")), value) << length;
    }
    sys::unsetEnv(QStringLiteral("VORLAN_TEST_DECK"));
    sys::unsetEnv(QStringLiteral("VORLAN_TEST_LONG"));
}

TEST(ProcessEnvironment, NamesTheSystemRefusesRaise) {
    qzvenv::Process process;
    for (const QString& name : {QString(), QStringLiteral("A=B")}) {
        try {
            process.setEnvironment(name, QStringLiteral("v"));
            ADD_FAILURE() << "accepted " << name.toStdString();
        } catch (const com::ComError& e) {
            EXPECT_EQ(e.number(), 5);
            EXPECT_EQ(e.source(), QStringLiteral("qzvenv.Process"));
            EXPECT_EQ(e.description(), QStringLiteral("Invalid procedure call or argument"));
        }
    }
}

TEST(ProcessEnvironment, ListSplitsAtTheFirstEqualsSign) {
    qzvenv::Process writer;
    writer.setEnvironment(QStringLiteral("VORLAN_TEST_EQ"), QStringLiteral("a=b==c"));
    qzvenv::Process process;
    qzvenv::cValuePairs& list = process.List();
    EXPECT_EQ(list.Item(QStringLiteral("VORLAN_TEST_EQ")).Value(), QStringLiteral("a=b==c"));
    EXPECT_EQ(list.Count(), sys::environmentBlock().size());

    // Taken once: later changes do not show.
    writer.setEnvironment(QStringLiteral("VORLAN_TEST_EQ"), QStringLiteral("changed"));
    writer.setEnvironment(QStringLiteral("VORLAN_TEST_LATER"), QStringLiteral("1"));
    EXPECT_EQ(&process.List(), &list);
    EXPECT_EQ(process.List().Item(QStringLiteral("VORLAN_TEST_EQ")).Value(),
              QStringLiteral("a=b==c"));
    EXPECT_THROW(process.List().Item(QStringLiteral("VORLAN_TEST_LATER")), com::ComError);
    sys::unsetEnv(QStringLiteral("VORLAN_TEST_EQ"));
    sys::unsetEnv(QStringLiteral("VORLAN_TEST_LATER"));
}

TEST(ProcessEnvironment, ListKeepsTheFirstOfTwiceNamedEntries) {
    qzvenv::Process process;
    {
        FakeEnvironment fake({"PATH=/bin", "NOEQUALS", "Path=/usr/bin", "PATH=/sbin", "=C:=C:\\",
                              "EMPTY=", "", "AFTER=end"});
        process.List();
    }
    const qzvenv::cValuePairs& list = process.List();
    std::vector<std::pair<QString, QString>> seen;
    for (const qzvenv::cValuePair& pair : list)
        seen.emplace_back(pair.Variable(), pair.Value());
    const std::vector<std::pair<QString, QString>> expected = {
        {QStringLiteral("PATH"), QStringLiteral("/bin")},
        {QStringLiteral("Path"), QStringLiteral("/usr/bin")},
        {QString(), QStringLiteral("C:=C:\\")},
        {QStringLiteral("EMPTY"), QString()},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(list.Item(QStringLiteral("PATH")).Value(), QStringLiteral("/bin"));
    EXPECT_EQ(list.Item(QStringLiteral("Path")).Value(), QStringLiteral("/usr/bin"));
    EXPECT_THROW(list.Item(QStringLiteral("path")), com::ComError);
}

} // namespace
