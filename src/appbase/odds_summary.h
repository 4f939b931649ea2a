#pragma once

#include <QString>

namespace rp {

class CDiceGroup;

// What a dice group's tool tip says of its odds: "3d6+2: mean 12.50, 5 to 20",
// or the description and why its odds are not computed. Recent answers are
// kept, so that hovering over a large group again costs nothing.
QString GroupOddsSummary(const CDiceGroup& group);

} // namespace rp
