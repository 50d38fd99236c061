#pragma once

#include <cstdint>

namespace tarvelo::services {

// The system's millisecond tick count and a blocking sleep. The volume fades sleep on the
// GUI thread without handling events, and the window fade polls the tick count; tests put
// a clock of their own in here to see both without waiting.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::int64_t tickMs() = 0;
    virtual void sleepMs(int ms) = 0;
};

// The real one: a monotonic clock and a thread sleep.
class SystemClock final : public Clock
{
public:
    std::int64_t tickMs() override;
    void sleepMs(int ms) override;
};

} // namespace tarvelo::services
