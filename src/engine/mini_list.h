#pragma once

#include "dice_group.h"

#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace rp {

// The groups a quick-roll list shows, one slot per node read; a slot whose
// node held no usable group stays empty.
using MiniGroups = std::vector<std::unique_ptr<CDiceGroup>>;

// Reads the groups from a document element: a "dicegroups" root gives one
// slot per child node, any other root (or none) one slot; a node that holds
// no group leaves its slot empty. At most 100,000 dice are made in all;
// `diceLeftOut`, when given, tells whether some had to be left out.
MiniGroups ReadMiniGroups(pugi::xml_node root, bool* diceLeftOut = nullptr);

// Parses a whole text and reads its groups; text that is not XML gives none.
MiniGroups ReadMiniGroupsFromText(std::string_view bytes, bool* diceLeftOut = nullptr);

// What the list shows for a group: its description, its title when that
// already reads as dice notation, otherwise "title (description)".
std::string GetGroupLabel(const CDiceGroup& group);

// List order of labels: alphabetical ignoring case, ties in byte order.
bool MiniLabelLess(std::string_view a, std::string_view b);

} // namespace rp
