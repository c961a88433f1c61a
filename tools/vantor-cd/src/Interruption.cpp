#include "Interruption.h"

#include <csignal>

namespace vantorcd {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void onInterruption(int)
{
    g_interrupted = 1;
}

} // namespace

void catchInterruptions() noexcept
{
    struct sigaction action = {};
    action.sa_handler = onInterruption;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool interruptionRequested() noexcept
{
    return g_interrupted != 0;
}

} // namespace vantorcd
