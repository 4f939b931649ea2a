#pragma once

#include "in_place_editor_owner.h"

#include <QLineEdit>

namespace rp {

class CFlatSpinButtonCtrl;

// The tray view's in-place modifier editor: a framed edit with a flat
// up-down control against its left edge that steps it within -100 .. 100.
// Any typed integer is accepted. Losing the focus hands the value to the
// owner's CommitModifierEdit.
class CModSpinButtonCtrl : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kLowest = -100;
    static constexpr int kHighest = 100;

    CModSpinButtonCtrl(QWidget* parent, IInPlaceEditorOwner& owner);

    // Lays the up-down control and the edit over a rectangle of the view,
    // the control on the left.
    void Place(const QRect& rect);
    // The integer at the start of the text; 0 when there are no digits.
    int GetNumber() const;
    void SetNumber(int value);
    CFlatSpinButtonCtrl* SpinButton() const { return spin; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    IInPlaceEditorOwner& owner;
    CFlatSpinButtonCtrl* spin;
};

} // namespace rp
