#include "random_source.h"
#include "shown_tray_view.h"
#include "tray_accessible.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QTest>
#include <array>
#include <cstdlib>
#include <gtest/gtest.h>

namespace rp {
namespace {

// The small tray reads Attack, Damage, then the text; a field follows the
// view in the tab chain.
class TableViewKeysTest : public test::ShownTrayView<> {
protected:
    void SetUp() override {
        ShownTrayView::SetUp();
        after = new QLineEdit(&view);
        after->setGeometry(0, 0, 1, 1);
        after->show();
        view.setFocus();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    // The focused entity's index and the selected indices, as "1:0,1".
    std::string Where() {
        std::string text;
        std::string selected;
        for (int i = 0; i < 3; ++i) {
            if (Entity(i).GetId() == view.FocusedEntityId())
                text = std::to_string(i);
            if (Entity(i).IsSelected())
                selected += (selected.empty() ? "" : ",") + std::to_string(i);
        }
        return text + ":" + selected;
    }
    QLineEdit* after = nullptr;
};

TEST_F(TableViewKeysTest, KeysWalkTheTrayInReadingOrderAndSelect) {
    State().SelectNone();
    const std::pair<std::pair<int, Qt::KeyboardModifiers>, std::string> steps[] = {
        {{Qt::Key_Tab, {}}, "0:0"},
        {{Qt::Key_Tab, {}}, "1:1"},
        {{Qt::Key_Tab, {}}, "2:2"},
        {{Qt::Key_Backtab, Qt::ShiftModifier}, "1:1"},
        {{Qt::Key_Left, {}}, "0:0"},
        {{Qt::Key_Down, {}}, "2:2"},
        {{Qt::Key_Home, Qt::ShiftModifier}, "0:0,2"},
        {{Qt::Key_Right, Qt::ControlModifier}, "1:0,2"},
        {{Qt::Key_Space, Qt::ControlModifier}, "1:0,1,2"},
        {{Qt::Key_Space, Qt::ControlModifier}, "1:0,2"},
        {{Qt::Key_End, {}}, "2:2"},
        {{Qt::Key_Up, Qt::ShiftModifier}, "0:0,2"},
        {{Qt::Key_Right, {}}, "1:1"},
    };
    for (const auto& [key, where] : steps) {
        Key(key.first, key.second);
        EXPECT_EQ(Where(), where) << key.first;
        EXPECT_TRUE(view.hasFocus());
    }
    EXPECT_TRUE(doc.GetUndoLabels().isEmpty()); // selection is no step

    // Past the last entity (and before the first) Tab leaves the view.
    Key(Qt::Key_End);
    Key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(view.hasFocus());
    Key(Qt::Key_Home);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_FALSE(view.hasFocus());
}

TEST_F(TableViewKeysTest, FocusOutlivesRollsUndoAndRedoAndAltArrowsMoveInOneStep) {
    view.FocusEntity(Entity(0).GetId(), CTableView::FocusSelection::Only);
    const std::uint64_t attack = Entity(0).GetId();
    Key(Qt::Key_Space);
    EXPECT_EQ(view.FocusedEntityId(), attack);
    const CRect start = Entity(0).GetBodyRect();

    // Two moves of 10 and one of 1 while Alt is held: one step, onto
    // Damage without joining it.
    for (int i = 0; i < 11; ++i)
        QTest::keyPress(&view, Qt::Key_Right, Qt::AltModifier);
    QTest::keyPress(&view, Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Move", "Roll"}));
    EXPECT_EQ(State().Entities().size(), 3u);
    EXPECT_EQ(Entity(0).GetBodyRect(), start.Offset(110, 1));
    QTest::keyRelease(&view, Qt::Key_Alt);
    Key(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Move", "Move", "Roll"}));

    view.Undo(3);
    EXPECT_EQ(view.FocusedEntityId(), attack);
    view.Redo(1);
    EXPECT_EQ(view.FocusedEntityId(), attack);
    EXPECT_EQ(Where(), "0:0");
}

TEST_F(TableViewKeysTest, ScreenReadersReadTheTrayByEntity) {
    QAccessibleInterface* tray = QAccessible::queryAccessibleInterface(view.viewport());
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->role(), QAccessible::List);
    ASSERT_EQ(tray->childCount(), 3);
    EXPECT_EQ(tray->child(0)->text(QAccessible::Name), "Attack, 1d20+5, total 19");
    EXPECT_EQ(tray->child(1)->text(QAccessible::Name),
              "Damage, 1/2x2d6+1, ignore lowest 1, total 3");
    EXPECT_EQ(tray->child(1)->text(QAccessible::Description), "left out: 3");
    EXPECT_EQ(tray->child(2)->text(QAccessible::Name), "Round 1");
    EXPECT_EQ(tray->indexOfChild(tray->child(2)), 2);
    EXPECT_EQ(tray->child(0)->actionInterface()->actionNames(),
              QStringList({"Roll", "Edit title"}));

    view.FocusEntity(Entity(0).GetId(), CTableView::FocusSelection::Only);
    EXPECT_TRUE(tray->child(0)->state().focused && tray->child(0)->state().selected);
    EXPECT_EQ(tray->focusChild(), tray->child(0));
    // The same interface, renamed, after a roll by its action.
    QAccessibleInterface* attack = tray->child(0);
    random_source::Seed(7); // a roll that changes the total
    attack->actionInterface()->doAction("Roll");
    ASSERT_NE(Group(0).GetTotal(), 19);
    EXPECT_EQ(tray->child(0), attack);
    EXPECT_EQ(attack->text(QAccessible::Name),
              QString("Attack, 1d20+5, total %1").arg(Group(0).GetTotal()));
    view.Undo(1);
    EXPECT_EQ(tray->child(0), attack);
}

TEST_F(TableViewKeysTest, MarksStayVisibleInDarkAndHighContrastPalettes) {
    const QPalette saved = QApplication::palette();
    State().SetBackgroundColor(kWhite); // the window's own colour
    view.FocusEntity(Entity(1).GetId(), CTableView::FocusSelection::Only);
    const std::pair<const char*, std::array<QColor, 3>> palettes[] = {
        // base, text, highlight
        {"dark", {QColor(30, 30, 30), QColor(230, 230, 230), QColor(42, 130, 218)}},
        {"contrast", {Qt::black, Qt::white, Qt::yellow}},
    };
    for (const auto& [name, colours] : palettes) {
        QPalette palette(colours[0]);
        palette.setColor(QPalette::Base, colours[0]);
        palette.setColor(QPalette::Text, colours[1]);
        palette.setColor(QPalette::WindowText, colours[1]);
        palette.setColor(QPalette::Highlight, colours[2]);
        QApplication::setPalette(palette);
        const QImage shot = view.viewport()->grab().toImage();
        if (const QByteArray folder = qgetenv("ROLLPOUCH_SHOTS"); !folder.isEmpty())
            shot.save(QString("%1/palette-%2.png").arg(folder, name));
        // The focus mark's dots, the selection's dots and the total's text
        // all stand out from the background.
        const QRect mark(view.ToViewport(Entity(1).GetBoundingRect().Inflate(3).TopLeft()),
                         QSize(40, 1));
        int dots = 0, highlight = 0, contrasting = 0;
        for (int x = mark.left(); x < mark.right(); ++x)
            dots += shot.pixelColor(x, mark.top()) == colours[1];
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                highlight += shot.pixelColor(x, y) == colours[2];
                contrasting += std::abs(qGray(shot.pixel(x, y)) - qGray(colours[0].rgb())) > 100;
            }
        EXPECT_GE(dots, 10) << name;
        EXPECT_GT(highlight, 20) << name;
        EXPECT_GT(contrasting, 500) << name; // texts, totals, outlines
    }
    QApplication::setPalette(saved);
}

} // namespace
} // namespace rp
