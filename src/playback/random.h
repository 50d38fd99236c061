#pragma once

#include <cstdint>

namespace tarvelo {
struct AppContext;
}

namespace tarvelo::playback {

// The pseudo-random source of the random play mode: integers from 0 to 32767.
class RandomSource
{
public:
    static constexpr int kMax = 32767;

    void seed(std::uint32_t value) { state_ = value; }
    int next()
    {
        // A linear congruential generator; its upper bits are the well-mixed ones.
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t state_ = 1;
};

// Seeds the source from the millisecond tick count plus a counter that grows with every
// seeding, so that two seedings within one tick still differ.
void seedRandom(AppContext &ctx);

} // namespace tarvelo::playback
