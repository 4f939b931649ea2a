#include "random_source.h"

#include <atomic>
#include <ctime>

namespace rp::random_source {

namespace {
std::atomic<bool> g_seeded{false};
thread_local std::uint32_t t_state = 1;
} // namespace

int Draw() {
    if (!g_seeded.load(std::memory_order_relaxed)) {
        t_state = static_cast<std::uint32_t>(std::time(nullptr));
        g_seeded.store(true, std::memory_order_relaxed);
    }
    t_state = t_state * 214013u + 2531011u;
    return static_cast<int>((t_state >> 16) & 0x7FFF);
}

void Seed(std::uint32_t seed) {
    t_state = seed;
    g_seeded.store(true, std::memory_order_relaxed);
}

} // namespace rp::random_source
