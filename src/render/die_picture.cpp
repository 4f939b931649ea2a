#include "die_picture.h"

#include <QFile>
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
