#pragma once
// The audio library: streams decoded from MP3/MP2/MP1 and WAV files (main
// library) or ASF containers (the WMA add-on), played and mixed on a sound
// device. Handles are 32-bit, 0 = failure; BASS_ErrorGetCode() gives the code
// of the last failed call. Positions and lengths count bytes of the stream's
// data: 16-bit signed stereo at the file's own sample rate (4 bytes a frame).
// All calls come from the user-interface thread unless stated otherwise.
#include <cstdint>

using DWORD = std::uint32_t;
using QWORD = std::uint64_t;
using BOOL = int;
using HSTREAM = DWORD;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// Error codes.
enum : int {
    BASS_OK = 0,
    BASS_ERROR_MEM = 1,
    BASS_ERROR_FILEOPEN = 2,
    BASS_ERROR_DRIVER = 3,
    BASS_ERROR_BUFLOST = 4,
    BASS_ERROR_HANDLE = 5,
    BASS_ERROR_FORMAT = 6,
    BASS_ERROR_POSITION = 7,
    BASS_ERROR_INIT = 8,
    BASS_ERROR_START = 9,
    BASS_ERROR_ALREADY = 14,
    BASS_ERROR_NOTPAUSED = 16,
    BASS_ERROR_NOCHAN = 18,
    BASS_ERROR_ILLTYPE = 19,
    BASS_ERROR_ILLPARAM = 20,
    BASS_ERROR_DEVICE = 23,
    BASS_ERROR_NOPLAY = 24,
    BASS_ERROR_FREQ = 25,
    BASS_ERROR_NOTFILE = 27,
    BASS_ERROR_NOTAVAIL = 37, // the requested data (a tag) is not there
    BASS_ERROR_ENDED = 45,    // a decode stream has no more data
    BASS_ERROR_UNKNOWN = -1,
};

// Stream-creation flag: exact lengths and seeks for MP3.
inline constexpr DWORD BASS_MP3_SETPOS = 0x20000;
// Stream-creation flag: a decode-only stream, never played, read with
// BASS_ChannelGetData on any one thread at a time.
inline constexpr DWORD BASS_STREAM_DECODE = 0x200000;
// BASS_ChannelIsActive results.
inline constexpr DWORD BASS_ACTIVE_STOPPED = 0;
inline constexpr DWORD BASS_ACTIVE_PLAYING = 1;
inline constexpr DWORD BASS_ACTIVE_PAUSED = 3;
// Key-lock modes (BASS_ChannelSetKeyLock): off, the rate changes the speed
// and the pitch (varispeed); otherwise the rate changes the tempo only,
// time-stretched by the faster or the finer engine.
inline constexpr DWORD BASS_KEYLOCK_OFF = 0;
inline constexpr DWORD BASS_KEYLOCK_FASTER = 1;
inline constexpr DWORD BASS_KEYLOCK_FINER = 2;
// Tag kinds.
inline constexpr DWORD BASS_TAG_ID3 = 0;
inline constexpr DWORD BASS_TAG_WMA = 0;

// Initialisation devices besides 0..n-1 (the n PortAudio output devices).
inline constexpr int BASS_DEVICE_DEFAULT = -1; // PortAudio's default output
inline constexpr int BASS_DEVICE_SILENT = -2;  // silent output clocked in real time

extern "C" {
DWORD BASS_GetVersion(); // low word major (1), high word minor (6)
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window);
BOOL BASS_Start();
BOOL BASS_Stop();
void BASS_Free();
int BASS_ErrorGetCode();
float BASS_SetBufferLength(float seconds); // decode-ahead; returns the length in force
const char*
BASS_GetDeviceDescription(int device); // describes initialisation device - 1; null past the end

HSTREAM BASS_StreamCreateFile(BOOL mem, const char* file, DWORD offset, DWORD length, DWORD flags);
BOOL BASS_StreamPreBuf(HSTREAM handle);
BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags);
BOOL BASS_StreamFree(HSTREAM handle);
QWORD BASS_StreamGetLength(HSTREAM handle);
const char* BASS_StreamGetTags(HSTREAM handle, DWORD kind);

BOOL BASS_ChannelPause(DWORD handle);
BOOL BASS_ChannelResume(DWORD handle);
BOOL BASS_ChannelStop(DWORD handle);
DWORD BASS_ChannelIsActive(DWORD handle);
QWORD BASS_ChannelGetPosition(DWORD handle); // (QWORD)-1 on failure
BOOL BASS_ChannelSetPosition(DWORD handle, QWORD position);
float BASS_ChannelBytes2Seconds(DWORD handle, QWORD position); // negative on failure
BOOL BASS_ChannelGetAttributes(DWORD handle, DWORD* freq, DWORD* volume, int* pan);
BOOL BASS_ChannelSetAttributes(DWORD handle, int freq, int volume, int pan);
// Sets the key-lock mode of a stream (playing or not): it plays on from where
// it is, without a jump. Get: the mode, or (DWORD)-1 on failure.
BOOL BASS_ChannelSetKeyLock(DWORD handle, DWORD mode);
DWORD BASS_ChannelGetKeyLock(DWORD handle);
DWORD BASS_ChannelGetLevel(
    DWORD handle); // low word left, high word right, 0..128; (DWORD)-1 on failure
// Decodes up to `length` bytes (whole frames) of a decode stream into
// `buffer`; the bytes written, or (DWORD)-1 (error 45 at the end).
DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);

// The WMA add-on.
HSTREAM BASS_WMA_StreamCreateFile(BOOL mem, const char* file, DWORD offset, DWORD length,
                                  DWORD flags);
BOOL BASS_WMA_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags);
BOOL BASS_WMA_StreamFree(HSTREAM handle);
QWORD BASS_WMA_StreamGetLength(HSTREAM handle);
QWORD BASS_WMA_ChannelGetPosition(HSTREAM handle);
BOOL BASS_WMA_ChannelSetPosition(HSTREAM handle, QWORD position, DWORD mode);
const char* BASS_WMA_StreamGetTags(HSTREAM handle, DWORD kind);
}
