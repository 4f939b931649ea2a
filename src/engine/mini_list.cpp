#include "mini_list.h"

#include "xml_dom.h"

#include <algorithm>

namespace rp {

namespace {

std::unique_ptr<CDiceGroup> ReadGroup(pugi::xml_node node) {
    auto group = std::make_unique<CDiceGroup>();
    if (!group->Load(node))
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

MiniGroups ReadMiniGroups(pugi::xml_node root) {
    MiniGroups groups;
    if (std::string_view(root.name()) != "dicegroups") {
        groups.push_back(ReadGroup(root));
        return groups;
    }
    for (pugi::xml_node child : root.children())
        groups.push_back(ReadGroup(child));
    return groups;
}

MiniGroups ReadMiniGroupsFromText(std::string_view bytes) {
    xml::CXmlDocument document;
    document.ParseText(bytes);
    return ReadMiniGroups(document.Root());
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
    const bool less = std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return static_cast<unsigned char>(LowerAscii(x)) <
                                    static_cast<unsigned char>(LowerAscii(y)); });
    if (less)
        return true;
    const bool greater = std::lexicographical_compare(
        b.begin(), b.end(), a.begin(), a.end(),
        [](char x, char y) { return static_cast<unsigned char>(LowerAscii(x)) <
                                    static_cast<unsigned char>(LowerAscii(y)); });
    return !greater && a < b;
}

} // namespace rp
