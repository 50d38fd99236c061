#include "app/sharedstate.h"

namespace tarvelo {

namespace {
SharedState *g_state = nullptr;
}

SharedState &createSharedState()
{
    if (!g_state)
        g_state = new SharedState;
    return *g_state;
}

void releaseSharedState()
{
    delete g_state;
    g_state = nullptr;
}

SharedState *sharedState()
{
    return g_state;
}

} // namespace tarvelo
