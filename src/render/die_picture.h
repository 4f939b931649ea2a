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
    QImage image2x;     // the same face at twice the pixels, or null
    QSize sizeHimetric; // size in 0.01 mm, from the pixel size and resolution

    // The image to draw at a device pixel ratio: the double one from 1.5 on.
    const QImage& ImageFor(qreal devicePixelRatio) const {
        return devicePixelRatio >= 1.5 && !image2x.isNull() ? image2x : image;
    }

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

// Whether a colour name can name a folder under the picture folder: not
// empty, not "." or "..", no "/" or "\" and no NUL. Other names never read
// a picture, so a tray file cannot make the program read files elsewhere.
bool IsColourFolderName(const QString& colour);

// The face picture of a colour for a side count: "d<N>.gif" in the
// colour's folder or, when that does not open, "d<N>.jpg", looked up anew
// on every call; with "d<N>@2x.<ext>" beside it as the double image when
// that decodes. None when no file opens; a null picture when the file that
// opened does not decode, is too large, or the colour is no folder name.
// A file loaded before, unchanged and still in use, is shared, not decoded.
std::optional<DiePicturePtr> LoadColourPicture(const QString& imagesFolder, const QString& colour,
                                               int sideCount);

} // namespace rp
