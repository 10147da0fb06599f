// The mix converted to a device's own rate: a frame of the mix lands at its
// time on the device, and each block is told when it will be heard.
#include "platform/audio/rate_converter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

TEST(RateConverter, AClickOfTheMixLandsAtItsTimeOnTheDevice) {
    struct Case {
        int mixRate, deviceRate;
    };
    for (const Case c : {Case{22050, 48000}, Case{44100, 48000}, Case{48000, 44100},
                         Case{44100, 96000}, Case{32000, 44100}}) {
        SCOPED_TRACE(testing::Message() << c.mixRate << " -> " << c.deviceRate);
        audio::RateConverter converter(c.mixRate, c.deviceRate);
        ASSERT_TRUE(converter.ready());
        const std::int64_t click = 3 * c.mixRate / 10; // 0.3 s into the mix
        const std::size_t callback = 256;              // device frames per callback
        std::vector<float> device;
        std::vector<float> out(callback * 2);
        std::int64_t mixed = 0;
        bool timesRight = true;
        while (device.size() < static_cast<std::size_t>(c.deviceRate) * 2) {
            const double first = static_cast<double>(device.size() / 2);
            converter.fill(
                out.data(), callback, [&](std::int16_t* block, std::size_t n, double after) {
                    // The block's first frame is heard at its own time on the device.
                    const double expected =
                        (static_cast<double>(mixed) * converter.ratio() - first) / c.deviceRate;
                    timesRight = timesRight && std::fabs(after - expected) < 1e-9;
                    std::fill_n(block, n * 2, std::int16_t{0});
                    if (click >= mixed && click < mixed + static_cast<std::int64_t>(n))
                        block[(click - mixed) * 2] = 16384;
                    mixed += static_cast<std::int64_t>(n);
                });
            device.insert(device.end(), out.begin(), out.end());
        }
        EXPECT_TRUE(timesRight);
        std::size_t loudest = 0;
        for (std::size_t i = 0; i < device.size() / 2; ++i)
            if (std::fabs(device[i * 2]) > std::fabs(device[loudest * 2]))
                loudest = i;
        EXPECT_NEAR(static_cast<double>(loudest), static_cast<double>(click) * converter.ratio(),
                    1.0);
        EXPECT_EQ(device[loudest * 2 + 1], 0.0f); // the other channel stays silent
    }
}
