#pragma once

#include <QAbstractListModel>
#include <QDateTime>
#include <QString>
#include <deque>
#include <span>

namespace rp {

class CDiceGroup;

// The rolls of one program session, oldest first, in memory only: each
// entry the time, the tray's name, a line per rolled group in the words of
// rollpouch-cli's roll ("Damage (4d6, ignore lowest 1): 3 (1) 5 6 = 14")
// and the sum. Only the newest entries are kept, at most kMaxEntries and
// about kMaxCharacters of text (the newest entry always stays). While the
// entries kept span more than one calendar day, each time shows its date.
class CRollLog : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kMaxEntries = 10000;
    static constexpr qsizetype kMaxCharacters = 16 * 1024 * 1024;

    explicit CRollLog(int maxEntries = kMaxEntries, qsizetype maxCharacters = kMaxCharacters,
                      QObject* parent = nullptr);

    // Adds one roll of `groups`, as their faces now stand, on the tray named `trayName`.
    void AddRoll(const QString& trayName, std::span<const CDiceGroup* const> groups,
                 const QDateTime& when = QDateTime::currentDateTime());
    int Count() const { return static_cast<int>(entries.size()); }
    // "21:14:05  Rollpouch1", then "  LABEL: FACES = TOTAL" per group, then "  Total: SUM";
    // "2024-05-01 21:14:05  Rollpouch1" while the log spans days.
    QString EntryText(int row) const;
    // Forgets every entry, as a model reset.
    void Clear();
    // Every entry in order, each ending in a newline, a blank line between them.
    QString Text() const;
    // Writes the whole log to a file as UTF-8 text, replacing the file only
    // when all of it is written; false and the system's reason when it cannot.
    bool SaveText(const QString& path, QString* error = nullptr) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    int maxEntries;
    qsizetype maxCharacters;
    qsizetype characters = 0;
    // Whether the times show their dates; changes only inside a model reset,
    // so that views never see entries of both kinds.
    bool dated = false;
    struct SEntry {
        QDateTime when;
        QString text; // without the date
    };
    std::deque<SEntry> entries;
};

} // namespace rp
