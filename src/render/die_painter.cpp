#include "die_painter.h"

#include "die_shapes.h"
#include "int_text.h"
#include "labels.h"
#include "stamps.h"
#include "strokes.h"
#include "text_metrics.h"
#include "xml_dom.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPaintDevice>
#include <QPainter>

namespace rp {

namespace {

QString& ImagesFolderOverride() {
    static QString folder;
    return folder;
}

// Windows' MulDiv for positive sizes: a * b / c rounded to nearest.
int MulDiv(int a, int b, int c) {
    return c == 0 ? 0 : static_cast<int>((qint64{a} * b + c / 2) / c);
}

// Tray units are pixels at 96 dots per inch on every device.
constexpr int kTrayDpi = 96;

qreal DevicePixelRatio(const QPainter& dc) {
    const QPaintDevice* device = dc.device();
    return device ? device->devicePixelRatio() : 1.0;
}

constexpr int kCentred =
    Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip;

} // namespace

QString FindImagesFolder(const QString& programDir) {
    const QDir program(programDir);
    const QString beside = program.filePath(QStringLiteral("images"));
    const QString installed =
        QDir::cleanPath(program.filePath(QStringLiteral("../share/rollpouch/images")));
    return !QFileInfo(beside).isDir() && QFileInfo(installed).isDir() ? installed : beside;
}

CDiePainter::CDiePainter(int sideCount, int x, int y, int rawResult)
    : CDie(sideCount, rawResult), x(x), y(y) {}

QString CDiePainter::ImagesFolder() {
    const QString& folder = ImagesFolderOverride();
    if (!folder.isEmpty())
        return folder;
    static const QString found = FindImagesFolder(QCoreApplication::applicationDirPath());
    return found;
}

void CDiePainter::SetImagesFolder(const QString& folder) {
    ImagesFolderOverride() = folder;
}

bool CDiePainter::Save(pugi::xml_node element, bool writeRawResult) const {
    if (!CDie::Save(element, writeRawResult))
        return false;
    pugi::xml_node position = element.append_child("position");
    position.append_attribute("x") = x;
    position.append_attribute("y") = y;
    if (!colorName.isEmpty())
        element.append_child("color").text() = colorName.toUtf8().constData();
    return true;
}

bool CDiePainter::Load(pugi::xml_node element) {
    if (std::string_view(element.name()) != "die")
        return false;
    x = ClampTrayPosition(ReadInt(xml::SelectText(element, "position/@x")));
    y = ClampTrayPosition(ReadInt(xml::SelectText(element, "position/@y")));
    // Without the control characters a written tray leaves out, and of more
    // than white space: otherwise it would not read back as the same name.
    QString color = QString::fromStdString(xml::SelectText(element, "color"));
    color.removeIf([](QChar c) { return c < u' ' && c != u'\t' && c != u'\n' && c != u'\r'; });
    if (!color.trimmed().isEmpty())
        SetColor(color);
    return CDie::Load(element);
}

CRect CDiePainter::GetRect() const {
    int width = kPlainSize;
    int height = kPlainSize;
    if (picture) {
        width = MulDiv(picture->sizeHimetric.width(), kTrayDpi, 2540);
        height = MulDiv(picture->sizeHimetric.height(), kTrayDpi, 2540);
    }
    const int left = x - width / 2;
    const int top = y - height / 2;
    return CRect{left, top, left + width, top + height};
}

bool CDiePainter::HasLabels() const {
    return GetModifier() != 0 || !GetMultiplier().IsOne();
}

CRect CDiePainter::GetBoundingRect() const {
    return JoinLabels(GetRect(), GetModifier(), GetMultiplier());
}

void CDiePainter::Draw(QPainter& dc) const {
    const CRect rect = GetRect();
    if (picture) {
        // The double picture fills the same rectangle with twice the pixels.
        dc.drawImage(rect.ToQRect(), picture->ImageFor(DevicePixelRatio(dc)));
        DrawValue(dc, GetValueRect());
    } else {
        DrawShape(dc, true, 0, 0);
    }
    DrawLabels(dc, rect, GetModifier(), GetMultiplier());
}

void CDiePainter::DrawValue(QPainter& dc, const CRect& rect) const {
    const QColor background = labelColor ? ToQColor(*labelColor) : dc.background().color();
    DrawTextStamp(dc, rect.ToQRect(), kCentred, QString::number(GetRawResult()),
                  ContrastColor(background), background);
}

void CDiePainter::DrawShape(QPainter& dc, bool drawValue, int dx, int dy) const {
    DrawCircle(dc, drawValue, dx, dy);
}

void CDiePainter::DrawCircle(QPainter& dc, bool drawValue, int dx, int dy) const {
    const CRect r = GetRect().Offset(dx, dy).Inflate(-4);
    const int middle = (r.top + r.bottom) / 2;
    const QBrush brush = dc.brush();
    dc.setBrush(Qt::NoBrush);
    {
        const CLinesOnPixels onPixels(dc);
        dc.drawEllipse(r.OutlineRect());
        dc.drawLine(r.left + 5, middle, r.right - 5, middle);
    }
    dc.setBrush(brush);

    const QString sides = QString::number(GetSideCount());
    const QSize extent = MeasureClientText(sides);
    const Qt::BGMode mode = dc.backgroundMode();
    dc.setBackgroundMode(Qt::TransparentMode);
    dc.drawText(r.Offset(0, extent.height() / 2).ToQRect(), kCentred, sides);
    dc.setBackgroundMode(mode);

    if (drawValue)
        DrawValue(dc, r.Offset(0, -extent.height() / 2));
}

void CDiePainter::SetColor(const QString& name) {
    colorName = name;
    // When no file opens the die keeps what it had. A file that opens is
    // the die's picture even when it does not decode: the die is then drawn
    // by its outline, as it is for a name that is no folder name.
    std::optional<DiePicturePtr> found = LoadColourPicture(ImagesFolder(), name, GetSideCount());
    if (!found)
        return;
    picture = std::move(*found);
    labelColor.reset();
    if (picture)
        SampleLabelColor();
}

void CDiePainter::SampleLabelColor() {
    // Average the picture's pixels in a box the size of "0" centred where the
    // value is drawn, so the value gets a matching background. The box is
    // laid out in tray units on the die's rectangle, then scaled to the
    // picture's pixels (a picture of another resolution is stretched), and
    // clipped to the picture.
    const CRect dieRect = GetRect();
    const CRect value = ValueRectFor(dieRect).Offset(-dieRect.left, -dieRect.top);
    const QSize zero = MeasureClientText(QStringLiteral("0"));
    const QSize pixels = picture->image.size();
    const auto toPixelsX = [&](int units) {
        return MulDiv(units, pixels.width(), dieRect.Width());
    };
    const auto toPixelsY = [&](int units) {
        return MulDiv(units, pixels.height(), dieRect.Height());
    };
    const int width = std::max(1, toPixelsX(zero.width()));
    const int height = std::max(1, toPixelsY(zero.height()));
    const int left = toPixelsX((value.left + value.right) / 2) - width / 2;
    const int top = toPixelsY((value.top + value.bottom) / 2) - height / 2;
    if (const auto average = picture->AverageColour(QRect(left, top, width, height)))
        labelColor = Rgb(qRed(*average), qGreen(*average), qBlue(*average));
}

std::unique_ptr<CDiePainter> CDiePainter::Clone() const {
    return CloneDiePainter(*this);
}

} // namespace rp
