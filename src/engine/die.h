#pragma once

#include "fraction.h"

#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace rp {

// One die: its side count, its last face and how the face becomes its value.
class CDie {
public:
    // A rawResult outside 1..sideCount rolls the die at once; pass 0 for a
    // freshly rolled die.
    CDie(int sideCount, int rawResult);
    CDie(const CDie&) = default;
    CDie& operator=(const CDie&) = default;
    virtual ~CDie() = default;

    // Writes the die's attributes into an element named "die"; false (and
    // nothing written) for any other element.
    virtual bool Save(pugi::xml_node element, bool writeRawResult) const;
    // Reads a "die" element; a stored face the die cannot show is rolled again.
    virtual bool Load(pugi::xml_node element);
    // Whether a die of this many sides can show the face: 1..sideCount, or,
    // below one side (only dice notation makes such dice), the faces its
    // rolls give, so that a saved one reopens as it was.
    static bool CanShow(int sideCount, int face);

    // Draws a new face and returns the value.
    int Roll();
    // The multiplier applied to the face, plus the modifier.
    int GetValue() const { return GetValueFor(rawResult); }
    // The value this die would have showing `face`.
    int GetValueFor(int face) const;

    int GetRawResult() const { return rawResult; }
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
};

} // namespace rp
