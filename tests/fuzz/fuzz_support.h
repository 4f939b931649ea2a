#pragma once

#include "xml_dom.h"

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

// Whether the faults each target lists as known are passed over, so that a
// long run gets past them: ROLLPOUCH_FUZZ_SKIP_KNOWN=1. Off by default.
bool SkipKnownFaults();

// Calls `visit(node)` on every node below `top`, in document order, until it
// returns true; returns whether one did.
template <typename Visit> bool AnyNode(pugi::xml_node top, Visit visit) {
    struct Walker : pugi::xml_tree_walker {
        Visit* visit;
        bool found = false;
        bool for_each(pugi::xml_node& node) override { return !(found = (*visit)(node)); }
    } walker;
    walker.visit = &visit;
    top.traverse(walker);
    return walker.found;
}

// The same over a text that is XML; false for one that is not.
template <typename Visit> bool AnyNode(std::string_view bytes, Visit visit) {
    xml::CXmlDocument document;
    return document.ParseText(bytes) && AnyNode(document.Root().root(), visit);
}

// At most how many dice reading a text as dice notation could make: a term
// makes one die or as many as its count, and no term more than
// CDiceGroup::kMaxTermDice.
std::int64_t NotationDiceBound(std::string_view text);

// The same over a whole tray text: over its text nodes when it is XML, over
// all of it when it is read as plain lines.
std::int64_t TrayDiceBound(std::string_view bytes);

// Text content that is known not to come back as it was written: holding a
// line feed or carriage return, or nothing but spaces and tabs.
bool IsKnownUnfaithfulText(std::string_view text);

// Whether a "multiplier" attribute is so large that a group's kept sum
// times it could pass the 64-bit range (at or beyond 2^16).
bool HasHugeMultiplier(std::string_view bytes);

} // namespace rp::fuzz
