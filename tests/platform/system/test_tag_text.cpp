// ID3v2 text as other taggers write it, and as we write it back.
#include "platform/system/tag_text.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string_view sv(const char* bytes, std::size_t size) {
    return {bytes, size};
}

TEST(TagText, DecodesEveryEncodingAndStopsAtItsTerminator) {
    const QString unicode = QString::fromUtf8("Ünïcode Ω");
    struct Case {
        std::uint8_t encoding;
        std::string bytes;
        QString text;
    } cases[] = {
        {0, std::string("Caf\xE9\0rest", 9), QString::fromUtf8("Café")},
        {1, std::string("\xFF\xFEO\0k\0\0\0x\0", 10), "Ok"},
        {1, std::string("\xFE\xFF\0O\0k", 6), "Ok"}, // big-endian mark, no terminator
        {1, std::string("O\0k\0", 4), "Ok"},         // no mark: little-endian
        {1, std::string("\xFF\xFEO\0k", 5), "O"},    // odd last byte dropped
        {2, std::string("\0O\0k\0\0", 6), "Ok"},     // UTF-16BE without mark
        {3, std::string("\xC3\x9C\0", 3), QString::fromUtf8("Ü")},
        {1, std::string("\xFF\xFE\x00\x01\x00\x00", 6),
         QString(QChar(0x100))}, // zero byte inside a unit
    };
    for (const Case& c : cases)
        EXPECT_EQ(sys::decodeTagText(c.encoding, c.bytes), c.text) << int(c.encoding);
    for (std::uint8_t enc : {0, 1, 2, 3}) {
        const QString text = enc == 0 ? QString::fromUtf8("Café") : unicode;
        EXPECT_EQ(sys::decodeTagText(enc, sys::encodeTagText(enc, text).toStdString()), text);
    }
}

TEST(TagText, SplitsStringsAtAlignedTerminators) {
    // "d" NUL NUL "t" in UTF-16LE: the zero high byte of 'd' is not a terminator.
    const char comm[] = "\xFF\xFE"
                        "d\0"
                        "\0\0"
                        "\xFF\xFE"
                        "t\0";
    const auto bytes = sv(comm, sizeof comm - 1);
    const std::size_t end = sys::tagTextLength(1, bytes);
    EXPECT_EQ(end, 4u);
    EXPECT_EQ(sys::decodeTagText(1, bytes.substr(end + sys::tagTextTerminatorSize(1))), "t");
    EXPECT_EQ(sys::tagTextLength(0, sv("ab\0c", 4)), 2u);
}

TEST(TagText, WritesLatin1WhenItFitsElseUtf16WithMark) {
    EXPECT_EQ(sys::tagTextEncodingFor(QString::fromUtf8("Café")), 0);
    EXPECT_EQ(sys::tagTextEncodingFor(QString::fromUtf8("Ωmega")), 1);
    EXPECT_EQ(sys::encodeTagText(1, ""), QByteArray("\xFF\xFE", 2));
    EXPECT_EQ(sys::encodeTagText(1, QString::fromUtf8("Ω")), QByteArray("\xFF\xFE\xA9\x03", 4));
}

} // namespace
