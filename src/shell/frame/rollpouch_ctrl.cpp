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

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <algorithm>
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

// The keyboard's mark lies this far outside the chosen die, clear of the
// hovered die's raised box.
constexpr int kFocusMargin = 5;

// A die of the bar, as a button to assistive technology: pressing it adds
// the die, its menu is the bar's context menu for it.
class CDieAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CDieAccessible(CRollpouchCtrl* bar, int index) : bar(bar), index(index) {}

    bool isValid() const override { return bar; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return bar ? bar->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(bar.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return CRollpouchCtrl::tr("%1-sided die").arg(CRollpouchCtrl::kSideCounts.at(Index()));
        if (t == QAccessible::Description)
            return CRollpouchCtrl::tr("Add to the tray");
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!bar)
            return {};
        const QRect die = bar->Die(index).GetRect().ToQRect();
        return QRect(bar->mapToGlobal(die.topLeft()), die.size());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.focused = bar && bar->hasFocus() && bar->Chosen() == index;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction(), showMenuAction()}; }
    void doAction(const QString& name) override {
        if (!bar)
            return;
        if (name == pressAction()) {
            bar->AddToTray(index);
        } else if (name == showMenuAction()) {
            // Later: the menu waits in its own loop, and the caller must not.
            QMetaObject::invokeMethod(
                bar, [target = bar, index = index] { target->ShowMenuOf(index); },
                Qt::QueuedConnection);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    std::size_t Index() const { return static_cast<std::size_t>(index); }

    QPointer<CRollpouchCtrl> bar;
    int index;
};

// The die bar as a tool bar of its dice.
class CDieBarAccessible : public QAccessibleWidget {
public:
    explicit CDieBarAccessible(CRollpouchCtrl* bar)
        : QAccessibleWidget(bar, QAccessible::ToolBar), bar(bar) {}
    ~CDieBarAccessible() override {
        for (const QAccessible::Id id : made)
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return static_cast<int>(made.size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        QAccessible::Id& id = made[static_cast<std::size_t>(index)];
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(new CDieAccessible(bar, index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
        const auto found = std::find(made.begin(), made.end(), id);
        return found == made.end() ? -1 : static_cast<int>(found - made.begin());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        return child(bar->HitTest(bar->mapFromGlobal(QPoint(x, y))));
    }
    QAccessibleInterface* focusChild() const override {
        return bar->hasFocus() ? child(bar->Chosen()) : nullptr;
    }

private:
    CRollpouchCtrl* bar;
    mutable std::array<QAccessible::Id, CRollpouchCtrl::kSideCounts.size()> made{};
};

QAccessibleInterface* MakeDieBarAccessible(const QString&, QObject* object) {
    auto* bar = qobject_cast<CRollpouchCtrl*>(object);
    return bar ? new CDieBarAccessible(bar) : nullptr;
}
} // namespace

CRollpouchCtrl::CRollpouchCtrl(CMainFrame* frame, QWidget* parent) : QWidget(parent), frame(frame) {
    // Before anything asks for the bar's interface: an interface made
    // without the factory would be kept.
    static const bool accessible = (QAccessible::installFactory(MakeDieBarAccessible), true);
    Q_UNUSED(accessible);
    constexpr int b = kHalfWidth;
    setFixedSize(2 * b, 14 * b);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(tr("Dice"));
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

void CRollpouchCtrl::Choose(int index) {
    chosen = std::clamp(index, 0, static_cast<int>(dice.size()) - 1);
    // A window too low for the whole bar scrolls to the die.
    for (QWidget* above = parentWidget(); above; above = above->parentWidget()) {
        if (auto* scroller = qobject_cast<QScrollArea*>(above)) {
            const CRect die = Die(chosen).GetRect().Inflate(kFocusMargin + 1);
            const QPoint centre = die.Center();
            scroller->ensureVisible(centre.x(), centre.y(), die.Width() / 2, die.Height() / 2);
            break;
        }
    }
    update();
    NotifyFocus();
}

void CRollpouchCtrl::NotifyFocus() const {
    if (!hasFocus())
        return;
    QAccessibleEvent event(const_cast<CRollpouchCtrl*>(this), QAccessible::Focus);
    event.setChild(chosen);
    QAccessible::updateAccessibility(&event);
}

void CRollpouchCtrl::AddToTray(int index) {
    if (CTableView* view = ActiveView())
        view->AddDiceAtFreeSpot(kSideCounts.at(static_cast<std::size_t>(index)), 1);
}

void CRollpouchCtrl::ShowMenuOf(int index) {
    const QPoint centre = Die(index).GetPosition();
    dragPoint = centre;
    ShowContextMenu(centre);
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
    if (hasFocus())
        DrawFrame(dc, Die(chosen).GetRect().Inflate(kFocusMargin), Qt::black, Qt::DotLine);
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
        // A click adds at a free spot: no die follows the pointer meanwhile.
        SetPendingDie(0);
        if (pressed >= 0 && inside && HitTest(at) == pressed)
            AddToTray(pressed);
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

void CRollpouchCtrl::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        Choose(chosen - 1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        Choose(chosen + 1);
        break;
    case Qt::Key_Home:
        Choose(0);
        break;
    case Qt::Key_End:
        Choose(static_cast<int>(dice.size()) - 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        AddToTray(chosen);
        break;
    case Qt::Key_Menu:
        ShowMenuOf(chosen);
        break;
    case Qt::Key_F10:
        if (event->modifiers() == Qt::ShiftModifier) {
            ShowMenuOf(chosen);
            break;
        }
        [[fallthrough]];
    default:
        QWidget::keyPressEvent(event);
    }
}

void CRollpouchCtrl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    NotifyFocus();
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
