#include "mini_clattermat.h"

#include "dice_app.h"
#include "int_text.h"
#include "odds_summary.h"
#include "roll_log.h"
#include "window_placement.h"
#include "xml_dom.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QToolBar>
#include <QToolTip>
#include <algorithm>
#include <optional>
#include <vector>

namespace rp {

namespace {

// The layout is designed in dialog units: a quarter of the average character
// width across, an eighth of the font height down.
QRect DialogUnits(const QWidget& dialog, int x, int y, int w, int h) {
    const QFontMetrics metrics(dialog.font());
    const QString sample = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int baseX = (metrics.horizontalAdvance(sample) / 26 + 1) / 2;
    const int baseY = metrics.height();
    return QRect(x * baseX / 4, y * baseY / 8, w * baseX / 4, h * baseY / 8);
}

constexpr int kSlotRole = Qt::UserRole;
// Set while an item's tool tip waits for its group's odds.
constexpr int kOddsPendingRole = Qt::UserRole + 1;

} // namespace

CMiniClattermat::CMiniClattermat(const QString& positionSection, QWidget* parent)
    : QDialog(parent), positionSection(positionSection), toolbarPlaceholder(new QWidget(this)),
      groupList(new QListWidget(this)), resultsLabel(new QLabel(tr("Results"), this)),
      resultsText(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Mini Clattermat"));
    setSizeGripEnabled(true);
    setMinimumSize(kMinimumWidth, kMinimumHeight);

    resultsLabel->setObjectName(QStringLiteral("resultsLabel"));
    resultsText->setObjectName(QStringLiteral("resultsText"));
    toolbarPlaceholder->hide();
    toolbarPlaceholder->setGeometry(DialogUnits(*this, 0, 0, 186, 16));
    groupList->setGeometry(DialogUnits(*this, 7, 16, 172, 129));
    groupList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    groupList->setAccessibleName(tr("Dice groups"));
    resultsLabel->setGeometry(DialogUnits(*this, 7, 155, 172, 8));
    resultsText->setGeometry(DialogUnits(*this, 7, 167, 172, 24));
    resultsText->setWordWrap(true);
    resultsText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    resultsText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    resultsLabel->setBuddy(groupList);
    const QRect client = DialogUnits(*this, 0, 0, 186, 198);
    resize(client.size());

    connect(groupList, &QListWidget::itemSelectionChanged, this,
            [this] { EnableRollCommand(!groupList->selectedItems().isEmpty()); });
    // Each entry's tool tip tells the odds of its group, worked out when first asked for.
    groupList->viewport()->installEventFilter(this);
    connect(groupList, &QListWidget::itemDoubleClicked, this, [this] { RollSelected(); });
}

CMiniClattermat::~CMiniClattermat() {
    SaveWindowPosition();
}

QToolBar* CMiniClattermat::CreateToolbar(QAction* command, QAction* roll) {
    auto* bar = new QToolBar(this);
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    bar->addAction(command);
    bar->addSeparator();
    bar->addAction(roll);
    return bar;
}

void CMiniClattermat::InitialiseDialog(QToolBar* bar) {
    resultsText->clear();
    toolbar = bar;
    if (toolbar) {
        toolbar->setParent(this);
        toolbar->setGeometry(toolbarPlaceholder->geometry());
        toolbar->show();
    }
    RestoreWindowPosition();
    EnableRollCommand(false);
}

QString CMiniClattermat::GetResultsText() const {
    return resultsText->text();
}

void CMiniClattermat::ClearList() {
    groupList->clear();
    resultsText->clear();
    EnableRollCommand(false);
    oddsTips.Cancel();
    groups.clear();
}

void CMiniClattermat::LoadMiniList(std::string_view text) {
    xml::CXmlDocument document;
    document.ParseText(text);
    LoadMiniRoot(document.Root());
}

bool CMiniClattermat::LoadMiniRoot(pugi::xml_node root) {
    ClearList();
    bool leftOut = false;
    groups = ReadMiniGroups(root, &leftOut);
    // Sorted once by label ignoring case, ties in byte order and then in
    // file order; each entry remembers its group's slot, since its row says
    // nothing about the file order.
    struct Entry {
        std::string label;
        int slot;
    };
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < groups.size(); ++i)
        if (groups[i])
            entries.push_back(Entry{GetGroupLabel(*groups[i]), static_cast<int>(i)});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return MiniLabelLess(a.label, b.label);
    });
    for (const Entry& entry : entries) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.label));
        item->setData(kSlotRole, entry.slot);
        groupList->addItem(item);
    }
    return !leftOut;
}

void CMiniClattermat::RollSelected() {
    std::vector<CDiceGroup*> selected;
    for (int row = 0; row < groupList->count(); ++row) {
        const QListWidgetItem* item = groupList->item(row);
        const auto slot = static_cast<std::size_t>(item->data(kSlotRole).toInt());
        if (item->isSelected() && slot < groups.size() && groups[slot])
            selected.push_back(groups[slot].get());
    }
    const std::size_t n = selected.size();
    if (n == 0)
        return;
    // The summing groups read "18 + 5 = 23"; counted successes follow apart.
    std::vector<int> sums;
    long long successes = 0;
    bool counting = false;
    int dice = 0;
    for (CDiceGroup* group : selected) {
        dice += group->GetCount();
        const int r = group->Roll();
        if (group->GetCountAtLeast() > 0) {
            successes += r;
            counting = true;
        } else {
            sums.push_back(r);
        }
    }
    CDiceApp* app = CDiceApp::Instance();
    if (app)
        app->PlayRollSound(dice);
    QString text;
    long long total = 0;
    for (std::size_t k = 0; k < sums.size(); ++k) {
        total += sums[k];
        if (sums.size() > 1)
            text += QString::number(sums[k]) +
                    (k + 1 < sums.size() ? QStringLiteral(" + ") : QStringLiteral(" = "));
    }
    if (!sums.empty())
        text += QString::number(ClampToInt(total));
    if (counting) {
        const int count = ClampToInt(successes);
        text += (sums.empty() ? QString() : QStringLiteral("; ")) +
                (count == 1 ? tr("1 success") : tr("%1 successes").arg(count));
    }
    resultsText->setText(text);
    if (app)
        app->RollLog().AddRoll(trayName, selected);
}

bool CMiniClattermat::eventFilter(QObject* watched, QEvent* event) {
    if (watched == groupList->viewport() && event->type() == QEvent::ToolTip) {
        QListWidgetItem* item = groupList->itemAt(static_cast<QHelpEvent*>(event)->pos());
        const auto slot = item ? static_cast<std::size_t>(item->data(kSlotRole).toInt()) : 0;
        const bool asked =
            item && item->data(Qt::ToolTipRole).isValid() && !item->data(kOddsPendingRole).toBool();
        if (item && !asked && slot < groups.size() && groups[slot]) {
            const QPoint at = static_cast<QHelpEvent*>(event)->globalPos();
            // The tip never waits: the odds replace it when they are known,
            // in place if it still shows.
            item->setData(Qt::ToolTipRole,
                          oddsTips.Summary(*groups[slot], [this, slot, at](const QString& text) {
                              for (int row = 0; row < groupList->count(); ++row) {
                                  QListWidgetItem* known = groupList->item(row);
                                  if (known->data(kSlotRole).toInt() != static_cast<int>(slot))
                                      continue;
                                  const QString waiting = known->toolTip();
                                  known->setData(Qt::ToolTipRole, text);
                                  known->setData(kOddsPendingRole, QVariant());
                                  if (QToolTip::isVisible() && QToolTip::text() == waiting)
                                      QToolTip::showText(at, text, groupList->viewport(),
                                                         groupList->visualItemRect(known));
                              }
                          }));
            item->setData(kOddsPendingRole, oddsTips.IsBusy());
        }
    }
    // The list shows the tool tip itself.
    return QDialog::eventFilter(watched, event);
}

void CMiniClattermat::LayOutControls(int width, int height) {
    if (!toolbar)
        return;
    struct Gaps {
        int labelToResults;
        int listToLabel;
    };
    // Remembered once, from the designed layout, and kept for every resize.
    static std::optional<Gaps> gaps;
    QRect results = resultsText->geometry();
    QRect label = resultsLabel->geometry();
    QRect list = groupList->geometry();
    if (!gaps)
        gaps = Gaps{results.top() - (label.y() + label.height()),
                    label.top() - (list.y() + list.height())};

    results.moveTop(height - 12 - results.height());
    results.setWidth(width - 10 - results.x());
    label.moveTop(results.top() - gaps->labelToResults - label.height());
    label.setWidth(width - 10 - label.x());
    list.setHeight(label.top() - gaps->listToLabel - list.y());
    list.setWidth(width - 10 - list.x());
    QRect bar = toolbar->geometry();
    bar.setWidth(width - bar.x());

    resultsText->setGeometry(results);
    resultsLabel->setGeometry(label);
    groupList->setGeometry(list);
    toolbar->setGeometry(bar);
    resultsLabel->update();
    resultsText->update();
}

void CMiniClattermat::RestoreWindowPosition() {
    // Never stored: the designed size, placed by the window manager.
    const QRect stored = ReadWindowRect(QSettings(), positionSection, QRect(kNowhere, size()));
    RestoreWindowRect(*this, stored, size());
}

void CMiniClattermat::SaveWindowPosition() {
    QSettings settings;
    WriteWindowRect(settings, positionSection, normalGeometry());
}

void CMiniClattermat::keyPressEvent(QKeyEvent* event) {
    // Enter rolls, wherever the focus is, and never closes the dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        RollSelected();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMiniClattermat::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOutControls(width(), height() - bottomSpace);
}

} // namespace rp
