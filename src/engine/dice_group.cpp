#include "dice_group.h"

#include "int_text.h"
#include "xml_dom.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>

namespace rp {

void CDiceGroup::TakeDice(CDiceGroup& other) {
    if (&other == this)
        return;
    dice.insert(dice.begin(), std::make_move_iterator(other.dice.begin()),
                std::make_move_iterator(other.dice.end()));
    other.dice.clear();
}

bool CDiceGroup::LoadDie(pugi::xml_node element, CDie** dieOut) {
    if (std::string_view(element.name()) != "die")
        return false;
    const int sideCount = ReadInt(xml::AttributeText(element, "sideCount"));
    if (sideCount == 0)
        return false;
    std::unique_ptr<CDie> die = CreateDie(sideCount);
    if (!die || !die->Load(element))
        return false;
    if (dieOut)
        *dieOut = die.get();
    dice.push_back(std::move(die));
    return true;
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

int CDiceGroup::Roll() {
    for (const auto& die : dice)
        die->Roll();
    return GetTotal();
}

int CDiceGroup::GetTotal() const {
    std::int64_t total = 0;
    for (const auto& die : dice)
        total += die->GetValue();
    if (ignoreCount > 0) {
        std::vector<const CDie*> ignored;
        GetIgnoredDice(ignored);
        for (const CDie* die : ignored)
            total -= die->GetValue();
    }
    return GetTotalOfKept(total);
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
    if (ignoreCount <= 0)
        return;
    const std::size_t n = static_cast<std::size_t>(ignoreCount);
    // L in descending order of value; equal values keep their arrival order.
    struct Entry {
        int value;
        const CDie* die;
    };
    std::vector<Entry> lowest;
    for (const auto& die : dice) {
        const int v = die->GetValue();
        if (lowest.size() >= n && !lowest.empty() && v >= lowest.front().value)
            continue;
        const auto at = std::upper_bound(lowest.begin(), lowest.end(), v,
                                         [](int value, const Entry& e) { return e.value < value; });
        lowest.insert(at, Entry{v, die.get()});
        if (lowest.size() > n)
            lowest.erase(lowest.begin());
    }
    listOut.reserve(lowest.size());
    for (const Entry& e : lowest)
        listOut.push_back(e.die);
}

std::string CDiceGroup::GetDescription() const {
    std::string s;
    char buffer[64];
    std::int64_t sum = modifier;

    // Counted side counts in a 17-bucket table: a side count goes to bucket
    // (sideCount >> 4) mod 17 and is put at the head of its chain when first met.
    struct Count {
        int sideCount;
        int count;
    };
    std::array<std::vector<Count>, 17> buckets;
    for (const auto& die : dice) {
        const std::string t = die->GetMultiplierText();
        const int sides = die->GetSideCount();
        if (t == "1" || dice.size() == 1) {
            auto& chain = buckets[(static_cast<unsigned>(sides) >> 4) % 17];
            auto it = std::find_if(chain.begin(), chain.end(),
                                   [sides](const Count& c) { return c.sideCount == sides; });
            if (it == chain.end())
                chain.push_back(Count{sides, 1}); // kept tail-first: the head is the back
            else
                ++it->count;
        } else {
            if (!s.empty())
                s += '+';
            std::snprintf(buffer, sizeof buffer, "x1d%i", sides);
            s += t;
            s += buffer;
        }
        sum += die->GetModifier();
    }
    for (const auto& chain : buckets) {
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if (!s.empty())
                s += '+';
            std::snprintf(buffer, sizeof buffer, "%id%i", it->count, it->sideCount);
            s += buffer;
        }
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
    return s;
}

namespace {

bool IsOtherLetter(char c) {
    return ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && c != 'd' && c != 'D';
}

// Steps 1-4 of reading dice notation: strip, reject letters, split into
// tokens that each (but the first) begin with "d", "+" or "-".
std::vector<std::string_view> NotationTokens(std::string_view text, std::string& storage) {
    storage.clear();
    storage.reserve(text.size() * 2);
    for (const char c : text) {
        if (c == ' ' || c == '(' || c == ')')
            continue;
        if (IsOtherLetter(c)) {
            storage.clear();
            break;
        }
        if (c == 'd' || c == '+' || c == '-')
            storage += ' ';
        storage += c;
    }
    std::vector<std::string_view> tokens;
    std::string_view rest(storage);
    while (!rest.empty()) {
        const auto space = rest.find(' ');
        if (space != 0)
            tokens.push_back(rest.substr(0, space));
        if (space == std::string_view::npos)
            break;
        rest.remove_prefix(space + 1);
    }
    return tokens;
}

} // namespace

bool CDiceGroup::ParseNotation(std::string_view text) {
    std::string storage;
    const std::vector<std::string_view> tokens = NotationTokens(text, storage);
    bool result = false;
    int added = 0;
    std::size_t i = 0;
    while (i < tokens.size()) {
        const std::string_view current = tokens[i];
        int count = 1;
        std::size_t sidesIndex = i;
        if (current.find('d') == std::string_view::npos) {
            if (i + 1 == tokens.size())
                break;
            count = ReadInt(current);
            sidesIndex = i + 1;
        }
        // A count of 0 ends the walk; so does a count too large to be meant,
        // which would otherwise exhaust memory.
        if (count == 0 || count > kMaxTermDice || added + std::max(count, 0) > kMaxParsedDice)
            break;
        std::string_view sidesToken = tokens[sidesIndex];
        sidesToken.remove_prefix(std::min(sidesToken.find_first_not_of('d'), sidesToken.size()));
        const int sideCount = ReadInt(sidesToken);
        for (int k = 0; k < count; ++k)
            dice.push_back(CreateDie(sideCount));
        added += std::max(count, 0);

        const std::size_t m = sidesIndex + 1;
        result = true;
        if (m >= tokens.size())
            break;
        if (m + 1 == tokens.size() && (tokens[m][0] == '+' || tokens[m][0] == '-')) {
            const int value = ReadInt(tokens[m]);
            if (dice.size() == 1)
                dice.front()->SetModifier(value);
            else
                modifier = value;
            break;
        }
        i = m;
    }
    return result;
}

bool CDiceGroup::Load(pugi::xml_node element) {
    if (std::string_view(element.name()) != "dicegroup")
        return LoadDie(element);
    ignoreCount = ReadInt(xml::AttributeText(element, "ignoreCount"));
    modifier = ReadInt(xml::AttributeText(element, "modifier"));
    multiplier.Parse(xml::AttributeText(element, "multiplier"));
    title = xml::AttributeText(element, "title");
    bool result = false;
    for (pugi::xml_node child : element.children()) {
        if (LoadDie(child) || ParseNotation(xml::NodeText(child)))
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
    for (const auto& die : dice)
        die->Save(element.append_child("die"), writeRawResult);
    return element;
}

} // namespace rp
