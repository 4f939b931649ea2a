#include "xml_dom.h"

#include "text_codec.h"

#include <algorithm>
#include <sstream>

namespace rp::xml {

namespace {

// Parsed as a fragment so that stray top-level text is kept and can be
// refused here: a tray text has exactly one root element and nothing else.
bool HasSingleRoot(const pugi::xml_document& document) {
    int elements = 0;
    for (pugi::xml_node child : document.children()) {
        if (child.type() == pugi::node_element)
            ++elements;
        else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            return false;
    }
    return elements == 1;
}

} // namespace

bool CXmlDocument::ParseText(std::string_view bytes) {
    document.reset();
    std::string().swap(buffer);
    // A document begins with a tag, after a byte-order mark and white space
    // at most: anything else is not worth decoding and parsing.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || bytes[first] != '<')
        return false;
    // Parsed in place, with element text embedded: a document of many small
    // elements then costs one node per element and no copy of the text.
    buffer = DecodeFileText(bytes);
    const pugi::xml_parse_result result = document.load_buffer_inplace(
        buffer.data(), buffer.size(),
        pugi::parse_default | pugi::parse_fragment | pugi::parse_embed_pcdata, pugi::encoding_utf8);
    if (!result || !HasSingleRoot(document)) {
        document.reset();
        std::string().swap(buffer);
        return false;
    }
    return true;
}

ReadStatus CXmlDocument::ParseFile(const std::string& path) {
    document.reset();
    std::string bytes;
    const ReadStatus status = ReadFileBytes(path, bytes);
    if (status == ReadStatus::Ok)
        ParseText(bytes);
    return status;
}

pugi::xml_node CXmlDocument::CreateRoot(const char* name) {
    document.reset();
    std::string().swap(buffer);
    return document.append_child(name);
}

namespace {

bool IsForbidden(char c) {
    return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

// Takes the control characters XML 1.0 forbids out of every value, and
// replaces bytes that are not UTF-8 (a character reference past U+10FFFF or
// to a surrogate decodes to such bytes): a written tray is always UTF-8, so
// it never reads back as Windows-1252. Text content also gets the line ends
// a reader would make of it, as a carriage return there is written as it is.
class CTextCleaner : public pugi::xml_tree_walker {
public:
    bool for_each(pugi::xml_node& node) override {
        for (pugi::xml_attribute attribute : node.attributes())
            if (NeedsCleaning(attribute.value()))
                attribute.set_value(Clean(attribute.value()).c_str());
        if (const std::string_view value = node.value();
            NeedsCleaning(value) || value.find('\r') != std::string_view::npos) {
            node.text().set(WithLineFeeds(Clean(value)).c_str());
        }
        return true;
    }

private:
    static bool NeedsCleaning(std::string_view text) {
        return std::any_of(text.begin(), text.end(), IsForbidden) || !IsValidUtf8(text);
    }
    // CR LF and a lone CR become LF.
    static std::string WithLineFeeds(const std::string& text) {
        std::string out;
        out.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\r')
                out += text[i];
            else if (i + 1 == text.size() || text[i + 1] != '\n')
                out += '\n';
        }
        return out;
    }
    static std::string Clean(std::string_view text) {
        std::string clean = ToValidUtf8(text);
        std::erase_if(clean, IsForbidden);
        return clean;
    }
};

} // namespace

std::string CXmlDocument::Serialize() {
    CTextCleaner cleaner;
    document.traverse(cleaner);
    std::ostringstream out;
    document.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.str();
}

std::string_view AttributeText(pugi::xml_node node, const char* name) {
    return node.attribute(name).value();
}

std::string_view LeadingText(pugi::xml_node node) {
    return node.type() == pugi::node_element ? node.value() : "";
}

bool IsText(pugi::xml_node node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

std::optional<std::string_view> OnlyText(pugi::xml_node element) {
    const pugi::xml_node only = element.first_child();
    const std::string_view leading = LeadingText(element);
    if (!only && !leading.empty())
        return leading;
    if (only && !only.next_sibling() && IsText(only) && leading.empty())
        return std::string_view(only.value());
    return std::nullopt;
}

std::string NodeText(pugi::xml_node node) {
    if (IsText(node))
        return node.value();
    // Walk the subtree without recursion: deeply nested input must not
    // exhaust the stack. An element's own text comes before its children.
    std::string text(LeadingText(node));
    pugi::xml_node current = node.first_child();
    while (current && current != node) {
        if (IsText(current) || current.type() == pugi::node_element)
            text += current.value();
        if (current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current != node && !current.next_sibling())
            current = current.parent();
        if (current != node)
            current = current.next_sibling();
    }
    return text;
}

std::string SelectText(pugi::xml_node node, std::string_view path) {
    while (node && !path.empty()) {
        const auto slash = path.find('/');
        const std::string step(path.substr(0, slash));
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
        if (!step.empty() && step[0] == '@')
            return path.empty() ? node.attribute(step.c_str() + 1).value() : std::string{};
        node = node.child(step.c_str());
    }
    return node ? NodeText(node) : std::string{};
}

} // namespace rp::xml
