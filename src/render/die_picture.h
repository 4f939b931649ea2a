#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>

namespace rp {

// A decoded die face picture, shared by every die that shows it.
struct CDiePicture {
    QImage image;       // premultiplied ARGB, ready to draw
    QSize sizeHimetric; // size in 0.01 mm, from the pixel size and resolution

    // The average colour of the pixels in a box, clipped to the picture;
    // none when nothing of the box lies on it. The last answer is kept, as
    // every die showing the picture asks for the same box.
    std::optional<QRgb> AverageColour(QRect box) const;

private:
    mutable QRect lastBox;
    mutable std::optional<QRgb> lastColour;
};

using DiePicturePtr = std::shared_ptr<const CDiePicture>;

// Picture files larger than this are not read.
constexpr qint64 kMaxPictureBytes = qint64{8} << 20;

// The picture file of a colour for a side count, "d<N>.gif" or else
// "d<N>.jpg" in the colour's folder; empty when there is neither.
QString FindDiePicture(const QString& imagesFolder, const QString& colour, int sideCount);

// Loads a GIF or JPEG picture; null when the file is missing, too large or
// does not decode. A file already loaded and still in use is shared.
DiePicturePtr LoadDiePicture(const QString& path);

} // namespace rp
