// Reading and writing a tray state as tray XML: files, the clipboard and
// the quick-roll snapshot; text that is not XML is read as dice notation.
#include "dice_arrangement.h"
#include "doc_state.h"
#include "int_text.h"
#include "text_painter.h"
#include "tray_xml.h"
#include "xml_dom.h"

#include <QStringList>

namespace rp {

namespace {

// "1;2/3" -> "1", "2", "3": pieces end at the first "/" or ";" from the
// second character on; a text without one is the last piece.
QStringList SplitModifiers(const QString& text) {
    QStringList pieces;
    QString rest = text;
    while (!rest.isEmpty()) {
        qsizetype cut = -1;
        for (qsizetype i = 0; i < rest.size(); ++i) {
            if (rest[i] == '/' || rest[i] == ';') {
                cut = i;
                break;
            }
        }
        if (cut < 1) {
            pieces.append(rest);
            break;
        }
        pieces.append(rest.left(cut));
        rest = rest.mid(cut + 1);
    }
    return pieces;
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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
    if (pasted)
        AddFront(std::move(entity));
    else
        AddBack(std::move(entity));
}

void CDocState::ReadTrayXml(std::string_view text, bool pasted, bool readBackground) {
    xml::CXmlDocument document;
    if (!document.ParseText(text)) {
        // Not XML: lines of "title: notation", 110 units apart.
        int n = 0;
        for (const QString& line : ToQString(text).split('\n', Qt::SkipEmptyParts)) {
            const qsizetype colon = line.indexOf(':');
            if (colon >= 0)
                ReadNotation(line.left(colon).trimmed(), line.mid(colon + 1).trimmed(), 110 * n,
                             pasted);
            else
                ReadNotation(QString(), line, 110 * n, pasted);
            ++n;
        }
        return;
    }
    const pugi::xml_node root = document.Root();
    if (std::string_view(root.name()) != "dicegroups") {
        ReadEntity(root, pasted);
        return;
    }
    const std::string_view colour = xml::AttributeText(root, "bkColor");
    if (readBackground && !colour.empty())
        background = static_cast<ColorValue>(ReadInt(colour));

    for (pugi::xml_node child : root.children()) {
        const pugi::xml_node die = child.first_child();
        const bool lone = die && !die.next_sibling() && std::string_view(die.name()) == "die";
        const QStringList pieces =
            lone && std::string_view(child.name()) == "dicegroup"
                ? SplitModifiers(ToQString(xml::AttributeText(die, "modifier")))
                : QStringList();
        if (pieces.size() < 2) {
            ReadEntity(child, pasted);
            continue;
        }
        // One group per die modifier, numbered after the group's title.
        const QString title = ToQString(xml::AttributeText(child, "title"));
        int k = 1;
        for (const QString& piece : pieces) {
            if (pugi::xml_attribute attribute = child.attribute("title"))
                attribute.set_value(QStringLiteral("%1 %2").arg(title).arg(k).toUtf8().constData());
            if (pugi::xml_attribute attribute = die.attribute("modifier"))
                attribute.set_value(piece.toUtf8().constData());
            ReadGroupElement(child, pasted);
            ++k;
        }
    }
}

void CDocState::ReadEntity(pugi::xml_node node, bool pasted) {
    const std::string_view name = node.name();
    if (name == "dicegroup") {
        ReadGroupElement(node, pasted);
    } else if (name == "text") {
        auto text = std::make_unique<CTextPainter>();
        if (text->Load(node))
            AddRead(std::move(text), pasted);
    }
}

void CDocState::ReadGroupElement(pugi::xml_node element, bool pasted) {
    const pugi::xml_node only = element.first_child();
    if (only && !only.next_sibling() &&
        (only.type() == pugi::node_pcdata || only.type() == pugi::node_cdata)) {
        ReadNotation(ToQString(xml::AttributeText(element, "title")), ToQString(only.value()), 0,
                     pasted);
        return;
    }
    auto group = std::make_unique<CDiceGroupPainter>();
    if (!group->Load(element))
        return;
    // Dice that came without positions are all at the origin: spread them.
    const CRect bounds = group->GetBoundingRect();
    if (bounds.left < 0 && bounds.top < 0)
        SpreadDice(*group);
    AddRead(std::move(group), pasted);
}

void CDocState::ReadNotation(const QString& title, const QString& notation, int yOffset,
                             bool pasted) {
    int number = notation.contains('/') ? 1 : 0;
    QString rest = notation;
    while (!rest.isEmpty()) {
        const qsizetype slash = rest.indexOf('/');
        QString part;
        if (slash >= 1) {
            part = rest.left(slash);
            rest = rest.mid(slash + 1);
        } else {
            part = rest;
            rest.clear();
        }
        auto group = std::make_unique<CDiceGroupPainter>();
        if (!group->ParseNotation(part.toStdString()))
            continue;
        if (number != 0)
            group->SetTitle(QStringLiteral("%1 %2").arg(title).arg(number++).toStdString());
        else
            group->SetTitle(title.toStdString());
        SpreadDice(*group);
        group->Offset(0, yOffset);
        AddRead(std::move(group), pasted);
    }
}

} // namespace rp
