#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// What libFuzzer (or the replay program) calls for each input. A target that
// needs set-up also defines LLVMFuzzerInitialize(int*, char***).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace rp::fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Ends the run with what went wrong: the fuzzer keeps the input that did it.
[[noreturn]] void Fail(const char* what, std::string_view first = {}, std::string_view second = {});

// The most dice the targets that read whole trays try a text with: the caps
// and the cost of thousands of dice are tested elsewhere, and a run is meant
// to spend its time on the text.
inline constexpr int kMaxDice = 50;

// Whether reading the text as a tray (XML or plain lines) could make more
// than `limit` dice.
bool CouldMakeMoreDice(std::string_view text, int limit);

} // namespace rp::fuzz
