#include "die_picture.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

namespace rp {

namespace {

// One decoded copy per file while any die uses it: trays hold many dice of
// the same colour and kind.
QHash<QString, std::weak_ptr<const CDiePicture>>& Cache() {
    static QHash<QString, std::weak_ptr<const CDiePicture>> cache;
    return cache;
}

int HimetricFromPixels(int pixels, int dotsPerMeter) {
    // 0.01 mm per pixel = 100000 / dots per metre; a picture without a
    // resolution is taken at 96 dots per inch.
    if (dotsPerMeter <= 0)
        dotsPerMeter = 3780;
    return static_cast<int>((qint64{pixels} * 100000 + dotsPerMeter / 2) / dotsPerMeter);
}

} // namespace

std::optional<QRgb> CDiePicture::AverageColour(QRect box) const {
    box = box.intersected(image.rect());
    if (box == lastBox && !box.isEmpty())
        return lastColour;
    lastBox = box;
    lastColour.reset();
    if (box.isEmpty())
        return lastColour;
    qint64 red = 0, green = 0, blue = 0;
    for (int row = box.top(); row <= box.bottom(); ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(row));
        for (int col = box.left(); col <= box.right(); ++col) {
            const QRgb pixel = qUnpremultiply(line[col]);
            red += qRed(pixel);
            green += qGreen(pixel);
            blue += qBlue(pixel);
        }
    }
    const qint64 count = qint64{box.width()} * box.height();
    lastColour = qRgb(static_cast<int>(red / count), static_cast<int>(green / count),
                      static_cast<int>(blue / count));
    return lastColour;
}

QString FindDiePicture(const QString& imagesFolder, const QString& colour, int sideCount) {
    // Files found are remembered: a tray of thousands of dice looks up the
    // same few. Missing ones are looked for again, as folders may be added.
    static QHash<QString, QString> found;
    const QString key = QStringLiteral("%1/%2/d%3").arg(imagesFolder, colour).arg(sideCount);
    if (const auto it = found.constFind(key); it != found.constEnd())
        return *it;
    for (const char* extension : {".gif", ".jpg"}) {
        const QString path = key + QLatin1String(extension);
        if (QFileInfo::exists(path)) {
            found.insert(key, path);
            return path;
        }
    }
    return {};
}

DiePicturePtr LoadDiePicture(const QString& path) {
    if (const DiePicturePtr shared = Cache().value(path).lock())
        return shared;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPictureBytes)
        return nullptr;
    QImageReader reader(&file);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return nullptr;
    auto picture = std::make_shared<CDiePicture>();
    picture->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    picture->sizeHimetric = QSize(HimetricFromPixels(image.width(), image.dotsPerMeterX()),
                                  HimetricFromPixels(image.height(), image.dotsPerMeterY()));
    Cache().insert(path, picture);
    return picture;
}

} // namespace rp
