#pragma once

#include <QList>
#include <QMap>
#include <QString>

class QMenu;

namespace rp {

// Command id of the first colour item; the next ones follow.
constexpr int kFirstColourCommand = 49155;

// Fills `menu` with one checkable item per colour folder of `imagesFolder`
// that has a picture (".gif", else ".jpg") for every side count asked for.
// Item ids (in QAction::data) start at kFirstColourCommand and are added to
// `idToName` when given; the item named `current`, ignoring case, is checked.
void BuildColourMenu(QMenu& menu, QMap<int, QString>* idToName, const QList<int>& sideCounts,
                     const QString& current, const QString& imagesFolder);

} // namespace rp
