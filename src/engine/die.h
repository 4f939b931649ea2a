#pragma once

#include "fraction.h"

#include <cstddef>
#include <functional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace rp {

// How a group's rules roll its dice: a face below `rerollBelow` (when above
// 1) is rolled once more and kept; with `explode`, a face showing the side
// count rolls again and adds, up to `maxExtraRolls` extra rolls in a chain.
struct SRollRules {
    int rerollBelow = 0;
    bool explode = false;
    int maxExtraRolls = 0;
};

// One die: its side count, its last face and how the face becomes its value.
class CDie {
public:
    // The most rolls one exploding chain keeps: the first and 100 more.
    static constexpr std::size_t kMaxChainRolls = 101;
    // A rawResult outside 1..sideCount rolls the die at once; pass 0 for a
    // freshly rolled die.
    CDie(int sideCount, int rawResult);
    CDie(const CDie&) = default;
    CDie& operator=(const CDie&) = default;
    virtual ~CDie() = default;

    // Plain dice are made and dropped many at a time (each roll of typed
    // notation, each copy the odds take): a thread keeps some dropped ones
    // for its next. Dice of a larger kind come from the heap as usual.
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    // Writes the die's attributes into an element named "die"; false (and
    // nothing written) for any other element.
    virtual bool Save(pugi::xml_node element, bool writeRawResult) const;
    // Reads a "die" element; a stored face the die cannot show is rolled
    // again, unless "rolls" holds faces of the die that add up to it: an
    // exploded die reopens as it was, whatever its group's rules are now.
    virtual bool Load(pugi::xml_node element);
    // Whether a die of this many sides can show the face: 1..sideCount, or,
    // below one side (only dice notation makes such dice), the faces its
    // rolls give, so that a saved one reopens as it was.
    static bool CanShow(int sideCount, int face);

    // Draws a new face and returns the value.
    int Roll();
    // Draws a new face under a group's rules (each draw in 0..32767) and
    // returns the value.
    int Roll(const SRollRules& rules, const std::function<int()>& draw);
    // The multiplier applied to the face, plus the modifier.
    int GetValue() const {
        // Most dice have neither: their value is the face.
        return modifier == 0 && multiplier.IsOne() ? rawResult : GetValueFor(rawResult);
    }
    // The value this die would have showing `face`.
    int GetValueFor(int face) const;

    int GetRawResult() const { return rawResult; }
    // The separate rolls that added up to the face when the die rolled more
    // than once in one chain (it exploded); empty otherwise.
    const std::vector<int>& GetRolls() const { return rolls; }
    int GetSideCount() const { return sideCount; }
    int GetModifier() const { return modifier; }
    void SetModifier(int value) { modifier = value; }
    const CFraction& GetMultiplier() const { return multiplier; }
    std::string GetMultiplierText() const { return multiplier.Format(); }
    void SetMultiplier(std::string_view text) { multiplier.Parse(text); }

    // Face for a draw r in 0..32767: sideCount scaled by r / 32768, plus 1.
    static int FaceFor(int sideCount, int r);

private:
    int modifier = 0;
    CFraction multiplier;
    int sideCount;
    int rawResult;
    std::vector<int> rolls;
};

} // namespace rp
