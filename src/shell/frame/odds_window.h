#pragma once

#include "dice_odds.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

class QBarSet;
class QChart;
class QChartView;
class QLabel;
class QSpinBox;
class QStackedWidget;

namespace rp {

class CTableDoc;

// One bar of the odds chart: the totals it stands for and their chance.
struct COddsBar {
    int first;
    int last;
    double chance;
};

// The bars of a distribution: one per possible total, without the tails
// too unlikely to see (below a thousandth of the likeliest total), and with
// neighbouring totals shared out into at most `maxBars` bars.
std::vector<COddsBar> MakeOddsBars(const CDiceOdds& odds, int maxBars);

// The modeless "Odds" window: the chances of the total of a tray's selected
// dice groups as a bar chart, their mean and range, and the chance of
// reaching a target, whose bars are shaded. It follows the tray's selection
// and contents; updates that come in a burst are worked out once, after it.
class COddsWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxBars = 200;
    // Changes are gathered this long before the odds are worked out again.
    static constexpr int kUpdateDelayMs = 100;

    explicit COddsWindow(QWidget* parent = nullptr);

    // How long changes are gathered (kUpdateDelayMs unless a test sets it),
    // and whether gathered changes still wait to be worked out.
    void SetUpdateDelay(int ms) { updateTimer.setInterval(ms); }
    bool UpdatePending() const { return updateTimer.isActive(); }
    ~COddsWindow() override;

    // Follows a tray's selected groups (none: an empty window with a hint).
    void SetTray(CTableDoc* document);
    // Works out at once what a pending update would.
    void UpdateNow();

    void SetTarget(int target);
    const CDiceOdds& Odds() const { return odds; }
    QBarSet* Bars() const { return bars; }
    QString SummaryText() const;
    QString ChanceText() const;
    // The hint or the reason shown instead of the chart; empty while the chart shows.
    QString MessageText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ScheduleUpdate();
    void ShowOdds(const QString& label);
    void ShowMessage(const QString& summary, const QString& message);
    void ShowTarget();

    QPointer<CTableDoc> tray;
    QList<QMetaObject::Connection> trayConnections;
    QTimer updateTimer;
    // What the shown odds were worked out from.
    std::string oddsKey;
    CDiceOdds odds;
    std::vector<COddsBar> shownBars;

    QLabel* summary;
    QStackedWidget* pages;
    QLabel* message;
    QChart* chart;
    QChartView* chartView;
    QBarSet* bars = nullptr;
    QWidget* targetRow;
    QSpinBox* target;
    QLabel* chance;
};

} // namespace rp
