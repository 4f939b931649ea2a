#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace rp {

// The up-down control of a dialog field: two stacked arrows that report a
// step of +1 (upper) or -1 (lower) while held, repeating; the Up and Down
// keys in the buddy field step it too. It is not a tab stop and leaves the
// field's text to whoever handles the step.
class CUpDownCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CUpDownCtrl(QWidget* parent = nullptr);

    // The field the control sits beside and whose arrow keys it takes.
    void SetBuddy(QLineEdit* field);

    QSize sizeHint() const override;

signals:
    void Stepped(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step(int delta);

    QToolButton* upButton;
    QToolButton* downButton;
    QPointer<QWidget> buddy; // a QWidget guard: filtered events reach it while it is destroyed
    bool stepping = false;
};

} // namespace rp
