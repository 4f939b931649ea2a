#pragma once

#include <string>
#include <string_view>

namespace rp {

class CDiceGroup;

// "3 (1) 5 6": the group's faces in list order, each die the ignore count
// leaves out in parentheses.
std::string FacesText(const CDiceGroup& group);

// "Damage (4d6, ignore lowest 1): 3 (1) 5 6 = 14": a label, the faces and
// the group's total, as every program reports a rolled group.
std::string RollLineText(std::string_view label, const CDiceGroup& group);

} // namespace rp
