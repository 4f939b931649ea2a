// Any document the tray writer could serialise (elements, attributes and
// text; CDATA is turned into text as the readers take it) is serialised,
// laid out and parsed again.
//
// Checked: the parse gives the same document: the same elements, attributes
// and text, in the same order. The layout's own line breaks and tabs fall
// between tags and are not text; adjacent text nodes count as one, empty
// ones as none.
//
// Known faults passed over with ROLLPOUCH_FUZZ_SKIP_KNOWN=1. Documents not tried:
// - a line feed or carriage return in text content (the layout breaks lines
//   there and indents what follows; a carriage return is written as it is
//   and read back as a line feed);
// - text content of nothing but spaces and tabs ("&#32;"): written as it
//   is, it reads back as no text;
// - serialised text that is not UTF-8 (a character reference such as
//   "&#x110000;" is kept as the parser makes it): the whole text then reads
//   as Windows-1252.
#include "fuzz_support.h"
#include "text_codec.h"
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
            const bool isText = node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
            // Empty text ("&#0;" reads as that) writes nothing.
            if (isText && !*node.value())
                return true;
            // A text node right after one at the same depth is its next sibling.
            if (isText && !items.empty() && items.back().type == pugi::node_pcdata &&
                items.back().depth == depth()) {
                items.back().text += node.value();
                return true;
            }
            Item item{depth(), isText ? pugi::node_pcdata : node.type(), node.name(), {}, {}};
            for (const pugi::xml_attribute attribute : node.attributes())
                item.attributes.emplace_back(attribute.name(), attribute.value());
            if (isText)
                item.text = node.value();
            items.push_back(std::move(item));
            return true;
        }
    } walker;
    root.root().traverse(walker);
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

bool HasKnownUnfaithfulText(const std::vector<Item>& items) {
    return std::any_of(items.begin(), items.end(), [](const Item& item) {
        return item.type == pugi::node_pcdata && rp::fuzz::IsKnownUnfaithfulText(item.text);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rp;
    xml::CXmlDocument document;
    if (!document.ParseText(fuzz::AsText(data, size)))
        return 0;
    CdataToText(document.Root());
    const std::vector<Item> before = Flatten(document.Root());
    const std::string serialised = document.Serialize();
    if (fuzz::SkipKnownFaults() && (HasKnownUnfaithfulText(before) || !IsValidUtf8(serialised)))
        return 0;

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
