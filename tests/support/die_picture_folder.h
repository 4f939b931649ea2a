#pragma once

#include "die_painter.h"
#include "test_files.h"

#include <QTemporaryDir>
#include <utility>
#include <vector>

namespace rp::test {

// A temporary folder the die painters take their pictures from while it
// lives: an empty picture for each colour and side count given, and
// whatever a test writes into it.
class CDiePictureFolder {
public:
    explicit CDiePictureFolder(const std::vector<std::pair<QString, int>>& pictures = {}) {
        for (const auto& [colour, sides] : pictures)
            WriteFile(FilePath(QStringLiteral("%1/d%2.gif").arg(colour).arg(sides)));
        CDiePainter::SetImagesFolder(folder.path());
    }
    ~CDiePictureFolder() { CDiePainter::SetImagesFolder({}); }
    QString FilePath(const QString& name) const { return folder.filePath(name); }

private:
    QTemporaryDir folder;
};

} // namespace rp::test
