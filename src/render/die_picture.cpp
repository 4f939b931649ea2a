#include "die_picture.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cstring>

namespace rp {

namespace {

// What tells a changed file from the one decoded before.
struct FileStamp {
    qint64 size = -1; // -1: no file
    QDateTime modified;
    bool operator==(const FileStamp&) const = default;
};

struct CacheEntry {
    std::weak_ptr<const CDiePicture> picture;
    FileStamp stamp;
    FileStamp stamp2x;
};

// One decoded copy per file while any die uses it: trays hold many dice of
// the same colour and kind.
QHash<QString, CacheEntry>& Cache() {
    static QHash<QString, CacheEntry> cache;
    return cache;
}

int HimetricFromPixels(int pixels, int dotsPerMeter) {
    // 0.01 mm per pixel = 100000 / dots per metre; a picture without a
    // resolution is taken at 96 dots per inch.
    if (dotsPerMeter <= 0)
        dotsPerMeter = 3780;
    return static_cast<int>((qint64{pixels} * 100000 + dotsPerMeter / 2) / dotsPerMeter);
}

// Whether JPEG bytes carry their resolution: a JFIF header in dots per inch
// or per centimetre, which the decoder then reports. A GIF has none, nor
// has a JPEG without that header, and for those the decoder reports the
// screen's resolution, which must not size a die.
bool HasStoredDensity(const QByteArray& bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    if (n < 4 || b[0] != 0xFF || b[1] != 0xD8)
        return false;
    qsizetype pos = 2;
    while (pos + 4 <= n && b[pos] == 0xFF) {
        const unsigned char marker = b[pos + 1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // image data: no more headers
            break;
        const int length = (b[pos + 2] << 8) | b[pos + 3];
        if (marker == 0xE0 && length >= 16 && pos + 16 <= n &&
            std::memcmp(b + pos + 4, "JFIF\0", 5) == 0) {
            const int units = b[pos + 11];
            const int x = (b[pos + 12] << 8) | b[pos + 13];
            const int y = (b[pos + 14] << 8) | b[pos + 15];
            return (units == 1 || units == 2) && x > 0 && y > 0;
        }
        pos += 2 + length;
    }
    return false;
}

// The whole file, unless it is larger than a picture may be.
std::optional<QByteArray> ReadCapped(QFile& file) {
    if (file.size() > kMaxPictureBytes)
        return std::nullopt;
    // In pieces: reading up to the cap at once reserves the whole cap for
    // every small picture.
    QByteArray bytes;
    bytes.reserve(file.size());
    while (!file.atEnd()) {
        const QByteArray piece = file.read(64 * 1024);
        if (piece.isEmpty() || bytes.size() + piece.size() > kMaxPictureBytes)
            return piece.isEmpty() ? std::optional<QByteArray>(bytes) : std::nullopt;
        bytes += piece;
    }
    return bytes;
}

QImage Decode(const QByteArray& bytes) {
    QImage image = QImage::fromData(bytes);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The double picture beside a picture; null when there is none that decodes.
QImage DecodeDouble(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const std::optional<QByteArray> bytes = ReadCapped(file);
    return bytes ? Decode(*bytes) : QImage();
}

FileStamp StampOf(const QFile& file) {
    return {file.size(), file.fileTime(QFileDevice::FileModificationTime)};
}

FileStamp StampOf(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() ? FileStamp{info.size(), info.lastModified()} : FileStamp{};
}

DiePicturePtr Load(QFile& file, const QString& path2x) {
    const FileStamp stamp = StampOf(file);
    const FileStamp stamp2x = StampOf(path2x);
    CacheEntry& entry = Cache()[file.fileName()];
    if (DiePicturePtr shared = entry.picture.lock();
        shared && entry.stamp == stamp && entry.stamp2x == stamp2x)
        return shared;
    entry = {};
    const std::optional<QByteArray> bytes = ReadCapped(file);
    if (!bytes)
        return nullptr;
    QImage image = Decode(*bytes);
    if (image.isNull())
        return nullptr;
    const int dotsPerMeterX = HasStoredDensity(*bytes) ? image.dotsPerMeterX() : 0;
    const int dotsPerMeterY = HasStoredDensity(*bytes) ? image.dotsPerMeterY() : 0;
    auto picture = std::make_shared<CDiePicture>();
    picture->sizeHimetric = QSize(HimetricFromPixels(image.width(), dotsPerMeterX),
                                  HimetricFromPixels(image.height(), dotsPerMeterY));
    picture->image = std::move(image);
    picture->image2x = DecodeDouble(path2x);
    entry = {picture, stamp, stamp2x};
    return picture;
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

bool IsColourFolderName(const QString& colour) {
    return !colour.isEmpty() && colour != QLatin1String(".") && colour != QLatin1String("..") &&
           !colour.contains(QLatin1Char('/')) && !colour.contains(QLatin1Char('\\')) &&
           !colour.contains(QChar(0));
}

std::optional<DiePicturePtr> LoadColourPicture(const QString& imagesFolder, const QString& colour,
                                               int sideCount) {
    if (!IsColourFolderName(colour))
        return DiePicturePtr{};
    // Joined, not formatted: a "%1" in a name must stay as it is.
    const QString base = imagesFolder + QLatin1Char('/') + colour + QStringLiteral("/d") +
                         QString::number(sideCount);
    for (const char* extension : {".gif", ".jpg"}) {
        QFile file(base + QLatin1String(extension));
        if (file.open(QIODevice::ReadOnly))
            return Load(file, base + QStringLiteral("@2x") + QLatin1String(extension));
    }
    return std::nullopt;
}

} // namespace rp
