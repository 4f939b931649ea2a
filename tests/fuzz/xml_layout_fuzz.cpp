// Any document the tray writer could serialise (elements, attributes and
// text; CDATA is turned into text as the readers take it) is serialised,
// laid out and parsed again.
//
// Checked: the parse gives the same document: the same elements, attributes
// and text, in the same order. The layout's own line breaks and tabs fall
// between tags and are not text; adjacent text nodes count as one, empty
// ones as none, and so do ones of only white space, which the reader drops
// wherever they stand.
#include "fuzz_support.h"
#include "tray_xml.h"
#include "xml_dom.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// One node of a document in document order, with its depth.
struct Item {
    int depth;
    pugi::xml_node_type type;
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text;
    bool operator==(const Item&) const = default;
};

std::vector<Item> Flatten(pugi::xml_node root) {
    struct Walker : pugi::xml_tree_walker {
        std::vector<Item> items;
        bool for_each(pugi::xml_node& node) override {
            if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
                AddText(depth(), node.value());
                return true;
            }
            Item item{depth(), node.type(), node.name(), {}, {}};
            for (const pugi::xml_attribute attribute : node.attributes())
                item.attributes.emplace_back(attribute.name(), attribute.value());
            items.push_back(std::move(item));
            // The parser keeps an element's leading text as its value.
            if (node.type() == pugi::node_element)
                AddText(depth() + 1, node.value());
            return true;
        }
        void AddText(int at, const char* value) {
            // Empty text ("&#0;" reads as that) writes nothing.
            if (!*value)
                return;
            // A text node right after one at the same depth is its next sibling.
            if (!items.empty() && items.back().type == pugi::node_pcdata &&
                items.back().depth == at)
                items.back().text += value;
            else
                items.push_back({at, pugi::node_pcdata, {}, {}, value});
        }
    } walker;
    root.root().traverse(walker);
    // Text of only white space ("&#32;") is read as none.
    std::erase_if(walker.items, [](const Item& item) {
        return item.type == pugi::node_pcdata &&
               item.text.find_first_not_of(" \t\r\n") == std::string::npos;
    });
    return std::move(walker.items);
}

std::string Describe(const Item& item) {
    std::string text = std::to_string(item.depth) + " <" + item.name;
    for (const auto& [name, value] : item.attributes)
        text += " " + name + "=\"" + value + "\"";
    return text + ">" + item.text;
}

// CDATA sections become text nodes: the tray writer never makes them.
void CdataToText(pugi::xml_node root) {
    std::vector<pugi::xml_node> sections;
    struct Walker : pugi::xml_tree_walker {
        std::vector<pugi::xml_node>* sections;
        bool for_each(pugi::xml_node& node) override {
            if (node.type() == pugi::node_cdata)
                sections->push_back(node);
            return true;
        }
    } walker;
    walker.sections = &sections;
    root.traverse(walker);
    for (pugi::xml_node section : sections) {
        section.parent().insert_child_before(pugi::node_pcdata, section).set_value(section.value());
        section.parent().remove_child(section);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rp;
    xml::CXmlDocument document;
    if (!document.ParseText(fuzz::AsText(data, size)))
        return 0;
    CdataToText(document.Root());
    // Serialising cleans the text of what XML cannot hold; the laid-out text
    // must read as the document so cleaned.
    const std::string serialised = document.Serialize();
    const std::vector<Item> before = Flatten(document.Root());

    const std::string laidOut = LayOutXmlText(serialised);
    xml::CXmlDocument again;
    if (!again.ParseText(laidOut))
        fuzz::Fail("the laid-out text does not parse", serialised, laidOut);
    const std::vector<Item> after = Flatten(again.Root());
    for (std::size_t i = 0; i < std::max(before.size(), after.size()); ++i) {
        if (i < before.size() && i < after.size() && before[i] == after[i])
            continue;
        fuzz::Fail("the laid-out text reads as another document",
                   i < before.size() ? Describe(before[i]) : "(nothing)",
                   i < after.size() ? Describe(after[i]) : "(nothing)");
    }
    return 0;
}
