#include "tray_accessible.h"

#include "dice_group_painter.h"
#include "table_doc.h"
#include "table_view.h"
#include "text_painter.h"

#include <QPointer>
#include <QStringList>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace rp {

namespace {

const QString kRoll = QStringLiteral("Roll");
const QString kEditTitle = QStringLiteral("Edit title");
const QString kEditText = QStringLiteral("Edit text");

// One entity of a tray view, found afresh by its id on every call.
class CEntityAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CEntityAccessible(CTableView& view, std::uint64_t id) : view(&view), id(id) {}

    const CDocEntity* Entity() const {
        return view ? view->GetDocument()->GetCurrentState().EntityById(id) : nullptr;
    }
    bool IsGroup() const { return dynamic_cast<const CDiceGroupPainter*>(Entity()) != nullptr; }

    bool isValid() const override { return Entity() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view ? view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return view ? QAccessible::queryAccessibleInterface(view->viewport()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QString text(QAccessible::Text t) const override {
        const CDocEntity* entity = Entity();
        if (!entity)
            return {};
        if (t == QAccessible::Name)
            return EntityAccessibleName(*entity);
        if (t == QAccessible::Description)
            return EntityAccessibleDescription(*entity);
        return {};
    }

    QRect rect() const override {
        const CDocEntity* entity = Entity();
        if (!entity)
            return {};
        const CRect r = entity->GetBoundingRect();
        const QPoint topLeft = view->viewport()->mapToGlobal(view->ToViewport(r.TopLeft()));
        return QRect(topLeft, QSize(r.Width(), r.Height()));
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        const CDocEntity* entity = Entity();
        if (!entity) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.selected = entity->IsSelected();
        s.multiSelectable = true;
        s.focusable = true;
        s.focused = view->hasFocus() && view->FocusedEntityId() == id;
        const CRect r = entity->GetBoundingRect();
        s.offscreen = !view->viewport()->rect().intersects(
            QRect(view->ToViewport(r.TopLeft()), QSize(r.Width(), r.Height())));
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override {
        return IsGroup() ? QStringList{kRoll, kEditTitle} : QStringList{kEditText};
    }
    QString localizedActionName(const QString& name) const override { return name; }
    QString localizedActionDescription(const QString& name) const override { return name; }
    void doAction(const QString& name) override {
        if (!isValid())
            return;
        if (name == kRoll && IsGroup())
            view->RollEntity(id);
        else if (name == kEditTitle || name == kEditText)
            view->EditEntity(id);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == kRoll)
            return {QStringLiteral("Space")};
        return {};
    }

private:
    QPointer<CTableView> view;
    std::uint64_t id;
};

QAccessibleInterface* TrayFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    auto* view = widget ? qobject_cast<CTableView*>(widget->parentWidget()) : nullptr;
    if (view && view->viewport() == widget)
        return new CTrayAccessible(*view);
    return nullptr;
}

} // namespace

QString EntityAccessibleName(const CDocEntity& entity) {
    if (const auto* group = dynamic_cast<const CDiceGroupPainter*>(&entity)) {
        const QString title = QString::fromStdString(group->GetTitle());
        return (title.isEmpty() ? QString() : title + QStringLiteral(", ")) +
               QString::fromStdString(group->GetDescription()) + QStringLiteral(", total ") +
               QString::number(group->GetTotal());
    }
    if (const auto* text = dynamic_cast<const CTextPainter*>(&entity))
        return text->GetText();
    return {};
}

QString EntityAccessibleDescription(const CDocEntity& entity) {
    const auto* group = dynamic_cast<const CDiceGroupPainter*>(&entity);
    if (!group)
        return {};
    std::vector<const CDie*> ignored;
    group->GetIgnoredDice(ignored);
    if (ignored.empty())
        return {};
    // In the group's order, as the dice lie.
    std::sort(ignored.begin(), ignored.end(), std::less<>());
    QStringList faces;
    for (const auto& die : group->Dice())
        if (std::binary_search(ignored.begin(), ignored.end(), die.get(), std::less<>()))
            faces.append(QString::number(die->GetRawResult()));
    const QString last = faces.takeLast();
    return QStringLiteral("left out: ") +
           (faces.isEmpty() ? last
                            : faces.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last);
}

CTrayAccessible::CTrayAccessible(CTableView& view)
    : QAccessibleWidget(view.viewport(), QAccessible::List), view(&view) {
    view.SetAccessibleTray(this);
}

CTrayAccessible::~CTrayAccessible() {
    if (view)
        view->SetAccessibleTray(nullptr);
    for (const auto& [id, accessibleId] : made)
        QAccessible::deleteAccessibleInterface(accessibleId);
}

void CTrayAccessible::InstallFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(TrayFactory);
        return true;
    }();
    (void)installed;
}

QString CTrayAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && view)
        return view->GetTrayName();
    return QAccessibleWidget::text(t);
}

int CTrayAccessible::childCount() const {
    return view ? static_cast<int>(view->GetDocument()->GetCurrentState().Entities().size()) : 0;
}

QAccessibleInterface* CTrayAccessible::child(int index) const {
    if (!view || index < 0)
        return nullptr;
    const auto order = view->GetDocument()->GetCurrentState().InReadingOrder();
    return static_cast<std::size_t>(index) < order.size()
               ? InterfaceOf(order[static_cast<std::size_t>(index)]->GetId())
               : nullptr;
}

int CTrayAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!view || !child)
        return -1;
    const auto order = view->GetDocument()->GetCurrentState().InReadingOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto found = made.find(order[i]->GetId());
        if (found != made.end() && QAccessible::accessibleInterface(found->second) == child)
            return static_cast<int>(i);
    }
    return -1;
}

QAccessibleInterface* CTrayAccessible::focusChild() const {
    const std::uint64_t id = view && view->hasFocus() ? view->FocusedEntityId() : 0;
    return id != 0 ? InterfaceOf(id) : nullptr;
}

QAccessibleInterface* CTrayAccessible::childAt(int x, int y) const {
    if (!view)
        return nullptr;
    const QPoint point = view->ToTray(view->viewport()->mapFromGlobal(QPoint(x, y)));
    const CDocEntity* entity = view->GetDocument()->GetCurrentState().EntityAt(point);
    return entity ? InterfaceOf(entity->GetId()) : nullptr;
}

QAccessibleInterface* CTrayAccessible::InterfaceOf(std::uint64_t id) const {
    const auto found = made.find(id);
    if (found != made.end())
        return QAccessible::accessibleInterface(found->second);
    auto* entity = new CEntityAccessible(*view, id);
    made.emplace(id, QAccessible::registerAccessibleInterface(entity));
    return entity;
}

void CTrayAccessible::Refresh() {
    if (!view)
        return;
    std::vector<SSeen> now;
    for (const CDocEntity* entity : view->GetDocument()->GetCurrentState().InReadingOrder())
        now.push_back({entity->GetId(), EntityAccessibleName(*entity), entity->IsSelected()});
    std::unordered_map<std::uint64_t, const SSeen*> before;
    for (const SSeen& was : seen)
        before.emplace(was.id, &was);
    const auto send = [this](std::uint64_t id, QAccessible::Event type) {
        QAccessibleEvent event(InterfaceOf(id), type);
        QAccessible::updateAccessibility(&event);
    };
    for (const SSeen& is : now) {
        const auto found = before.find(is.id);
        if (found == before.end()) {
            // A tray seen for the first time is no news.
            if (!seen.empty())
                send(is.id, QAccessible::ObjectCreated);
            continue;
        }
        // Only what a reader has met can have changed for it.
        if (!made.count(is.id))
            continue;
        if (found->second->name != is.name)
            send(is.id, QAccessible::NameChanged);
        if (found->second->selected != is.selected)
            send(is.id, is.selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
    }
    // Entities that went: told, then their interfaces dropped.
    std::unordered_set<std::uint64_t> present;
    for (const SSeen& is : now)
        present.insert(is.id);
    for (auto it = made.begin(); it != made.end();) {
        if (present.count(it->first)) {
            ++it;
            continue;
        }
        QAccessibleEvent destroyed(QAccessible::accessibleInterface(it->second),
                                   QAccessible::ObjectDestroyed);
        QAccessible::updateAccessibility(&destroyed);
        QAccessible::deleteAccessibleInterface(it->second);
        it = made.erase(it);
    }
    const bool reordered = !std::equal(seen.begin(), seen.end(), now.begin(), now.end(),
                                       [](const SSeen& a, const SSeen& b) { return a.id == b.id; });
    if (reordered && !seen.empty()) {
        QAccessibleEvent reorder(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reorder);
    }
    seen = std::move(now);
}

void CTrayAccessible::NotifyFocus(std::uint64_t id) {
    if (!view || id == 0 || !view->GetDocument()->GetCurrentState().EntityById(id))
        return;
    QAccessibleEvent focus(InterfaceOf(id), QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

} // namespace rp
