#pragma once
// Converts the mix from the rate the engine was initialised at to the rate
// the device runs at, on the output thread. The mix is rendered in fixed
// blocks whose length at the device rate is a whole number of frames where
// the two rates allow it, and the converter keeps output frame n x ratio
// aligned with mix frame n, so a block rendered at mix frame n is heard
// exactly n x ratio device frames after the first. Every buffer is made when
// the converter is made; fill() never allocates or locks.
#include <cstddef>
#include <cstdint>
#include <vector>

typedef struct SRC_STATE_tag SRC_STATE;

namespace audio {

class RateConverter {
public:
    // Largest block of the mix, frames.
    static constexpr std::size_t maxBlockFrames = 512;

    RateConverter(int mixRate, int deviceRate);
    ~RateConverter();
    RateConverter(const RateConverter&) = delete;
    RateConverter& operator=(const RateConverter&) = delete;

    // False when the converter could not be made.
    bool ready() const { return state_ != nullptr; }
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
        const std::int64_t first = emitted_;
        for (std::size_t done = 0; done < frames;) {
            if (pendingFrames_ == 0) {
                if (inputFrames_ == 0) {
                    const double after =
                        (static_cast<double>(mixed_) * ratio_ - static_cast<double>(first)) /
                        deviceRate_;
                    renderBlock(block_.data(), blockFrames_, after);
                    takeBlock();
                }
                if (!convert()) {
                    silence(out + done * 2, frames - done);
                    break;
                }
                continue;
            }
            done += drain(out + done * 2, frames - done);
        }
        emitted_ += static_cast<std::int64_t>(frames);
    }

private:
    void takeBlock();
    bool convert();
    std::size_t drain(float* out, std::size_t frames);
    static void silence(float* out, std::size_t frames);

    SRC_STATE* state_ = nullptr;
    int deviceRate_;
    double ratio_;
    std::size_t blockFrames_;
    std::vector<std::int16_t> block_; // the block just rendered
    std::vector<float> input_;        // it, as the converter takes it
    std::size_t inputOffset_ = 0, inputFrames_ = 0;
    std::vector<float> converted_; // converted frames not yet handed out
    std::size_t pendingOffset_ = 0, pendingFrames_ = 0;
    std::int64_t mixed_ = 0;   // mix frames rendered so far
    std::int64_t emitted_ = 0; // device frames handed out so far
};

} // namespace audio
