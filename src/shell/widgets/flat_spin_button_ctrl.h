#pragma once

#include "colour.h"
#include "geometry.h"

#include <QTimer>
#include <QWidget>

class QLineEdit;

namespace rp {

// An up-down control painted flat: two outlined halves, the pressed one in
// the base colour lightened halfway to white, and two filled arrows. It
// steps the integer in its buddy edit by one within its range, without
// wrapping, while a half is held down.
class CFlatSpinButtonCtrl : public QWidget {
    Q_OBJECT
public:
    // The control's width beside its buddy.
    static constexpr int kWidth = 14;

    CFlatSpinButtonCtrl(QLineEdit* buddy, QWidget* parent);

    void SetRange(int lower, int upper);
    // Reads the buddy's integer, steps it by `delta` within the range, writes it back.
    void Step(int delta);
    // Puts the control against the buddy's left edge, as high as the buddy.
    void AttachToBuddy();
    // An arrow is held and steps again on the next repeat.
    bool IsRepeating() const { return repeat.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CRect UpperHalf() const;
    CRect LowerHalf() const;
    // The held arrow is under the pointer: only then does it repeat.
    bool OnHeldArrow() const;
    // The button is up (or its release went elsewhere): no more repeats.
    void StopRepeat();

    QLineEdit* buddy;
    const ColorValue baseColour = Rgb(0, 0, 0);
    // +1 after the upper arrow, -1 after the lower one, 0 before either.
    int lastDelta = 0;
    int lower = 0;
    int upper = 100;
    bool held = false;
    // Where the pointer was last seen over the control.
    QPoint pointer;
    QTimer repeat;
};

} // namespace rp
