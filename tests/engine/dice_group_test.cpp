#include "dice_group.h"
#include "random_source.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>

namespace rp {
namespace {

// A group holding plain dice with the given side counts and faces.
void AddDice(CDiceGroup& group, int sideCount, std::initializer_list<int> faces) {
    for (const int face : faces)
        group.AddDieBack(std::make_unique<CDie>(sideCount, face));
}

// The group's dice at these places in its list.
std::vector<const CDie*> DiceAt(const CDiceGroup& group, const std::vector<int>& places) {
    std::vector<const CDie*> dice;
    for (const int i : places)
        dice.push_back(group.Dice()[static_cast<std::size_t>(i)].get());
    return dice;
}

std::vector<int> Faces(const std::vector<const CDie*>& dice) {
    std::vector<int> faces;
    for (const CDie* die : dice)
        faces.push_back(die->GetRawResult());
    return faces;
}

TEST(DiceGroup, TotalLeavesOutIgnoredDiceThenAppliesMultiplierAndModifier) {
    CDiceGroup group;
    AddDice(group, 6, {1, 2, 3, 4});
    group.SetIgnoreCount(1);
    EXPECT_EQ(group.GetTotal(), 9);
    group.SetMultiplier("1/2");
    EXPECT_EQ(group.GetTotal(), 5);
    group.SetModifier(-2);
    EXPECT_EQ(group.GetTotal(), 3);

    group.SetIgnoreCount(9); // more than the dice: only the modifier is left
    EXPECT_EQ(group.GetTotal(), -2);
    group.SetIgnoreCount(-1);
    EXPECT_EQ(group.GetTotal(), 3); // 10 halved, minus 2

    CDiceGroup empty;
    empty.SetModifier(5);
    EXPECT_EQ(empty.Roll(), 5);

    // A product past the 64-bit range saturates, and so does the modifier on top.
    CDiceGroup huge;
    for (int i = 0; i < 3; ++i) {
        huge.AddDieBack(std::make_unique<CDie>(1, 1));
        huge.Dice().back()->SetModifier(INT_MAX);
    }
    huge.SetMultiplier("2147483647");
    huge.SetModifier(1);
    EXPECT_EQ(huge.GetTotal(), INT_MAX);
}

TEST(DiceGroup, IgnoredDiceAreTheLowestWithTiesByOrder) {
    const struct {
        std::initializer_list<int> faces;
        int ignore;
        std::vector<int> expectedIndexes;
    } cases[] = {
        {{3, 3, 3}, 1, {0}}, {{5, 5, 3}, 2, {1, 2}}, {{4, 1, 6, 1}, 2, {1, 3}},
        {{2, 5}, 0, {}},     {{2, 5}, 5, {1, 0}},
    };
    for (const auto& c : cases) {
        CDiceGroup group;
        AddDice(group, 6, c.faces);
        group.SetIgnoreCount(c.ignore);
        std::vector<const CDie*> ignored;
        group.GetIgnoredDice(ignored);
        EXPECT_EQ(ignored, DiceAt(group, c.expectedIndexes)) << "ignore " << c.ignore;
    }
}

// The list insertion that chooses ignored dice, step by step as it is
// described, to hold the faster choice to.
std::vector<const CDie*> IgnoredByListInsertion(const CDiceGroup& group) {
    std::vector<const CDie*> list;
    const auto n = static_cast<std::size_t>(std::max(group.GetIgnoreCount(), 0));
    if (n == 0)
        return list;
    for (const auto& die : group.Dice()) {
        const int v = die->GetValue();
        if (list.size() >= n && v >= list.front()->GetValue())
            continue;
        auto at = std::find_if(list.begin(), list.end(),
                               [v](const CDie* d) { return d->GetValue() < v; });
        list.insert(at, die.get());
        if (list.size() > n)
            list.erase(list.begin());
    }
    return list;
}

TEST(DiceGroup, IgnoredDiceMatchTheListInsertionOnRandomGroups) {
    random_source::Seed(3);
    for (int round = 0; round < 3000; ++round) {
        CDiceGroup group;
        // Past the dice a roll chooses among without allocating, too.
        const int count = random_source::Draw() % 41;
        for (int i = 0; i < count; ++i)
            AddDice(group, 4, {random_source::Draw() % 4 + 1});
        group.SetIgnoreCount(random_source::Draw() % 17 - 1);
        group.SetIgnoreHighestCount(random_source::Draw() % 4);
        std::vector<const CDie*> ignored;
        group.GetIgnoredDice(ignored);
        const std::vector<const CDie*> lowest = IgnoredByListInsertion(group);
        ASSERT_GE(ignored.size(), lowest.size());
        ASSERT_EQ(std::vector(ignored.begin(), ignored.begin() + std::ssize(lowest)), lowest)
            << "round " << round;
        // The total leaves out just the dice named.
        int kept = 0;
        for (const auto& die : group.Dice())
            kept += die->GetValue();
        for (const CDie* die : ignored)
            kept -= die->GetValue();
        ASSERT_EQ(group.GetTotal(), kept) << "round " << round;
    }
}

TEST(DiceGroup, LargeGroupsChooseAndDescribe) {
    // How fast: BM_IgnoredDiceOfTwoHundredThousandD1000 and the describing benchmark.
    CDiceGroup many;
    for (int i = 0; i < 200000; ++i)
        many.AddDieBack(std::make_unique<CDie>(i + 1, i + 1));
    many.SetIgnoreCount(100000);
    std::vector<const CDie*> ignored;
    many.GetIgnoredDice(ignored);
    const std::string description = many.GetDescription();
    ASSERT_EQ(ignored.size(), 100000u);
    EXPECT_EQ(ignored.front()->GetSideCount(), 100000); // highest first
    EXPECT_EQ(std::count(description.begin(), description.end(), '+'), 199999);
    EXPECT_NE(description.find("+1d2+1d1+"), std::string::npos); // newest first
}

TEST(DiceGroup, RollDrawsOncePerDieInListOrder) {
    CDiceGroup group;
    AddDice(group, 6, {6, 6, 6, 6});
    group.SetIgnoreCount(1);
    random_source::Seed(1); // 41, 18467, 6334, 26500 -> 1, 4, 2, 5
    EXPECT_EQ(group.Roll(), 11);
    std::vector<int> faces;
    for (const auto& die : group.Dice())
        faces.push_back(die->GetRawResult());
    EXPECT_EQ(faces, (std::vector<int>{1, 4, 2, 5}));
    std::vector<const CDie*> ignored;
    group.GetIgnoredDice(ignored);
    EXPECT_EQ(Faces(ignored), std::vector<int>{1});
}

TEST(DiceGroup, RulesChooseIgnoredDiceAndTotals) {
    const struct {
        int lowest, highest, countAtLeast;
        std::initializer_list<int> faces;
        std::vector<int> ignoredIndexes;
        int total;
    } cases[] = {
        {0, 1, 0, {3, 6, 2, 6}, {1}, 11}, // of equal highest the front one goes
        {1, 1, 0, {3, 6, 2, 6}, {2, 1}, 9}, {0, 2, 0, {5, 5, 5}, {0, 1}, 5},
        {1, 1, 0, {4, 4, 4}, {0, 1}, 4},    {0, 5, 0, {2, 3}, {1, 0}, 0},
        {0, 0, 5, {5, 6, 4, 1}, {}, 2},     {1, 1, 4, {5, 6, 4, 1}, {3, 1}, 2},
        {0, 0, 7, {5, 6}, {}, 0},
    };
    for (const auto& c : cases) {
        CDiceGroup group;
        AddDice(group, 6, c.faces);
        group.SetRules({c.lowest, c.highest, 0, false, c.countAtLeast});
        std::vector<const CDie*> ignored;
        group.GetIgnoredDice(ignored);
        EXPECT_EQ(ignored, DiceAt(group, c.ignoredIndexes))
            << c.lowest << " " << c.highest << " " << c.countAtLeast;
        EXPECT_EQ(group.GetTotal(), c.total) << c.lowest << " " << c.highest;
    }
    // Successes count die values, and the group's multiplier and modifier apply to the count.
    CDiceGroup pool;
    AddDice(pool, 6, {3, 5, 6});
    pool.Dice()[0]->SetModifier(2);
    pool.SetCountAtLeast(5);
    pool.SetMultiplier("2");
    pool.SetModifier(1);
    EXPECT_EQ(pool.GetTotal(), 7);
}

TEST(DiceGroup, RollGoesThroughTheRules) {
    // Seed 1 draws 41, 18467, 6334, 26500: d6 faces 1, 4, 2, 5; d2 faces 1, 2, 1, 2.
    const struct {
        const char* notation;
        int highest, rerollBelow;
        bool explode;
        std::vector<int> faces;
        int nextDraw;
    } cases[] = {
        {"2d6", 0, 3, false, {4, 5}, 19169},
        {"2d6", 1, 0, false, {1, 4}, 6334},
        {"2d2", 0, 0, true, {1, 3}, 26500},
        {"1d2", 0, 2, true, {3}, 26500},
    };
    for (const auto& c : cases) {
        CDiceGroup group;
        group.ParseNotation(c.notation);
        group.SetRules({0, c.highest, c.rerollBelow, c.explode});
        random_source::Seed(1);
        group.Roll();
        std::vector<int> faces;
        for (const auto& die : group.Dice())
            faces.push_back(die->GetRawResult());
        EXPECT_EQ(faces, c.faces) << c.notation;
        EXPECT_EQ(random_source::Draw(), c.nextDraw) << c.notation;
    }
}

TEST(DiceGroup, EffectiveModifierAndMultiplierFollowTheOnlyDie) {
    CDiceGroup group;
    AddDice(group, 6, {1});
    group.GetFirstDie()->SetModifier(4);
    group.GetFirstDie()->SetMultiplier("3");
    EXPECT_EQ(group.GetEffectiveModifier(), 4);
    EXPECT_EQ(group.GetEffectiveMultiplierText(), "3");
    group.SetModifier(1);
    group.SetMultiplier("1/2");
    EXPECT_EQ(group.GetEffectiveModifier(), 1);
    EXPECT_EQ(group.GetEffectiveMultiplierText(), "1/2");

    CDiceGroup two;
    AddDice(two, 6, {1, 2});
    two.GetFirstDie()->SetModifier(4);
    two.GetFirstDie()->SetMultiplier("3");
    EXPECT_EQ(two.GetEffectiveModifier(), 0);
    EXPECT_EQ(two.GetEffectiveMultiplierText(), "1");
}

TEST(DiceGroup, EffectiveSettersWriteWhereTheGettersRead) {
    const struct {
        int dice, groupModifier;
        const char* groupMultiplier;
        bool toGroup;
    } cases[] = {{1, 0, "1", false}, {1, 5, "2", true}, {2, 0, "1", true}};
    for (const auto& c : cases) {
        CDiceGroup group;
        AddDice(group, 20, {1, 1});
        if (c.dice == 1)
            group.RemoveFirstDie();
        group.SetModifier(c.groupModifier);
        group.SetMultiplier(c.groupMultiplier);
        group.SetEffectiveModifier(7);
        group.SetEffectiveMultiplier("1/2");
        EXPECT_EQ(group.GetEffectiveModifier(), 7) << c.groupModifier;
        EXPECT_EQ(group.GetEffectiveMultiplierText(), "1/2") << c.groupModifier;
        const CDie& die = *group.GetFirstDie();
        EXPECT_EQ(die.GetModifier() == 7 && die.GetMultiplierText() == "1/2", !c.toGroup);
    }
}

TEST(DiceGroup, DescriptionTable) {
    // Dice of these side counts, each with `dieModifier`, the first with
    // `firstMultiplier`; then the group's multiplier, modifier and ignore count.
    const struct {
        std::vector<int> sides;
        int dieModifier;
        const char *firstMultiplier, *multiplier;
        int modifier, ignore;
        const char* description;
    } cases[] = {
        {{6, 6, 6}, 0, "1", "1", 2, 0, "3d6+2"},
        {{6, 6, 8, 20, 4}, 0, "1", "1", -1, 0, "1d4+1d8+2d6+1d20-1"},
        {{6, 6, 6, 6}, 0, "1", "1", 0, 1, "4d6, ignore lowest 1"},
        {{20}, 3, "1/2", "1", 0, 0, "1/2x1d20+3"},
        {{10, 10, 10}, 0, "2", "3/2", 0, 0, "3/2x2x1d10+2d10"},
        {{6, 6}, 1, "1", "1", 0, 0, "2d6+2"},
        {{}, 0, "1", "1", 5, 0, "+5"},
        {{}, 0, "1", "1", 0, 0, ""},
        {{6}, 0, "3", "1", 0, 0, "3x1d6"},
        // Buckets by side count >> 4: 100 (bucket 6) after 20 (bucket 1) after
        // 4..12 (bucket 0, newest first); 17 and 20 share bucket 1.
        {{100, 20, 17, 12, 4, 12}, 0, "1", "1", 0, 0, "1d4+2d12+1d17+1d20+1d100"},
    };
    for (const auto& c : cases) {
        CDiceGroup group;
        for (const int s : c.sides) {
            group.AddDieBack(std::make_unique<CDie>(s, 1));
            group.Dice().back()->SetModifier(c.dieModifier);
        }
        if (CDie* first = group.GetFirstDie())
            first->SetMultiplier(c.firstMultiplier);
        group.SetMultiplier(c.multiplier);
        group.SetModifier(c.modifier);
        group.SetIgnoreCount(c.ignore);
        EXPECT_EQ(group.GetDescription(), c.description);
    }
}

TEST(DiceGroup, NotationTable) {
    const struct {
        const char* text;
        bool result;
        const char* description;
    } cases[] = {
        {"3d6+2", true, "3d6+2"},
        {"d20-1", true, "1d20-1"},
        {"2d6+1d8+3", true, "1d8+2d6+3"},
        {"(2d4)", true, "2d4"},
        {"3d6-2d4", true, "3d6"},
        {"2d6d8", true, "1d8+2d6"},
        {"4d6 ignore", false, ""},
        {"3D6", false, ""},
        {"5", false, ""},
        {"0d6", false, ""},
        {"", false, ""},
        {"3d", true, "3d0"},
        {"3+2", true, "3d2"},
        {" 1 d 2 0 + 5 ", true, "1d20+5"},
        {"-2d6", true, ""},
        {"2d6-1", true, "2d6-1"},
    };
    for (const auto& c : cases) {
        CDiceGroup group;
        EXPECT_EQ(group.ParseNotation(c.text), c.result) << c.text;
        EXPECT_EQ(group.GetDescription(), c.description) << c.text;
    }

    // "d20-1" gives the die its own modifier; "3d6+2" gives the group one.
    CDiceGroup one;
    one.ParseNotation("d20-1");
    EXPECT_EQ(one.GetModifier(), 0);
    EXPECT_EQ(one.GetFirstDie()->GetModifier(), -1);
    CDiceGroup three;
    three.ParseNotation("3d6+2");
    EXPECT_EQ(three.GetModifier(), 2);

    // Parsing appends to what the group already holds.
    CDiceGroup more;
    more.ParseNotation("1d4");
    more.ParseNotation("1d6+1");
    EXPECT_EQ(more.GetDescription(), "1d6+1d4+1");
}

TEST(DiceGroup, TakeDiceMovesToTheFrontInOrder) {
    CDiceGroup from, to;
    AddDice(from, 4, {1});
    AddDice(from, 8, {1});
    AddDice(to, 6, {1});
    to.TakeDice(from);
    ASSERT_EQ(to.GetCount(), 3);
    EXPECT_EQ(from.GetCount(), 0);
    EXPECT_EQ(to.Dice()[0]->GetSideCount(), 4);
    EXPECT_EQ(to.Dice()[1]->GetSideCount(), 8);
    EXPECT_EQ(to.Dice()[2]->GetSideCount(), 6);

    to.TakeDice(to); // no-op, nothing lost
    EXPECT_EQ(to.GetCount(), 3);
    auto first = to.RemoveFirstDie();
    EXPECT_EQ(first->GetSideCount(), 4);
    EXPECT_EQ(to.GetCount(), 2);
}

TEST(DiceGroup, LoadReadsDiceAndNotationChildren) {
    pugi::xml_document doc;
    doc.load_string(R"(<dicegroups>
        <dicegroup ignoreCount="1" modifier="-2" multiplier="1/2" title="Mixed">
          <die modifier="1" multiplier="1" sideCount="8" rawResult="3"/>2d6
          <die sideCount="none" rawResult="1"/>
          <position x="1" y="2"/>
        </dicegroup>
        <dicegroup modifier="4"><die sideCount="6" rawResult="5" multiplier="1"/></dicegroup>
        <die sideCount="12" rawResult="7" multiplier="1"/>
        <dicegroup title="empty"><text value="x"/></dicegroup>
      </dicegroups>)");
    pugi::xml_node node = doc.first_child().first_child();

    CDiceGroup mixed;
    ASSERT_TRUE(mixed.Load(node));
    EXPECT_EQ(mixed.GetTitle(), "Mixed");
    EXPECT_EQ(mixed.GetIgnoreCount(), 1);
    EXPECT_EQ(mixed.GetModifier(), -2);
    EXPECT_EQ(mixed.GetMultiplierText(), "1/2");
    ASSERT_EQ(mixed.GetCount(), 3);
    EXPECT_EQ(mixed.Dice()[0]->GetSideCount(), 8);
    EXPECT_EQ(mixed.Dice()[0]->GetRawResult(), 3);
    EXPECT_EQ(mixed.Dice()[1]->GetSideCount(), 6);

    // No multiplier attribute: 0/1, so the total is only the modifier.
    CDiceGroup noMultiplier;
    ASSERT_TRUE(noMultiplier.Load(node.next_sibling()));
    EXPECT_EQ(noMultiplier.GetTotal(), 4);

    CDiceGroup lone;
    ASSERT_TRUE(lone.Load(node.next_sibling().next_sibling()));
    EXPECT_EQ(lone.GetCount(), 1);
    EXPECT_EQ(lone.GetTotal(), 7);

    CDiceGroup empty;
    EXPECT_FALSE(empty.Load(node.next_sibling().next_sibling().next_sibling()));
}

TEST(DiceGroup, SaveElementWritesTheGroupAndItsDice) {
    pugi::xml_document doc;
    CDiceGroup group;
    group.SetTitle("A \"quoted\" <title>");
    group.SetMultiplier("1/2");
    group.SetIgnoreCount(1);
    AddDice(group, 6, {3, 5});
    pugi::xml_node element = group.SaveElement(doc, false);
    ASSERT_TRUE(element);
    EXPECT_STREQ(element.name(), "dicegroup");
    EXPECT_STREQ(element.first_attribute().name(), "ignoreCount");
    EXPECT_STREQ(element.attribute("multiplier").value(), "1/2");

    CDiceGroup back;
    ASSERT_TRUE(back.Load(element));
    EXPECT_EQ(back.GetTitle(), group.GetTitle());
    EXPECT_EQ(back.GetDescription(), "1/2x2d6, ignore lowest 1");
}

TEST(DiceGroup, DiceOfNoSidesFromNotationReopenAsSaved) {
    // "3d" makes dice of 0 sides, "4-6" dice of -6 sides: both must survive a
    // save, faces included, on every seed.
    for (const char* notation : {"3d", "4-6", "2d-100"}) {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            random_source::Seed(seed);
            CDiceGroup group;
            ASSERT_TRUE(group.ParseNotation(notation));
            pugi::xml_document doc;
            CDiceGroup back;
            ASSERT_TRUE(back.Load(group.SaveElement(doc, true))) << notation;
            ASSERT_EQ(back.GetCount(), group.GetCount()) << notation;
            for (int i = 0; i < group.GetCount(); ++i) {
                EXPECT_EQ(back.Dice()[i]->GetSideCount(), group.Dice()[i]->GetSideCount());
                EXPECT_EQ(back.Dice()[i]->GetRawResult(), group.Dice()[i]->GetRawResult())
                    << notation << " seed " << seed;
            }
        }
    }
}

} // namespace
} // namespace rp
