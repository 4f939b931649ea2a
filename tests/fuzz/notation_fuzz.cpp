// Dice notation read into a plain group, then described and rolled with
// half of its dice ignored.
//
// Checked: a text that is not understood leaves the group as it was; no
// text makes more than CDiceGroup::kMaxParsedDice dice. Groups of more than
// kMaxRolled dice are not rolled or described: the benchmarks time those,
// and a run is meant to spend its time on reading notation.
#include "dice_group.h"
#include "fuzz_support.h"
#include "random_source.h"

constexpr int kMaxRolled = 200;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rp;
    random_source::Seed(1);
    const std::string_view text = fuzz::AsText(data, size);
    CDiceGroup group;
    const bool understood = group.ParseNotation(text);
    if (!understood && (group.GetCount() != 0 || group.GetModifier() != 0))
        fuzz::Fail("notation not understood, yet the group changed", text, group.GetDescription());
    if (group.GetCount() > CDiceGroup::kMaxParsedDice)
        fuzz::Fail("more dice than one text may make", text, group.GetDescription());
    if (group.GetCount() > kMaxRolled)
        return 0;
    group.SetIgnoreCount(group.GetCount() / 2);
    group.Roll();
    group.GetDescription();
    return 0;
}
