#include "odds_window.h"

#include "doc_state.h"
#include "mini_list.h"
#include "table_doc.h"

#include <QAbstractTableModel>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <functional>

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

// A chance in percent with 4 decimals, as the copied table writes it.
QString PercentNumber(double chance) {
    return QString::number(chance * 100, 'f', 4);
}

QString Percent(double chance) {
    return PercentNumber(chance) + QStringLiteral(" %");
}

QString Summary(const QString& label, const CDiceOdds& odds) {
    if (odds.IsRefused())
        return QString::fromStdString(odds.Summary(label.toStdString()));
    return COddsWindow::tr("%1: mean %2, standard deviation %3, %4 to %5")
        .arg(label, QString::number(odds.GetMean(), 'f', 2),
             QString::number(odds.GetStdDev(), 'f', 2))
        .arg(odds.GetMin())
        .arg(odds.GetMax());
}

QString NotWorkedOut(OddsRefusal why) {
    return COddsWindow::tr("The chances are not worked out: %1.")
        .arg(QString::fromLatin1(OddsRefusalText(why)));
}

} // namespace

// The rows of the copied table, one per total. Cells are written as they are
// looked at: millions of totals cost nothing until they are scrolled to.
class COddsTableModel : public QAbstractTableModel {
public:
    explicit COddsTableModel(QObject* parent) : QAbstractTableModel(parent) {
        // The column names are the copied table's header line.
        headers = QString::fromStdString(CDiceOdds().Table('\t')).trimmed().split(u'\t');
    }
    // Shows `shown` (which must outlive the next call), or nothing.
    void Show(const CDiceOdds* shown) {
        beginResetModel();
        odds = shown;
        rows = shown ? static_cast<int>(shown->GetOutcomes().size()) : 0;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows; }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(headers.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        // The shown odds may be replaced a moment before the model is told.
        if (!odds || index.row() >= rows ||
            static_cast<std::size_t>(index.row()) >= odds->GetOutcomes().size())
            return {};
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        const COddsOutcome& o = odds->GetOutcomes()[static_cast<std::size_t>(index.row())];
        switch (index.column()) {
        case 0:
            return QString::number(o.total);
        case 1:
            return PercentNumber(o.chance);
        case 2:
            return PercentNumber(o.atLeast);
        case 3:
            return PercentNumber(o.atMost);
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return headers.value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    QStringList headers;
    const CDiceOdds* odds = nullptr;
    int rows = 0;
};

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
      message(new QLabel), working(new QWidget), stop(new QPushButton(tr("&Stop"))),
      chart(new QChart), chartView(new QChartView(chart)), tableModel(new COddsTableModel(this)),
      table(new QTableView), targetRow(new QWidget), target(new QSpinBox),
      targetKind(new QComboBox), secondLabel(new QLabel(tr("an&d"))), secondTarget(new QSpinBox),
      chance(new QLabel) {
    setWindowTitle(tr("Odds"));
    // Titles are the user's own text, never markup.
    for (QLabel* label : {summary, message, chance})
        label->setTextFormat(Qt::PlainText);
    summary->setWordWrap(true);
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message->setAlignment(Qt::AlignCenter);
    message->setWordWrap(true);
    chart->legend()->hide();
    chartView->setMinimumSize(240, 160);
    chartView->setAccessibleName(tr("Distribution chart"));

    // Arrows walk the table; Tab goes on to the target.
    table->setModel(tableModel);
    table->setAccessibleName(tr("Distribution table"));
    table->setTabKeyNavigation(false);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    // Rows as tight as the text allows, so that more of them show.
    table->verticalHeader()->setDefaultSectionSize(table->verticalHeader()->minimumSectionSize());
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* chartAndTable = new QSplitter;
    chartAndTable->setChildrenCollapsible(false);
    chartAndTable->addWidget(chartView);
    chartAndTable->addWidget(table);
    chartAndTable->setStretchFactor(0, 1);

    auto* workingText = new QLabel(tr("Working out the odds..."));
    workingText->setAlignment(Qt::AlignCenter);
    auto* progress = new QProgressBar;
    progress->setRange(0, 0);
    progress->setTextVisible(false);
    auto* workingLayout = new QVBoxLayout(working);
    workingLayout->addStretch();
    workingLayout->addWidget(workingText);
    workingLayout->addWidget(progress);
    workingLayout->addWidget(stop, 0, Qt::AlignCenter);
    workingLayout->addStretch();

    pages->addWidget(message);
    pages->addWidget(chartAndTable);
    pages->addWidget(working);

    auto* targetLabel = new QLabel(tr("&Target:"));
    targetLabel->setBuddy(target);
    target->setAccelerated(true);
    targetKind->addItems({tr("or more"), tr("or less"), tr("exactly"), tr("between")});
    targetKind->setAccessibleName(tr("Target kind"));
    secondLabel->setBuddy(secondTarget);
    secondTarget->setAccelerated(true);
    secondLabel->hide();
    secondTarget->hide();
    auto* copy = new QPushButton(tr("&Copy"));
    copy->setToolTip(tr("Copy the table of chances, for a spreadsheet"));
    auto* row = new QHBoxLayout(targetRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(targetLabel);
    row->addWidget(target);
    row->addWidget(targetKind);
    row->addWidget(secondLabel);
    row->addWidget(secondTarget);
    row->addWidget(chance, 1);
    row->addWidget(copy);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(pages, 1);
    layout->addWidget(targetRow);
    resize(800, 420);
    // The chart takes what the table's columns leave.
    chartAndTable->setSizes({width() - FitTable(), 0});

    updateTimer.setSingleShot(true);
    updateTimer.setInterval(kUpdateDelayMs);
    busyTimer.setSingleShot(true);
    busyTimer.setInterval(kBusyDelayMs);
    connect(&updateTimer, &QTimer::timeout, this, &COddsWindow::UpdateNow);
    connect(&busyTimer, &QTimer::timeout, this, &COddsWindow::ShowWorking);
    connect(stop, &QPushButton::clicked, this, &COddsWindow::Stop);
    connect(copy, &QPushButton::clicked, this, &COddsWindow::CopyTable);
    connect(target, &QSpinBox::valueChanged, this, &COddsWindow::ShowTarget);
    connect(secondTarget, &QSpinBox::valueChanged, this, &COddsWindow::ShowTarget);
    connect(targetKind, &QComboBox::currentIndexChanged, this, [this] {
        const bool between = targetKind->currentIndex() == static_cast<int>(TargetKind::Between);
        secondLabel->setVisible(between);
        secondTarget->setVisible(between);
        ShowTarget();
    });
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
        trayConnections.append(connect(tray, &QObject::destroyed, this, &COddsWindow::DropWork));
    }
    DropWork();
}

void COddsWindow::DropWork() {
    worker.Cancel();
    busyTimer.stop();
    workKey.clear();
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

void COddsWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Nobody sees the result: it is worked out again when the window shows,
    // stopped odds too.
    worker.Cancel();
    busyTimer.stop();
    workKey.clear();
    stoppedKey.clear();
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
        worker.Cancel();
        busyTimer.stop();
        workKey.clear();
        oddsKey.clear();
        odds = CDiceOdds();
        ShowMessage(QString(),
                    tr("Select one or more dice groups to see the chances of their total."));
        return;
    }
    const QString label = labels.size() <= 3 ? labels.join(QStringLiteral(" + "))
                                             : tr("%n dice groups", nullptr, labels.size());
    if (key == workKey && worker.IsBusy()) {
        workLabel = label;
        if (ShowsWorking())
            summary->setText(label);
        return;
    }
    // Whatever else was being worked out is no longer wanted.
    worker.Cancel();
    busyTimer.stop();
    workKey.clear();
    if (key == oddsKey) {
        // Faces, titles and places play no part: a roll changes nothing here.
        ShowResult(odds, key, label);
        return;
    }
    if (key == stoppedKey) {
        ShowMessage(label + QStringLiteral(": ") + OddsRefusalText(OddsRefusal::Cancelled),
                    NotWorkedOut(OddsRefusal::Cancelled));
        return;
    }
    stoppedKey.clear();
    workKey = key;
    workLabel = label;
    COddsWorker::Groups copies;
    for (const CDiceGroup* group : groups)
        copies.push_back(group->CopyForOdds());
    worker.Start(std::move(copies), [this, key](const CDiceOdds& result) {
        busyTimer.stop();
        workKey.clear();
        ShowResult(result, key, workLabel);
    });
    busyTimer.start();
}

void COddsWindow::ShowResult(const CDiceOdds& result, const std::string& key,
                             const QString& label) {
    const bool changed = key != oddsKey;
    if (changed) {
        odds = result;
        oddsKey = key;
    }
    if (odds.IsRefused()) {
        ShowMessage(Summary(label, odds), NotWorkedOut(odds.GetRefusal()));
        return;
    }
    summary->setText(Summary(label, odds));
    if (changed || !bars)
        ShowOdds(label);
}

void COddsWindow::ShowWorking() {
    if (!worker.IsBusy())
        return;
    ShowMessage(workLabel, QString());
    pages->setCurrentWidget(working);
    stop->setFocus();
}

bool COddsWindow::ShowsWorking() const {
    return pages->currentWidget() == working;
}

void COddsWindow::Stop() {
    if (!worker.IsBusy())
        return;
    worker.Cancel();
    busyTimer.stop();
    // The selection stays stopped until it changes: a roll does not start it again.
    stoppedKey = workKey;
    workKey.clear();
    oddsKey.clear();
    odds = CDiceOdds();
    ShowMessage(workLabel + QStringLiteral(": ") + OddsRefusalText(OddsRefusal::Cancelled),
                NotWorkedOut(OddsRefusal::Cancelled));
}

void COddsWindow::AskAgain() {
    stoppedKey.clear();
    if (isVisible())
        UpdateNow();
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
    chartView->setAccessibleDescription(QString());
    tableModel->Show(nullptr);
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

    chartView->setAccessibleDescription(tr("Totals from %1 to %2, mean %3")
                                            .arg(odds.GetMin())
                                            .arg(odds.GetMax())
                                            .arg(QString::number(odds.GetMean(), 'f', 2)));
    tableModel->Show(&odds);
    FitTable();
    pages->setCurrentWidget(chartView->parentWidget());
    targetRow->show();
    // A target the new range still holds stays; otherwise the mean's.
    const int value = target->value(), second = secondTarget->value();
    const QSignalBlocker blocker(target), secondBlocker(secondTarget);
    target->setRange(odds.GetMin(), odds.GetMax());
    secondTarget->setRange(odds.GetMin(), odds.GetMax());
    if (value < odds.GetMin() || value > odds.GetMax())
        target->setValue(static_cast<int>(std::lround(odds.GetMean())));
    if (second < odds.GetMin() || second > odds.GetMax())
        secondTarget->setValue(odds.GetMax());
    ShowTarget();
}

int COddsWindow::FitTable() {
    QHeaderView* header = table->horizontalHeader();
    header->resizeSections(QHeaderView::ResizeToContents);
    const int width =
        header->length() + 2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width();
    table->setMinimumWidth(width);
    return width;
}

void COddsWindow::ShowTarget() {
    if (!bars)
        return;
    const int value = target->value();
    const int low = std::min(value, secondTarget->value());
    const int high = std::max(value, secondTarget->value());
    // Shaded: the bars all of whose totals count (for "exactly", the one holding it).
    std::function<bool(const COddsBar&)> counts;
    switch (static_cast<TargetKind>(targetKind->currentIndex())) {
    case TargetKind::OrMore:
        chance->setText(
            tr("Chance of %1 or more: %2").arg(value).arg(Percent(odds.ChanceAtLeast(value))));
        counts = [&](const COddsBar& bar) { return bar.first >= value; };
        break;
    case TargetKind::OrLess:
        chance->setText(
            tr("Chance of %1 or less: %2").arg(value).arg(Percent(odds.ChanceAtMost(value))));
        counts = [&](const COddsBar& bar) { return bar.last <= value; };
        break;
    case TargetKind::Exactly:
        chance->setText(
            tr("Chance of exactly %1: %2").arg(value).arg(Percent(odds.ChanceOf(value))));
        counts = [&](const COddsBar& bar) { return bar.first <= value && value <= bar.last; };
        break;
    case TargetKind::Between:
        chance->setText(tr("Chance of %1 to %2: %3")
                            .arg(low)
                            .arg(high)
                            .arg(Percent(odds.ChanceBetween(low, high))));
        counts = [&](const COddsBar& bar) { return bar.first >= low && bar.last <= high; };
        break;
    }
    QList<int> shaded;
    for (std::size_t i = 0; i < shownBars.size(); ++i)
        if (counts(shownBars[i]))
            shaded.append(static_cast<int>(i));
    bars->deselectAllBars();
    bars->selectBars(shaded);
}

void COddsWindow::SetTarget(int value) {
    target->setValue(value);
}

void COddsWindow::SetTargetKind(TargetKind kind) {
    targetKind->setCurrentIndex(static_cast<int>(kind));
}

void COddsWindow::SetSecondTarget(int value) {
    secondTarget->setValue(value);
}

void COddsWindow::CopyTable() const {
    if (!odds.GetOutcomes().empty())
        QGuiApplication::clipboard()->setText(QString::fromStdString(odds.Table('\t')));
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
