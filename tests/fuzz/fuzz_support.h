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

} // namespace rp::fuzz
