#pragma once
// One short MIDI message (channel voice messages: note on/off, control
// change, pitch bend, ...) as its status byte and up to two data bytes.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace midi {

// A message sent with this device goes to every connected device.
inline constexpr std::uint32_t kAllDevices = 0xFFFFFFFFu;

struct MidiMessage {
    std::array<std::uint8_t, 3> bytes{};
    std::uint8_t size = 0;
    // The device a received message came from, or a sent one goes to: the id
    // its transport gives the device while it is connected (MidiDevice::id).
    std::uint32_t device = kAllDevices;

    std::uint8_t kind() const { return bytes[0] & 0xF0; } // 0x80 note off, 0x90 note on, ...
    int channel() const { return bytes[0] & 0x0F; }       // 0..15
    int data1() const { return bytes[1]; }
    int data2() const { return bytes[2]; }
};

inline constexpr std::uint8_t kNoteOff = 0x80;
inline constexpr std::uint8_t kNoteOn = 0x90;
inline constexpr std::uint8_t kControlChange = 0xB0;
inline constexpr std::uint8_t kPitchBend = 0xE0;

inline MidiMessage makeMessage(std::uint8_t kind, int channel, int data1, int data2,
                               std::uint32_t device = kAllDevices) {
    return {{static_cast<std::uint8_t>(kind | (channel & 0x0F)),
             static_cast<std::uint8_t>(data1 & 0x7F), static_cast<std::uint8_t>(data2 & 0x7F)},
            3,
            device};
}

// A single-producer single-consumer queue of messages between a real-time
// thread and the UI thread: neither side blocks or allocates. A message
// pushed while the queue is full is dropped (push answers false).
class MessageRing {
public:
    static constexpr std::size_t kCapacity = 1024;

    bool push(const MidiMessage& message) {
        const std::size_t w = written_.load(std::memory_order_relaxed);
        if (w - read_.load(std::memory_order_acquire) >= kCapacity)
            return false;
        slots_[w % kCapacity] = message;
        written_.store(w + 1, std::memory_order_release);
        return true;
    }
    bool pop(MidiMessage& message) {
        const std::size_t r = read_.load(std::memory_order_relaxed);
        if (r == written_.load(std::memory_order_acquire))
            return false;
        message = slots_[r % kCapacity];
        read_.store(r + 1, std::memory_order_release);
        return true;
    }

private:
    std::array<MidiMessage, kCapacity> slots_{};
    std::atomic<std::size_t> written_{0};
    std::atomic<std::size_t> read_{0};
};

} // namespace midi
