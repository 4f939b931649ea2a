#pragma once

#include <QAccessibleWidget>
#include <QString>
#include <cstdint>
#include <map>
#include <vector>

namespace rp {

class CDocEntity;
class CTableView;

// What a screen reader says of an entity: "Fireball, 8d6, total 32" for a
// group (without a title: "8d6, total 32"), the text for a text.
QString EntityAccessibleName(const CDocEntity& entity);
// The faces of a group's dice left out, "left out: 1 and 2"; else empty.
QString EntityAccessibleDescription(const CDocEntity& entity);

// The tray view's viewport as assistive technology sees it: a list of the
// tray's entities in reading order. Each entity's interface is made when
// first asked for, keyed by the entity's id so that it outlives edits, rolls,
// undo and redo, and dropped when the entity goes.
class CTrayAccessible : public QAccessibleWidget {
public:
    explicit CTrayAccessible(CTableView& view);
    ~CTrayAccessible() override;

    // Makes the viewports of tray views known to the accessibility framework.
    static void InstallFactory();

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // After the tray changed: sends the changes of names, selection, order
    // and entities since the last call, and drops the gone entities.
    void Refresh();
    // Tells that the keyboard focus is on this entity now.
    void NotifyFocus(std::uint64_t id);

    // The view goes first: the tray then reads as empty.
    void Detach() { view = nullptr; }

private:
    // The interface of an entity, made on first use.
    QAccessibleInterface* InterfaceOf(std::uint64_t id) const;

    struct SSeen {
        std::uint64_t id;
        QString name;
        bool selected;
    };

    CTableView* view;
    mutable std::map<std::uint64_t, QAccessible::Id> made;
    std::vector<SSeen> seen;
};

} // namespace rp
