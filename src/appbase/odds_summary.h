#pragma once

#include "dice_odds.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace rp {

class CDiceGroup;

// What a dice group's tool tip says of its odds: "3d6+2: mean 12.50, 5 to 20",
// or the description and why its odds are not computed. Recent answers are
// kept, so that hovering over a large group again costs nothing. Works the
// odds out on the calling thread when they are not kept.
QString GroupOddsSummary(const CDiceGroup& group);

// Works out odds on a worker thread, one computation at a time: starting
// another, or Cancel, or the worker's end cancels the running one, whose
// result is then never delivered.
class COddsWorker : public QObject {
public:
    using Groups = std::vector<std::unique_ptr<CDiceGroup>>;
    using Done = std::function<void(const CDiceOdds&)>;

    explicit COddsWorker(QObject* parent = nullptr);
    ~COddsWorker() override;

    // Works out the sum of the groups' totals. The groups are the worker's
    // own copies (CDiceGroup::CopyForOdds), never the tray's, which edits
    // and undo may delete meanwhile. `done` is called on this object's
    // thread unless the computation was cancelled.
    void Start(Groups groups, Done done);
    void Cancel();
    bool IsBusy() const { return cancel != nullptr; }

private:
    // The running computation's flag, shared with its worker thread.
    std::shared_ptr<OddsCancelFlag> cancel;
};

// The odds summaries of tool tips, which never wait: a group whose odds are
// not known yet gets its range (and mean, when cheap) at once, and its full
// summary through a call back once it is worked out.
class COddsSummaries {
public:
    using Known = std::function<void(const QString& summary)>;

    // The summary when it is known. Otherwise, e.g. "2d10000, ignore lowest
    // 1: 2 to 20000; working out the odds", and `known` is called with the
    // summary when it is; a newer request replaces this one.
    QString Summary(const CDiceGroup& group, Known known);
    // Forgets the request being worked on (the tip went, the groups changed).
    void Cancel();
    bool IsBusy() const { return worker.IsBusy(); }

private:
    COddsWorker worker;
    std::string pendingKey;
    QString pendingText;
    Known pendingKnown;
};

} // namespace rp
