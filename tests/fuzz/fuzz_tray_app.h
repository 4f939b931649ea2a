#pragma once

#include "die_painter.h"
#include "die_picture.h"
#include "fuzz_support.h"

#include <QDir>
#include <QGuiApplication>
#include <string>
#include <vector>

namespace rp::fuzz {

// Set-up of the targets that read whole trays: an application on the
// offscreen platform, and every die picture loaded and kept, so that no
// input pays for decoding them.
inline void StartTrayApplication(const char* name) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static std::string program = name;
    static char* argv[] = {program.data(), nullptr};
    static QGuiApplication app(argc, argv);
    CDiePainter::SetImagesFolder(QStringLiteral(ROLLPOUCH_IMAGES_DIR));
    static std::vector<DiePicturePtr> pictures;
    const QDir images(QStringLiteral(ROLLPOUCH_IMAGES_DIR));
    for (const QString& colour : images.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const int sides : {4, 6, 8, 10, 12, 20, 100})
            if (auto picture = LoadColourPicture(images.path(), colour, sides); picture && *picture)
                pictures.push_back(std::move(*picture));
    if (pictures.empty())
        Fail("no die pictures in " ROLLPOUCH_IMAGES_DIR);
}

} // namespace rp::fuzz
