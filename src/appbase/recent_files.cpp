#include "recent_files.h"

#include <QSettings>

namespace rp {

namespace {
const QString kSection = QStringLiteral("Recent File List");
} // namespace

CRecentFileList::CRecentFileList() {
    QSettings settings;
    settings.beginGroup(kSection);
    for (int i = 1; i <= kSize; ++i) {
        const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !paths.contains(path))
            paths.append(path);
    }
}

void CRecentFileList::Add(const QString& path) {
    if (path.isEmpty())
        return;
    paths.removeAll(path);
    paths.prepend(path);
    while (paths.size() > kSize)
        paths.removeLast();
    Write();
}

void CRecentFileList::Write() const {
    QSettings settings;
    settings.remove(kSection);
    settings.beginGroup(kSection);
    for (int i = 0; i < paths.size(); ++i)
        settings.setValue(QStringLiteral("File%1").arg(i + 1), paths[i]);
}

} // namespace rp
