#include "odds_summary.h"

#include "dice_group.h"
#include "dice_odds.h"

#include <QHash>

namespace rp {

QString GroupOddsSummary(const CDiceGroup& group) {
    // The key fixes the description as well as the odds.
    static QHash<QByteArray, QString> recent;
    constexpr qsizetype kRecentSize = 256;
    const QByteArray key = QByteArray::fromStdString(OddsKey(group));
    if (const auto found = recent.constFind(key); found != recent.constEnd())
        return *found;
    if (recent.size() >= kRecentSize)
        recent.clear();
    const QString summary =
        QString::fromStdString(CDiceOdds::ForGroup(group).Summary(group.GetDescription()));
    recent.insert(key, summary);
    return summary;
}

} // namespace rp
