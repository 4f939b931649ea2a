#include "roll_text.h"

#include "dice_group.h"
#include "int_text.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace rp {

std::string RollsText(const CDie& die, std::string_view separator) {
    std::string text;
    for (const int roll : die.GetRolls()) {
        if (!text.empty())
            text += separator;
        text += std::to_string(roll);
    }
    return text;
}

std::string FacesText(const CDiceGroup& group, bool withRolls) {
    std::vector<const CDie*> ignored;
    group.GetIgnoredDice(ignored);
    // Sorted, so that a group of many dice is written in n log n.
    std::sort(ignored.begin(), ignored.end(), std::less<>());
    std::string text;
    for (const auto& die : group.Dice()) {
        if (!text.empty())
            text += ' ';
        std::string face = std::to_string(die->GetRawResult());
        if (withRolls && !die->GetRolls().empty())
            face += '[' + RollsText(*die, "+") + ']';
        if (std::binary_search(ignored.begin(), ignored.end(), die.get(), std::less<>()))
            text += '(' + face + ')';
        else
            text += face;
    }
    return text;
}

std::string RollLineText(std::string_view label, const CDiceGroup& group, bool withRolls) {
    std::string text(label);
    text += ": ";
    text += FacesText(group, withRolls);
    text += " = ";
    text += std::to_string(group.GetTotal());
    return text;
}

std::string RollTotalText(std::span<const CDiceGroup* const> groups) {
    std::int64_t sum = 0, successes = 0;
    bool summing = false, counting = false;
    for (const CDiceGroup* group : groups) {
        const bool counts = group->GetCountAtLeast() > 0;
        (counts ? successes : sum) += group->GetTotal();
        (counts ? counting : summing) = true;
    }
    const std::string total = "Total: " + std::to_string(ClampToInt(sum));
    const std::string counted = std::to_string(ClampToInt(successes));
    if (!counting)
        return total;
    return summing ? total + ", successes: " + counted : "Successes: " + counted;
}

} // namespace rp
