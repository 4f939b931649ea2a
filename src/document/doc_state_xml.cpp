// Reading and writing a tray state as tray XML: files, the clipboard and
// the quick-roll snapshot; text that is not XML is read as dice notation.
#include "dice_arrangement.h"
#include "doc_state.h"
#include "int_text.h"
#include "text_codec.h"
#include "text_painter.h"
#include "tray_xml.h"
#include "xml_dom.h"

#include <algorithm>

namespace rp {

namespace {

// Rows of plain notation lines lie this far apart.
constexpr std::int64_t kLineSpacing = 110;
// A title numbered for the groups of one line or element takes at most this
// much of the title: every group keeps its own copy.
constexpr qsizetype kMaxNumberedTitle = 64;
// Positions read from text stay within this distance of the origin.
constexpr std::int64_t kMaxReadOffset = std::int64_t{1} << 28;

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "%s %i", substituted once, so that a title holding "%1" stays as it is.
std::string NumberedTitle(const QString& title, int number) {
    QString head = title.left(kMaxNumberedTitle);
    if (!head.isEmpty() && head.back().isHighSurrogate())
        head.chop(1);
    return QString::asprintf("%s %i", head.toUtf8().constData(), number).toStdString();
}

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\n\v\f\r";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// The pieces of a die's modifier text, "1;2/3" -> "1", "2", "3": a piece
// ends at the first "/" or ";" from its second character on; a text
// without one is the last piece.
class CModifierPieces {
public:
    explicit CModifierPieces(std::string_view text) : rest(text) {}
    bool Next(std::string_view& piece) {
        if (rest.empty())
            return false;
        const std::size_t cut = rest.find_first_of("/;");
        if (cut == std::string_view::npos || cut == 0) {
            piece = rest;
            rest = {};
        } else {
            piece = rest.substr(0, cut);
            rest.remove_prefix(cut + 1);
        }
        return true;
    }
    bool AtEnd() const { return rest.empty(); }

private:
    std::string_view rest;
};

} // namespace

QByteArray CDocState::WriteTrayXml(bool writeRawResult, bool selectedOnly,
                                   bool withBackground) const {
    xml::CXmlDocument document;
    pugi::xml_node root = document.CreateRoot("dicegroups");
    if (withBackground && background != kWhite)
        root.append_attribute("bkColor") = static_cast<int>(background);
    for (const auto& entity : entities)
        if (!selectedOnly || entity->IsSelected())
            entity->Save(root, writeRawResult);
    const std::string text = LayOutXmlText(document.Serialize());
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

void CDocState::AddRead(std::unique_ptr<CDocEntity> entity, bool pasted) {
    entity->SetSelected(pasted);
    AddBack(std::move(entity));
}

bool CDocState::ReadTrayXml(std::string_view text, bool pasted, bool readBackground) {
    const auto before = static_cast<std::ptrdiff_t>(entities.size());
    const bool whole = ReadTrayContent(text, pasted, readBackground);
    if (pasted) {
        // Pasted entities go in front, the last read frontmost: moved there
        // in one step, since inserting each at the front is quadratic.
        std::reverse(entities.begin() + before, entities.end());
        std::rotate(entities.begin(), entities.begin() + before, entities.end());
    }
    return whole;
}

bool CDocState::ReadTrayContent(std::string_view text, bool pasted, bool readBackground) {
    CDiceBudget budget;
    xml::CXmlDocument document;
    if (!document.ParseText(text)) {
        ReadPlainLines(DecodeFileText(text), pasted, budget);
        return !budget.LeftOut();
    }
    const pugi::xml_node root = document.Root();
    if (std::string_view(root.name()) != "dicegroups") {
        ReadEntity(root, pasted, budget);
        return !budget.LeftOut();
    }
    const std::string_view colour = xml::AttributeText(root, "bkColor");
    if (readBackground && !colour.empty())
        background = static_cast<ColorValue>(ReadInt(colour));

    for (pugi::xml_node child : root.children()) {
        const pugi::xml_node die = child.first_child();
        const bool lone = std::string_view(child.name()) == "dicegroup" &&
                          xml::LeadingText(child).empty() && die && !die.next_sibling() &&
                          std::string_view(die.name()) == "die";
        // Kept apart: the attribute itself is rewritten piece by piece.
        const std::string modifiers(lone ? xml::AttributeText(die, "modifier") : "");
        CModifierPieces pieces(modifiers);
        std::string_view piece;
        if (!pieces.Next(piece) || pieces.AtEnd()) {
            ReadEntity(child, pasted, budget);
            continue;
        }
        // One group per die modifier, numbered after the group's title.
        const QString title = ToQString(xml::AttributeText(child, "title"));
        for (int k = 1;; ++k) {
            if (budget.IsSpent()) {
                budget.MarkLeftOut();
                break;
            }
            if (pugi::xml_attribute attribute = child.attribute("title"))
                attribute.set_value(NumberedTitle(title, k).c_str());
            die.attribute("modifier").set_value(std::string(piece).c_str());
            ReadGroupElement(child, pasted, budget);
            if (!pieces.Next(piece))
                break;
        }
    }
    return !budget.LeftOut();
}

void CDocState::ReadPlainLines(std::string_view text, bool pasted, CDiceBudget& budget) {
    // Lines of "title: notation" or bare notation, 110 units apart; empty
    // lines take no row.
    std::int64_t row = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        // Once the read has made all the dice it may, the rest is left out.
        if (budget.IsSpent()) {
            budget.MarkLeftOut();
            return;
        }
        const int yOffset = static_cast<int>(std::min(kLineSpacing * row++, kMaxReadOffset));
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            ReadNotation(QString(), line, yOffset, pasted, budget);
        else
            ReadNotation(ToQString(Trimmed(line.substr(0, colon))), Trimmed(line.substr(colon + 1)),
                         yOffset, pasted, budget);
    }
}

void CDocState::ReadEntity(pugi::xml_node node, bool pasted, CDiceBudget& budget) {
    const std::string_view name = node.name();
    if (name == "dicegroup") {
        ReadGroupElement(node, pasted, budget);
    } else if (name == "text") {
        auto text = std::make_unique<CTextPainter>();
        if (text->Load(node))
            AddRead(std::move(text), pasted);
    }
}

void CDocState::ReadGroupElement(pugi::xml_node element, bool pasted, CDiceBudget& budget) {
    if (const auto notation = xml::OnlyText(element)) {
        ReadNotation(ToQString(xml::AttributeText(element, "title")), *notation, 0, pasted, budget);
        return;
    }
    auto group = std::make_unique<CDiceGroupPainter>();
    CDiceGroup& read = *group;
    if (!read.Load(element, &budget) || group->GetCount() == 0)
        return;
    // Dice that came without positions are all at the origin: spread them.
    const CRect bounds = group->GetBoundingRect();
    if (bounds.left < 0 && bounds.top < 0)
        SpreadDice(*group);
    AddRead(std::move(group), pasted);
}

void CDocState::ReadNotation(const QString& title, std::string_view notation, int yOffset,
                             bool pasted, CDiceBudget& budget) {
    int number = notation.find('/') != std::string_view::npos ? 1 : 0;
    auto group = std::make_unique<CDiceGroupPainter>();
    for (std::size_t start = 0; start < notation.size();) {
        if (budget.IsSpent()) {
            budget.MarkLeftOut();
            return;
        }
        // The part before the next "/", unless the "/" comes first.
        std::size_t slash = notation.find('/', start);
        if (slash == start)
            slash = std::string_view::npos;
        const std::size_t end = std::min(slash, notation.size());
        const std::string_view part = notation.substr(start, end - start);
        start = end + 1;
        // A part not understood leaves the group untouched for the next one;
        // one understood without dice (a negative count) can only have set
        // the group's modifier.
        if (!group->ParseNotation(part, &budget))
            continue;
        if (group->GetCount() == 0) {
            group->SetModifier(0);
            continue;
        }
        group->SetTitle(number != 0 ? NumberedTitle(title, number++) : title.toStdString());
        SpreadDice(*group);
        group->Offset(0, yOffset);
        AddRead(std::move(group), pasted);
        group = std::make_unique<CDiceGroupPainter>();
    }
}

} // namespace rp
