#include "die_shapes.h"
#include "doc_state.h"
#include "fake_host.h"
#include "gui_test_main.h"
#include "text_painter.h"
#include "without_pictures.h"

#include <QTemporaryDir>
#include <chrono>
#include <climits>
#include <gtest/gtest.h>

namespace rp {
namespace {

class EditTest : public test::WithoutDiePictures {
protected:
    CDiceGroupPainter* AddGroup(std::initializer_list<QPoint> centres, const char* title = "",
                                int modifier = 0) {
        auto group = std::make_unique<CDiceGroupPainter>();
        group->SetTitle(title);
        group->SetModifier(modifier);
        for (const QPoint& c : centres)
            group->AddDieBack(std::make_unique<C6Sider>(c.x(), c.y(), 1));
        CDiceGroupPainter* raw = group.get();
        state.AddBack(std::move(group));
        return raw;
    }
    std::vector<CDiceGroupPainter*> Groups() const {
        std::vector<CDiceGroupPainter*> groups;
        for (const auto& entity : state.Entities())
            if (auto* group = dynamic_cast<CDiceGroupPainter*>(entity.get()))
                groups.push_back(group);
        return groups;
    }

    test::FakeHost host;
    CDocState state{&host};
};

TEST_F(EditTest, AddDiceAsNewGroupsOrOntoAGroup) {
    host.dieColor = "Blue";
    state.AddDice(6, {{100, 100}}, std::nullopt);
    EXPECT_EQ(state.GetLabel(), "Add 6-sided Die");
    ASSERT_EQ(Groups().size(), 1u);
    EXPECT_EQ(Groups()[0]->PainterAt(0).GetColor(), "Blue");
    EXPECT_EQ(host.sounds, (QList<int>{1, 1})); // on adding, and by the roll

    host.sounds.clear();
    host.repaints = 0;
    host.delay = 200;
    CDiceGroupPainter* target = Groups()[0];
    state.AddDice(8, {{500, 500}, {610, 500}, {720, 500}}, QPoint(100, 100));
    EXPECT_EQ(host.repaints, 0) << "nothing to roll, so no roll animation";
    host.delay = 0;
    EXPECT_EQ(state.GetLabel(), "Add 3 8-sided Dice");
    ASSERT_EQ(Groups().size(), 1u);
    EXPECT_EQ(target->GetCount(), 4);
    EXPECT_EQ(target->PainterAt(0).GetSideCount(), 8);
    EXPECT_EQ(host.sounds, QList<int>{3}); // dice joining a group are not rolled again

    host.dieColor.clear();
    const QPoint shift = state.AddDice(4, {{-50, 40}, {60, 40}}, std::nullopt);
    EXPECT_EQ(shift.x(), 50 + 32);
    EXPECT_EQ(Groups()[0]->PainterAt(0).GetColor(), kDefaultDieColor);
}

TEST_F(EditTest, MoveOrMergeOnDrop) {
    CDiceGroupPainter* b = AddGroup({{300, 100}}, "B");
    CDiceGroupPainter* a = AddGroup({{100, 300}, {170, 300}}, "A", 2);
    // Nothing selected: no step, and the group under the drop stays as it is.
    b->SetIgnoreCount(1);
    state.MoveSelected(QPoint(100, 300), QPoint(300, 100));
    EXPECT_EQ(state.GetLabel(), "");
    EXPECT_EQ(Groups()[0]->GetIgnoreCount(), 1);
    a->SetSelected(true);
    state.MoveSelected(QPoint(100, 300), QPoint(300, 100));
    EXPECT_EQ(state.GetLabel(), "Group");
    ASSERT_EQ(Groups().size(), 1u);
    CDiceGroupPainter* merged = Groups()[0];
    EXPECT_TRUE(merged->IsSelected());
    EXPECT_EQ(merged->GetTitle(), "B / A");
    EXPECT_EQ(merged->GetModifier(), 2);
    EXPECT_EQ(merged->GetCount(), 3);
    (void)b;

    // A group and a text dragged onto a group only move.
    CDocState other{&host};
    auto target = std::make_unique<CDiceGroupPainter>();
    target->AddDieBack(std::make_unique<C6Sider>(300, 100, 1));
    other.AddBack(std::move(target));
    auto moving = std::make_unique<CDiceGroupPainter>();
    moving->AddDieBack(std::make_unique<C6Sider>(100, 300, 1));
    moving->SetSelected(true);
    other.AddBack(std::move(moving));
    auto note = std::make_unique<CTextPainter>("note", 100, 400);
    note->SetSelected(true);
    other.AddBack(std::move(note));
    EXPECT_EQ(other.MoveSelected(QPoint(100, 300), QPoint(300, 100)), QPoint(0, 0));
    EXPECT_EQ(other.GetLabel(), "Move");
    EXPECT_EQ(other.Entities().size(), 3u);
    EXPECT_EQ(dynamic_cast<CTextPainter&>(*other.Entities()[2]).GetBodyRect().TopLeft(),
              QPoint(300, 200));

    // Moving past the origin normalises and reports the shift.
    const QPoint shift = other.MoveSelected(QPoint(0, 0), QPoint(-400, 0));
    EXPECT_GT(shift.x(), 0);
    EXPECT_EQ(other.GetExtent().left, 0);
}

TEST_F(EditTest, GroupAndUngroup) {
    AddGroup({{100, 100}}, "Attack");
    AddGroup({{200, 100}}, "Attack");
    AddGroup({{300, 100}, {370, 100}}, "", 2);
    CDiceGroupPainter* single = AddGroup({{500, 100}});
    single->GetFirstDie()->SetModifier(1);
    auto note = std::make_unique<CTextPainter>("stays", 0, 300);
    note->SetSelected(true);
    state.AddBack(std::move(note));
    state.GroupSelected(); // nothing selected: no empty group appears
    EXPECT_EQ(state.GetLabel(), "");
    EXPECT_EQ(state.Entities().size(), 5u);
    state.SelectAll();
    state.GroupSelected();
    EXPECT_EQ(state.GetLabel(), "Group");
    ASSERT_EQ(Groups().size(), 1u);
    CDiceGroupPainter* group = Groups()[0];
    EXPECT_EQ(state.Entities()[0].get(), group);
    EXPECT_EQ(group->GetTitle(), "Attack");
    EXPECT_EQ(group->GetModifier(), 2);
    EXPECT_EQ(group->GetCount(), 5);
    // The deepest group's dice come first; the single die keeps its +1.
    EXPECT_EQ(group->PainterAt(0).GetPosition(), QPoint(500, 100));
    EXPECT_EQ(group->PainterAt(0).GetModifier(), 1);
    EXPECT_EQ(group->PainterAt(4).GetPosition(), QPoint(100, 100));
    EXPECT_EQ(state.Entities().size(), 2u);

    group->SetTitle("Damage");
    group->SetModifier(3);
    state.SelectNone();
    group->SetSelected(true);
    state.UngroupSelected();
    EXPECT_EQ(state.GetLabel(), "Ungroup");
    const auto parts = Groups();
    ASSERT_EQ(parts.size(), 5u);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        EXPECT_TRUE(parts[i]->IsSelected());
        EXPECT_EQ(parts[i]->GetTitle(), "");
        EXPECT_EQ(parts[i]->GetModifier(), 0);
        EXPECT_EQ(parts[i]->GetCount(), 1);
    }
    EXPECT_EQ(parts[0]->PainterAt(0).GetPosition(), QPoint(500, 100));
    EXPECT_EQ(parts[4]->PainterAt(0).GetPosition(), QPoint(100, 100));
}

TEST_F(EditTest, PropertyEdits) {
    CDiceGroupPainter* lone = AddGroup({{100, 100}});
    lone->GetFirstDie()->SetModifier(2);
    CDiceGroupPainter* pair = AddGroup({{300, 100}, {370, 100}});
    state.IncrementModifiers();
    EXPECT_EQ(state.GetLabel(), "") << "nothing selected: no edit";
    state.SelectAll();
    state.IncrementModifiers();
    EXPECT_EQ(state.GetLabel(), "Increment Modifier");
    EXPECT_EQ(lone->GetFirstDie()->GetModifier(), 3);
    EXPECT_EQ(lone->GetModifier(), 0);
    EXPECT_EQ(pair->GetModifier(), 1);
    state.DecrementModifiers();
    EXPECT_EQ(pair->GetModifier(), 0);

    state.SetProperties(QString("Both"), std::nullopt, QString("1/2"));
    EXPECT_EQ(state.GetLabel(), "Set Properties");
    EXPECT_EQ(lone->GetTitle(), "Both");
    EXPECT_EQ(lone->GetFirstDie()->GetMultiplierText(), "1/2");
    EXPECT_EQ(pair->GetMultiplierText(), "1/2");
    state.SetModifiers(-4);
    EXPECT_EQ(lone->GetFirstDie()->GetModifier(), -4);
    EXPECT_EQ(pair->GetModifier(), -4);
    state.SetIgnoreCounts(1);
    EXPECT_EQ(pair->GetIgnoreCount(), 1);
    state.SetTitles("T");
    EXPECT_EQ(state.GetLabel(), "Set Title");
    state.SetColors("Red");
    EXPECT_EQ(state.GetLabel(), "Set Color (Red)");
    EXPECT_EQ(pair->PainterAt(1).GetColor(), "Red");
    state.SetBackgroundColor(255);
    EXPECT_EQ(state.GetLabel(), "Set Background Color");
    EXPECT_EQ(state.GetBackgroundColor(), QColor(255, 0, 0));

    state.AddText("hello", 5, 6);
    EXPECT_EQ(state.GetLabel(), "Add Text");
    EXPECT_FALSE(state.Entities()[0]->IsSelected());
    state.SelectNone();
    state.Entities()[0]->SetSelected(true);
    state.EditText("changed");
    EXPECT_EQ(dynamic_cast<CTextPainter&>(*state.Entities()[0]).GetText(), "changed");
    state.SelectAll();
    state.DeleteSelected();
    EXPECT_EQ(state.GetLabel(), "Delete");
    EXPECT_TRUE(state.Entities().empty());
}

TEST_F(EditTest, RollLoopRollsUntilTheDelayHasPassed) {
    AddGroup({{100, 100}, {200, 100}});
    state.SelectAll();
    host.delay = 0;
    state.RollSelected();
    EXPECT_EQ(state.GetLabel(), "Roll");
    EXPECT_EQ(host.repaints, 1);
    EXPECT_EQ(host.sounds, QList<int>{2});

    // With the clock moving 100 ms a pass: passes end at 100, 200, ... ms.
    host.tick = std::chrono::milliseconds(100);
    const struct {
        int delay, passes;
    } cases[] = {{500, 5}, {450, 5}, {50, 1}, {1000000, CDocState::kMaxRollDelayMs / 100}};
    for (const auto& c : cases) {
        host.repaints = 0;
        host.delay = c.delay;
        state.RollSelected();
        EXPECT_EQ(host.repaints, c.passes) << c.delay;
    }
}

TEST_F(EditTest, OneDieGroupsKeepTheirOwnModifierAndModifiersSaturate) {
    // A group of one die that carries a modifier of its own, as files make them.
    CDiceGroupPainter* attack = AddGroup({{100, 100}}, "Attack", 5);
    AddGroup({{300, 100}, {400, 100}});
    state.SelectAll();
    state.GroupSelected();
    ASSERT_EQ(Groups().size(), 1u);
    EXPECT_EQ(Groups()[0]->GetDescription(), "3d6+5");

    state.SelectNone();
    attack = AddGroup({{100, 300}}, "", 5);
    attack->SetSelected(true);
    state.IncrementModifiers();
    state.IncrementModifiers();
    EXPECT_EQ(attack->GetEffectiveModifier(), 7);
    EXPECT_EQ(attack->GetDescription(), "1d6+7");

    attack->SetModifier(INT_MAX);
    state.IncrementModifiers();
    EXPECT_EQ(attack->GetEffectiveModifier(), INT_MAX);
    attack->SetModifier(INT_MIN);
    state.DecrementModifiers();
    EXPECT_EQ(attack->GetEffectiveModifier(), INT_MIN);

    state.SelectNone();
    AddGroup({{100, 500}, {200, 500}}, "", INT_MAX)->SetSelected(true);
    AddGroup({{300, 500}, {400, 500}}, "", INT_MAX)->SetSelected(true);
    state.GroupSelected();
    EXPECT_EQ(state.GetSelectedGroups().front()->GetModifier(), INT_MAX);
}

} // namespace
} // namespace rp
