// Input a player could paste or a damaged file could hold must never crash,
// hang or exhaust memory.
#include "dice_group.h"
#include "mini_list.h"
#include "random_source.h"
#include "tray_xml.h"
#include "xml_dom.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <random>
#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's allocator interface (its header ships with clang only).
extern "C" {
std::size_t __sanitizer_get_current_allocated_bytes();
std::size_t __sanitizer_get_allocated_size(const volatile void* p);
int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, std::size_t),
                                              void (*)(const volatile void*));
}
#endif

namespace rp {
namespace {

TEST(HostileInput, EmptyText) {
    CDiceGroup group;
    EXPECT_FALSE(group.ParseNotation(""));
    EXPECT_EQ(LayOutXmlText(""), "");
    const MiniGroups groups = ReadMiniGroupsFromText("");
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_FALSE(groups[0]);
}

TEST(HostileInput, TenMegabytesOfRandomBytes) {
    std::mt19937 generator(7);
    std::string bytes(10u << 20, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator());
    const MiniGroups groups = ReadMiniGroupsFromText(bytes);
    EXPECT_LE(groups.size(), 1u);
    CDiceGroup group;
    group.ParseNotation(bytes);
    EXPECT_LE(group.GetCount(), CDiceGroup::kMaxParsedDice);
    EXPECT_EQ(LayOutXmlText(bytes).size() >= bytes.size(), true);
}

TEST(HostileInput, DeeplyNestedXml) {
    constexpr int kDepth = 100000;
    std::string text;
    text += "<dicegroup multiplier=\"1\">";
    for (int i = 1; i < kDepth; ++i)
        text += "<dicegroup>";
    text += "2d6";
    for (int i = 0; i < kDepth; ++i)
        text += "</dicegroup>";
    const MiniGroups groups = ReadMiniGroupsFromText(text);
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_TRUE(groups[0]);
    // The innermost text is reached through every level.
    EXPECT_EQ(groups[0]->GetDescription(), "2d6");

    std::string open;
    for (int i = 0; i < kDepth; ++i)
        open += "<a>";
    EXPECT_EQ(LayOutXmlText(open).size(), open.size() + kDepth - 1);
}

TEST(HostileInput, ExtremeSideCounts) {
    random_source::Seed(99);
    const MiniGroups groups = ReadMiniGroupsFromText(
        R"(<dicegroups><die sideCount="-5" multiplier="1"/><die sideCount="2147483647" multiplier="1"/>)"
        R"(<die sideCount="99999999999" multiplier="1" rawResult="2147483647"/></dicegroups>)");
    ASSERT_EQ(groups.size(), 3u);
    ASSERT_TRUE(groups[0] && groups[1] && groups[2]);
    // Faces scale the draw: a negative side count gives -3..1, the largest
    // one spreads over 1..INT_MAX.
    int lowest = INT_MAX, highest = INT_MIN, largest = 0;
    for (int i = 0; i < 1000; ++i) {
        const int face = groups[0]->Roll();
        lowest = std::min(lowest, face);
        highest = std::max(highest, face);
        groups[1]->Roll();
        const int big = groups[1]->GetFirstDie()->GetRawResult();
        ASSERT_GE(big, 1);
        largest = std::max(largest, big);
    }
    EXPECT_EQ(lowest, -3);
    EXPECT_EQ(highest, 1);
    EXPECT_GT(largest, INT_MAX / 4 * 3);
    EXPECT_EQ(groups[2]->GetFirstDie()->GetSideCount(), INT_MAX);
    EXPECT_EQ(groups[2]->GetFirstDie()->GetRawResult(), INT_MAX);
    EXPECT_EQ(groups[1]->GetDescription(), "1d2147483647");
}

TEST(HostileInput, HugeNumbersInGroups) {
    const MiniGroups groups = ReadMiniGroupsFromText(
        R"(<dicegroup modifier="2147483647" multiplier="-2147483648/-1" ignoreCount="-2147483648">)"
        R"(<die sideCount="6" rawResult="6" modifier="2147483647" multiplier="2147483647"/>)"
        R"(<die sideCount="6" rawResult="6" modifier="2147483647" multiplier="2147483647"/></dicegroup>)");
    ASSERT_TRUE(groups[0]);
    EXPECT_EQ(groups[0]->GetTotal(), INT_MAX);
    EXPECT_EQ(groups[0]->GetFirstDie()->GetValue(), INT_MAX);
    EXPECT_FALSE(groups[0]->GetDescription().empty());

    CDiceGroup negative;
    negative.ParseNotation("2d6");
    negative.SetModifier(INT_MIN);
    negative.SetMultiplier("-2147483648");
    EXPECT_EQ(negative.GetTotal(), INT_MIN);
}

TEST(HostileInput, EnormousDiceCounts) {
    CDiceGroup group;
    EXPECT_FALSE(group.ParseNotation("1000000000d6"));
    EXPECT_EQ(group.GetCount(), 0);
    EXPECT_FALSE(group.ParseNotation("99999999999999999999d6"));
    EXPECT_FALSE(group.ParseNotation("10001d6"));
    EXPECT_TRUE(group.ParseNotation("1001d6"));
    EXPECT_EQ(group.GetDescription(), "1001d6");

    // A term past the limit ends the walk but keeps what came before.
    CDiceGroup partial;
    EXPECT_TRUE(partial.ParseNotation("2d6+10001d4+1d8"));
    EXPECT_EQ(partial.GetDescription(), "2d6");
}

TEST(HostileInput, MillionCharacterNotation) {
    std::string text;
    while (text.size() < 1000000)
        text += "1000d6+";
    CDiceGroup group;
    EXPECT_TRUE(group.ParseNotation(text));
    EXPECT_EQ(group.GetCount(), CDiceGroup::kMaxParsedDice);
    EXPECT_EQ(group.GetDescription(), "10000d6");

    std::string digits(1000000, '9');
    CDiceGroup other;
    EXPECT_FALSE(other.ParseNotation(digits + "d" + digits));
    EXPECT_EQ(other.GetCount(), 0);
}

TEST(HostileInput, DiceCapsHoldForWholeGroupsAndWholeReads) {
    // 10,000 dice from notation per group, however many texts it holds;
    // 100,000 per read, however they come. Within the limits nothing is
    // said to be left out.
    const auto repeat = [](const std::string& text, int times) {
        std::string all;
        for (int i = 0; i < times; ++i)
            all += text;
        return all;
    };
    const std::string two = "<dicegroup><t>1000d6</t><t>1000d6</t></dicegroup>";
    const struct {
        std::string text;
        int dice;
        bool leftOut;
    } cases[] = {
        {"<dicegroup>" + repeat("<t>1000d6</t>", 30) + "</dicegroup>", 10000, true},
        {"<dicegroups>" + repeat(two, 60) + "</dicegroups>", 100000, true},
        {"<dicegroups>" + repeat(two, 50) + "</dicegroups>", 100000, false},
        {"<dicegroups>" + repeat("<die sideCount=\"6\"/>", 100001) + "</dicegroups>", 100000, true},
    };
    for (const auto& c : cases) {
        bool leftOut = false;
        int dice = 0;
        for (const auto& group : ReadMiniGroupsFromText(c.text, &leftOut))
            dice += group ? group->GetCount() : 0;
        EXPECT_EQ(dice, c.dice) << c.text.substr(0, 30);
        EXPECT_EQ(leftOut, c.leftOut) << c.text.substr(0, 30);
    }
}

#if defined(__SANITIZE_ADDRESS__)
// The most the heap held while `run` ran, beyond what it held before.
template <class Run> std::size_t PeakHeapGrowth(Run run) {
    static std::size_t base, current, peak;
    base = current = peak = __sanitizer_get_current_allocated_bytes();
    __sanitizer_install_malloc_and_free_hooks(
        [](const volatile void*, std::size_t size) {
            current += size;
            peak = std::max(peak, current);
        },
        [](const volatile void* p) { current -= __sanitizer_get_allocated_size(p); });
    run();
    __sanitizer_install_malloc_and_free_hooks(nullptr, nullptr);
    return peak - base;
}

TEST(HostileInput, NotationIsReadWithoutCopyingIt) {
    // 16 MiB of "d": 10,000 dice are made and the text is never copied or
    // cut into tokens ahead of the walk.
    const std::string text(16u << 20, 'd');
    CDiceGroup group;
    const std::size_t grown = PeakHeapGrowth([&] { group.ParseNotation(text); });
    EXPECT_EQ(group.GetCount(), CDiceGroup::kMaxParsedDice);
    EXPECT_LT(grown, std::size_t{8} << 20);
}
#endif

} // namespace
} // namespace rp
