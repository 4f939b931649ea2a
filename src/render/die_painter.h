#pragma once

#include "colour.h"
#include "die.h"
#include "die_picture.h"
#include "geometry.h"

#include <QString>
#include <memory>
#include <optional>

class QPainter;

namespace rp {

// The default die colour, which is also the name of its picture folder.
inline const QString kDefaultDieColor = QStringLiteral("Light Gray");

// The die picture folder for a program in `programDir`: "images" beside the
// program, or, for an installed program, share/rollpouch/images.
QString FindImagesFolder(const QString& programDir);

// A die with a place on the tray: it draws itself from its colour's face
// picture, or as an outline when there is none, with its face value and its
// modifier and multiplier labels.
class CDiePainter : public CDie {
public:
    CDiePainter(int sideCount, int x, int y, int rawResult);
    CDiePainter(const CDiePainter&) = default;
    CDiePainter& operator=(const CDiePainter&) = default;
    ~CDiePainter() override = default;

    // The die's attributes, then "position" and, when coloured, "color".
    bool Save(pugi::xml_node element, bool writeRawResult) const override;
    bool Load(pugi::xml_node element) override;

    // The outline at the die's rectangle shifted by (dx, dy) and, when
    // asked, the face value. A plain die is a circle showing its side count.
    virtual void DrawShape(QPainter& dc, bool drawValue, int dx, int dy) const;
    // Where the face value is centred.
    CRect GetValueRect() const { return ValueRectFor(GetRect()); }
    // Picture or outline, face value, labels. On a device of 1.5 or more
    // device pixels per unit the picture's double image is drawn, when it has one.
    void Draw(QPainter& dc) const;
    void DrawOutline(QPainter& dc, int dx, int dy) const { DrawShape(dc, false, dx, dy); }

    const QString& GetColor() const { return colorName; }
    // Stores the colour and loads its face picture, when there is one. A
    // name that is no folder name ("..", "a/b") is kept but draws an outline.
    void SetColor(const QString& name);
    // The die's rectangle joined with its label rectangles.
    CRect GetBoundingRect() const;
    // The die's rectangle, the same for measuring, hit tests and drawing on
    // every device: the picture's size at 96 dots per inch (a picture that
    // stores no resolution counts as 96 dpi, so one pixel a unit), or 64 x 64.
    CRect GetRect() const;

    QPoint GetPosition() const { return QPoint(x, y); }
    void SetPosition(int newX, int newY) {
        x = newX;
        y = newY;
    }
    // Moves stay within the tray's position range, as reads do.
    void Offset(int dx, int dy) {
        x = ClampTrayPosition(SaturatedInt(0LL + x + dx));
        y = ClampTrayPosition(SaturatedInt(0LL + y + dy));
    }
    bool HitTest(QPoint point) const { return GetBoundingRect().Contains(point); }
    bool HasLabels() const;
    void DrawValue(QPainter& dc, const CRect& rect) const;

    // A copy of the die as the class its side count calls for.
    std::unique_ptr<CDiePainter> Clone() const;

    // Where the colour folders are: FindImagesFolder for this program, unless
    // set (tests).
    static QString ImagesFolder();
    static void SetImagesFolder(const QString& folder);

    static constexpr int kPlainSize = 64;

protected:
    // Where the face value is centred in a die rectangle: all of it here.
    virtual CRect ValueRectFor(const CRect& dieRect) const { return dieRect; }
    // The outline of a plain die: a circle, a dividing line and the side count.
    void DrawCircle(QPainter& dc, bool drawValue, int dx, int dy) const;

private:
    void SampleLabelColor();

    int x;
    int y;
    std::optional<ColorValue> labelColor; // none: the painter's background
    QString colorName;
    DiePicturePtr picture;
};

} // namespace rp
