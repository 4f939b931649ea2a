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
    for (const CDiceGroup* group : groups)
        text += QStringLiteral("\n  ") +
                QString::fromStdString(RollLineText(GetGroupLabel(*group), *group, true));
    text += QStringLiteral("\n  ") + QString::fromStdString(RollTotalText(groups));

    // The oldest entries that go to make room; the new one always stays.
    const std::size_t total = entries.size() + 1;
    qsizetype left = characters + text.size();
    std::size_t dropped = 0;
    while (dropped + 1 < total &&
           (total - dropped > static_cast<std::size_t>(maxEntries) || left > maxCharacters))
        left -= entries[dropped++].text.size();
    const QDate oldest = dropped < entries.size() ? entries[dropped].when.date() : when.date();
    const bool nowDated = oldest != when.date();

    // Every entry's text changes when the dates come or go: a reset.
    const bool reset = nowDated != dated;
    const int row = Count();
    if (reset)
        beginResetModel();
    else
        beginInsertRows(QModelIndex(), row, row);
    entries.push_back({when, std::move(text)});
    characters = left;
    if (!reset) {
        endInsertRows();
        if (dropped == 0)
            return;
        beginRemoveRows(QModelIndex(), 0, static_cast<int>(dropped) - 1);
    }
    entries.erase(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(dropped));
    dated = nowDated;
    if (reset)
        endResetModel();
    else
        endRemoveRows();
}

QString CRollLog::EntryText(int row) const {
    const SEntry& entry = entries[static_cast<std::size_t>(row)];
    return dated ? entry.when.toString(QStringLiteral("yyyy-MM-dd ")) + entry.text : entry.text;
}

void CRollLog::Clear() {
    beginResetModel();
    entries.clear();
    characters = 0;
    dated = false;
    endResetModel();
}

QString CRollLog::Text() const {
    QString text;
    for (int row = 0; row < Count(); ++row) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += EntryText(row) + QLatin1Char('\n');
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
