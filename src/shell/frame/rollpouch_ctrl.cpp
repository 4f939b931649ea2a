#include "rollpouch_ctrl.h"

#include "add_count_dlg.h"
#include "colour_menu.h"
#include "die_shapes.h"
#include "main_frame.h"
#include "settings.h"
#include "shell_host.h"
#include "shell_strings.h"
#include "strokes.h"
#include "table_view.h"
#include "text_metrics.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

namespace rp {

namespace {
// The same press, move or release, at the same screen point, for another widget.
void SendMouse(QWidget* target, const QMouseEvent& event) {
    const QPoint global = event.globalPosition().toPoint();
    QMouseEvent forwarded(event.type(), target->mapFromGlobal(global), global, event.button(),
                          event.buttons(), event.modifiers());
    QCoreApplication::sendEvent(target, &forwarded);
}

// A white box with a black one-unit border.
void DrawBox(QPainter& dc, const CRect& box) {
    dc.fillRect(box.ToQRect(), Qt::white);
    DrawFrame(dc, box, Qt::black, Qt::SolidLine);
}
} // namespace

CRollpouchCtrl::CRollpouchCtrl(CMainFrame* frame, QWidget* parent) : QWidget(parent), frame(frame) {
    constexpr int b = kHalfWidth;
    setFixedSize(2 * b, 14 * b);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // The menu opens on the right button's release, not on its press, so
    // that a die can be dragged out with the right button too.
    setContextMenuPolicy(Qt::PreventContextMenu);
    for (std::size_t i = 0; i < dice.size(); ++i) {
        const int sides = kSideCounts[i];
        dice[i] = MakeDiePainter(sides, b, (2 * static_cast<int>(i) + 1) * b, sides);
    }
    const QString colour = frame->Host().Settings().GetDieColor();
    for (const auto& die : dice)
        die->SetColor(colour);
}

CRollpouchCtrl::~CRollpouchCtrl() = default;

int CRollpouchCtrl::HitTest(QPoint point) const {
    for (std::size_t i = 0; i < dice.size(); ++i)
        if (dice[i]->GetRect().Contains(point))
            return static_cast<int>(i);
    return -1;
}

const CDiePainter& CRollpouchCtrl::Die(int index) const {
    return *dice.at(static_cast<std::size_t>(index));
}

QString CRollpouchCtrl::GetColor() const {
    return dice[0]->GetColor();
}

QSize CRollpouchCtrl::sizeHint() const {
    return QSize(2 * kHalfWidth, 14 * kHalfWidth);
}

CTableView* CRollpouchCtrl::ActiveView() const {
    return frame ? frame->ActiveView() : nullptr;
}

void CRollpouchCtrl::SetColor(const QString& name) {
    for (const auto& die : dice)
        die->SetColor(name);
    // Dice added from now on take it too; those on trays keep theirs.
    frame->Host().Settings().SetDieColor(name);
    update();
}

void CRollpouchCtrl::SetPendingDie(int sideCount) {
    if (CTableView* view = ActiveView())
        view->SetPendingDie(sideCount);
}

void CRollpouchCtrl::Forget() {
    pressed = -1;
    hover = -1;
    update();
}

void CRollpouchCtrl::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    dc.fillRect(rect(), palette().color(QPalette::Button));
    DrawBox(dc, CRect{kBoxInset, kBoxInset, width() - kBoxInset, height() - kBoxInset});
    // The dice draw as they do on a white tray.
    dc.setFont(TrayFont());
    dc.setPen(TrayPen(Qt::black));
    dc.setBackground(Qt::white);
    dc.setBackgroundMode(Qt::OpaqueMode);
    const bool viewActive = ActiveView() != nullptr;
    for (std::size_t i = 0; i < dice.size(); ++i) {
        const CDiePainter& die = *dice[i];
        if (pressed < 0 && hover == static_cast<int>(i) && viewActive) {
            // Raised: a shadow below, the die on a box moved up and left.
            const CRect shadow = die.GetRect().Inflate(1);
            dc.fillRect(shadow.ToQRect(), palette().color(QPalette::Dark));
            DrawBox(dc, shadow.Offset(-kRaise, -kRaise));
            dc.translate(-kRaise, -kRaise);
            die.Draw(dc);
            dc.translate(kRaise, kRaise);
        } else {
            die.Draw(dc);
        }
    }
    if (pressed >= 0 && viewActive) {
        const CDiePainter& die = Die(pressed);
        const QPoint offset = dragPoint - die.GetPosition();
        die.DrawOutline(dc, offset.x(), offset.y());
    }
}

void CRollpouchCtrl::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    CTableView* view = ActiveView();
    const bool left = event->button() == Qt::LeftButton;
    if ((left && !view) || (!left && event->button() != Qt::RightButton))
        return;
    pressed = HitTest(at);
    if (pressed < 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragPoint = at;
    if (view) {
        view->SetPendingDie(kSideCounts[static_cast<std::size_t>(pressed)]);
        dragView = view;
        dragButton = event->button();
        viewHasDrag = false;
    }
    update();
}

void CRollpouchCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool inside = rect().contains(at);
    if (!inside && event->buttons() != Qt::NoButton && (pressed >= 0 || hover >= 0))
        Forget();
    if (ForwardToView(event))
        return;
    hover = inside ? HitTest(at) : -1;
    if (pressed >= 0)
        dragPoint = at;
    update();
}

bool CRollpouchCtrl::ForwardToView(QMouseEvent* event) {
    if (!dragView)
        return false;
    QWidget* viewport = dragView->viewport();
    if (!viewHasDrag) {
        const QWidget* under = QApplication::widgetAt(event->globalPosition().toPoint());
        viewHasDrag = under && (under == viewport || viewport->isAncestorOf(under));
        if (!viewHasDrag)
            return false;
    }
    SendMouse(viewport, *event);
    return true;
}

void CRollpouchCtrl::mouseReleaseEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (button == dragButton) {
        const QPointer<CTableView> view = std::exchange(dragView, nullptr);
        dragButton = Qt::NoButton;
        if (view && std::exchange(viewHasDrag, false)) {
            pressed = -1;
            update();
            // Released in the view: the left button drops the die there, the
            // right one asks the view for its menu there.
            QWidget* viewport = view->viewport();
            const QPoint global = event->globalPosition().toPoint();
            if (button == Qt::LeftButton) {
                SendMouse(viewport, *event);
            } else {
                QContextMenuEvent request(QContextMenuEvent::Mouse, viewport->mapFromGlobal(global),
                                          global, event->modifiers());
                QCoreApplication::sendEvent(viewport, &request);
            }
            return;
        }
    }
    const QPoint at = event->position().toPoint();
    const bool inside = rect().contains(at);
    if (button == Qt::LeftButton) {
        CTableView* view = ActiveView();
        // A click adds at a free spot: no die follows the pointer meanwhile.
        SetPendingDie(0);
        if (view && pressed >= 0 && inside && HitTest(at) == pressed)
            view->AddDiceAtFreeSpot(kSideCounts[static_cast<std::size_t>(pressed)], 1);
    } else if (button != Qt::RightButton) {
        return;
    }
    pressed = -1;
    SetPendingDie(0);
    update();
    if (button == Qt::RightButton && inside)
        ShowContextMenu(at);
}

void CRollpouchCtrl::mouseDoubleClickEvent(QMouseEvent*) {
    // The first click of the two has added its die; the second adds none.
}

void CRollpouchCtrl::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    Forget();
}

void CRollpouchCtrl::ShowContextMenu(QPoint point) {
    QMenu menu(this);
    if (!BuildContextMenu(menu, point))
        return;
    const QAction* chosen = menu.exec(mapToGlobal(point));
    update();
    if (chosen && chosen->data().isValid())
        OnCommand(chosen->data().toInt());
}

bool CRollpouchCtrl::BuildContextMenu(QMenu& menu, QPoint point) {
    pressed = HitTest(point);
    update();
    if (pressed < 0)
        return false;
    const CDiePainter& die = Die(pressed);
    menuDie = die.GetSideCount();
    // The view's "Bag" without "Cancel"; grayed with no tray open.
    AddBagItems(menu);
    if (const CTableView* view = ActiveView())
        view->InsertAddCountItems(menu);
    else
        for (QAction* item : menu.actions())
            item->setEnabled(item->isSeparator());
    for (QAction* item : menu.actions())
        if (CommandOf(item) == cmd::kCancel)
            delete item;
    // Only colours with a picture of every die of the bar.
    colourCommands.clear();
    QMenu* colours = menu.addMenu(QString::fromLatin1(shell_strings::kColors));
    BuildColourMenu(*colours, &colourCommands, QList<int>(kSideCounts.begin(), kSideCounts.end()),
                    die.GetColor(), CDiePainter::ImagesFolder());
    colours->menuAction()->setEnabled(!colours->isEmpty());
    return true;
}

void CRollpouchCtrl::OnCommand(int id) {
    if (colourCommands.contains(id)) {
        SetColor(colourCommands.value(id));
        return;
    }
    CTableView* view = ActiveView();
    if (!view || menuDie == 0)
        return;
    if (id > cmd::kAddCountBase && id <= kCmdLastAdd) {
        view->AddDiceAtFreeSpot(std::exchange(menuDie, 0), id - cmd::kAddCountBase);
    } else if (id == cmd::kAddN) {
        const QPointer<CTableView> target(view);
        CAddCountDlg dialog(this);
        dialog.count = static_cast<quint32>(view->GetAddCounts()[0]);
        // The tray may close while the dialog is open.
        if (dialog.exec() == QDialog::Accepted && target)
            target->AddDiceAtFreeSpot(std::exchange(menuDie, 0), static_cast<int>(dialog.count));
    }
}

} // namespace rp
