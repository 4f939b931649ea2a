#include "up_down_ctrl.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace rp {

namespace {
QToolButton* MakeArrow(Qt::ArrowType arrow, const char* name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    return button;
}
} // namespace

CUpDownCtrl::CUpDownCtrl(QWidget* parent)
    : QWidget(parent), upButton(MakeArrow(Qt::UpArrow, "up", this)),
      downButton(MakeArrow(Qt::DownArrow, "down", this)) {
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(upButton);
    layout->addWidget(downButton);
    // A step comes with the press and with every repeat while held.
    connect(upButton, &QToolButton::pressed, this, [this] { Step(1); });
    connect(downButton, &QToolButton::pressed, this, [this] { Step(-1); });
}

void CUpDownCtrl::SetBuddy(QLineEdit* field) {
    if (buddy)
        buddy->removeEventFilter(this);
    buddy = field;
    if (buddy)
        buddy->installEventFilter(this);
    updateGeometry();
}

QSize CUpDownCtrl::sizeHint() const {
    return {16, buddy ? buddy->sizeHint().height() : 22};
}

bool CUpDownCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CUpDownCtrl::Step(int delta) {
    // A step may show a message box; repeats firing under it are dropped.
    if (stepping)
        return;
    stepping = true;
    emit Stepped(delta);
    stepping = false;
    // The release went to that message box: stop repeating once the button is up.
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        upButton->setDown(false);
        downButton->setDown(false);
    }
}

} // namespace rp
