#include "title_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace rp {

void SetInPlaceEditorStyle(QLineEdit& editor) {
    // A one-unit border and no padding: the editors are as small as the
    // titles they cover.
    editor.setStyleSheet(
        QStringLiteral("QLineEdit { border: 1px solid palette(window-text); padding: 0px; }"));
}

CTitleEdit::CTitleEdit(QWidget* parent, IInPlaceEditorOwner& owner)
    : QLineEdit(parent), owner(owner) {
    SetInPlaceEditorStyle(*this);
    hide();
}

bool HandleInPlaceEditorKey(IInPlaceEditorOwner& owner, const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        owner.Enter();
        return true;
    case Qt::Key_Escape:
        owner.CancelGesture();
        return true;
    default:
        return false;
    }
}

void CTitleEdit::keyPressEvent(QKeyEvent* event) {
    if (!HandleInPlaceEditorKey(owner, *event))
        QLineEdit::keyPressEvent(event);
}

void CTitleEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The editor's own context menu takes the focus for a moment only.
    if (event->reason() != Qt::PopupFocusReason)
        owner.CommitTitleEdit();
}

} // namespace rp
