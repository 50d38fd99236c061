#pragma once

#include "services/clock.h"

#include <QList>

namespace tarvelo::testing {

// Time that moves only when the program sleeps, and by one millisecond at each reading, so
// that a loop polling the tick count always ends. Sleeps are recorded, not waited for.
class FakeClock final : public services::Clock
{
public:
    std::int64_t tickMs() override { return now++; }
    void sleepMs(int ms) override
    {
        sleeps.append(ms);
        now += ms;
    }

    std::int64_t now = 1000;
    QList<int> sleeps;
};

} // namespace tarvelo::testing
