#pragma once

#include "die.h"

#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace rp {

// What the programs say when a read left dice out.
inline constexpr const char* kDiceLeftOutText =
    "Some dice were left out: a dice group takes at most 10,000 dice from dice notation, "
    "and a tray at most 100,000 dice.";

// How many more dice one read of a tray (a file, a paste, lines of notation)
// may make, and whether it had to leave any out.
class CDiceBudget {
public:
    static constexpr int kMaxReadDice = 100000;

    explicit CDiceBudget(int dice = kMaxReadDice) : left(dice) {}
    // Grants up to `wanted` dice; when fewer are left, the rest count as left out.
    int Grant(int wanted);
    // Dice were asked for that are not made.
    void MarkLeftOut() { leftOut = true; }
    bool LeftOut() const { return leftOut; }
    bool IsSpent() const { return left == 0; }

private:
    int left;
    bool leftOut = false;
};

// The game-system rules of a group together, all off by default (see
// CDiceGroup's setters).
struct SGroupRules {
    int ignoreLowest = 0;
    int ignoreHighest = 0;
    int rerollBelow = 0;
    bool explode = false;
    int countAtLeast = 0;
};

// Dice rolled together and totalled: the kept dice summed, the group
// multiplier applied, the group modifier added.
class CDiceGroup {
public:
    using DieList = std::vector<std::unique_ptr<CDie>>;

    CDiceGroup() = default;
    CDiceGroup(const CDiceGroup&) = delete;
    CDiceGroup& operator=(const CDiceGroup&) = delete;
    virtual ~CDiceGroup() = default;

    virtual int GetCount() const { return static_cast<int>(dice.size()); }
    // Moves all dice of `other`, in order, to the front of this group.
    virtual void TakeDice(CDiceGroup& other);
    // Appends one die read from a "die" element; false if it is not one or
    // its side count is 0. `dieOut`, when given, receives the new die.
    virtual bool LoadDie(pugi::xml_node element, CDie** dieOut = nullptr);
    // The factory for this group's dice: a freshly rolled plain die.
    virtual std::unique_ptr<CDie> CreateDie(int sideCount);

    const std::string& GetTitle() const { return title; }
    void SetTitle(std::string_view text) { title = text; }
    int GetModifier() const { return modifier; }
    void SetModifier(int value) { modifier = value; }
    const CFraction& GetMultiplier() const { return multiplier; }
    void SetMultiplier(std::string_view text) { multiplier.Parse(text); }
    std::string GetMultiplierText() const { return multiplier.Format(); }
    int GetIgnoreCount() const { return ignoreCount; }
    void SetIgnoreCount(int count) { ignoreCount = count; }
    // The rules of game systems, each 0 (off) by default: how many of the
    // highest dice are left out after the lowest, a face below which a die
    // rolls once more, whether a die showing its side count rolls again and
    // adds, and the value from which a kept die counts as a success (the
    // total then counts them instead of summing).
    int GetIgnoreHighestCount() const { return ignoreHighestCount; }
    void SetIgnoreHighestCount(int count) { ignoreHighestCount = count; }
    int GetRerollBelow() const { return rerollBelow; }
    void SetRerollBelow(int face) { rerollBelow = face; }
    bool GetExplode() const { return explode; }
    void SetExplode(bool on) { explode = on; }
    int GetCountAtLeast() const { return countAtLeast; }
    void SetCountAtLeast(int value) { countAtLeast = value; }
    SGroupRules GetRules() const;
    void SetRules(const SGroupRules& rules);
    // An exploding die rolls again at most this many times in one chain.
    static constexpr int kMaxExtraRolls = 100;
    // Whether any of those rules is set.
    bool HasRules() const {
        return ignoreHighestCount != 0 || rerollBelow != 0 || explode || countAtLeast != 0;
    }

    const DieList& Dice() const { return dice; }
    void AddDieFront(std::unique_ptr<CDie> die);
    void AddDieBack(std::unique_ptr<CDie> die);
    CDie* GetFirstDie() const { return dice.empty() ? nullptr : dice.front().get(); }
    std::unique_ptr<CDie> RemoveFirstDie();
    // Hands out all dice, in order, leaving the group empty.
    DieList TakeAllDice();

    // The group's modifier, or the only die's when the group's is 0.
    int GetEffectiveModifier() const;
    // The group's multiplier text, or the only die's when the group's is "1".
    std::string GetEffectiveMultiplierText() const;
    // Write where the effective getters read: a one-die group is edited as
    // its die unless the group carries a value of its own.
    void SetEffectiveModifier(int value);
    void SetEffectiveMultiplier(std::string_view text);

    // Rolls every die, front to back, under the group's rules, and returns
    // the total.
    int Roll();
    // The total of the current faces: with countAtLeast set, the number of
    // kept dice of at least that value stands for their sum.
    int GetTotal() const;
    // The total for a sum of kept dice values: the group multiplier applied,
    // the group modifier added, brought back into 32 bits.
    int GetTotalOfKept(std::int64_t keptSum) const;
    // The dice the ignore counts leave out, from the current faces: the
    // lowest, then of the others the highest.
    void GetIgnoredDice(std::vector<const CDie*>& listOut) const;

    // A plain copy of what the group's odds depend on (its dice with their
    // multipliers and modifiers, its multiplier, modifier and ignore count),
    // for working them out on another thread while the group itself may go.
    std::unique_ptr<CDiceGroup> CopyForOdds() const;

    // The group in dice notation, e.g. "4d6, ignore lowest 1".
    std::string GetDescription() const;
    // Adds the dice a dice-notation text describes; false if nothing was
    // understood. Never takes the group past kMaxParsedDice dice, nor makes
    // more than `budget` grants; what goes beyond is left out.
    bool ParseNotation(std::string_view text, CDiceBudget* budget = nullptr);
    // Reads a "dicegroup" element, or a lone "die" element as a one-die
    // group, making no more dice than `budget` grants.
    bool Load(pugi::xml_node element, CDiceBudget* budget = nullptr);
    // Appends this group's "dicegroup" element to `parent` and returns it.
    pugi::xml_node SaveElement(pugi::xml_node parent, bool writeRawResult) const;

    // Notation never takes a group past kMaxParsedDice, however many texts
    // it reads; one term may ask for as many, a larger term is left out whole.
    static constexpr int kMaxParsedDice = 10000;
    static constexpr int kMaxTermDice = kMaxParsedDice;

private:
    // Appends up to `count` dice of a side count as notation may; returns how many.
    int AddParsedDice(int count, int sideCount, CDiceBudget* budget);
    // LoadDie, when the budget grants the die.
    bool LoadDieWithin(pugi::xml_node element, CDiceBudget* budget);
    // The dice the ignore count leaves out at the low end, appended.
    void AppendIgnoredLowest(std::vector<const CDie*>& listOut) const;

    DieList dice;
    int modifier = 0;
    CFraction multiplier;
    std::string title;
    int ignoreCount = 0;
    int ignoreHighestCount = 0;
    int rerollBelow = 0;
    bool explode = false;
    int countAtLeast = 0;
};

} // namespace rp
