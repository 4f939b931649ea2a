#include "roll_log.h"

#include "dice_group.h"
#include "int_text.h"
#include "mini_list.h"
#include "roll_text.h"

#include <QSaveFile>
#include <algorithm>

namespace rp {

CRollLog::CRollLog(int maxEntries, qsizetype maxCharacters, QObject* parent)
    : QAbstractListModel(parent), maxEntries(std::max(maxEntries, 1)),
      maxCharacters(maxCharacters) {}

void CRollLog::AddRoll(const QString& trayName, std::span<const CDiceGroup* const> groups,
                       const QDateTime& when) {
    QString text = when.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") + trayName;
    std::int64_t sum = 0;
    for (const CDiceGroup* group : groups) {
        text += QStringLiteral("\n  ") +
                QString::fromStdString(RollLineText(GetGroupLabel(*group), *group));
        sum += group->GetTotal();
    }
    // The sum as the roll itself reports it, brought back into 32 bits.
    text += QStringLiteral("\n  Total: ") + QString::number(ClampToInt(sum));

    const int row = Count();
    beginInsertRows(QModelIndex(), row, row);
    characters += text.size();
    entries.push_back(std::move(text));
    endInsertRows();

    int dropped = 0;
    qsizetype left = characters;
    while (Count() - dropped > maxEntries || (left > maxCharacters && Count() - dropped > 1))
        left -= entries[static_cast<std::size_t>(dropped++)].size();
    if (dropped == 0)
        return;
    beginRemoveRows(QModelIndex(), 0, dropped - 1);
    entries.erase(entries.begin(), entries.begin() + dropped);
    characters = left;
    endRemoveRows();
}

QString CRollLog::Text() const {
    QString text;
    for (const QString& entry : entries) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += entry + QLatin1Char('\n');
    }
    return text;
}

bool CRollLog::SaveText(const QString& path, QString* error) const {
    QSaveFile file(path);
    const QByteArray bytes = Text().toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

int CRollLog::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

QVariant CRollLog::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count() || role != Qt::DisplayRole)
        return {};
    return EntryText(index.row());
}

} // namespace rp
