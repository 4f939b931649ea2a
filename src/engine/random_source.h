#pragma once

#include <cstdint>

namespace rp {

// The roll generator: a linear congruential generator whose state is per
// thread (1 before seeding). The first draw in the process seeds it with the
// calendar time in whole seconds unless it was seeded explicitly before.
namespace random_source {

// Next number in 0..32767.
int Draw();

// Sets this thread's state to `seed` and counts the process as seeded, so
// the time seed is never applied (tests and the command-line tool).
void Seed(std::uint32_t seed);

} // namespace random_source

} // namespace rp
