#include "stamps.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace rp {

namespace {

// What the pixels of every stamp depend on besides its own key.
struct SStampDevice {
    QFont font; // the painter's, resolved for its device
    int dpiX = 0;
    int dpiY = 0;
    int ratio = 0;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    QPainter::RenderHints hints;
    bool operator==(const SStampDevice&) const = default;
};

struct STextKey {
    QString text;
    int flags = 0;
    QSize size;
    QRgb colour = 0;
    QRgb background = 0;
    bool operator==(const STextKey&) const = default;
};

size_t qHash(const STextKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.text, key.flags, key.size.width(), key.size.height(), key.colour,
                      key.background);
}

struct SStrokeKey {
    EStrokeKind kind = EStrokeKind::Frame;
    int variant = 0;
    QSize size;
    QRgb colour = 0;
    int style = 0;
    qreal width = 0;
    int cap = 0;
    int join = 0;
    bool cosmetic = false;
    QRgb background = 0;
    bool opaque = false;
    bool operator==(const SStrokeKey&) const = default;
};

size_t qHash(const SStrokeKey& key, size_t seed = 0) {
    return qHashMulti(seed, int(key.kind), key.variant, key.size.width(), key.size.height(),
                      key.colour, key.style, key.width, key.cap, key.join, key.cosmetic,
                      key.background, key.opaque);
}

struct SStamp {
    QImage image;  // null: painted each time
    QPoint offset; // of the image from the box, in device pixels
};

// A text laid out as QPainter::drawText lays out a text without tabs or
// line breaks: left aligned lines of unlimited width, on whole pixels.
struct SLaidOut {
    QTextLayout layout;
    qreal width = 0;  // of the widest line, without trailing spaces
    qreal height = 0; // of the lines
};

struct SStamps {
    SStampDevice device;
    QHash<STextKey, SStamp> texts;
    QHash<SStrokeKey, SStamp> strokes;
    QHash<QString, std::shared_ptr<SLaidOut>> laidOut;
    qsizetype bytes = 0;
};

SStamps& Stamps() {
    static SStamps stamps;
    return stamps;
}

constexpr qsizetype kMaxStamps = 8192;
constexpr qsizetype kMaxBytes = qsizetype{32} << 20;

// The device pixels per unit when the painter maps units onto whole device
// pixels, by that scale and a shift of whole pixels only, and paints plainly;
// 0 otherwise. Stamps are copied unscaled: at 1, or by the painter's exact
// path for twice the pixels at 2.
int WholePixelRatio(const QPainter& dc) {
    const QTransform& t = dc.deviceTransform();
    const qreal ratio = t.m11();
    if (t.type() > QTransform::TxScale || t.m22() != ratio || (ratio != 1 && ratio != 2) ||
        t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()) || !dc.device() ||
        dc.opacity() != 1 || dc.compositionMode() != QPainter::CompositionMode_SourceOver)
        return 0;
    return static_cast<int>(ratio);
}

// The stamps for the painter's device, emptied when that differs from the
// last one's or they have grown too many or too large.
SStamps& StampsFor(const QPainter& dc, int ratio) {
    SStamps& stamps = Stamps();
    const SStampDevice device{dc.font(), dc.device()->logicalDpiX(), dc.device()->logicalDpiY(),
                              ratio,     dc.layoutDirection(),       dc.renderHints()};
    if (!(device == stamps.device) ||
        stamps.texts.size() + stamps.strokes.size() + stamps.laidOut.size() >= kMaxStamps ||
        stamps.bytes >= kMaxBytes) {
        stamps = {};
        stamps.device = device;
    }
    return stamps;
}

// A pixel of a stamp from what painting made of it on black and on white.
// The raster engine paints a solid colour c over part a of a pixel as
// BYTE_MUL(c, a) + BYTE_MUL(dst, 255 - a) in each channel, which is how a
// premultiplied pixel (BYTE_MUL(c, a), a) is copied over dst: on black the
// first term is left, on white 255 - a more in every channel. A pixel left
// alone is then transparent and one painted over opaque. Anything else (no
// such a) is no stamp pixel.
std::optional<QRgb> StampPixel(QRgb onBlack, QRgb onWhite) {
    const int rest = qRed(onWhite) - qRed(onBlack);
    const int alpha = 255 - rest;
    if (rest < 0 || rest > 255 || qGreen(onWhite) - qGreen(onBlack) != rest ||
        qBlue(onWhite) - qBlue(onBlack) != rest || qRed(onBlack) > alpha ||
        qGreen(onBlack) > alpha || qBlue(onBlack) > alpha)
        return std::nullopt;
    return qRgba(qRed(onBlack), qGreen(onBlack), qBlue(onBlack), alpha);
}

// The painting, as an opaque image filled with `fill`, one unit for `ratio`
// device pixels, `area` (in units) of it.
QImage PaintedOn(QRgb fill, const SStampDevice& device, const QRect& area,
                 const std::function<void(QPainter&)>& setUp,
                 const std::function<void(QPainter&)>& paint) {
    QImage painted(area.size() * device.ratio, QImage::Format_RGB32);
    painted.setDevicePixelRatio(device.ratio);
    painted.setDotsPerMeterX(qRound(device.dpiX / 0.0254));
    painted.setDotsPerMeterY(qRound(device.dpiY / 0.0254));
    painted.fill(fill);
    QPainter p(&painted);
    p.setRenderHints(device.hints);
    p.setLayoutDirection(device.direction);
    p.setFont(device.font);
    setUp(p);
    p.translate(-area.topLeft());
    paint(p);
    return painted;
}

// The painting of `area` (in units) as a stamp, from paintings on black and
// on white. A drawing that reaches the edge of the area is none. A pixel
// painted in part by two blends (a letter's edge on a box's edge) may follow
// no single coverage, so a stamp with such pixels is also copied onto two
// coloured fills and must give what painting gives there.
SStamp MakeStamp(const SStampDevice& device, const QRect& area, const QPoint& anchor,
                 const std::function<void(QPainter&)>& setUp,
                 const std::function<void(QPainter&)>& paint) {
    const QImage onBlack = PaintedOn(qRgb(0, 0, 0), device, area, setUp, paint);
    const QImage onWhite = PaintedOn(qRgb(255, 255, 255), device, area, setUp, paint);
    QImage stamp(onBlack.size(), QImage::Format_ARGB32_Premultiplied);
    QRect covered;
    bool partial = false;
    for (int y = 0; y < stamp.height(); ++y) {
        const auto* b = reinterpret_cast<const QRgb*>(onBlack.constScanLine(y));
        const auto* w = reinterpret_cast<const QRgb*>(onWhite.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(stamp.scanLine(y));
        const bool edge = y == 0 || y == stamp.height() - 1;
        for (int x = 0; x < stamp.width(); ++x) {
            const std::optional<QRgb> pixel = StampPixel(b[x], w[x]);
            if (!pixel)
                return {};
            out[x] = *pixel;
            if (qAlpha(*pixel) == 0)
                continue;
            if (edge || x == 0 || x == stamp.width() - 1)
                return {};
            partial = partial || qAlpha(*pixel) != 255;
            covered |= QRect(x, y, 1, 1);
        }
    }
    if (covered.isEmpty())
        return {};
    SStamp made;
    made.image = stamp.copy(covered);
    made.image.setDevicePixelRatio(device.ratio);
    for (const QRgb fill : {qRgb(53, 138, 198), qRgb(211, 97, 31)}) {
        if (!partial)
            break;
        QImage copied(onBlack.size(), QImage::Format_RGB32);
        copied.setDevicePixelRatio(device.ratio);
        copied.fill(fill);
        QPainter(&copied).drawImage(QPointF(covered.topLeft()) / device.ratio, made.image);
        if (copied != PaintedOn(fill, device, area, setUp, paint))
            return {};
    }
    made.offset = covered.topLeft() + (area.topLeft() - anchor) * device.ratio;
    return made;
}

// A stamp kept under a key, made when missing.
template <typename Key>
const SStamp& Find(SStamps& stamps, QHash<Key, SStamp>& kept, const Key& key,
                   const std::function<SStamp()>& make) {
    auto it = kept.constFind(key);
    if (it == kept.constEnd()) {
        it = kept.insert(key, make());
        stamps.bytes += it->image.sizeInBytes() + 64;
    }
    return *it;
}

void Copy(QPainter& dc, const SStamp& stamp, const QPoint& anchor, int ratio) {
    dc.drawImage(QPointF(anchor.x() + qreal(stamp.offset.x()) / ratio,
                         anchor.y() + qreal(stamp.offset.y()) / ratio),
                 stamp.image);
}

// Whether a text is drawn by a kept layout: one in the painter's font, in
// the direction of its own letters or left to right, aligned left or centred, with none of the
// characters QPainter::drawText replaces first.
bool KeepsLayout(const QPainter& dc, int flags, const QString& text) {
    constexpr int kLaidOutFlags = Qt::AlignLeft | Qt::AlignHCenter | Qt::AlignTop |
                                  Qt::AlignVCenter | Qt::AlignBottom | Qt::TextSingleLine |
                                  Qt::TextDontClip;
    return !text.isEmpty() && (flags & ~kLaidOutFlags) == 0 &&
           dc.layoutDirection() != Qt::RightToLeft &&
           std::none_of(text.begin(), text.end(), [](QChar c) {
               return c == u'\r' || c == u'\n' || c == u'\t' || c == QChar(0x9c);
           });
}

std::shared_ptr<SLaidOut> LayOut(const QFont& font, Qt::LayoutDirection direction,
                                 const QString& text) {
    auto laid = std::make_shared<SLaidOut>();
    QTextLayout& layout = laid->layout;
    layout.setText(text);
    layout.setFont(font);
    QTextOption option;
    option.setTextDirection(direction);
    option.setAlignment(Qt::AlignLeft);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    const qreal leading = QFontMetricsF(font).leading();
    qreal height = -leading;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(0x01000000);
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.ascent() + line.descent();
        laid->width = std::max(laid->width, line.naturalTextWidth());
    }
    layout.endLayout();
    laid->height = height;
    return laid;
}

// The text painted afresh, from its kept layout when it has one.
void PaintText(QPainter& dc, SStamps* stamps, const QRect& rect, int flags, const QString& text,
               const QColor& colour, const QColor& background) {
    const QPen pen = dc.pen();
    const QBrush brush = dc.background();
    dc.setPen(colour);
    dc.setBackground(background);
    if (stamps && KeepsLayout(dc, flags, text)) {
        std::shared_ptr<SLaidOut>& laid = stamps->laidOut[text];
        if (!laid) {
            laid = LayOut(dc.font(), dc.layoutDirection(), text);
            stamps->bytes += 64 * text.size() + 256;
        }
        // Placed as QPainter::drawText places the lines of a layout.
        const QRectF r(rect);
        qreal yoff = 0;
        if (flags & Qt::AlignBottom)
            yoff = r.height() - laid->height;
        else if (flags & Qt::AlignVCenter)
            yoff = (r.height() - laid->height) / 2;
        for (int i = 0; i < laid->layout.lineCount(); ++i) {
            const QTextLine line = laid->layout.lineAt(i);
            const qreal xoff =
                flags & Qt::AlignHCenter ? (r.width() - line.horizontalAdvance()) / 2 : 0;
            line.draw(&dc, QPointF(r.x() + xoff, r.y() + yoff));
        }
    } else {
        dc.drawText(rect, flags, text);
    }
    dc.setPen(pen);
    dc.setBackground(brush);
}

void PaintStrokes(QPainter& dc, const QPen& pen, const std::function<void(QPainter&)>& paint) {
    const QPen old = dc.pen();
    const QBrush brush = dc.brush();
    dc.setPen(pen);
    dc.setBrush(Qt::NoBrush);
    paint(dc);
    dc.setPen(old);
    dc.setBrush(brush);
}

// Where an area (in units) lies against what the painter paints, in device
// pixels: the raster engine cuts lines that reach past its edges, which could
// move their pixels, and paints nothing wholly outside them.
enum class EPlace { Inside, Edge, Outside, Unknown };

EPlace PlaceOf(const QPainter& dc, const QRect& area) {
    const QPaintEngine* engine = dc.paintEngine();
    // The engine's own device is the image painted, sized in device pixels.
    const QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || engine->type() != QPaintEngine::Raster)
        return EPlace::Unknown;
    QRect painted(0, 0, device->width(), device->height());
    if (!engine->systemClip().isEmpty())
        painted &= engine->systemClip().boundingRect();
    const QRect mapped = dc.deviceTransform().mapRect(area);
    if (!mapped.intersects(painted))
        return EPlace::Outside;
    if (dc.hasClipping() || !painted.adjusted(2, 2, -2, -2).contains(mapped))
        return EPlace::Edge;
    return EPlace::Inside;
}

// Lines drawn within a box reach at most a unit past it, and may move half a
// unit onto the device pixels.
constexpr int kStrokeMargin = 2;

} // namespace

void DrawTextStamp(QPainter& dc, const QRect& rect, int flags, const QString& text,
                   const QColor& colour, const QColor& background) {
    const int ratio = WholePixelRatio(dc);
    if (ratio == 0) {
        PaintText(dc, nullptr, rect, flags, text, colour, background);
        return;
    }
    SStamps& stamps = StampsFor(dc, ratio);
    if (dc.backgroundMode() != Qt::OpaqueMode) {
        PaintText(dc, &stamps, rect, flags, text, colour, background);
        return;
    }
    const STextKey key{text, flags, rect.size(), colour.rgba(), background.rgba()};
    const SStamp& stamp = Find<STextKey>(stamps, stamps.texts, key, [&] {
        // Room for letters that reach out of the box, so that they are seen.
        const int margin = QFontMetrics(dc.font()).height() + 2;
        const QRect area = dc.boundingRect(rect, flags, text)
                               .united(rect)
                               .adjusted(-margin, -margin, margin, margin);
        return MakeStamp(
            stamps.device, area, rect.topLeft(),
            [&](QPainter& p) {
                p.setPen(colour);
                p.setBackground(background);
                p.setBackgroundMode(Qt::OpaqueMode);
            },
            [&](QPainter& p) { p.drawText(rect, flags, text); });
    });
    if (stamp.image.isNull())
        PaintText(dc, &stamps, rect, flags, text, colour, background);
    else
        Copy(dc, stamp, rect.topLeft(), ratio);
}

void DrawStrokeStamp(QPainter& dc, const QRect& box, EStrokeKind kind, int variant, const QPen& pen,
                     const std::function<void(QPainter&)>& paint) {
    const QRect area = box.adjusted(-kStrokeMargin, -kStrokeMargin, kStrokeMargin, kStrokeMargin);
    const EPlace place = PlaceOf(dc, area);
    if (place == EPlace::Outside)
        return;
    const int ratio = WholePixelRatio(dc);
    if (ratio == 0 || pen.brush().style() != Qt::SolidPattern || place != EPlace::Inside) {
        PaintStrokes(dc, pen, paint);
        return;
    }
    SStamps& stamps = StampsFor(dc, ratio);
    const QColor background = dc.background().color();
    const bool opaque = dc.backgroundMode() == Qt::OpaqueMode;
    const SStrokeKey key{
        kind,         variant,        box.size(),      pen.color().rgba(), pen.style(),
        pen.widthF(), pen.capStyle(), pen.joinStyle(), pen.isCosmetic(),   background.rgba(),
        opaque};
    const SStamp& stamp = Find<SStrokeKey>(stamps, stamps.strokes, key, [&] {
        return MakeStamp(
            stamps.device, area, box.topLeft(),
            [&](QPainter& p) {
                p.setPen(pen);
                p.setBrush(Qt::NoBrush);
                p.setBackground(background);
                p.setBackgroundMode(opaque ? Qt::OpaqueMode : Qt::TransparentMode);
            },
            paint);
    });
    if (stamp.image.isNull())
        PaintStrokes(dc, pen, paint);
    else
        Copy(dc, stamp, box.topLeft(), ratio);
}

bool OutsidePainting(const QPainter& dc, const QRect& box) {
    return PlaceOf(dc, box.adjusted(-kStrokeMargin, -kStrokeMargin, kStrokeMargin,
                                    kStrokeMargin)) == EPlace::Outside;
}

void DropStamps() {
    Stamps() = {};
}

} // namespace rp
