#include "services/clock.h"

#include <chrono>
#include <thread>

namespace tarvelo::services {

std::int64_t SystemClock::tickMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace tarvelo::services
