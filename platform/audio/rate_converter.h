#pragma once
// Converts the mix from the rate the engine was initialised at to the rate
// the device runs at, on the output thread. The mix is rendered in fixed
// blocks whose length at the device rate is a whole number of frames where
// the two rates allow it, and the converter keeps output frame n x ratio
// aligned with mix frame n, so a block rendered at mix frame n is heard
// exactly n x ratio device frames after the first. A converter made with a
// second pair (the headphones) converts it in step with the main pair, by a
// resampler of its own, so the main pair comes out exactly as without it.
// Every buffer is made when the converter is made; fill() never allocates or
// locks.
#include <cstddef>
#include <cstdint>
#include <vector>

typedef struct SRC_STATE_tag SRC_STATE;

namespace audio {

class RateConverter {
public:
    // Largest block of the mix, frames.
    static constexpr std::size_t maxBlockFrames = 512;

    RateConverter(int mixRate, int deviceRate, bool secondPair = false);
    ~RateConverter();
    RateConverter(const RateConverter&) = delete;
    RateConverter& operator=(const RateConverter&) = delete;

    // False when the converter could not be made.
    bool ready() const {
        return main_.state != nullptr && (!secondPair_ || phones_.state != nullptr);
    }
    // Mix frames rendered per block.
    std::size_t blockFrames() const { return blockFrames_; }
    // Device frames per mix frame.
    double ratio() const { return ratio_; }

    // Output thread: writes `frames` device frames (interleaved stereo float,
    // full scale 1.0) to `out`. For each block of the mix it needs it calls
    // `renderBlock(std::int16_t* block, std::size_t frames, double after)`,
    // which renders the next `frames` mix frames into `block`; `after` is
    // how many seconds after out[0] the block's first frame is heard.
    template <typename RenderBlock>
    void fill(float* out, std::size_t frames, RenderBlock&& renderBlock) {
        fillPairs(out, nullptr, frames,
                  [&](std::int16_t* block, std::int16_t*, std::size_t n, double after) {
                      renderBlock(block, n, after);
                  });
    }
    // As fill(), with the second pair into `second` (a converter made with
    // one): `renderBlock(block, secondBlock, frames, after)` renders both.
    template <typename RenderBlock>
    void fillPairs(float* out, float* second, std::size_t frames, RenderBlock&& renderBlock) {
        const std::int64_t first = emitted_;
        for (std::size_t done = 0; done < frames;) {
            if (pendingFrames_ == 0) {
                if (inputFrames_ == 0) {
                    const double after =
                        (static_cast<double>(mixed_) * ratio_ - static_cast<double>(first)) /
                        deviceRate_;
                    renderBlock(main_.block.data(), secondPair_ ? phones_.block.data() : nullptr,
                                blockFrames_, after);
                    takeBlock();
                }
                if (!convert()) {
                    silence(out + done * 2, frames - done);
                    if (second)
                        silence(second + done * 2, frames - done);
                    break;
                }
                continue;
            }
            const std::size_t n =
                drain(out + done * 2, second ? second + done * 2 : nullptr, frames - done);
            done += n;
        }
        emitted_ += static_cast<std::int64_t>(frames);
    }

private:
    // One stereo pair's resampler and buffers.
    struct Pair {
        SRC_STATE* state = nullptr;
        std::vector<std::int16_t> block; // the block just rendered
        std::vector<float> input;        // it, as the converter takes it
        std::vector<float> converted;    // converted frames not yet handed out
    };
    bool makePair(Pair& pair);
    void takeBlock();
    bool convert();
    std::size_t drain(float* out, float* second, std::size_t frames);
    static void silence(float* out, std::size_t frames);

    int deviceRate_;
    double ratio_;
    std::size_t blockFrames_;
    bool secondPair_;
    Pair main_;
    Pair phones_; // converted only with a second pair
    std::size_t inputOffset_ = 0, inputFrames_ = 0;
    std::size_t pendingOffset_ = 0, pendingFrames_ = 0;
    std::int64_t mixed_ = 0;   // mix frames rendered so far
    std::int64_t emitted_ = 0; // device frames handed out so far
};

} // namespace audio
