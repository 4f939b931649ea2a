#pragma once

#include "dice_odds.h"
#include "odds_summary.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

class QBarSet;
class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTableView;

namespace rp {

class CTableDoc;
class COddsTableModel;

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
// dice groups as a bar chart and, for screen readers and keyboards, as a
// table beside it; their mean, standard deviation and range, and
// the chance of a target (or more, or less, exactly, or a span), whose bars
// are shaded. It follows the tray's selection and contents; updates that
// come in a burst are worked out once, after it, on a worker thread.
class COddsWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxBars = 200;
    // Changes are gathered this long before the odds are worked out again.
    static constexpr int kUpdateDelayMs = 100;
    // Odds that take longer than this show that they are being worked out.
    static constexpr int kBusyDelayMs = 150;

    // What the target row asks for, in the order of its choices.
    enum class TargetKind { OrMore, OrLess, Exactly, Between };

    explicit COddsWindow(QWidget* parent = nullptr);

    // How long changes are gathered (kUpdateDelayMs unless a test sets it),
    // and whether gathered changes still wait to be worked out.
    void SetUpdateDelay(int ms) { updateTimer.setInterval(ms); }
    bool UpdatePending() const { return updateTimer.isActive(); }
    // How long odds are worked out before the window says so (kBusyDelayMs
    // unless a test sets it).
    void SetBusyDelay(int ms) { busyTimer.setInterval(ms); }
    ~COddsWindow() override;

    // Follows a tray's selected groups (none: an empty window with a hint).
    void SetTray(CTableDoc* document);
    // Works out at once what a pending update would: starts the worker
    // unless the shown or the worked-out odds are those of the selection.
    void UpdateNow();
    // Whether odds are being worked out, and whether the window says so.
    bool IsWorking() const { return worker.IsBusy(); }
    bool ShowsWorking() const;
    // Stops working out the odds; the window says they were stopped.
    void Stop();
    // Asked for again (the Odds command): stopped odds are worked out anew.
    void AskAgain();

    void SetTarget(int target);
    void SetTargetKind(TargetKind kind);
    void SetSecondTarget(int target);
    const CDiceOdds& Odds() const { return odds; }
    QBarSet* Bars() const { return bars; }
    QChartView* ChartView() const { return chartView; }
    // The table of chances, the one Copy puts on the clipboard; empty
    // while no odds are shown.
    QTableView* Table() const { return table; }
    QString SummaryText() const;
    QString ChanceText() const;
    // The hint or the reason shown instead of the chart; empty while the chart shows.
    QString MessageText() const;
    // Puts the table of chances on the clipboard.
    void CopyTable() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ScheduleUpdate();
    // The tray changed or went: its odds are no longer wanted.
    void DropWork();
    void ShowResult(const CDiceOdds& result, const std::string& key, const QString& label);
    void ShowWorking();
    void ShowOdds(const QString& label);
    void ShowMessage(const QString& summary, const QString& message);
    void ShowTarget();
    // Makes the table at least as wide as its columns; returns that width.
    int FitTable();

    QPointer<CTableDoc> tray;
    QList<QMetaObject::Connection> trayConnections;
    QTimer updateTimer;
    QTimer busyTimer;
    COddsWorker worker;
    // What the shown odds were worked out from, what the worker works on
    // (and its label), and what was stopped: a roll does not start it again.
    std::string oddsKey;
    std::string workKey;
    QString workLabel;
    std::string stoppedKey;
    CDiceOdds odds;
    std::vector<COddsBar> shownBars;

    QLabel* summary;
    QStackedWidget* pages;
    QLabel* message;
    QWidget* working;
    QPushButton* stop;
    QChart* chart;
    QChartView* chartView;
    QBarSet* bars = nullptr;
    COddsTableModel* tableModel;
    QTableView* table;
    QWidget* targetRow;
    QSpinBox* target;
    QComboBox* targetKind;
    QLabel* secondLabel;
    QSpinBox* secondTarget;
    QLabel* chance;
};

} // namespace rp
