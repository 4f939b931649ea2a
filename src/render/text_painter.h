#pragma once

#include "doc_entity.h"

#include <QString>

namespace rp {

// A free line of text on the tray, anchored at its top-left corner.
class CTextPainter : public CDocEntity {
public:
    CTextPainter() = default;
    CTextPainter(const QString& text, int x, int y) : text(text), x(x), y(y) {}
    CTextPainter(const CTextPainter&) = default;

    void Draw(QPainter& dc) const override;
    // A grey ghost of the text.
    void DrawDragImage(QPainter& dc, int dx, int dy) const override;
    // Moves stay within the tray's position range, as reads do.
    void Offset(int dx, int dy) override {
        x = ClampTrayPosition(SaturatedInt(0LL + x + dx));
        y = ClampTrayPosition(SaturatedInt(0LL + y + dy));
    }
    CRect GetBoundingRect() const override { return GetBodyRect(); }
    CRect GetBodyRect() const override;
    pugi::xml_node Save(pugi::xml_node parent, bool writeRawResult) const override;
    bool Load(pugi::xml_node element) override;
    std::unique_ptr<CDocEntity> Clone() const override;

    const QString& GetText() const { return text; }
    void SetText(const QString& value) { text = value; }
    // Where the text is drawn: its corner and its extent in the tray font.
    CRect GetTextRect() const { return GetBodyRect(); }

private:
    QString text;
    int x = 0;
    int y = 0;
};

} // namespace rp
