#pragma once

#include "file_bytes.h"

#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace rp::xml {

// One XML document: parsed from text or a file, or built, then serialised.
class CXmlDocument {
public:
    // Parses file text (decoded from UTF-8 or Windows-1252). Returns whether
    // the text was well-formed XML with exactly one root element; otherwise
    // the document is left empty.
    bool ParseText(std::string_view bytes);
    // Reads and parses a file; a missing, unreadable or oversized file leaves
    // the document empty and says why.
    ReadStatus ParseFile(const std::string& path);

    // The document element; absent (empty node) when there is none.
    pugi::xml_node Root() const { return document.document_element(); }
    // Replaces the contents with a new, empty root element.
    pugi::xml_node CreateRoot(const char* name);
    // The XML text without declaration and without white space between tags.
    std::string Serialize() const;

private:
    pugi::xml_document document;
};

// Text of an attribute; empty for a missing attribute or node.
std::string_view AttributeText(pugi::xml_node node, const char* name);

// The concatenated text of a node and all its descendants, in document order.
std::string NodeText(pugi::xml_node node);

// Text of the single node a relative path selects, such as "position/@x" or
// "color": element names separated by "/", an optional final "@attribute".
// Empty when nothing matches.
std::string SelectText(pugi::xml_node node, std::string_view path);

} // namespace rp::xml
