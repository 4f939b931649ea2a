#include "colour_menu.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <algorithm>

namespace rp {

namespace {

bool HasPicture(const QDir& colour, int sideCount) {
    for (const char* extension : {"gif", "jpg"}) {
        if (QFileInfo::exists(colour.filePath(
                QStringLiteral("d%1.%2").arg(sideCount).arg(QLatin1String(extension)))))
            return true;
    }
    return false;
}

} // namespace

void BuildColourMenu(QMenu& menu, QMap<int, QString>* idToName, const QList<int>& sideCounts,
                     const QString& current, const QString& imagesFolder) {
    const QDir images(imagesFolder);
    // Folders by name, as a player expects to find them in a menu.
    const QStringList names =
        images.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    int id = kFirstColourCommand - 1;
    for (const QString& name : names) {
        const QDir colour(images.filePath(name));
        const bool complete = std::all_of(sideCounts.begin(), sideCounts.end(),
                                          [&](int sides) { return HasPicture(colour, sides); });
        if (!complete)
            continue;
        ++id;
        QAction* item = menu.addAction(name);
        item->setData(id);
        item->setCheckable(true);
        item->setChecked(name.compare(current, Qt::CaseInsensitive) == 0);
        if (idToName)
            idToName->insert(id, name);
    }
}

} // namespace rp
