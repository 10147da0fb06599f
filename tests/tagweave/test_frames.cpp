// Frames: bodies and sizes, NUL handling of Data and Description, FrameID and
// setFlags errors, the 7-bit packing helpers, the error helper, the list.
#include "tagweave/comment_frame.h"
#include "tagweave/errors.h"
#include "tagweave/frames.h"
#include "tagweave/id3v2_enums.h"
#include "tagweave/opaque_frame.h"
#include "tagweave/text_frame.h"
#include "tagweave/web_frame.h"
#include "tests/tagweave/tag_files.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>

using namespace tagweave;
using tagtest::expectError;
using tagtest::hex;

namespace {

QByteArray bodyOf(const clsFrame& frame) {
    QByteArray bytes;
    frame.getBytes(bytes);
    EXPECT_EQ(bytes.size(), frame.FrameSize());
    return bytes;
}

const QString kNul(QChar(0));

} // namespace

TEST(FrameBodies, TextFrameWithDataAbc) {
    clsText_Frame frame;
    frame.setData("abc");
    EXPECT_EQ(frame.FrameSize(), 5);
    EXPECT_EQ(bodyOf(frame), hex("00 61 62 63 00"));
}

TEST(FrameBodies, NewFramesStartBlankWithOneNul) {
    clsText_Frame text;
    EXPECT_EQ(text.FrameID(), "    ");
    EXPECT_EQ(text.Data(), kNul);
    EXPECT_EQ(text.TextEncoding(), 0);
    QByteArray flags;
    text.getFlags(flags);
    EXPECT_EQ(flags, hex("00 00"));
    EXPECT_EQ(bodyOf(text), hex("00 00"));
    clsComment_Frame comment;
    EXPECT_EQ(comment.Language(), QString(3, QChar(0)));
    EXPECT_EQ(comment.Description(), kNul);
    clsWeb_Frame web;
    EXPECT_EQ(web.Description(), kNul);
    EXPECT_EQ(bodyOf(web), hex("00 00 00"));
}

TEST(FrameBodies, CommentFrameMadeOnlyThroughData) {
    clsComment_Frame frame;
    frame.setData("x");
    EXPECT_EQ(frame.FrameSize(), 7);
    EXPECT_EQ(bodyOf(frame), hex("00 00 00 00 00 78 00"));
}

TEST(FrameBodies, CommentFrameParsesLanguageDescriptionAndText) {
    clsComment_Frame frame;
    const QByteArray body = hex("00") + "eng" + QByteArray("desc\0", 5) + "Hello";
    frame.parseBytes(body);
    EXPECT_EQ(frame.TextEncoding(), 0);
    EXPECT_EQ(frame.Language(), "eng");
    EXPECT_EQ(frame.Description(), "desc" + kNul);
    EXPECT_EQ(frame.Data(), "Hello");
    EXPECT_EQ(bodyOf(frame), body);
}

TEST(FrameBodies, CommentWithoutNulIsAllDescription) {
    clsComment_Frame frame;
    const QByteArray body = hex("00") + "engjust a description";
    frame.parseBytes(body);
    EXPECT_EQ(frame.Description(), "just a description");
    EXPECT_EQ(frame.Data(), "");
    EXPECT_EQ(bodyOf(frame), body);
}

TEST(FrameBodies, CommentLanguageIsCutOrPaddedToThree) {
    clsComment_Frame frame;
    frame.setLanguage("english");
    EXPECT_EQ(frame.Language(), "eng");
    frame.setLanguage("e");
    EXPECT_EQ(frame.Language(), "e  ");
}

TEST(FrameBodies, TextFrameKeepsEveryByteAsACharacter) {
    clsText_Frame frame;
    const QByteArray body = hex("00 41 E9 FF 00 42");
    frame.parseBytes(body);
    EXPECT_EQ(frame.Data(), QString::fromLatin1("A\xE9\xFF") + kNul + "B");
    EXPECT_EQ(bodyOf(frame), body);
}

TEST(FrameBodies, UrlFrameParsesDescriptionAndUrl) {
    clsWeb_Frame frame;
    const QByteArray body = hex("00") + QByteArray("home\0", 5) + "http://x.example/";
    frame.parseBytes(body);
    EXPECT_EQ(frame.Description(), "home" + kNul);
    EXPECT_EQ(frame.Data(), "http://x.example/");
    EXPECT_EQ(frame.FrameSize(), body.size());
    EXPECT_EQ(bodyOf(frame), body);
}

TEST(FrameBodies, UrlFrameWithoutNulKeepsItsBytes) {
    clsWeb_Frame frame;
    const QByteArray body = hex("00") + "no terminator";
    frame.parseBytes(body);
    EXPECT_EQ(frame.Description(), "no terminator");
    EXPECT_EQ(frame.Data(), "");
    EXPECT_EQ(bodyOf(frame), body);
}

TEST(FrameBodies, ParseReplacesEarlierContent) {
    clsWeb_Frame web;
    web.setDescription("old");
    web.parseBytes(hex("00"));
    EXPECT_EQ(web.Description(), "");
    EXPECT_EQ(bodyOf(web), hex("00"));
}

// Bodies as other taggers write them: each frame's text decoded by its
// encoding byte, and, while nothing is set, written back byte for byte.
TEST(FrameBodies, TextIsDecodedByItsEncodingByte) {
    struct Case {
        const char* id;
        QByteArray body;
        QString description, data;
    } cases[] = {
        {"TIT2", hex("01 FF FE DC 00 6E 00 EF 00 00 00"), "", QString::fromUtf8("Ünï") + kNul},
        {"TIT2", hex("01 FE FF 00 DC 00 6E"), "", QString::fromUtf8("Ün")}, // BE, no terminator
        {"TPE1", hex("01 FF FE 41 00 00 00 FF FE 42 00"), "", "A" + kNul + "B"},
        {"COMM", hex("01") + "eng" + hex("FF FE 64 00 E9 00 00 00 FF FE A9 03 00 00"),
         QString::fromUtf8("dé") + kNul, QString::fromUtf8("Ω") + kNul},
        {"COMM", hex("01") + "eng" + hex("00 00 FE FF 03 A9"), kNul, QString::fromUtf8("Ω")},
        {"WXXX", hex("01 FF FE 68 00 00 00") + "http://a/", "h" + kNul, "http://a/"},
        {"TIT2", hex("03 C3 9C 00"), "", QString::fromUtf8("Ü") + kNul},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body.toHex(' ').toStdString());
        auto frame = CreateFrame(KindOfFrameID(c.id));
        frame->parseBytes(c.body);
        EXPECT_EQ(frame->Data(), c.data);
        if (auto* comment = dynamic_cast<clsComment_Frame*>(frame.get())) {
            EXPECT_EQ(comment->Description(), c.description);
        }
        if (auto* web = dynamic_cast<clsWeb_Frame*>(frame.get())) {
            EXPECT_EQ(web->Description(), c.description);
        }
        EXPECT_EQ(bodyOf(*frame), c.body);
    }
}

// Descriptions beyond ISO-8859-1 make the frame UTF-16, a byte-order mark on
// every string; the URL of a URL frame stays one byte a character.
TEST(FrameBodies, DescriptionsBeyondLatin1AreWrittenAsUtf16) {
    clsComment_Frame comment;
    comment.setData("x");
    comment.setDescription(QString::fromUtf8("Ω"));
    EXPECT_EQ(bodyOf(comment), hex("01 00 00 00 FF FE A9 03 00 00 FF FE 78 00 00 00"));
    clsWeb_Frame web;
    web.setDescription(QString::fromUtf8("Ω"));
    web.setData("http://a");
    EXPECT_EQ(bodyOf(web), hex("01 FF FE A9 03 00 00") + QByteArray("http://a\0", 9));
}

TEST(NulHandling, DataEndingInNulGetsNoSecond) {
    clsText_Frame frame;
    frame.setData("abc" + kNul);
    EXPECT_EQ(frame.Data(), "abc" + kNul);
    EXPECT_EQ(frame.FrameSize(), 5);
    frame.setData("");
    EXPECT_EQ(frame.Data(), kNul);
    frame.setData("a" + kNul + "b");
    EXPECT_EQ(frame.Data(), "a" + kNul + "b" + kNul);
}

TEST(NulHandling, DescriptionSettersAppendOneNul) {
    clsComment_Frame comment;
    comment.setDescription("d");
    EXPECT_EQ(comment.Description(), "d" + kNul);
    comment.setDescription("d" + kNul);
    EXPECT_EQ(comment.Description(), "d" + kNul);
    clsWeb_Frame web;
    web.setDescription("");
    EXPECT_EQ(web.Description(), kNul);
    web.setData("http://a");
    EXPECT_EQ(web.FrameSize(), 1 + 9 + 1);
    EXPECT_EQ(bodyOf(web), hex("00 00") + QByteArray("http://a\0", 9));
}

TEST(FrameErrors, FrameIdOfThreeCharactersRaises102) {
    const QString description = "The frame ID, TIT, supplied is invalid.";
    clsText_Frame text;
    expectError([&] { text.setFrameID("TIT"); }, 102, "Text_Frame::FrameID", description);
    clsComment_Frame comment;
    expectError([&] { comment.setFrameID("TIT"); }, 102, "Comment_Frame::FrameID", description);
    clsWeb_Frame web;
    expectError([&] { web.setFrameID("TIT"); }, 102, "Web_Frame::FrameID", description);
    expectError([&] { web.setFrameID("WXXXX"); }, 102, "Web_Frame::FrameID",
                "The frame ID, WXXXX, supplied is invalid.");
    EXPECT_EQ(web.FrameID(), "    ");
    web.setFrameID("WXXX");
    EXPECT_EQ(web.FrameID(), "WXXX");
}

TEST(FrameErrors, SetFlagsNeedsExactlyTwoBytes) {
    const QString description =
        "The flag data supplied is either invalid or out of an acceptable range.";
    clsText_Frame text;
    expectError([&] { text.setFlags(hex("01 02 03")); }, 107, "Text_Frame::setFlags", description);
    clsComment_Frame comment;
    expectError([&] { comment.setFlags(hex("01")); }, 107, "Comment_Frame::setFlags", description);
    clsWeb_Frame web;
    expectError([&] { web.setFlags(QByteArray()); }, 107, "Web_Frame::setFlags", description);

    text.setFlags(hex("40 20"));
    QByteArray flags;
    text.getFlags(flags);
    EXPECT_EQ(flags, hex("40 20"));
    flags[0] = 0; // a copy: the frame keeps its own
    text.getFlags(flags);
    EXPECT_EQ(flags, hex("40 20"));
}

TEST(FrameErrors, EmptyOrShortBodiesRaise) {
    clsText_Frame text;
    expectError([&] { text.parseBytes({}); }, 105, "TextFrame::parseBytes",
                "The data supplied does not make a valid text frame");
    clsWeb_Frame web;
    expectError([&] { web.parseBytes({}); }, 106, "Web_Frame::parseBytes",
                "The data supplied does not make a valid web frame.");
    clsComment_Frame comment;
    expectError([&] { comment.parseBytes(hex("00 65 6E 67")); }, 104, "Comment_Frame::parseBytes",
                "The data supplied does not make a valid comment frame.");
    comment.parseBytes(hex("00 65 6E 67 00"));
    EXPECT_EQ(comment.Description(), kNul);
    EXPECT_EQ(comment.Data(), "");
}

TEST(Packing, LongToByteOf257) {
    QByteArray bytes;
    LongToByte(257, bytes);
    EXPECT_EQ(bytes, hex("00 00 02 01"));
    EXPECT_EQ(ByteToLong(hex("00 00 02 01")), 257);
}

TEST(Packing, ValuesUpTo28BitsRoundTrip) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> values(0, (1 << 28) - 1);
    std::vector<std::int32_t> samples{
        0, 1, 127, 128, 16383, 16384, (1 << 21) - 1, 1 << 21, (1 << 28) - 1};
    for (int i = 0; i < 1000; ++i)
        samples.push_back(values(random));
    QByteArray bytes;
    for (std::int32_t value : samples) {
        LongToByte(value, bytes);
        ASSERT_EQ(bytes.size(), 4);
        for (char b : bytes)
            EXPECT_EQ(static_cast<unsigned char>(b) & 0x80, 0);
        EXPECT_EQ(ByteToLong(bytes), value) << value;
    }
}

TEST(Packing, ByteToLongTakesBytesWhole) {
    EXPECT_EQ(ByteToLong(hex("00 00 00 80")), 128);
    EXPECT_EQ(ByteToLong(hex("FF FF FF FF")), 255 * ((1 << 21) + (1 << 14) + (1 << 7) + 1));
    expectError([] { ByteToLong(hex("00 00 01")); }, 113, "ByteToLong",
                "The source array and destination array are not the same size");
}

TEST(Packing, ShiftMultipliesAndDivides) {
    EXPECT_EQ(Shift(3, 4, eShiftLeft), 48);
    EXPECT_EQ(Shift(48, 4, eShiftRight), 3);
    EXPECT_EQ(Shift(-7, 1, eShiftRight), -3); // integer division rounds toward zero
    try {
        Shift(1 << 30, 2, eShiftLeft);
        ADD_FAILURE() << "no overflow";
    } catch (const com::ComError& e) {
        EXPECT_EQ(e.number(), 6);
        EXPECT_EQ(e.source(), "Shift");
    }
    EXPECT_THROW(Shift(1, 1, 3), com::ComError);
}

TEST(Errors, NumbersAreInterfaceErrorsPlusMessage) {
    expectError([] { RaiseError(msgFileNotFound, "here", {"%FILE%"}, {"/a/b.mp3"}); }, 109, "here",
                "The file, /a/b.mp3, was not found.");
    expectError([] { RaiseError(msgUnknownFrameID, "there", {"%FRAMEID%"}, {"XYZW"}); }, 108,
                "there", "An unknown frame ID (XYZW)  was supplied.");
    expectError([] { RaiseError(msgHeaderSize, "s"); }, 110, "s",
                "The frame header data is of an incorrect size.");
    expectError([] { RaiseError(msgInvalidFieldID, "s", {"%ID%"}, {"9"}); }, 101, "s",
                "The field ID, 9, supplied is invalid.");
    EXPECT_EQ(ErrorNumber(112), static_cast<std::int32_t>(0x80040070u));
}

TEST(Errors, MismatchedReplaceArraysRaise1000) {
    try {
        RaiseError(msgFileNotFound, "x", {"%FILE%", "%ID%"}, {"f"});
        ADD_FAILURE() << "no error";
    } catch (const com::ComError& e) {
        EXPECT_EQ(e.number(), com::vbObjectError + 1000);
        EXPECT_EQ(e.source(), "RaiseError");
        EXPECT_EQ(e.description(), "The replace array size does not match the with array");
    }
}

TEST(FrameIds, EnumerationMapsToIdsAndKinds) {
    const char* ids[] = {"TRCK", "TIT2", "TPE1", "TALB", "TYER", "TCON",
                         "COMM", "TCOM", "TOPE", "TCOP", "WXXX", "TENC"};
    for (int v = eTrack; v <= eEncodedBy; ++v)
        EXPECT_EQ(LookupFrameID(static_cast<eID3FrameIDs>(v)), ids[v - 1]);
    EXPECT_EQ(KindOfFrameID("COMM"), FrameKind::Comment);
    EXPECT_EQ(KindOfFrameID("WXXX"), FrameKind::Web);
    EXPECT_EQ(KindOfFrameID("TENC"), FrameKind::Text);
    EXPECT_EQ(KindOfFrameID("TXXX"), FrameKind::Unknown);
    EXPECT_EQ(KindOfFrameID("APIC"), FrameKind::Unknown);
    expectError([] { LookupFrameID(static_cast<eID3FrameIDs>(0)); }, 108, "ID3v2::LookupFrameID",
                "An unknown frame ID (0)  was supplied.");
    expectError([] { LookupFrameID(static_cast<eID3FrameIDs>(13)); }, 108, "ID3v2::LookupFrameID",
                "An unknown frame ID (13)  was supplied.");
}

TEST(FrameList, KeepsOrderAndRefusesNull) {
    clsFrames frames;
    expectError([&] { frames.Add(nullptr); }, 103, "cFrames::Add",
                "The frame object supplied is invalid.");
    for (const char* id : {"TIT2", "TPE1", "TALB"}) {
        auto f = std::make_shared<clsText_Frame>();
        f->setFrameID(id);
        frames.Add(f);
    }
    EXPECT_EQ(frames.Count(), 3);
    EXPECT_EQ(frames.Item(1)->FrameID(), "TIT2");
    frames.Remove(2);
    QStringList order;
    for (const auto& f : frames)
        order << f->FrameID();
    EXPECT_EQ(order, QStringList({"TIT2", "TALB"}));
    EXPECT_THROW(frames.Item(3), std::out_of_range);
    EXPECT_THROW(frames.Remove(0), std::out_of_range);
    frames.Clear();
    EXPECT_EQ(frames.Count(), 0);
}

TEST(FrameList, OpaqueFramesKeepTheirBytesAndHaveNoText) {
    clsOpaque_Frame frame;
    frame.setFrameID("APIC");
    frame.setFlags(hex("00 40"));
    const QByteArray body = hex("00 FF D8 00 01");
    frame.parseBytes(body);
    EXPECT_EQ(bodyOf(frame), body);
    EXPECT_EQ(frame.Data(), "");
    expectError([&] { frame.setData("x"); }, 103, "Opaque_Frame::Data",
                "The frame object supplied is invalid.");
    frame.parseBytes({});
    EXPECT_EQ(frame.FrameSize(), 0);
}
