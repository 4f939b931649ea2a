#pragma once

#include <span>
#include <string>
#include <string_view>

namespace rp {

class CDie;
class CDiceGroup;

// "6 + 6 + 2" (with separator " + "): the separate rolls of a die that
// exploded; empty for a die that rolled once.
std::string RollsText(const CDie& die, std::string_view separator);

// "3 (1) 5 6": the group's faces in list order, each die the ignore counts
// leave out in parentheses. With `withRolls`, an exploded die's rolls follow
// its face in brackets: "14[6+6+2]".
std::string FacesText(const CDiceGroup& group, bool withRolls = false);

// "Damage (4d6, ignore lowest 1): 3 (1) 5 6 = 14": a label, the faces and
// the group's total, as every program reports a rolled group.
std::string RollLineText(std::string_view label, const CDiceGroup& group, bool withRolls = false);

// "Total: 23" for the summed groups' totals, then ", successes: 3" for the
// counting groups' (only "Successes: 3" when all count), each brought back
// into 32 bits: as a roll of these groups reports it.
std::string RollTotalText(std::span<const CDiceGroup* const> groups);

} // namespace rp
