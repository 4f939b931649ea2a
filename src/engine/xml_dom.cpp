#include "xml_dom.h"

#include "text_codec.h"

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
    const std::string text = DecodeFileText(bytes);
    const pugi::xml_parse_result result = document.load_buffer(
        text.data(), text.size(), pugi::parse_default | pugi::parse_fragment, pugi::encoding_utf8);
    if (!result || !HasSingleRoot(document)) {
        document.reset();
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
    return document.append_child(name);
}

std::string CXmlDocument::Serialize() const {
    std::ostringstream out;
    document.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.str();
}

std::string_view AttributeText(pugi::xml_node node, const char* name) {
    return node.attribute(name).value();
}

std::string NodeText(pugi::xml_node node) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
        return node.value();
    // Walk the subtree without recursion: deeply nested input must not
    // exhaust the stack.
    std::string text;
    pugi::xml_node current = node.first_child();
    while (current && current != node) {
        if (current.type() == pugi::node_pcdata || current.type() == pugi::node_cdata)
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
