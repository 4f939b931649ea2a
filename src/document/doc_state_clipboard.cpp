// Cut, copy and paste of tray entities as tray XML in the clipboard's text.
#include "doc_state.h"
#include "doc_strings.h"

#include <QClipboard>
#include <QGuiApplication>

namespace rp {

void CDocState::Copy() const {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(QString::fromUtf8(WriteTrayXml(false, true, false)));
}

void CDocState::Cut() {
    Copy();
    DeleteSelected();
    label = QString::fromLatin1(doc_strings::kCut);
}

QPoint CDocState::Paste(std::optional<QPoint> point, bool* complete) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QByteArray text = clipboard ? clipboard->text().toUtf8() : QByteArray();
    return PasteText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                     point, complete);
}

QPoint CDocState::PasteText(std::string_view text, std::optional<QPoint> point, bool* complete) {
    SelectNone();
    const bool whole = ReadTrayXml(text, true, false);
    if (complete)
        *complete = whole;
    const auto pasted = GetSelectedEntities();
    if (point && !pasted.empty()) {
        // Centre the pasted block on the point.
        CRect block = pasted.front()->GetBoundingRect();
        for (const CDocEntity* entity : pasted)
            block = block.Join(entity->GetBoundingRect());
        const QPoint shift = *point - block.Center();
        for (CDocEntity* entity : pasted)
            entity->Offset(shift.x(), shift.y());
    }
    label = QString::fromLatin1(doc_strings::kPaste);
    return Normalize();
}

} // namespace rp
