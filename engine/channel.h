#pragma once
// One stream of the audio engine, owned: opened from a file through the WMA
// add-on or the main library, and freed when the Channel goes or takes
// another stream. Positions and lengths count bytes of the stream's data
// (16-bit stereo at the file's own rate, 4 bytes a frame); rates are in Hz.
// Calls on an empty Channel (handle 0) reach the engine, which refuses them
// and records its error code, as a call on a failed open always has.
// User-interface thread only.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace engine {

// Who opened a stream; the numbers are those the decks have always kept.
enum class StreamKind : std::int16_t { none = 0, wma = 1, main = 2 };

// What a stream is doing; the numbers are the engine's.
enum class PlayState : std::uint32_t { stopped = 0, playing = 1, paused = 3 };

// Stream flag: exact lengths and seeks in MP3 files ("SeekAccuracy").
inline constexpr std::uint32_t kExactSeeks = 0x20000;
// Stream flag of the streams opened only to read their tags.
inline constexpr std::uint32_t kTagsOnly = 0x10000;
// Attribute values that leave the rate, volume or pan as they are.
inline constexpr int kRateUnchanged = -1;
inline constexpr int kVolumeUnchanged = -1;
inline constexpr int kPanUnchanged = -101;
// Key lock: off (the rate changes speed and pitch), or the rate changes the
// tempo only, time-stretched by the faster or the finer engine.
enum class KeyLock : std::uint32_t { off = 0, faster = 1, finer = 2 };
// Bytes of a stream's data a frame (16-bit stereo).
inline constexpr std::uint64_t kBytesPerFrame = 4;

class Channel {
public:
    using Handle = std::uint32_t;

    Channel() = default;
    // Takes over a stream the engine opened elsewhere.
    Channel(Handle handle, StreamKind kind)
        : handle_(handle), kind_(handle ? kind : StreamKind::none) {}
    ~Channel() { free(); }
    Channel(Channel&& other) noexcept;
    Channel& operator=(Channel&& other) noexcept;
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // A deck's stream of the 8-bit path `file`: the WMA add-on first, then
    // the main library (whose stream is pre-buffered). Empty when neither
    // opens it; the engine's error code is then the main library's.
    static Channel open(const QByteArray& file, std::uint32_t flags);
    // A stream of one library only; empty when it does not open the file.
    static Channel openMain(const QByteArray& file, std::uint32_t flags);
    static Channel openWma(const QByteArray& file, std::uint32_t flags);
    // A decode-only stream of `file` (WMA add-on first, then the main
    // library): never played, its frames pulled with read(). Unlike the
    // others it may live on a worker thread, one thread at a time.
    static Channel openDecode(const QByteArray& file);

    Handle handle() const { return handle_; }
    StreamKind kind() const { return kind_; }
    explicit operator bool() const { return handle_ != 0; }
    // Frees the stream (an empty Channel stays empty).
    void free();

    // Plays from the position; the result is the engine's (false = refused).
    bool play();
    // Paused: goes on. A WMA stream is played again, which resumes it.
    bool resume();
    bool pause();
    bool stop();
    // Seeks to a byte position; a main-library stream is pre-buffered there.
    bool seek(std::uint64_t bytes);
    // Byte position, and length of the stream's data; 0 when not readable.
    std::uint64_t position() const;
    std::uint64_t length() const;
    // Seconds of `bytes` of the stream's data; negative on failure.
    float seconds(std::uint64_t bytes) const;
    // Stopped also when empty.
    PlayState state() const;
    // True while it plays: neither stopped nor paused. False when empty.
    bool isPlaying() const;

    // The sample rate; 0 when it cannot be read.
    std::uint32_t rate() const;
    // Rate (Hz), volume (0..100) and pan (-100..100); the Unchanged values
    // keep one as it is. The engine's result (0 = refused).
    int setAttributes(int rate, int volume, int pan);
    bool setRate(int rate) { return setAttributes(rate, kVolumeUnchanged, kPanUnchanged) != 0; }
    // Switches key lock; the stream plays on from where it is. The engine's result.
    bool setKeyLock(KeyLock mode);
    // Output level: low 16 bits left, high 16 bits right, 0..128 each;
    // 0xFFFFFFFF when there is no stream.
    std::uint32_t level() const;
    // The main library's ID3v1 block (128 bytes) or the WMA add-on's header
    // lines (each zero-terminated, an empty line ends them); null when there
    // are none.
    const char* tags() const;
    // A decode-only stream's next frames (16-bit stereo interleaved) into
    // `frames`, at most `maxFrames`; the number written, 0 at the end or on
    // failure.
    std::size_t read(std::int16_t* frames, std::size_t maxFrames);

private:
    Handle handle_ = 0;
    StreamKind kind_ = StreamKind::none;
};

} // namespace engine
