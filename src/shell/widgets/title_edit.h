#pragma once

#include "in_place_editor_owner.h"

#include <QLineEdit>

namespace rp {

// The one-line editor the tray view lays over a group's title or a text.
// Losing the focus hands the text to its owner's CommitTitleEdit; Enter
// gives the owner the focus, Escape cancels (nothing is committed).
class CTitleEdit : public QLineEdit {
    Q_OBJECT
public:
    CTitleEdit(QWidget* parent, IInPlaceEditorOwner& owner);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    IInPlaceEditorOwner& owner;
};

// The thin frame of the in-place editors.
void SetInPlaceEditorStyle(QLineEdit& editor);
// Enter and Escape in an in-place editor: Enter gives the owner the focus
// (the editor commits), Escape cancels. False for any other key.
bool HandleInPlaceEditorKey(IInPlaceEditorOwner& owner, const QKeyEvent& event);

} // namespace rp
