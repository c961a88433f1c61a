// Preloaded into the programs that valgrind runs. libhwy, which FFmpeg loads through libjxl,
// measures its timer with RDTSCP while it is initialised, and valgrind 3.19 cannot execute that
// instruction. libhwy calls the probe through its PLT, so this definition answers in its place and
// valgrind never meets the instruction; nothing the tests run uses the timer.
#include <cstdint>

namespace hwy {
namespace platform {

__attribute__((visibility("default"))) uint64_t TimerResolution()
{
    return 1;
}

} // namespace platform
} // namespace hwy
