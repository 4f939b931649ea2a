#include "mod_spin_button_ctrl.h"

#include "flat_spin_button_ctrl.h"
#include "int_text.h"
#include "title_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace rp {

CModSpinButtonCtrl::CModSpinButtonCtrl(QWidget* parent, IInPlaceEditorOwner& owner)
    : QLineEdit(parent), owner(owner), spin(new CFlatSpinButtonCtrl(this, parent)) {
    SetInPlaceEditorStyle(*this);
    spin->SetRange(kLowest, kHighest);
    spin->hide();
    hide();
}

void CModSpinButtonCtrl::Place(const QRect& rect) {
    setGeometry(rect.adjusted(CFlatSpinButtonCtrl::kWidth, 0, 0, 0));
    spin->AttachToBuddy();
}

int CModSpinButtonCtrl::GetNumber() const {
    return ReadInt(text().toStdString());
}

void CModSpinButtonCtrl::SetNumber(int value) {
    setText(QString::asprintf("%i", value));
}

void CModSpinButtonCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        spin->Step(event->key() == Qt::Key_Up ? 1 : -1);
    else if (!HandleInPlaceEditorKey(owner, *event))
        QLineEdit::keyPressEvent(event);
}

void CModSpinButtonCtrl::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    selectAll();
    spin->AttachToBuddy();
    spin->show();
    spin->raise();
}

void CModSpinButtonCtrl::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    owner.CommitModifierEdit();
    spin->hide();
}

void CModSpinButtonCtrl::hideEvent(QHideEvent* event) {
    QLineEdit::hideEvent(event);
    spin->hide();
}

} // namespace rp
