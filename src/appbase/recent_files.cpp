#include "recent_files.h"

#include <QDir>
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

void CRecentFileList::Remove(const QString& path) {
    if (paths.removeAll(path) > 0)
        Write();
}

void CRecentFileList::Write() const {
    QSettings settings;
    settings.remove(kSection);
    settings.beginGroup(kSection);
    for (int i = 0; i < paths.size(); ++i)
        settings.setValue(QStringLiteral("File%1").arg(i + 1), paths[i]);
}

QString MenuLiteral(QString text) {
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString RecentFileMenuText(int index, const QString& path) {
    return QStringLiteral("&%1 %2").arg(QString::number(index + 1),
                                        MenuLiteral(QDir::toNativeSeparators(path)));
}

} // namespace rp
