#include "die.h"

#include "int_text.h"
#include "random_source.h"
#include "xml_dom.h"

#include <charconv>

namespace rp {

CDie::CDie(int sideCount, int rawResult) : sideCount(sideCount), rawResult(rawResult) {
    if (rawResult < 1 || rawResult > sideCount)
        Roll();
}

int CDie::FaceFor(int sideCount, int r) {
    // 64-bit so that every side count keeps its face within 1..sideCount.
    return static_cast<int>(std::int64_t{sideCount} * r / 32768 + 1);
}

bool CDie::CanShow(int sideCount, int face) {
    if (sideCount >= 1)
        return face >= 1 && face <= sideCount;
    return face <= 1 && face >= FaceFor(sideCount, 32767);
}

int CDie::Roll() {
    rolls.clear();
    rawResult = FaceFor(sideCount, random_source::Draw());
    return GetValue();
}

int CDie::Roll(const SRollRules& rules, const std::function<int()>& draw) {
    rolls.clear();
    int face = FaceFor(sideCount, draw());
    if (rules.rerollBelow > 1 && face < rules.rerollBelow)
        face = FaceFor(sideCount, draw());
    if (rules.explode && sideCount >= 2 && face == sideCount) {
        rolls.push_back(face);
        for (int extra = 0; extra < rules.maxExtraRolls && rolls.back() == sideCount; ++extra)
            rolls.push_back(FaceFor(sideCount, draw()));
        // A face of the side count only comes with at most 32768 sides, so
        // 101 rolls stay far within int.
        face = 0;
        for (const int roll : rolls)
            face += roll;
        if (rolls.size() < 2)
            rolls.clear();
    }
    rawResult = face;
    return GetValue();
}

int CDie::GetValueFor(int face) const {
    return ClampToInt(multiplier.Apply64(face) + modifier);
}

bool CDie::Save(pugi::xml_node element, bool writeRawResult) const {
    if (std::string_view(element.name()) != "die")
        return false;
    element.append_attribute("modifier") = modifier;
    element.append_attribute("multiplier") = GetMultiplierText().c_str();
    element.append_attribute("sideCount") = sideCount;
    if (writeRawResult) {
        element.append_attribute("rawResult") = rawResult;
        if (!rolls.empty()) {
            std::string text;
            for (const int roll : rolls) {
                if (!text.empty())
                    text += ' ';
                text += std::to_string(roll);
            }
            element.append_attribute("rolls") = text.c_str();
        }
    }
    return true;
}

namespace {

// The rolls of a chain as written, "6 6 2": at least two numbers split by
// spaces, nothing else, and no more than a chain of a roll can hold (a
// file's long list is not kept); empty otherwise.
std::vector<int> ReadRolls(std::string_view text) {
    std::vector<int> rolls;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ') {
            ++at;
            continue;
        }
        int roll = 0;
        const auto [end, error] =
            std::from_chars(text.data() + at, text.data() + text.size(), roll);
        if (error != std::errc() || (end != text.data() + text.size() && *end != ' '))
            return {};
        if (rolls.size() >= CDie::kMaxChainRolls)
            return {};
        rolls.push_back(roll);
        at = static_cast<std::size_t>(end - text.data());
    }
    if (rolls.size() < 2)
        rolls.clear();
    return rolls;
}

} // namespace

bool CDie::Load(pugi::xml_node element) {
    if (std::string_view(element.name()) != "die")
        return false;
    sideCount = ReadInt(xml::AttributeText(element, "sideCount"));
    modifier = ReadInt(xml::AttributeText(element, "modifier"));
    multiplier.Parse(xml::AttributeText(element, "multiplier"));
    const int stored = ReadInt(xml::AttributeText(element, "rawResult"));
    std::vector<int> chain = ReadRolls(xml::AttributeText(element, "rolls"));
    std::int64_t sum = 0;
    for (const int roll : chain) {
        if (roll < 1 || roll > sideCount) {
            chain.clear();
            break;
        }
        sum += roll;
    }
    if (!chain.empty() && sum == stored) {
        rawResult = stored;
        rolls = std::move(chain);
    } else if (!CanShow(sideCount, stored)) {
        Roll();
    } else {
        rawResult = stored;
        rolls.clear();
    }
    return true;
}

} // namespace rp
