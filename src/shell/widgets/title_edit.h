#pragma once

#include <QLineEdit>

namespace rp {

class CTableView;

// The one-line editor the tray view lays over a group's title or a text.
// Losing the focus hands the text to the view's CommitTitleEdit; Enter gives
// the view the focus, Escape cancels (nothing is committed).
class CTitleEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CTitleEdit(CTableView* view);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CTableView* view;
};

// The thin frame of the in-place editors.
void SetInPlaceEditorStyle(QLineEdit& editor);
// Enter and Escape in an in-place editor: Enter gives the view the focus
// (the editor commits), Escape cancels. False for any other key.
bool HandleInPlaceEditorKey(CTableView& view, const QKeyEvent& event);

} // namespace rp
