#include "dice_group.h"

#include "int_text.h"
#include "random_source.h"
#include "xml_dom.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <utility>

namespace rp {

static_assert(CDie::kMaxChainRolls == CDiceGroup::kMaxExtraRolls + 1);

namespace {

// Working room for one value per die: on the stack for the few dice of a
// usual group, so that a roll allocates nothing, on the heap for more.
template <typename T> class CScratch {
public:
    explicit CScratch(std::size_t size) {
        if (size > kOnStack) {
            heap = std::make_unique<T[]>(size);
            first = heap.get();
        }
    }
    CScratch(const CScratch&) = delete;
    CScratch& operator=(const CScratch&) = delete;
    T* data() { return first; }

private:
    static constexpr std::size_t kOnStack = 32;
    T stack[kOnStack];
    std::unique_ptr<T[]> heap;
    T* first = stack;
};

// A sort key that puts higher values first and, of equal values, lower places.
std::uint64_t HighFirstKey(int value, std::size_t place) {
    return static_cast<std::uint64_t>(std::int64_t{INT_MAX} - value) << 32 | place;
}

std::size_t PlaceOf(std::uint64_t key) {
    return static_cast<std::size_t>(key & 0xFFFFFFFFu);
}

} // namespace

int CDiceBudget::Grant(int wanted) {
    const int granted = std::clamp(wanted, 0, left);
    left -= granted;
    if (granted < wanted)
        leftOut = true;
    return granted;
}

void CDiceGroup::TakeDice(CDiceGroup& other) {
    if (&other == this)
        return;
    dice.insert(dice.begin(), std::make_move_iterator(other.dice.begin()),
                std::make_move_iterator(other.dice.end()));
    other.dice.clear();
}

namespace {

// Whether an element is a die the group reads: a "die" with a side count.
// A count of 0 counts only when written as a number: dice notation such as
// "3d" makes such dice, and a saved tray keeps them.
bool IsDieElement(pugi::xml_node element) {
    if (std::string_view(element.name()) != "die")
        return false;
    const std::string_view text = xml::AttributeText(element, "sideCount");
    return ReadInt(text) != 0 || text.find_first_of("0123456789") != std::string_view::npos;
}

} // namespace

bool CDiceGroup::LoadDie(pugi::xml_node element, CDie** dieOut) {
    if (!IsDieElement(element))
        return false;
    std::unique_ptr<CDie> die = CreateDie(ReadInt(xml::AttributeText(element, "sideCount")));
    if (!die || !die->Load(element))
        return false;
    if (dieOut)
        *dieOut = die.get();
    dice.push_back(std::move(die));
    return true;
}

bool CDiceGroup::LoadDieWithin(pugi::xml_node element, CDiceBudget* budget) {
    // Only an element LoadDie would take asks the budget for a die.
    if (!IsDieElement(element) || (budget && budget->Grant(1) == 0))
        return false;
    return LoadDie(element);
}

std::unique_ptr<CDiceGroup> CDiceGroup::CopyForOdds() const {
    auto copy = std::make_unique<CDiceGroup>();
    copy->dice.reserve(dice.size());
    for (const auto& die : dice)
        copy->dice.push_back(std::make_unique<CDie>(static_cast<const CDie&>(*die)));
    copy->modifier = modifier;
    copy->multiplier = multiplier;
    copy->SetRules(GetRules());
    return copy;
}

SGroupRules CDiceGroup::GetRules() const {
    return {ignoreCount, ignoreHighestCount, rerollBelow, explode, countAtLeast};
}

void CDiceGroup::SetRules(const SGroupRules& rules) {
    ignoreCount = rules.ignoreLowest;
    ignoreHighestCount = rules.ignoreHighest;
    rerollBelow = rules.rerollBelow;
    explode = rules.explode;
    countAtLeast = rules.countAtLeast;
}

std::unique_ptr<CDie> CDiceGroup::CreateDie(int sideCount) {
    return std::make_unique<CDie>(sideCount, 0);
}

void CDiceGroup::AddDieFront(std::unique_ptr<CDie> die) {
    dice.insert(dice.begin(), std::move(die));
}

void CDiceGroup::AddDieBack(std::unique_ptr<CDie> die) {
    dice.push_back(std::move(die));
}

std::unique_ptr<CDie> CDiceGroup::RemoveFirstDie() {
    if (dice.empty())
        return nullptr;
    std::unique_ptr<CDie> die = std::move(dice.front());
    dice.erase(dice.begin());
    return die;
}

CDiceGroup::DieList CDiceGroup::TakeAllDice() {
    return std::exchange(dice, {});
}

int CDiceGroup::GetEffectiveModifier() const {
    if (modifier != 0)
        return modifier;
    return dice.size() == 1 ? dice.front()->GetModifier() : 0;
}

std::string CDiceGroup::GetEffectiveMultiplierText() const {
    std::string text = GetMultiplierText();
    if (text != "1")
        return text;
    return dice.size() == 1 ? dice.front()->GetMultiplierText() : text;
}

void CDiceGroup::SetEffectiveModifier(int value) {
    if (modifier == 0 && dice.size() == 1)
        dice.front()->SetModifier(value);
    else
        modifier = value;
}

void CDiceGroup::SetEffectiveMultiplier(std::string_view text) {
    if (multiplier.IsOne() && dice.size() == 1)
        dice.front()->SetMultiplier(text);
    else
        multiplier.Parse(text);
}

int CDiceGroup::Roll() {
    if (!HasRules()) {
        for (const auto& die : dice)
            die->Roll();
        return GetTotal();
    }
    const SRollRules rules{rerollBelow, explode, kMaxExtraRolls};
    const std::function<int()> draw = random_source::Draw;
    for (const auto& die : dice)
        die->Roll(rules, draw);
    return GetTotal();
}

int CDiceGroup::GetTotal() const {
    // The ignored dice are the lowest values and then, of the rest, the
    // highest, whichever dice show them: the total needs only the values
    // between, in sorted order.
    const std::size_t size = dice.size();
    const std::size_t low = ignoreCount > 0 ? std::min<std::size_t>(ignoreCount, size) : 0;
    const std::size_t high =
        ignoreHighestCount > 0 ? std::min<std::size_t>(ignoreHighestCount, size - low) : 0;
    if (low <= 1 && high <= 1 && countAtLeast <= 0) {
        // The usual rules (no die, the lowest or the highest left out, or
        // both): one pass for the sum and the extremes.
        std::int64_t sum = 0;
        int lowest = INT_MAX, highest = INT_MIN;
        for (const auto& die : dice) {
            const int value = die->GetValue();
            sum += value;
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
        }
        return GetTotalOfKept(sum - (low ? lowest : 0) - (high ? highest : 0));
    }
    CScratch<int> scratch(size);
    int* const values = scratch.data();
    for (std::size_t i = 0; i < size; ++i)
        values[i] = dice[i]->GetValue();
    if (low + high > 0 && size <= 16) {
        // A handful of values: an insertion sort is quickest.
        for (std::size_t i = 1; i < size; ++i) {
            const int value = values[i];
            std::size_t j = i;
            for (; j > 0 && values[j - 1] > value; --j)
                values[j] = values[j - 1];
            values[j] = value;
        }
    } else {
        if (low > 0)
            std::nth_element(values, values + low, values + size);
        if (high > 0)
            std::nth_element(values + low, values + (size - high), values + size);
    }
    std::int64_t kept = 0;
    for (std::size_t i = low; i < size - high; ++i)
        kept += countAtLeast > 0 ? values[i] >= countAtLeast : values[i];
    return GetTotalOfKept(kept);
}

int CDiceGroup::GetTotalOfKept(std::int64_t keptSum) const {
    // The multiplier saturates at the 64-bit limits; adding the modifier
    // there must saturate too, not overflow.
    std::int64_t total = 0;
    if (__builtin_add_overflow(multiplier.Apply64(keptSum), std::int64_t{modifier}, &total))
        total = modifier < 0 ? std::numeric_limits<std::int64_t>::min()
                             : std::numeric_limits<std::int64_t>::max();
    return ClampToInt(total);
}

void CDiceGroup::GetIgnoredDice(std::vector<const CDie*>& listOut) const {
    listOut.clear();
    if (dice.empty())
        return;
    if (ignoreCount > 0)
        AppendIgnoredLowest(listOut);
    if (ignoreHighestCount <= 0)
        return;
    // Of the dice still kept, the highest go; of equal values the one
    // nearest the front of the group goes first.
    const std::size_t lowCount = listOut.size();
    CScratch<const CDie*> low(lowCount);
    std::copy(listOut.begin(), listOut.end(), low.data());
    std::sort(low.data(), low.data() + lowCount, std::less<>());
    CScratch<std::uint64_t> kept(dice.size());
    std::size_t keptCount = 0;
    for (std::size_t i = 0; i < dice.size(); ++i)
        if (!std::binary_search(low.data(), low.data() + lowCount, dice[i].get(), std::less<>()))
            kept.data()[keptCount++] = HighFirstKey(dice[i]->GetValue(), i);
    const std::size_t n = std::min(static_cast<std::size_t>(ignoreHighestCount), keptCount);
    std::partial_sort(kept.data(), kept.data() + n, kept.data() + keptCount);
    for (std::size_t i = 0; i < n; ++i)
        listOut.push_back(dice[PlaceOf(kept.data()[i])].get());
}

void CDiceGroup::AppendIgnoredLowest(std::vector<const CDie*>& listOut) const {
    // The ignored dice are those a list L of the lowest dice ends with: a
    // die is admitted while L holds fewer than ignoreCount dice or when it is
    // below L's highest (of equal highest, the first come), which then goes.
    // L ends with the n lowest values, t the highest of them: every die below
    // t, and of the dice showing t a run in arrival order: those admitted
    // until L was full of dice no higher than t, less the first ones pushed
    // out again by lower dice.
    const std::size_t size = dice.size();
    const std::size_t n = std::min(static_cast<std::size_t>(ignoreCount), size);
    CScratch<int> values(size);
    CScratch<int> order(size);
    for (std::size_t i = 0; i < size; ++i)
        values.data()[i] = order.data()[i] = dice[i]->GetValue();
    std::nth_element(order.data(), order.data() + (n - 1), order.data() + size);
    const int t = order.data()[n - 1];

    std::size_t held = 0, above = 0, admittedAtT = 0, pushedOutAtT = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const int v = values.data()[i];
        if (held < n) {
            ++held;
            above += v > t;
            admittedAtT += v == t;
        } else if (v <= t && above > 0) { // in, and one above t goes
            --above;
            admittedAtT += v == t;
        } else if (v < t) { // in, and the first die at t goes
            ++pushedOutAtT;
        }
    }
    // In L's order: the dice at t as they came, then the lower ones by
    // descending value, equal values as they came.
    CScratch<std::uint64_t> below(size);
    std::size_t belowCount = 0, atT = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const int v = values.data()[i];
        if (v == t) {
            if (atT >= pushedOutAtT && atT < admittedAtT)
                listOut.push_back(dice[i].get());
            ++atT;
        } else if (v < t) {
            below.data()[belowCount++] = HighFirstKey(v, i);
        }
    }
    std::sort(below.data(), below.data() + belowCount);
    for (std::size_t i = 0; i < belowCount; ++i)
        listOut.push_back(dice[PlaceOf(below.data()[i])].get());
}

namespace {

void AppendInt(std::string& s, int value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    s.append(digits, end);
}

} // namespace

std::string CDiceGroup::GetDescription() const {
    std::string s;
    char buffer[64];
    std::int64_t sum = modifier;

    // Dice counted under their side count, sorted once: each side count's
    // number of dice and first place, in n log n however many there are.
    std::vector<std::pair<int, std::size_t>> counted; // side count, place
    for (std::size_t i = 0; i < dice.size(); ++i) {
        const CDie& die = *dice[i];
        if (die.GetMultiplier().IsOne() || dice.size() == 1) {
            counted.emplace_back(die.GetSideCount(), i);
        } else {
            if (!s.empty())
                s += '+';
            s += die.GetMultiplierText();
            s += "x1d";
            AppendInt(s, die.GetSideCount());
        }
        sum += die.GetModifier();
    }
    std::sort(counted.begin(), counted.end());
    struct Term {
        int sideCount;
        std::size_t first;
        int count;
    };
    std::vector<Term> terms;
    for (const auto& [sides, place] : counted) {
        if (terms.empty() || terms.back().sideCount != sides)
            terms.push_back(Term{sides, place, 0});
        ++terms.back().count;
    }
    // In the order of a 17-bucket table: bucket (sideCount >> 4) mod 17,
    // each bucket's chain newest first.
    const auto bucket = [](int sides) { return (static_cast<unsigned>(sides) >> 4) % 17; };
    std::sort(terms.begin(), terms.end(), [&](const Term& a, const Term& b) {
        const unsigned x = bucket(a.sideCount), y = bucket(b.sideCount);
        return x != y ? x < y : a.first > b.first;
    });
    for (const Term& term : terms) {
        if (!s.empty())
            s += '+';
        AppendInt(s, term.count);
        s += 'd';
        AppendInt(s, term.sideCount);
    }
    if (sum != 0) {
        if (sum > 0)
            s += '+';
        std::snprintf(buffer, sizeof buffer, "%i", ClampToInt(sum));
        s += buffer;
    }
    const std::string m = GetEffectiveMultiplierText();
    if (!m.empty() && m != "1")
        s = m + "x" + s;
    if (ignoreCount != 0) {
        std::snprintf(buffer, sizeof buffer, ", ignore lowest %i", ignoreCount);
        s += buffer;
    }
    if (ignoreHighestCount != 0) {
        std::snprintf(buffer, sizeof buffer, ", ignore highest %i", ignoreHighestCount);
        s += buffer;
    }
    if (rerollBelow != 0) {
        std::snprintf(buffer, sizeof buffer, ", reroll below %i", rerollBelow);
        s += buffer;
    }
    if (explode)
        s += ", explode";
    if (countAtLeast != 0) {
        std::snprintf(buffer, sizeof buffer, ", count %i+", countAtLeast);
        s += buffer;
    }
    return s;
}

namespace {

bool IsOtherLetter(char c) {
    return ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && c != 'd' && c != 'D';
}

// Spaces and brackets count for nothing in dice notation.
constexpr std::string_view kSkipped = " ()";

bool IsSkipped(char c) {
    return c == ' ' || c == '(' || c == ')';
}

bool StartsToken(char c) {
    return c == 'd' || c == '+' || c == '-';
}

// The tokens of a notation text, read as the walk needs them: every "d",
// "+" or "-" begins a token, and spaces and brackets count for nothing. A
// token is handed out as its stretch of the text, skipped characters
// included; a text with any other letter has no tokens.
class CNotationTokens {
public:
    explicit CNotationTokens(std::string_view text) : text(text) {
        if (std::none_of(text.begin(), text.end(), IsOtherLetter)) {
            const auto first = std::find_if_not(text.begin(), text.end(), IsSkipped);
            if (first != text.end())
                next = static_cast<std::size_t>(first - text.begin());
        }
    }
    bool AtEnd() const { return next == std::string_view::npos; }
    // The next token, left in place; `last` tells whether another follows it.
    std::string_view Peek(bool& last) const {
        const std::size_t end = EndOf(next);
        last = end == std::string_view::npos;
        return text.substr(next, end - next);
    }
    std::string_view Take() {
        const std::size_t start = next;
        next = EndOf(start);
        return text.substr(start, next - start);
    }

private:
    std::size_t EndOf(std::size_t start) const {
        const auto end = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(start) + 1,
                                      text.end(), StartsToken);
        return end == text.end() ? std::string_view::npos
                                 : static_cast<std::size_t>(end - text.begin());
    }

    std::string_view text;
    std::size_t next = std::string_view::npos;
};

int ReadTokenInt(std::string_view token) {
    // Most tokens are a sign and a few digits, read here at once; anything
    // else (spaces, brackets, long numbers) goes the general way.
    const std::size_t first = !token.empty() && (token[0] == '+' || token[0] == '-');
    if (token.size() > first && token.size() - first <= 9 &&
        std::all_of(token.begin() + first, token.end(),
                    [](char c) { return c >= '0' && c <= '9'; })) {
        int value = 0;
        for (std::size_t i = first; i < token.size(); ++i)
            value = value * 10 + (token[i] - '0');
        return token[0] == '-' ? -value : value;
    }
    return ReadInt(token, kSkipped);
}

} // namespace

int CDiceGroup::AddParsedDice(int count, int sideCount, CDiceBudget* budget) {
    // A term too large to be meant is left out whole; otherwise the group
    // takes what its cap and the read's budget still allow.
    int made = count > kMaxTermDice ? 0 : std::min(count, kMaxParsedDice - GetCount());
    made = std::max(made, 0);
    if (budget)
        made = budget->Grant(made);
    if (made < count && budget)
        budget->MarkLeftOut();
    // Room for a few more terms at once: short notation allocates once.
    const std::size_t needed = dice.size() + static_cast<std::size_t>(made);
    if (dice.capacity() < needed)
        dice.reserve(std::max({needed, 2 * dice.size(), std::size_t{8}}));
    for (int k = 0; k < made; ++k)
        dice.push_back(CreateDie(sideCount));
    return made;
}

bool CDiceGroup::ParseNotation(std::string_view text, CDiceBudget* budget) {
    CNotationTokens tokens(text);
    bool result = false;
    while (!tokens.AtEnd()) {
        const std::string_view current = tokens.Take();
        int count = 1;
        std::string_view sides = current;
        if (current.front() != 'd') {
            if (tokens.AtEnd())
                break;
            count = ReadTokenInt(current);
            sides = tokens.Take();
        }
        if (count == 0)
            break;
        if (sides.front() == 'd')
            sides.remove_prefix(1);
        // A negative count adds nothing and the walk goes on; dice left out
        // end it.
        if (count > 0) {
            const int made = AddParsedDice(count, ReadTokenInt(sides), budget);
            if (made < count) {
                result = result || made > 0;
                break;
            }
        }
        result = true;
        if (tokens.AtEnd())
            break;
        bool last = false;
        const std::string_view m = tokens.Peek(last);
        if (last && (m.front() == '+' || m.front() == '-')) {
            const int value = ReadTokenInt(m);
            if (dice.size() == 1)
                dice.front()->SetModifier(value);
            else
                modifier = value;
            break;
        }
    }
    return result;
}

bool CDiceGroup::Load(pugi::xml_node element, CDiceBudget* budget) {
    if (std::string_view(element.name()) != "dicegroup")
        return LoadDieWithin(element, budget);
    ignoreCount = ReadInt(xml::AttributeText(element, "ignoreCount"));
    modifier = ReadInt(xml::AttributeText(element, "modifier"));
    multiplier.Parse(xml::AttributeText(element, "multiplier"));
    title = xml::AttributeText(element, "title");
    ignoreHighestCount = ReadInt(xml::AttributeText(element, "ignoreHighest"));
    rerollBelow = ReadInt(xml::AttributeText(element, "rerollBelow"));
    explode = ReadInt(xml::AttributeText(element, "explode")) != 0;
    countAtLeast = ReadInt(xml::AttributeText(element, "countAtLeast"));
    // Text before the first child is the element's own: it comes first.
    bool result = ParseNotation(xml::LeadingText(element), budget);
    for (pugi::xml_node child : element.children()) {
        if (LoadDieWithin(child, budget) || ParseNotation(xml::NodeText(child), budget))
            result = true;
    }
    return result;
}

pugi::xml_node CDiceGroup::SaveElement(pugi::xml_node parent, bool writeRawResult) const {
    pugi::xml_node element = parent.append_child("dicegroup");
    if (!element)
        return element;
    element.append_attribute("ignoreCount") = ignoreCount;
    element.append_attribute("modifier") = modifier;
    element.append_attribute("multiplier") = GetMultiplierText().c_str();
    element.append_attribute("title") = title.c_str();
    // The rules only when set: a tray without them reads and writes as before.
    if (ignoreHighestCount != 0)
        element.append_attribute("ignoreHighest") = ignoreHighestCount;
    if (rerollBelow != 0)
        element.append_attribute("rerollBelow") = rerollBelow;
    if (explode)
        element.append_attribute("explode") = 1;
    if (countAtLeast != 0)
        element.append_attribute("countAtLeast") = countAtLeast;
    for (const auto& die : dice)
        die->Save(element.append_child("die"), writeRawResult);
    return element;
}

} // namespace rp
