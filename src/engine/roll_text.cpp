#include "roll_text.h"

#include "dice_group.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace rp {

std::string FacesText(const CDiceGroup& group) {
    std::vector<const CDie*> ignored;
    group.GetIgnoredDice(ignored);
    // Sorted, so that a group of many dice is written in n log n.
    std::sort(ignored.begin(), ignored.end(), std::less<>());
    std::string text;
    for (const auto& die : group.Dice()) {
        if (!text.empty())
            text += ' ';
        const std::string face = std::to_string(die->GetRawResult());
        if (std::binary_search(ignored.begin(), ignored.end(), die.get(), std::less<>()))
            text += '(' + face + ')';
        else
            text += face;
    }
    return text;
}

std::string RollLineText(std::string_view label, const CDiceGroup& group) {
    std::string text(label);
    text += ": ";
    text += FacesText(group);
    text += " = ";
    text += std::to_string(group.GetTotal());
    return text;
}

} // namespace rp
