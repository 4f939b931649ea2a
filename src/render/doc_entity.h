#pragma once

#include "geometry.h"

#include <cstdint>
#include <memory>
#include <pugixml.hpp>

class QPainter;

namespace rp {

// Anything that lies on a tray: a dice group or a free text.
class CDocEntity {
public:
    CDocEntity() : id(NextId()) {}
    // A copy (a state of the history) is the same entity: it keeps the id.
    CDocEntity(const CDocEntity&) = default;
    CDocEntity& operator=(const CDocEntity&) = delete;
    virtual ~CDocEntity() = default;

    // Whether a click at the point hits the entity; by default inside its bounding rectangle.
    virtual bool HitTest(QPoint point) const { return GetBoundingRect().Contains(point); }
    // Draws the entity with its own selection mark.
    virtual void Draw(QPainter& dc) const = 0;
    // Draws the entity's outline or ghost displaced by (dx, dy) while it moves.
    virtual void DrawDragImage(QPainter& dc, int dx, int dy) const = 0;
    virtual void Offset(int dx, int dy) = 0;
    // Everything the entity draws.
    virtual CRect GetBoundingRect() const = 0;
    // The part that positions the entity.
    virtual CRect GetBodyRect() const = 0;
    // Appends the entity's element under `parent` and returns it.
    virtual pugi::xml_node Save(pugi::xml_node parent, bool writeRawResult) const = 0;
    // Reads the entity; false when the element is not of this kind.
    virtual bool Load(pugi::xml_node element) = 0;
    // A deep copy, selection included (for the undo history).
    virtual std::unique_ptr<CDocEntity> Clone() const = 0;

    bool IsSelected() const { return selected; }
    void SetSelected(bool on) { selected = on; }
    // The centre of the body rectangle.
    QPoint GetCenter() const { return GetBodyRect().Center(); }
    // Which entity this is, across edits, undo and redo: given when the
    // entity is first made (read, added, pasted, split off), kept by copies.
    std::uint64_t GetId() const { return id; }

private:
    static std::uint64_t NextId() {
        static std::uint64_t last = 0;
        return ++last;
    }

    std::uint64_t id;
    bool selected = false;
};

} // namespace rp
