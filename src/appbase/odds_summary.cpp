#include "odds_summary.h"

#include "dice_group.h"
#include "odds_range.h"

#include <QFutureWatcher>
#include <QHash>
#include <QMutex>
#include <QtConcurrent/QtConcurrentRun>
#include <optional>

namespace rp {

namespace {

// Recent summaries by odds key, which fixes the description as well as the
// odds. Locked: any thread may ask.
struct CRecentSummaries {
    QMutex mutex;
    QHash<QByteArray, QString> summaries;
};

CRecentSummaries& Recent() {
    static CRecentSummaries recent;
    return recent;
}

std::optional<QString> FindRecent(const std::string& key) {
    CRecentSummaries& recent = Recent();
    const QMutexLocker lock(&recent.mutex);
    const auto found = recent.summaries.constFind(QByteArray::fromStdString(key));
    if (found == recent.summaries.constEnd())
        return std::nullopt;
    return *found;
}

void Remember(const std::string& key, const QString& summary) {
    constexpr qsizetype kRecentSize = 256;
    CRecentSummaries& recent = Recent();
    const QMutexLocker lock(&recent.mutex);
    if (recent.summaries.size() >= kRecentSize)
        recent.summaries.clear();
    recent.summaries.insert(QByteArray::fromStdString(key), summary);
}

// What is said of a group at once while its odds are worked out.
QString CheapSummary(const CDiceGroup& group) {
    const COddsRange range = OddsRangeOf(group);
    const QString description = QString::fromStdString(group.GetDescription());
    const QString span = QStringLiteral("%1 to %2").arg(range.min).arg(range.max);
    if (range.mean)
        return QStringLiteral("%1: mean %2, %3; working out the odds")
            .arg(description, QString::number(*range.mean, 'f', 2), span);
    return QStringLiteral("%1: %2; working out the odds").arg(description, span);
}

} // namespace

QString GroupOddsSummary(const CDiceGroup& group) {
    const std::string key = OddsKey(group);
    if (const std::optional<QString> kept = FindRecent(key))
        return *kept;
    const QString summary =
        QString::fromStdString(CDiceOdds::ForGroup(group).Summary(group.GetDescription()));
    Remember(key, summary);
    return summary;
}

COddsWorker::COddsWorker(QObject* parent) : QObject(parent) {}

COddsWorker::~COddsWorker() {
    Cancel();
}

void COddsWorker::Start(Groups groups, Done done) {
    Cancel();
    auto flag = std::make_shared<OddsCancelFlag>(false);
    cancel = flag;
    auto* watcher = new QFutureWatcher<CDiceOdds>(this);
    connect(watcher, &QFutureWatcherBase::finished, this,
            [this, watcher, flag, done = std::move(done)] {
                watcher->deleteLater();
                // Cancelled, or replaced by a newer computation: not delivered.
                if (flag->load() || flag != cancel)
                    return;
                cancel.reset();
                done(watcher->result());
            });
    // The worker only reads its own copies. Odds need no random numbers, so
    // it never touches the random source, which is seeded for the whole
    // process but keeps its state per thread.
    auto copies = std::make_shared<const Groups>(std::move(groups));
    watcher->setFuture(QtConcurrent::run([copies, flag] {
        std::vector<const CDiceGroup*> pointers;
        for (const auto& group : *copies)
            pointers.push_back(group.get());
        return CDiceOdds::ForGroups(pointers, flag.get());
    }));
}

void COddsWorker::Cancel() {
    if (cancel)
        cancel->store(true);
    cancel.reset();
}

QString COddsSummaries::Summary(const CDiceGroup& group, Known known) {
    const std::string key = OddsKey(group);
    if (const std::optional<QString> kept = FindRecent(key)) {
        Cancel();
        return *kept;
    }
    if (worker.IsBusy() && key == pendingKey) {
        pendingKnown = std::move(known);
        return pendingText;
    }
    pendingKey = key;
    pendingText = CheapSummary(group);
    pendingKnown = std::move(known);
    COddsWorker::Groups copies;
    copies.push_back(group.CopyForOdds());
    worker.Start(std::move(copies),
                 [this, key, description = group.GetDescription()](const CDiceOdds& odds) {
                     const QString summary = QString::fromStdString(odds.Summary(description));
                     Remember(key, summary);
                     const Known tell = std::move(pendingKnown);
                     pendingKnown = nullptr;
                     pendingKey.clear();
                     if (tell)
                         tell(summary);
                 });
    return pendingText;
}

void COddsSummaries::Cancel() {
    worker.Cancel();
    pendingKey.clear();
    pendingKnown = nullptr;
}

} // namespace rp
