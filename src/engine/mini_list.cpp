#include "mini_list.h"

#include "xml_dom.h"

#include <algorithm>

namespace rp {

namespace {

std::unique_ptr<CDiceGroup> ReadGroup(pugi::xml_node node, CDiceBudget& budget) {
    auto group = std::make_unique<CDiceGroup>();
    if (!group->Load(node, &budget))
        return nullptr;
    return group;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

MiniGroups ReadMiniGroups(pugi::xml_node root, bool* diceLeftOut) {
    MiniGroups groups;
    CDiceBudget budget;
    if (std::string_view(root.name()) != "dicegroups") {
        groups.push_back(ReadGroup(root, budget));
    } else {
        for (pugi::xml_node child : root.children())
            groups.push_back(ReadGroup(child, budget));
    }
    if (diceLeftOut)
        *diceLeftOut = budget.LeftOut();
    return groups;
}

MiniGroups ReadMiniGroupsFromText(std::string_view bytes, bool* diceLeftOut) {
    xml::CXmlDocument document;
    document.ParseText(bytes);
    return ReadMiniGroups(document.Root(), diceLeftOut);
}

std::string GetGroupLabel(const CDiceGroup& group) {
    const std::string& title = group.GetTitle();
    const std::string description = group.GetDescription();
    if (title.empty())
        return description;
    const auto d = title.find('d');
    if (d != std::string::npos && d > 0 && d + 1 < title.size() && IsDigit(title[d - 1]) &&
        title[d + 1] >= '1' && title[d + 1] <= '9')
        return title;
    return title + " (" + description + ")";
}

bool MiniLabelLess(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(LowerAscii(a[i]));
        const auto y = static_cast<unsigned char>(LowerAscii(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

} // namespace rp
