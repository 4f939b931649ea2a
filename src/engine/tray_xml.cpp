#include "tray_xml.h"

namespace rp {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// The first "/" at or after `from` that belongs to a closing or self-closing
// mark ("</" or "/>"). Everything inside a quoted attribute value is passed
// over, so a value such as "A/>B" or "1/2" cannot be taken for one.
std::size_t FindClosingSlash(std::string_view s, std::size_t from) {
    bool inTag = false;
    char quote = 0;
    for (std::size_t i = from; i < s.size(); ++i) {
        const char c = s[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '<') {
            inTag = true;
        } else if (c == '>') {
            inTag = false;
        } else if (inTag && (c == '"' || c == '\'')) {
            quote = c;
        } else if (c == '/') {
            if ((i > 0 && s[i - 1] == '<') || (i + 1 < s.size() && s[i + 1] == '>'))
                return i;
        }
    }
    return kNone;
}

} // namespace

std::string LayOutXmlText(std::string_view text) {
    // Lines end where "><" meets, and only there: a line feed inside text
    // content is content, not a break.
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    int depth = 0;
    std::size_t start = 0;
    std::size_t slash = kNone; // last closing "/" found, reused while still ahead
    bool searched = false;
    for (;;) {
        const std::size_t gt = text.find("><", start);
        const std::size_t end = gt == kNone ? kNone : gt + 1; // the line is [start, end)
        if (!searched || (slash != kNone && slash < start)) {
            slash = FindClosingSlash(text, start);
            searched = true;
        }
        if (slash != kNone && slash == start + 1)
            --depth;
        if (depth > 0)
            out.append(static_cast<std::size_t>(depth), '\t');
        if (slash != kNone && slash > start + 1 && (end == kNone || slash >= end))
            ++depth;
        if (end == kNone) {
            out.append(text.substr(start));
            break;
        }
        out.append(text.substr(start, end - start));
        out += '\n';
        start = end;
    }
    return out;
}

} // namespace rp
