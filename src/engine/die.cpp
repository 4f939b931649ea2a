#include "die.h"

#include "int_text.h"
#include "random_source.h"
#include "xml_dom.h"

#include <charconv>
#include <sanitizer/asan_interface.h>

namespace rp {

namespace {

constexpr std::size_t kKeptDice = 64;

// The dropped dice a thread keeps. Trivial, so that it is there for dice
// dropped while the thread ends, after its closer has run.
struct SKeptDice {
    void* blocks[kKeptDice];
    std::size_t count;
    bool closing; // the closer is set, or has run
    bool closed;
};
thread_local SKeptDice t_kept;

// Gives the kept dice back to the heap when their thread ends.
struct SKeptDiceCloser {
    ~SKeptDiceCloser() {
        t_kept.closed = true;
        while (t_kept.count > 0) {
            void* block = t_kept.blocks[--t_kept.count];
            ASAN_UNPOISON_MEMORY_REGION(block, sizeof(CDie));
            ::operator delete(block);
        }
    }
};
thread_local SKeptDiceCloser t_closer;

} // namespace

void* CDie::operator new(std::size_t size) {
    if (size != sizeof(CDie) || t_kept.count == 0)
        return ::operator new(size);
    void* block = t_kept.blocks[--t_kept.count];
    ASAN_UNPOISON_MEMORY_REGION(block, size);
    return block;
}

void CDie::operator delete(void* block, std::size_t size) noexcept {
    if (size != sizeof(CDie) || t_kept.closed || t_kept.count == kKeptDice) {
        ::operator delete(block);
        return;
    }
    if (!t_kept.closing) {
        t_kept.closing = true;
        static_cast<void>(&t_closer); // made now, so that it runs when the thread ends
    }
    // A kept die reads as freed memory to the address checker.
    ASAN_POISON_MEMORY_REGION(block, size);
    t_kept.blocks[t_kept.count++] = block;
}

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
