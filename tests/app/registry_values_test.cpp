// get_RegValue and save_RegValue on a registry database of their own, and
// the numeric-prefix reading of stored numbers.
#include "core/fixed_texts.h"
#include "core/number_text.h"
#include "core/registry_values.h"
#include "tests/app/program_fixture.h"

#include <QFile>

namespace {

using core::get_RegValue;
using core::save_RegValue;

class RegistryValuesTest : public app_test::ProgramTest {
protected:
    void put(const QString& name, reg::DWORD type, const QByteArray& data) {
        reg::HKEY key = 0;
        ASSERT_EQ(reg::RegCreateKeyEx(reg::HKEY_CURRENT_USER, kPath, 0, {}, 0, reg::KEY_WRITE, &key,
                                      nullptr),
                  reg::ERROR_SUCCESS);
        reg::RegSetValueEx(key, name, 0, type, reinterpret_cast<const reg::BYTE*>(data.data()),
                           static_cast<reg::DWORD>(data.size()));
        reg::RegCloseKey(key);
    }
    QString get(const QString& name) { return get_RegValue(reg::HKEY_CURRENT_USER, kPath, name); }
    const QString kPath = "Software\\VorlanTest";
};

TEST(FixedTexts, KeyPathAndMarker) {
    EXPECT_EQ(core::settingsKeyPath().size(), 33);
    EXPECT_TRUE(core::settingsKeyPath().startsWith("SOFTWARE\\"));
    EXPECT_EQ(core::notFoundMarker().toLower(), "not found");
    EXPECT_EQ(core::numericPrefix(core::notFoundMarker()), 0.0);
    EXPECT_FALSE(core::splashLabelText().isEmpty());
    EXPECT_FALSE(core::versionRefusalText().isEmpty());
}

TEST_F(RegistryValuesTest, ReadsEachTypeAsText) {
    put("withNul", reg::REG_SZ, QByteArray("Caf\xC3\xA9\0", 6));
    put("withoutNul", reg::REG_SZ, QByteArray("abc"));
    put("empty", reg::REG_SZ, QByteArray());
    put("binary", reg::REG_BINARY, QByteArray("\x01\xab\xff\x00", 4));
    put("small", reg::REG_DWORD, QByteArray("\x07\x00\x00\x00", 4));
    put("large", reg::REG_DWORD, QByteArray("\x40\x42\x0f\x00", 4));
    put("negative", reg::REG_DWORD, QByteArray("\xfb\xff\xff\xff", 4));
    EXPECT_EQ(get("withNul"), QString::fromUtf8("Caf\xC3\xA9"));
    EXPECT_EQ(get("withoutNul"), "abc"); // no character is lost
    EXPECT_EQ(get("empty"), "");
    EXPECT_EQ(get("binary"), "01ABFF00");
    EXPECT_EQ(get("small"), "007");
    EXPECT_EQ(get("large"), "1000000");
    EXPECT_EQ(get("negative"), "-005");
}

TEST_F(RegistryValuesTest, UnreadableValuesGiveTheMarker) {
    EXPECT_EQ(get("anything"), core::notFoundMarker()); // no key
    put("present", reg::REG_SZ, QByteArray("x\0", 2));
    EXPECT_EQ(get("absent"), core::notFoundMarker()); // no value
    put("long", reg::REG_SZ, QByteArray(3000, 'a') + QByteArray(1, '\0'));
    EXPECT_EQ(get("long"), core::notFoundMarker()); // longer than the buffer
    put("fits", reg::REG_SZ, QByteArray(2047, 'b') + QByteArray(1, '\0'));
    EXPECT_EQ(get("fits"), QString(2047, 'b'));
}

TEST_F(RegistryValuesTest, CorruptDatabaseGivesTheMarker) {
    const QString path = fileWith("corrupt.db", QByteArray(4096, '\x5a'));
    reg::RegUseDatabase(path);
    EXPECT_EQ(get("anything"), core::notFoundMarker());
    save_RegValue(reg::HKEY_CURRENT_USER, kPath, "x", reg::REG_SZ, "y"); // ignored
    QFile check(path);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray(4096, '\x5a')); // left untouched
}

TEST_F(RegistryValuesTest, WritesStringsWithTheirNulAndNumbers) {
    save_RegValue(reg::HKEY_CURRENT_USER, kPath, "text", reg::REG_SZ, QString("1.1"));
    save_RegValue(reg::HKEY_CURRENT_USER, kPath, "number", reg::REG_DWORD, 42);
    save_RegValue(reg::HKEY_CURRENT_USER, kPath, "other", reg::REG_BINARY, QString("ab"));
    reg::HKEY key = 0;
    ASSERT_EQ(reg::RegOpenKeyEx(reg::HKEY_CURRENT_USER, kPath, 0, reg::KEY_READ, &key),
              reg::ERROR_SUCCESS);
    reg::BYTE data[16] = {};
    reg::DWORD size = sizeof data;
    reg::DWORD type = 0;
    ASSERT_EQ(reg::RegQueryValueEx(key, "text", nullptr, &type, data, &size), reg::ERROR_SUCCESS);
    EXPECT_EQ(type, reg::REG_SZ);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(data), static_cast<int>(size)),
              QByteArray("1.1\0", 4));
    size = sizeof data;
    ASSERT_EQ(reg::RegQueryValueEx(key, "number", nullptr, &type, data, &size), reg::ERROR_SUCCESS);
    EXPECT_EQ(type, reg::REG_DWORD);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(data[0], 42);
    size = sizeof data;
    ASSERT_EQ(reg::RegQueryValueEx(key, "other", nullptr, &type, data, &size), reg::ERROR_SUCCESS);
    EXPECT_EQ(type, reg::REG_SZ);
    reg::RegCloseKey(key);
    EXPECT_EQ(get("text"), "1.1");
    EXPECT_EQ(get("number"), "042");
    EXPECT_EQ(get("other"), "ab");
}

TEST(NumberText, NumericPrefix) {
    EXPECT_EQ(core::numericPrefix("1.5"), 1.5);
    EXPECT_EQ(core::numericPrefix("1.5abc"), 1.5);
    EXPECT_EQ(core::numericPrefix("  12 "), 12.0);
    EXPECT_EQ(core::numericPrefix("-3"), -3.0);
    EXPECT_EQ(core::numericPrefix(".5"), 0.5);
    EXPECT_EQ(core::numericPrefix("1e3x"), 1000.0);
    EXPECT_EQ(core::numericPrefix("2e"), 2.0);
    EXPECT_EQ(core::numericPrefix("abc"), 0.0);
    EXPECT_EQ(core::numericPrefix(""), 0.0);
    EXPECT_EQ(core::numericPrefix("-"), 0.0);
    EXPECT_EQ(core::numericPrefix("1e999"), 0.0); // not a finite number
    EXPECT_EQ(core::numberText(1.1), "1.1");
    EXPECT_EQ(core::numberText(131072), "131072");
    EXPECT_EQ(core::numberText(-1), "-1");
    EXPECT_EQ(core::roundHalfEven(2.5), 2);
    EXPECT_EQ(core::roundHalfEven(3.5), 4);
    EXPECT_EQ(core::roundHalfEven(-0.5), 0);
}

} // namespace
