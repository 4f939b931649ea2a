// The edit operations of a tray state: each is called on a freshly pushed
// copy and labels it.
#include "dice_arrangement.h"
#include "doc_state.h"
#include "doc_strings.h"
#include "int_text.h"
#include "text_painter.h"

#include <algorithm>
#include <chrono>

namespace rp {

namespace {

QString Label(const char* text) {
    return QString::fromLatin1(text);
}

// Removes an entity from a list, handing it out.
std::unique_ptr<CDocEntity> Take(CDocState::EntityList& list, const CDocEntity* entity) {
    const auto it =
        std::find_if(list.begin(), list.end(), [&](const auto& e) { return e.get() == entity; });
    if (it == list.end())
        return nullptr;
    std::unique_ptr<CDocEntity> taken = std::move(*it);
    list.erase(it);
    return taken;
}

} // namespace

QPoint CDocState::AddDice(int sideCount, const std::vector<QPoint>& positions,
                          std::optional<QPoint> dropPoint) {
    const int count = static_cast<int>(positions.size());
    if (host)
        host->PlayRollSound(count);
    CDiceGroupPainter* target = dropPoint ? GroupAt(*dropPoint) : nullptr;
    QString colour = host ? host->GetDieColor() : QString();
    if (colour.isEmpty())
        colour = kDefaultDieColor;

    std::vector<std::unique_ptr<CDiceGroupPainter>> added;
    std::vector<CDiceGroupPainter*> fresh;
    for (const QPoint& position : positions) {
        auto group = std::make_unique<CDiceGroupPainter>();
        group->AddNewDie(sideCount, colour, position.x(), position.y());
        fresh.push_back(group.get());
        if (target)
            added.push_back(std::move(group));
        else
            AddFront(std::move(group));
    }
    if (target) {
        LayOutAround(*target, fresh);
        for (const auto& group : added)
            target->TakeDice(*group);
        fresh.clear();
    }
    const QPoint shift = Normalize();
    // Dice that joined a group are not rolled again; with none left to roll
    // there is nothing to animate either.
    if (!fresh.empty())
        RollGroups(fresh);
    label = count == 1 ? QString::asprintf(doc_strings::kAddDie, sideCount)
                       : QString::asprintf(doc_strings::kAddDice, count, sideCount);
    return shift;
}

void CDocState::AddText(const QString& text, int x, int y) {
    AddFront(std::make_unique<CTextPainter>(text, x, y));
    label = Label(doc_strings::kAddText);
}

void CDocState::EditText(const QString& text) {
    const auto selected = GetSelectedEntities();
    if (auto* painter =
            selected.empty() ? nullptr : dynamic_cast<CTextPainter*>(selected.front())) {
        painter->SetText(text);
        label = Label(doc_strings::kEditText);
    }
}

void CDocState::DeleteSelected() {
    std::erase_if(entities, [](const auto& e) { return e->IsSelected(); });
    label = Label(doc_strings::kDelete);
}

QPoint CDocState::MoveSelected(QPoint start, QPoint end) {
    const auto selected = GetSelectedEntities();
    // Nothing to move: no step (a merge would rebuild the target alone).
    if (selected.empty())
        return QPoint(0, 0);
    const auto groups = GetSelectedGroups();
    CDiceGroupPainter* target = GroupAt(end);
    if (target && !target->IsSelected() && selected.size() == groups.size()) {
        // Dropped onto another group: they become one group.
        target->SetSelected(true);
        QString title;
        int sum = 0;
        CollectTitlesAndModifiers(title, sum);
        LayOutAround(*target, groups);
        GroupSelected();
        for (CDiceGroupPainter* merged : GetSelectedGroups()) {
            merged->SetTitle(title.toStdString());
            merged->SetModifier(sum);
        }
        return QPoint(0, 0);
    }
    return OffsetSelected(end - start);
}

QPoint CDocState::OffsetSelected(QPoint delta) {
    for (CDocEntity* entity : GetSelectedEntities())
        entity->Offset(delta.x(), delta.y());
    label = Label(doc_strings::kMove);
    return Normalize();
}

void CDocState::CollectTitlesAndModifiers(QString& title, int& sum) {
    QStringList titles;
    std::int64_t total = sum;
    for (CDiceGroupPainter* group : GetSelectedGroups()) {
        const QString own = QString::fromStdString(group->GetTitle());
        if (!own.isEmpty() && !titles.contains(own))
            titles.append(own);
        group->SetTitle("");
        // Every group's own modifier, a one-die group's too: a die's own
        // modifier travels with the die.
        total += group->GetModifier();
        group->SetModifier(0);
    }
    sum = ClampToInt(total);
    title += titles.join(QStringLiteral(" / "));
}

void CDocState::GroupSelected() {
    // Without a selected group there is nothing to merge, and an empty group
    // must never lie on the tray.
    if (GetSelectedGroups().empty())
        return;
    QString title;
    int sum = 0;
    CollectTitlesAndModifiers(title, sum);
    auto merged = std::make_unique<CDiceGroupPainter>();
    for (CDiceGroupPainter* group : GetSelectedGroups()) {
        const std::unique_ptr<CDocEntity> taken = Take(entities, group);
        merged->TakeDice(*group);
    }
    merged->SetTitle(title.toStdString());
    // The group's own: on a merged group of one die the die keeps its own.
    merged->SetModifier(sum);
    merged->SetSelected(true);
    AddFront(std::move(merged));
    label = Label(doc_strings::kGroup);
}

void CDocState::UngroupSelected() {
    for (std::size_t i = 0; i < entities.size(); ++i) {
        auto* group = dynamic_cast<CDiceGroupPainter*>(entities[i].get());
        if (!group || !group->IsSelected() || group->GetCount() < 2)
            continue;
        // Each die becomes a selected group of its own where the old group stood.
        while (auto die = group->RemoveFirstPainter()) {
            auto single = std::make_unique<CDiceGroupPainter>();
            single->AddDie(std::move(die));
            single->SetSelected(true);
            entities.insert(entities.begin() + static_cast<std::ptrdiff_t>(i), std::move(single));
            ++i;
        }
        entities.erase(entities.begin() + static_cast<std::ptrdiff_t>(i));
        --i;
    }
    label = Label(doc_strings::kUngroup);
}

void CDocState::ModifySelected(int delta, const QString& doneLabel) {
    const auto groups = GetSelectedGroups();
    if (groups.empty())
        return;
    for (CDiceGroupPainter* group : groups)
        group->SetEffectiveModifier(
            ClampToInt(std::int64_t{group->GetEffectiveModifier()} + delta));
    label = doneLabel;
}

void CDocState::IncrementModifiers() {
    ModifySelected(1, Label(doc_strings::kIncrementModifier));
}

void CDocState::DecrementModifiers() {
    ModifySelected(-1, Label(doc_strings::kDecrementModifier));
}

void CDocState::SetTitles(const QString& title) {
    for (CDiceGroupPainter* group : GetSelectedGroups())
        group->SetTitle(title.toStdString());
    label = Label(doc_strings::kSetTitle);
}

void CDocState::SetModifiers(int value) {
    for (CDiceGroupPainter* group : GetSelectedGroups())
        group->SetEffectiveModifier(value);
    label = Label(doc_strings::kSetModifier);
}

void CDocState::SetIgnoreCounts(int value) {
    for (CDiceGroupPainter* group : GetSelectedGroups())
        group->SetIgnoreCount(value);
    label = Label(doc_strings::kSetIgnoreCount);
}

void CDocState::SetIgnoreHighestCounts(int value) {
    for (CDiceGroupPainter* group : GetSelectedGroups())
        group->SetIgnoreHighestCount(value);
    label = Label(doc_strings::kSetIgnoreCount);
}

void CDocState::SetColors(const QString& colour) {
    for (CDiceGroupPainter* group : GetSelectedGroups())
        group->SetDiceColor(colour);
    Normalize();
    label = QString::asprintf(doc_strings::kSetColor, colour.toUtf8().constData());
}

void CDocState::SetProperties(const std::optional<QString>& title, std::optional<int> modifier,
                              const std::optional<QString>& multiplier, const SRuleFields& rules) {
    for (CDiceGroupPainter* group : GetSelectedGroups()) {
        if (title)
            group->SetTitle(title->toStdString());
        if (modifier)
            group->SetEffectiveModifier(*modifier);
        if (multiplier)
            group->SetEffectiveMultiplier(multiplier->toStdString());
        SGroupRules set = group->GetRules();
        set.ignoreLowest = rules.ignoreLowest.value_or(set.ignoreLowest);
        set.ignoreHighest = rules.ignoreHighest.value_or(set.ignoreHighest);
        set.rerollBelow = rules.rerollBelow.value_or(set.rerollBelow);
        set.explode = rules.explode.value_or(set.explode);
        set.countAtLeast = rules.countAtLeast.value_or(set.countAtLeast);
        group->SetRules(set);
    }
    label = Label(doc_strings::kSetProperties);
}

int CDocState::RollSelected() {
    const int sum = RollGroups(GetSelectedGroups());
    label = Label(doc_strings::kRoll);
    return sum;
}

int CDocState::RollGroups(const std::vector<CDiceGroupPainter*>& groups) {
    int dice = 0;
    for (const CDiceGroupPainter* group : groups)
        dice += group->GetCount();
    if (host)
        host->PlayRollSound(dice);
    // A monotonic clock (the host's): a slow pass or a change of the system
    // time cannot keep the dice rolling.
    const auto now = [this] { return host ? host->Now() : std::chrono::steady_clock::now(); };
    const auto start = now();
    std::int64_t sum = 0;
    for (;;) {
        sum = 0;
        for (CDiceGroupPainter* group : groups)
            sum += group->Roll();
        if (host)
            host->RepaintActiveView();
        const int delay = host ? std::clamp(host->GetRollDelay(), 0, kMaxRollDelayMs) : 0;
        const auto elapsed = now() - start;
        if (elapsed >= std::chrono::milliseconds(delay))
            break;
    }
    return ClampToInt(sum);
}

void CDocState::SetBackgroundColor(ColorValue colour) {
    background = colour;
    label = Label(doc_strings::kSetBackgroundColor);
}

} // namespace rp
