#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

namespace rp {

// A decoded die face picture, shared by every die that shows it.
struct CDiePicture {
    QImage image;      // premultiplied ARGB, ready to draw
    QSize sizeHimetric; // size in 0.01 mm, from the pixel size and resolution
};

using DiePicturePtr = std::shared_ptr<const CDiePicture>;

// Picture files larger than this are not read.
constexpr qint64 kMaxPictureBytes = qint64{8} << 20;

// Loads a GIF or JPEG picture; null when the file is missing, too large or
// does not decode. A file already loaded and still in use is shared.
DiePicturePtr LoadDiePicture(const QString& path);

} // namespace rp
