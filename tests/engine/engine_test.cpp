// The engine binding: error texts, the error box, starting and stopping the
// engine, and the small helpers, on the offline output.
#include "engine/channel.h"
#include "engine/engine_helpers.h"
#include "engine/engine_lifecycle.h"
#include "engine/error_descriptions.h"
#include "platform/audio/offline.h"
#include "tests/support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace {

class EngineTest : public ::testing::Test {
protected:
    void TearDown() override {
        BASS_Offline_FailNextInit(0);
        BASS_Offline_FailNextStart(0);
        BASS_Free();
    }
};

TEST(ErrorDescriptions, EveryCodeOfTheTable) {
    EXPECT_EQ(engine::getErrorDescription(-1), "Some Other Mystery Error");
    EXPECT_EQ(engine::getErrorDescription(0), "All is OK");
    EXPECT_EQ(engine::getErrorDescription(4), "The Sample Buffer Was Lost - Please Report This!");
    EXPECT_EQ(engine::getErrorDescription(5), "Invalid Handle");
    EXPECT_EQ(engine::getErrorDescription(8), "BASS_Init Has Not Been Successfully Called");
    EXPECT_EQ(engine::getErrorDescription(23), "Illegal Device Number");
    EXPECT_EQ(engine::getErrorDescription(27), "The Stream is Not a File Stream (WAV/MP3)");
    EXPECT_EQ(engine::getErrorDescription(29), "No Hardware Voices Available");
    EXPECT_EQ(engine::getErrorDescription(31), "The MOD music has no sequence data");
    EXPECT_EQ(engine::getErrorDescription(37), "The requested data is not available");
    EXPECT_EQ(engine::getErrorDescription(38), "The channel is a 'decoding channel'");
    // Codes without a text.
    for (int code : {28, 30, 36, 39, 1000, -2, -100})
        EXPECT_TRUE(engine::getErrorDescription(code).isEmpty()) << code;
    // Every code from -1 to 38 apart from the three gaps has a text.
    for (int code = -1; code <= 38; ++code)
        EXPECT_EQ(engine::getErrorDescription(code).isEmpty(),
                  code == 28 || code == 30 || code == 36)
            << code;
}

TEST(ErrorBox, TextForCodesZeroFiveAndTwentyEight) {
    EXPECT_EQ(engine::errorBoxText("Can't play file. Please choose another file...", 0),
              "Can't play file. Please choose another file...\r\n\r\nError Code : 0");
    EXPECT_EQ(engine::errorBoxText("Can't play file. Please choose another file...", 5),
              "Can't play file. Please choose another file...\r\n\r\nError Code : 5");
    // Code 28 has no description: the start failure text ends right after its prefix.
    const QString message =
        "Can't initialize digital sound system. " + engine::getErrorDescription(28);
    EXPECT_EQ(engine::errorBoxText(message, 28),
              "Can't initialize digital sound system. \r\n\r\nError Code : 28");
}

TEST_F(EngineTest, ErrorBoxShowsTheEnginesLastCode) {
    testing_support::ScriptedDialogs dialogs;
    EXPECT_FALSE(BASS_ChannelPause(0x7777)); // no such channel
    const int code = BASS_ErrorGetCode();
    dialogs.expectBox(ui::vbOK);
    engine::showErrorBox(dialogs, "Something failed");
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text,
              "Something failed\r\n\r\nError Code : " + QString::number(code));
    EXPECT_EQ(dialogs.boxes()[0].icon(), ui::vbCritical);
    EXPECT_EQ(dialogs.boxes()[0].buttons(), ui::vbOKOnly);
    EXPECT_EQ(dialogs.boxes()[0].title, "Error");
}

TEST(EngineHelpers, VersionAndWords) {
    EXPECT_EQ(engine::getBassVersionString(), "1.6");
    EXPECT_EQ(engine::loWord(0x00060001u), 1);
    EXPECT_EQ(engine::hiWord(0x00060001u), 6);
    EXPECT_EQ(engine::loWord(0xFFFFFFFFu), 65535);
    EXPECT_EQ(engine::hiWord(0xFFFF0000u), 65535);
    EXPECT_EQ(engine::hiWord(0x0000FFFFu), 0);
    EXPECT_EQ(engine::stringFromAnsiPointer(nullptr), "");
    EXPECT_EQ(engine::stringFromAnsiPointer("Caf\xC3\xA9"), QString::fromUtf8("Caf\xC3\xA9"));
}

TEST_F(EngineTest, StartFailsOnAnIllegalDeviceWithoutStartingTheOutput) {
    BASS_Offline_FailNextStart(BASS_ERROR_DRIVER);
    BASS_Offline_FailNextInit(BASS_ERROR_DEVICE);
    EXPECT_EQ(engine::startEngine(-1, 44100, nullptr).failure,
              "Can't initialize digital sound system. Illegal Device Number");
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
    // BASS_Start was never called: the failure armed above is still waiting.
    ASSERT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, 44100, 0, nullptr));
    EXPECT_FALSE(BASS_Start());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DRIVER);
}

// A device other than the default that cannot be opened as an illegal
// number (a stored device that is gone) gives way to the default device;
// any other failure, and the default device's own, is reported.
TEST_F(EngineTest, AnIllegalDeviceGivesWayToTheDefault) {
    struct Case {
        int device;
        int initFailure;
        const char* failure;
        int runsOn;
    };
    const Case cases[] = {
        {0, BASS_ERROR_DEVICE, "", -1},
        {4, BASS_ERROR_DEVICE, "", -1},
        {-5, 0, "", -1}, // refused before any output is looked at
        {-1, BASS_ERROR_DEVICE, "Can't initialize digital sound system. Illegal Device Number", -1},
        {0, BASS_ERROR_DRIVER,
         "Can't initialize digital sound system. Can't Find a Free Sound Driver", 0},
    };
    engine::Channel none;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        BASS_Offline_FailNextInit(c.initFailure);
        const engine::EngineStart start = engine::startEngine(c.device, 44100, nullptr);
        EXPECT_EQ(start.failure, c.failure);
        EXPECT_EQ(start.device, c.runsOn);
        engine::stopEngine(none, none);
    }
}

TEST_F(EngineTest, StartFailsWhenTheOutputWillNotStart) {
    BASS_Offline_FailNextStart(BASS_ERROR_START);
    EXPECT_EQ(engine::startEngine(-1, 22050, nullptr).failure,
              "Can't start digital output. BASS_Start Has Not Been Successfully Called");
}

TEST_F(EngineTest, StartsAndStopsWithoutStreams) {
    engine::Channel none;
    EXPECT_EQ(engine::startEngine(-1, 44100, nullptr).failure, "");
    engine::stopEngine(none, none);
    // The engine is down again: it can be started once more.
    EXPECT_EQ(engine::startEngine(-1, 22050, nullptr).failure, "");
    engine::stopEngine(none, none);
}

} // namespace
