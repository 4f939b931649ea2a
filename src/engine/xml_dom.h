#pragma once

#include "file_bytes.h"

#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace rp::xml {

// One XML document: parsed from text or a file, or built, then serialised.
class CXmlDocument {
public:
    // Parses file text (decoded from UTF-8 or Windows-1252). Returns whether
    // the text was well-formed XML with exactly one root element; otherwise
    // the document is left empty. To save memory the text an element holds
    // before its first child is kept in the element itself (LeadingText).
    bool ParseText(std::string_view bytes);
    // Reads and parses a file; a missing, unreadable or oversized file leaves
    // the document empty and says why.
    ReadStatus ParseFile(const std::string& path);

    // The document element; absent (empty node) when there is none.
    pugi::xml_node Root() const { return document.document_element(); }
    // Replaces the contents with a new, empty root element.
    pugi::xml_node CreateRoot(const char* name);
    // The XML text without declaration and without white space between tags.
    // Control characters XML does not allow (all but tab, line feed and
    // carriage return) are left out of every value, bytes that are not UTF-8
    // become U+FFFD, and text content gets the line feeds a reader makes of
    // carriage returns.
    std::string Serialize();

private:
    std::string buffer; // the parsed text, which the document points into
    pugi::xml_document document;
};

// Text of an attribute; empty for a missing attribute or node.
std::string_view AttributeText(pugi::xml_node node, const char* name);

// The text an element holds before its first child (a parsed document
// keeps it in the element, not in a text node); empty for other nodes.
std::string_view LeadingText(pugi::xml_node node);

// Whether a node is text: a text node or a CDATA section.
bool IsText(pugi::xml_node node);

// The text of an element whose whole content is one piece of text, as in
// <dicegroup>2d6</dicegroup>; none for any other node.
std::optional<std::string_view> OnlyText(pugi::xml_node element);

// The concatenated text of a node and all its descendants, in document order.
std::string NodeText(pugi::xml_node node);

// Text of the single node a relative path selects, such as "position/@x" or
// "color": element names separated by "/", an optional final "@attribute".
// Empty when nothing matches.
std::string SelectText(pugi::xml_node node, std::string_view path);

} // namespace rp::xml
