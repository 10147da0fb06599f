// The decode ring: frames written and read across its wrap come back in
// order and unchanged, wherever the wrap splits a write or a read.
#include "platform/audio/ring_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// Frame n holds the samples (n, -n) (in 16-bit wraparound).
std::int16_t sampleOf(std::size_t frame, int channel) {
    const auto value = static_cast<std::int16_t>(frame * 7 + 1);
    return channel == 0 ? value : static_cast<std::int16_t>(-value);
}

// Writes `count` frames numbered from `first` through produceInto in one call.
std::size_t produce(audio::FrameRing& ring, std::size_t first, std::size_t count) {
    std::size_t next = first;
    return ring.produceInto(count, [&](std::int16_t* out, std::size_t room) {
        for (std::size_t i = 0; i < room; ++i, ++next) {
            out[i * 2] = sampleOf(next, 0);
            out[i * 2 + 1] = sampleOf(next, 1);
        }
        return room;
    });
}

} // namespace

TEST(FrameRing, WritesAndReadsAcrossTheWrapAtEverySplit) {
    audio::FrameRing ring(1024);
    const std::size_t capacity = ring.capacity();
    ASSERT_EQ(capacity, 1024u);
    const std::size_t block = capacity - 3; // nearly full, so every start wraps
    std::vector<std::int16_t> scratch(capacity * 2);
    for (const bool inPlace : {false, true}) {
        for (std::size_t start = 0; start < capacity; ++start) {
            SCOPED_TRACE(testing::Message() << "start " << start << (inPlace ? " in place" : ""));
            ring.reset();
            ASSERT_EQ(produce(ring, 0, start), start);
            ASSERT_EQ(ring.read(scratch.data(), start), start);
            ASSERT_EQ(produce(ring, start, block), block);
            EXPECT_EQ(ring.readable(), block);
            EXPECT_EQ(ring.writable(), capacity - block);
            std::vector<std::int16_t> got;
            if (inPlace) {
                const std::size_t consumed = ring.consumeFrom(
                    block, [&](const std::int16_t* in, std::size_t count, std::size_t offset) {
                        EXPECT_EQ(offset, got.size() / 2);
                        got.insert(got.end(), in, in + count * 2);
                    });
                EXPECT_EQ(consumed, block);
            } else {
                got.resize(block * 2);
                EXPECT_EQ(ring.read(got.data(), block + 5), block); // asks for more than there is
            }
            ASSERT_EQ(got.size(), block * 2);
            std::size_t wrong = 0;
            for (std::size_t i = 0; i < block; ++i)
                wrong += got[i * 2] != sampleOf(start + i, 0) ||
                         got[i * 2 + 1] != sampleOf(start + i, 1);
            EXPECT_EQ(wrong, 0u);
            EXPECT_EQ(ring.readable(), 0u);
        }
    }
}

TEST(FrameRing, AShortWriteStopsAtTheFramesProducedAndTheRingNeverOverfills) {
    audio::FrameRing ring(1024);
    std::vector<std::int16_t> scratch(2048 * 2);
    ASSERT_EQ(produce(ring, 0, 1000), 1000u);
    ASSERT_EQ(ring.read(scratch.data(), 1000), 1000u); // the next write wraps after 24 frames
    int calls = 0;
    const std::size_t written = ring.produceInto(100, [&](std::int16_t*, std::size_t room) {
        ++calls;
        return room / 2; // the decoder ran dry
    });
    EXPECT_EQ(written, 12u);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(produce(ring, 0, 5000), 1024u - 12u);
    EXPECT_EQ(ring.writable(), 0u);
}
