// Engine life cycle, devices, the offline output's own calls, error codes of
// calls on bad handles and before initialisation.
#include "tests/platform/audio/audio_test_support.h"

#include <cstdlib>

using namespace audio_test;

TEST(AudioEngine, VersionIsOnePointSix) {
    EXPECT_EQ(BASS_GetVersion() & 0xFFFF, 1u);
    EXPECT_EQ(BASS_GetVersion() >> 16, 6u);
}

TEST(AudioEngine, CallsBeforeInitFailWithInitError) {
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, wav().c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_EQ(BASS_WMA_StreamCreateFile(FALSE, wma().c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_Start());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_EQ(BASS_ChannelIsActive(0x10001), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_Offline_Render(nullptr, 16));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
}

TEST(AudioEngine, InitTwiceFailsAndFreeDropsStreams) {
    ::setenv("VORLAN_AUDIO", "offline", 1);
    ASSERT_TRUE(BASS_Init(BASS_DEVICE_DEFAULT, 44100, 32, nullptr));
    EXPECT_FALSE(BASS_Init(BASS_DEVICE_DEFAULT, 44100, 32, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, wav().c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    BASS_Free();
    EXPECT_EQ(BASS_StreamGetLength(stream), static_cast<QWORD>(-1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    ASSERT_TRUE(BASS_Init(BASS_DEVICE_DEFAULT, 44100, 32, nullptr));
    EXPECT_EQ(BASS_StreamGetLength(stream), static_cast<QWORD>(-1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    BASS_Free();
}

TEST(AudioEngine, IllegalDeviceAndRate) {
    ::unsetenv("VORLAN_AUDIO"); // a real device number, past the devices there are
    EXPECT_FALSE(BASS_Init(1000, 44100, 32, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
    ::setenv("VORLAN_AUDIO", "offline", 1);
    EXPECT_FALSE(BASS_Init(-9, 44100, 32, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
    EXPECT_FALSE(BASS_Init(BASS_DEVICE_OFFLINE, 1000000, 32, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FREQ);
}

TEST(AudioEngine, DeviceDescriptionsCountFromTheDefault) {
    ::setenv("VORLAN_AUDIO", "offline", 1);
    ASSERT_NE(BASS_GetDeviceDescription(0), nullptr); // the default output
    ASSERT_NE(BASS_GetDeviceDescription(1), nullptr); // initialisation device 0
    EXPECT_EQ(BASS_GetDeviceDescription(2), nullptr);
    EXPECT_EQ(BASS_GetDeviceDescription(-1), nullptr);
}

TEST(AudioEngine, OfflineStartCanBeMadeToFailOnce) {
    ::setenv("VORLAN_AUDIO", "offline", 1);
    ASSERT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, 44100, 32, nullptr));
    EXPECT_FALSE(BASS_Offline_Render(nullptr, 16));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_START);
    BASS_Offline_FailNextStart(BASS_ERROR_DRIVER);
    EXPECT_FALSE(BASS_Start());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DRIVER);
    EXPECT_TRUE(BASS_Start());
    EXPECT_TRUE(BASS_Offline_Render(nullptr, 16));
    BASS_Free();
}

TEST(AudioEngine, BufferLengthIsClampedAndReported) {
    EXPECT_FLOAT_EQ(BASS_SetBufferLength(1.1f), 1.1f);
    EXPECT_FLOAT_EQ(BASS_SetBufferLength(0.0f), 0.1f);
    EXPECT_FLOAT_EQ(BASS_SetBufferLength(0.5f), 0.5f);
}

class BadHandles : public OfflineEngine {};

TEST_F(BadHandles, EveryCallOnZeroRandomOrFreedHandleFailsWithHandleError) {
    const HSTREAM freed = BASS_StreamCreateFile(FALSE, wav().c_str(), 0, 0, 0);
    ASSERT_NE(freed, 0u);
    ASSERT_TRUE(BASS_StreamFree(freed));
    DWORD freq = 0, volume = 0;
    int pan = 0;
    for (const DWORD handle : {0u, 0x12345678u, 0xFFFFFFFFu, freed}) {
        SCOPED_TRACE(handle);
        const auto expectHandleError = [](bool failed) {
            EXPECT_TRUE(failed);
            EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
        };
        expectHandleError(!BASS_StreamPlay(handle, FALSE, 0));
        expectHandleError(!BASS_WMA_StreamPlay(handle, FALSE, 0));
        expectHandleError(!BASS_StreamPreBuf(handle));
        expectHandleError(!BASS_StreamFree(handle));
        expectHandleError(!BASS_WMA_StreamFree(handle));
        expectHandleError(BASS_StreamGetLength(handle) == static_cast<QWORD>(-1));
        expectHandleError(BASS_WMA_StreamGetLength(handle) == static_cast<QWORD>(-1));
        expectHandleError(BASS_StreamGetTags(handle, 0) == nullptr);
        expectHandleError(BASS_WMA_StreamGetTags(handle, 0) == nullptr);
        expectHandleError(!BASS_ChannelPause(handle));
        expectHandleError(!BASS_ChannelResume(handle));
        expectHandleError(!BASS_ChannelStop(handle));
        expectHandleError(BASS_ChannelIsActive(handle) == 0);
        expectHandleError(BASS_ChannelGetPosition(handle) == static_cast<QWORD>(-1));
        expectHandleError(BASS_WMA_ChannelGetPosition(handle) == static_cast<QWORD>(-1));
        expectHandleError(!BASS_ChannelSetPosition(handle, 0));
        expectHandleError(!BASS_WMA_ChannelSetPosition(handle, 0, 0));
        expectHandleError(BASS_ChannelBytes2Seconds(handle, 4) < 0);
        expectHandleError(!BASS_ChannelGetAttributes(handle, &freq, &volume, &pan));
        expectHandleError(!BASS_ChannelSetAttributes(handle, -1, 50, -101));
        expectHandleError(BASS_ChannelGetLevel(handle) == static_cast<DWORD>(-1));
    }
}

TEST_F(BadHandles, StreamCallsOfTheOtherLibraryRefuseTheHandle) {
    const HSTREAM mp3 = BASS_StreamCreateFile(FALSE, mp3Cbr().c_str(), 0, 0, 0);
    const HSTREAM wmaStream = BASS_WMA_StreamCreateFile(FALSE, wma().c_str(), 0, 0, 0);
    ASSERT_NE(mp3, 0u);
    ASSERT_NE(wmaStream, 0u);
    EXPECT_EQ(BASS_WMA_StreamGetLength(mp3), static_cast<QWORD>(-1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_EQ(BASS_StreamGetLength(wmaStream), static_cast<QWORD>(-1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    // Channel calls serve both kinds.
    EXPECT_NE(BASS_ChannelGetPosition(wmaStream), static_cast<QWORD>(-1));
    EXPECT_NE(BASS_ChannelGetLevel(wmaStream), static_cast<DWORD>(-1));
    // Either free call releases either kind (the program calls both on a deck's stream).
    EXPECT_TRUE(BASS_StreamFree(wmaStream));
    EXPECT_TRUE(BASS_WMA_StreamFree(mp3));
}
