// A Channel owns its stream: opened WMA add-on first, freed when it goes or
// takes another stream, and driven through the calls of its own library.
#include "engine/channel.h"
#include "engine/engine_helpers.h"
#include "engine/engine_lifecycle.h"
#include "platform/audio/bass.h"
#include "tests/fixtures/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ChannelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(engine::startEngine(-1, 44100, nullptr).failure, ""); }
    void TearDown() override {
        engine::Channel none;
        engine::stopEngine(none, none);
    }
    QByteArray tone(const char* name, fixtures::Format format) {
        fixtures::Tone t;
        t.format = format;
        t.seconds = 1.0;
        return QByteArray::fromStdString(
            fixtures::makeTone(dir.filePath(name).toStdString(), t).string());
    }
    static bool isOpen(engine::Channel::Handle handle) {
        return BASS_ChannelGetPosition(handle) != static_cast<QWORD>(-1);
    }
    QTemporaryDir dir;
};

TEST_F(ChannelTest, OpensThroughTheWmaAddOnFirstThenTheMainLibrary) {
    const engine::Channel wma = engine::Channel::open(tone("t.wma", fixtures::Format::Wma), 0);
    EXPECT_EQ(wma.kind(), engine::StreamKind::wma);
    const engine::Channel wav = engine::Channel::open(tone("t.wav", fixtures::Format::Wav), 0);
    EXPECT_EQ(wav.kind(), engine::StreamKind::main);
    const QByteArray missing = dir.filePath("missing.mp3").toUtf8();
    const engine::Channel none = engine::Channel::open(missing, 0);
    EXPECT_FALSE(none);
    EXPECT_EQ(none.kind(), engine::StreamKind::none);
    EXPECT_EQ(engine::lastErrorCode(), BASS_ERROR_FILEOPEN);
    EXPECT_TRUE(engine::fileExists(QString::fromUtf8(tone("t.mp3", fixtures::Format::Mp3Cbr))));
    EXPECT_FALSE(engine::fileExists(QString::fromUtf8(missing)));
}

TEST_F(ChannelTest, MovingHandsTheStreamOverAndReplacingOrLeavingFreesIt) {
    engine::Channel first = engine::Channel::open(tone("a.wav", fixtures::Format::Wav), 0);
    const engine::Channel::Handle a = first.handle();
    ASSERT_TRUE(isOpen(a));
    engine::Channel moved(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(moved.handle(), a);
    EXPECT_TRUE(isOpen(a));

    moved = engine::Channel::open(tone("b.wma", fixtures::Format::Wma), 0);
    EXPECT_FALSE(isOpen(a)) << "the stream it held is freed";
    const engine::Channel::Handle b = moved.handle();
    EXPECT_TRUE(isOpen(b));
    { const engine::Channel last(std::move(moved)); }
    EXPECT_FALSE(isOpen(b));
}

TEST_F(ChannelTest, PlaysPausesSeeksAndMeasuresInBytes) {
    for (const auto format : {fixtures::Format::Wav, fixtures::Format::Wma}) {
        SCOPED_TRACE(fixtures::extensionOf(format));
        const std::string name = std::string("p.") + fixtures::extensionOf(format);
        engine::Channel stream = engine::Channel::open(tone(name.c_str(), format), 0);
        EXPECT_EQ(stream.state(), engine::PlayState::stopped);
        EXPECT_FALSE(stream.isPlaying());
        ASSERT_TRUE(stream.play());
        EXPECT_TRUE(stream.isPlaying());
        ASSERT_TRUE(stream.pause());
        EXPECT_EQ(stream.state(), engine::PlayState::paused);
        EXPECT_FALSE(stream.isPlaying());
        ASSERT_TRUE(stream.resume());
        EXPECT_TRUE(stream.isPlaying());
        // 44100 frames of 4 bytes are one second of the file.
        EXPECT_FLOAT_EQ(stream.seconds(176400), 1.0f);
        EXPECT_NEAR(static_cast<double>(stream.length()), 176400, 2048 * 4);
        EXPECT_TRUE(stream.seek(88200));
        EXPECT_EQ(stream.position(), 88200u);
        EXPECT_EQ(stream.rate(), 44100u);
        EXPECT_TRUE(stream.setRate(22050));
        EXPECT_EQ(stream.rate(), 22050u);
    }
    const engine::Channel none;
    EXPECT_EQ(none.position(), 0u);
    EXPECT_EQ(none.length(), 0u);
    EXPECT_EQ(none.rate(), 0u);
}

} // namespace
