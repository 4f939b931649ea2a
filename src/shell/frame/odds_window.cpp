#include "odds_window.h"

#include "doc_state.h"
#include "mini_list.h"
#include "table_doc.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace rp {

namespace {

// At most about this many totals are written under the bars.
constexpr int kAxisLabels = 10;

// A step of 1, 2 or 5 times a power of ten that leaves at most kAxisLabels labels.
int LabelStep(int bars) {
    for (int power = 1;; power *= 10)
        for (const int step : {power, 2 * power, 5 * power})
            if (bars <= step * kAxisLabels || power > 100000000)
                return step;
}

QString BarTotals(const COddsBar& bar) {
    return bar.first == bar.last ? QString::number(bar.first)
                                 : QStringLiteral("%1 to %2").arg(bar.first).arg(bar.last);
}

QString Percent(double chance) {
    return QString::asprintf("%.4f %%", chance * 100);
}

} // namespace

std::vector<COddsBar> MakeOddsBars(const CDiceOdds& odds, int maxBars) {
    const std::vector<COddsOutcome>& outcomes = odds.GetOutcomes();
    double peak = 0;
    for (const COddsOutcome& o : outcomes)
        peak = std::max(peak, o.chance);
    const auto visible = [&](const COddsOutcome& o) { return o.chance >= peak / 1000; };
    std::size_t first = 0, end = outcomes.size();
    while (first < end && !visible(outcomes[first]))
        ++first;
    while (end > first && !visible(outcomes[end - 1]))
        --end;
    const std::size_t perBar =
        std::max<std::size_t>(1, (end - first + static_cast<std::size_t>(maxBars) - 1) /
                                     static_cast<std::size_t>(std::max(maxBars, 1)));
    std::vector<COddsBar> bars;
    for (std::size_t i = first; i < end; i += perBar) {
        COddsBar bar{outcomes[i].total, outcomes[i].total, 0.0};
        for (std::size_t j = i; j < std::min(i + perBar, end); ++j) {
            bar.last = outcomes[j].total;
            bar.chance += outcomes[j].chance;
        }
        bars.push_back(bar);
    }
    return bars;
}

// A tool window of the main window: it stays above it, as find and
// property windows do.
COddsWindow::COddsWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool), summary(new QLabel), pages(new QStackedWidget),
      message(new QLabel), chart(new QChart), chartView(new QChartView(chart)),
      targetRow(new QWidget), target(new QSpinBox), chance(new QLabel) {
    setWindowTitle(tr("Odds"));
    summary->setWordWrap(true);
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message->setAlignment(Qt::AlignCenter);
    message->setWordWrap(true);
    chart->legend()->hide();
    chartView->setMinimumSize(240, 160);
    pages->addWidget(message);
    pages->addWidget(chartView);

    auto* targetLabel = new QLabel(tr("&Target:"));
    targetLabel->setBuddy(target);
    target->setAccelerated(true);
    auto* row = new QHBoxLayout(targetRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(targetLabel);
    row->addWidget(target);
    row->addWidget(chance, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(pages, 1);
    layout->addWidget(targetRow);
    resize(560, 400);

    updateTimer.setSingleShot(true);
    updateTimer.setInterval(kUpdateDelayMs);
    connect(&updateTimer, &QTimer::timeout, this, &COddsWindow::UpdateNow);
    connect(target, &QSpinBox::valueChanged, this, &COddsWindow::ShowTarget);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    UpdateNow();
}

COddsWindow::~COddsWindow() = default;

void COddsWindow::SetTray(CTableDoc* document) {
    if (document == tray)
        return;
    for (const auto& connection : trayConnections)
        disconnect(connection);
    trayConnections.clear();
    tray = document;
    if (tray) {
        trayConnections.append(
            connect(tray, &CTableDoc::contentsChanged, this, &COddsWindow::ScheduleUpdate));
        // A tray that goes away leaves the window empty.
        trayConnections.append(
            connect(tray, &QObject::destroyed, this, &COddsWindow::ScheduleUpdate));
    }
    ScheduleUpdate();
}

void COddsWindow::ScheduleUpdate() {
    // A hidden window works nothing out; it catches up when it is shown.
    if (isVisible())
        updateTimer.start();
}

void COddsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    UpdateNow();
}

void COddsWindow::UpdateNow() {
    updateTimer.stop();
    std::vector<const CDiceGroup*> groups;
    QStringList labels;
    std::string key;
    if (tray) {
        for (const CDiceGroupPainter* group : tray->GetCurrentState().GetSelectedGroups()) {
            groups.push_back(group);
            labels.append(QString::fromStdString(GetGroupLabel(*group)));
            key += OddsKey(*group) + '|';
        }
    }
    if (groups.empty()) {
        oddsKey.clear();
        odds = CDiceOdds();
        ShowMessage(QString(),
                    tr("Select one or more dice groups to see the chances of their total."));
        return;
    }
    const QString label = labels.size() <= 3 ? labels.join(QStringLiteral(" + "))
                                             : tr("%n dice groups", nullptr, labels.size());
    const bool changed = key != oddsKey;
    if (changed) {
        // Faces, titles and places play no part: a roll changes nothing here.
        odds = CDiceOdds::ForGroups(groups);
        oddsKey = key;
    }
    if (odds.IsRefused()) {
        ShowMessage(QString::fromStdString(odds.Summary(label.toStdString())),
                    tr("The chances are not worked out: %1.")
                        .arg(QString::fromLatin1(OddsRefusalText(odds.GetRefusal()))));
        return;
    }
    summary->setText(QString::fromStdString(odds.Summary(label.toStdString())));
    if (changed || !bars)
        ShowOdds(label);
}

void COddsWindow::ShowMessage(const QString& summaryText, const QString& messageText) {
    summary->setText(summaryText);
    summary->setVisible(!summaryText.isEmpty());
    message->setText(messageText);
    pages->setCurrentWidget(message);
    targetRow->hide();
    chance->clear();
    chart->removeAllSeries();
    bars = nullptr;
    shownBars.clear();
}

void COddsWindow::ShowOdds(const QString& label) {
    summary->setVisible(true);
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    shownBars = MakeOddsBars(odds, kMaxBars);
    auto* series = new QBarSeries;
    bars = new QBarSet(label);
    double top = 0;
    for (const COddsBar& bar : shownBars) {
        bars->append(bar.chance * 100);
        top = std::max(top, bar.chance * 100);
    }
    bars->setColor(palette().color(QPalette::Mid));
    bars->setBorderColor(palette().color(QPalette::Dark));
    bars->setSelectedColor(palette().color(QPalette::Highlight));
    series->append(bars);
    series->setBarWidth(0.9);
    chart->addSeries(series);

    const int count = static_cast<int>(shownBars.size());
    auto* totals = new QCategoryAxis;
    totals->setTitleText(tr("Total"));
    totals->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    totals->setStartValue(-0.5);
    for (int i = 0; i < count; i += LabelStep(count))
        totals->append(QString::number(shownBars[static_cast<std::size_t>(i)].first), i);
    totals->setRange(-0.5, count - 0.5);
    totals->setGridLineVisible(false);
    chart->addAxis(totals, Qt::AlignBottom);
    series->attachAxis(totals);
    auto* chances = new QValueAxis;
    chances->setTitleText(tr("Chance"));
    chances->setRange(0, top);
    chances->applyNiceNumbers();
    chances->setLabelFormat(QStringLiteral("%g %"));
    chart->addAxis(chances, Qt::AlignLeft);
    series->attachAxis(chances);
    connect(series, &QBarSeries::hovered, this, [this](bool on, int index) {
        if (!on || index < 0 || index >= static_cast<int>(shownBars.size())) {
            QToolTip::hideText();
            return;
        }
        const COddsBar& bar = shownBars[static_cast<std::size_t>(index)];
        QToolTip::showText(QCursor::pos(),
                           BarTotals(bar) + QStringLiteral(": ") + Percent(bar.chance));
    });

    pages->setCurrentWidget(chartView);
    targetRow->show();
    // A target the new range still holds stays; otherwise the mean's.
    const int value = target->value();
    const QSignalBlocker blocker(target);
    target->setRange(odds.GetMin(), odds.GetMax());
    if (value < odds.GetMin() || value > odds.GetMax())
        target->setValue(static_cast<int>(std::lround(odds.GetMean())));
    ShowTarget();
}

void COddsWindow::ShowTarget() {
    if (!bars)
        return;
    const int value = target->value();
    chance->setText(
        tr("Chance of %1 or more: %2").arg(value).arg(Percent(odds.ChanceAtLeast(value))));
    QList<int> reaching;
    for (std::size_t i = 0; i < shownBars.size(); ++i)
        if (shownBars[i].first >= value)
            reaching.append(static_cast<int>(i));
    bars->deselectAllBars();
    bars->selectBars(reaching);
}

void COddsWindow::SetTarget(int value) {
    target->setValue(value);
}

QString COddsWindow::SummaryText() const {
    return summary->text();
}

QString COddsWindow::ChanceText() const {
    return chance->text();
}

QString COddsWindow::MessageText() const {
    return pages->currentWidget() == message ? message->text() : QString();
}

} // namespace rp
