#include "die_shapes.h"
#include "fake_host.h"
#include "gui_test_main.h"
#include "sample_trays.h"
#include "table_doc.h"
#include "test_files.h"
#include "text_painter.h"
#include "without_pictures.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace rp {
namespace {

class TableDocTest : public test::WithoutDiePictures {
protected:
    // One labelled edit: a text added at the front.
    void Edit(const QString& text) { doc.PushState().AddText(text, 10, 10); }
    QString Write(const QString& name, const QByteArray& bytes) {
        return test::WriteFile(folder.filePath(name), bytes);
    }
    QTemporaryDir folder;
    test::FakeHost host;
    CTableDoc doc{&host};
};

TEST_F(TableDocTest, UndoAndRedoBySteps) {
    for (int i = 1; i <= 12; ++i) {
        Edit(QString::number(i));
        doc.GetCurrentState().SetLabel(QString::number(i));
    }
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"12", "11", "10", "9", "8", "7", "6", "5", "4"}));
    EXPECT_TRUE(doc.GetRedoLabels().isEmpty());

    doc.Undo(2);
    EXPECT_EQ(doc.GetCurrentState().Entities().size(), 10u);
    EXPECT_EQ(doc.GetRedoLabels(), QStringList({"11", "12"}));
    Edit("new");
    EXPECT_TRUE(doc.GetRedoLabels().isEmpty());
    EXPECT_EQ(doc.StateCount(), 12u);

    doc.Undo(50);
    EXPECT_TRUE(doc.GetCurrentState().Entities().empty());
    EXPECT_TRUE(doc.GetUndoLabels().isEmpty());
    doc.Redo(1);
    EXPECT_EQ(doc.GetCurrentState().Entities().size(), 1u);
    doc.Redo(0);
    doc.Undo(-3);
    EXPECT_EQ(doc.GetCurrentState().Entities().size(), 1u);
    doc.Redo(99);
    EXPECT_EQ(doc.GetCurrentState().Entities().size(), 11u);
}

TEST_F(TableDocTest, UnlabelledStatesAreDropped) {
    Edit("a");
    doc.PushState(); // an edit that changed nothing
    Edit("b");
    doc.PushState();
    EXPECT_EQ(doc.StateCount(), 5u);
    // Listing passes over them (the queries are const); undo drops them.
    const CTableDoc& listed = doc;
    EXPECT_EQ(listed.GetUndoLabels(), QStringList({"Add Text", "Add Text"}));
    EXPECT_EQ(doc.StateCount(), 5u);
    doc.Undo(1);
    EXPECT_EQ(doc.StateCount(), 3u);
    EXPECT_EQ(doc.GetCurrentState().Entities().size(), 1u);
}

TEST_F(TableDocTest, EndingAnEditThatChangedNothingLeavesNoTrace) {
    Edit("a");
    ASSERT_TRUE(doc.Save(folder.filePath("a.rlp")));
    QSignalSpy titles(&doc, &CTableDoc::titleChanged);
    doc.PushState().IncrementModifiers(); // nothing selected: no label
    doc.EndEdit();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "a.rlp");
    EXPECT_EQ(doc.StateCount(), 2u);
    EXPECT_EQ(titles.count(), 2); // marked by the push, unmarked by the end
    doc.PushState().AddText("b", 0, 0);
    doc.EndEdit();
    EXPECT_EQ(doc.StateCount(), 3u);
    EXPECT_EQ(doc.GetTitle(), "a.rlp *");
}

TEST_F(TableDocTest, UndoRestoresTheSelectionOfTheTime) {
    Edit("a");
    doc.GetCurrentState().SelectAll();
    doc.PushState().AddDice(6, {{200, 200}}, std::nullopt);
    doc.Undo(1);
    ASSERT_EQ(doc.GetCurrentState().Entities().size(), 1u);
    EXPECT_TRUE(doc.GetCurrentState().Entities()[0]->IsSelected());
}

TEST_F(TableDocTest, TitleMarkFollowsTheSavedState) {
    QSignalSpy titles(&doc, &CTableDoc::titleChanged);
    doc.SetTitle("Rollpouch1");
    EXPECT_FALSE(doc.IsModified());
    Edit("a");
    EXPECT_EQ(doc.GetTitle(), "Rollpouch1 *");
    EXPECT_EQ(doc.GetSaveChangesName(), "Rollpouch1");
    const QString path = folder.filePath("tray.rlp");
    QString error;
    ASSERT_TRUE(doc.Save(path, &error)) << error.toStdString();
    EXPECT_EQ(doc.GetTitle(), "tray.rlp");
    EXPECT_FALSE(doc.IsModified());
    doc.Undo(1);
    EXPECT_EQ(doc.GetTitle(), "tray.rlp *");
    doc.Redo(1);
    EXPECT_EQ(doc.GetTitle(), "tray.rlp");
    EXPECT_GE(titles.count(), 4);

    // A new edit after undoing past the save: modified whatever follows.
    doc.Undo(1);
    Edit("b");
    EXPECT_TRUE(doc.IsModified());
    doc.Undo(1);
    EXPECT_TRUE(doc.IsModified());
    doc.Redo(1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(TableDocTest, OpeningArrangesTraysThatReachNegativeCoordinates) {
    const QString kept = Write(
        "kept.rlp", R"(<dicegroups><text value="x"><position x="5" y="40"/></text></dicegroups>)");
    ASSERT_TRUE(doc.Open(kept));
    EXPECT_EQ(doc.GetCurrentState().Entities()[0]->GetBodyRect().TopLeft(), QPoint(5, 40));
    EXPECT_EQ(doc.GetTitle(), "kept.rlp");
    EXPECT_FALSE(doc.IsModified());

    const QString moved =
        Write("moved.rlp",
              R"(<dicegroups><text value="x"><position x="-5" y="40"/></text></dicegroups>)");
    ASSERT_TRUE(doc.Open(moved));
    EXPECT_EQ(doc.GetCurrentState().Entities()[0]->GetBodyRect().TopLeft(), QPoint(10, 10));
    EXPECT_FALSE(doc.IsModified());

    ASSERT_TRUE(doc.Open(Write("empty.rlp", "")));
    EXPECT_TRUE(doc.GetCurrentState().Entities().empty());
    QString error;
    EXPECT_FALSE(doc.Open(folder.filePath("missing.rlp"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(TableDocTest, OpeningSaysWhenDiceWereLeftOut) {
    QByteArray many = "<dicegroup>";
    for (int i = 0; i < 11; ++i)
        many += "<t>1000d6</t>";
    many += "</dicegroup>";
    QString warning = "stale";
    ASSERT_TRUE(doc.Open(Write("many.rlp", many), nullptr, &warning));
    EXPECT_EQ(warning, QString::fromLatin1(kDiceLeftOutText));
    EXPECT_FALSE(doc.IsModified());
    ASSERT_TRUE(doc.Open(Write("few.rlp", "<dicegroup>2d6</dicegroup>"), nullptr, &warning));
    EXPECT_TRUE(warning.isEmpty());
}

TEST_F(TableDocTest, WhiteBackgroundIsNotSaved) {
    doc.PushState().SetBackgroundColor(kWhite);
    const QString path = folder.filePath("white.rlp");
    ASSERT_TRUE(doc.Save(path));
    EXPECT_EQ(test::ReadFile(path), "<dicegroups/>");
}

TEST_F(TableDocTest, FailedSaveKeepsTheOldFileAndSaysWhy) {
    const QString path = Write("old.rlp", "old contents");
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(folder.path(), readOnly);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther |
                                    QFile::WriteOther);
    Edit("a");
    // Root writes anywhere: save as an ordinary user in a child process.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        QString error;
        const bool saved = doc.Save(path, &error);
        ::_exit(saved ? 1 : (error.isEmpty() ? 2 : (doc.IsModified() ? 0 : 4)));
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1: saved, 2: no reason given, 3: could not drop privileges";
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(test::ReadFile(path), "old contents");
}

TEST_F(TableDocTest, SaveIntoAMissingFolderFails) {
    Edit("a");
    QString error;
    EXPECT_FALSE(doc.Save(folder.filePath("no/such/folder/tray.rlp"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(TableDocTest, CopyAndPaste) {
    CDocState& state = doc.PushState();
    auto first = std::make_unique<CDiceGroupPainter>();
    first->SetTitle("first");
    first->AddNewDie(6, "", 100, 100);
    auto second = std::make_unique<CDiceGroupPainter>();
    second->SetTitle("second");
    second->AddNewDie(8, "", 300, 100);
    state.AddBack(std::move(first));
    state.AddBack(std::move(second));
    state.AddBack(std::make_unique<CTextPainter>("not copied", 0, 400));
    state.Entities()[0]->SetSelected(true);
    state.Entities()[1]->SetSelected(true);
    state.Copy();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("<dicegroups>"));
    EXPECT_FALSE(copied.contains("rawResult"));
    EXPECT_FALSE(copied.contains("not copied"));

    CDocState& pasted = doc.PushState();
    pasted.Paste(QPoint(600, 600));
    EXPECT_EQ(pasted.GetLabel(), "Paste");
    ASSERT_EQ(pasted.Entities().size(), 5u);
    // Reversed among themselves, selected, centred on the point.
    EXPECT_EQ(dynamic_cast<CDiceGroupPainter&>(*pasted.Entities()[0]).GetTitle(), "second");
    EXPECT_EQ(dynamic_cast<CDiceGroupPainter&>(*pasted.Entities()[1]).GetTitle(), "first");
    EXPECT_EQ(pasted.GetSelectedCount(), 2);
    const CRect block =
        pasted.Entities()[0]->GetBoundingRect().Join(pasted.Entities()[1]->GetBoundingRect());
    EXPECT_EQ(block.Center(), QPoint(600, 600));

    CDocState& cut = doc.PushState();
    cut.Cut();
    EXPECT_EQ(cut.GetLabel(), "Cut");
    EXPECT_EQ(cut.Entities().size(), 3u);

    QGuiApplication::clipboard()->setText("Hit: 1d20+2\nnonsense");
    CDocState& plain = doc.PushState();
    plain.Paste(std::nullopt);
    EXPECT_EQ(plain.GetSelectedCount(), 1);
    EXPECT_EQ(dynamic_cast<CDiceGroupPainter&>(*plain.Entities()[0]).GetTitle(), "Hit");

    QGuiApplication::clipboard()->clear();
    CDocState& nothing = doc.PushState();
    nothing.Paste(std::nullopt);
    EXPECT_EQ(nothing.GetLabel(), "Paste");
    EXPECT_EQ(nothing.GetSelectedCount(), 0);
}

TEST_F(TableDocTest, TraysWithoutRulesAreWrittenByteForByte) {
    const QString example =
        QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../../examples/adventure.rlp");
    // A die read without a colour takes the default one, as it always has.
    const QByteArray small =
        QByteArray(test::kSmallTray)
            .replace("/>\n\t\t</die>", "/>\n\t\t\t<color>Light Gray</color>\n\t\t</die>");
    const struct {
        QByteArray tray, written;
    } cases[] = {{test::ReadFile(example), test::ReadFile(example)}, {test::kSmallTray, small}};
    for (const auto& [tray, written] : cases) {
        ASSERT_FALSE(tray.isEmpty());
        CTableDoc opened(&host);
        ASSERT_TRUE(opened.Open(Write("in.rlp", tray)));
        const QString out = folder.filePath("out.rlp");
        ASSERT_TRUE(opened.Save(out));
        EXPECT_EQ(test::ReadFile(out).toStdString(), written.toStdString());
    }
}

// An exploding group whose first d6 shows 14 (6, 6, 2), beside a plain d6.
constexpr const char* kExplodedTray =
    R"(<dicegroups><dicegroup multiplier="1" rerollBelow="2" explode="1">)"
    R"(<die sideCount="6" multiplier="1" rawResult="14" rolls="6 6 2"><position x="100" y="100"/></die>)"
    R"(<die sideCount="6" multiplier="1" rawResult="3"><position x="170" y="100"/></die>)"
    R"(</dicegroup><dicegroup multiplier="1"><die sideCount="6" multiplier="1" rawResult="5">)"
    R"(<position x="400" y="100"/></die></dicegroup></dicegroups>)";

TEST_F(TableDocTest, ADieKeepsItsExplodedFaceUntilRolledAgain) {
    const auto groups = [](const CDocState& state) {
        std::vector<CDiceGroupPainter*> found;
        for (const auto& entity : state.Entities())
            found.push_back(dynamic_cast<CDiceGroupPainter*>(entity.get()));
        return found;
    };
    const auto holding14 = [&](const CDocState& state) -> CDiceGroupPainter* {
        for (CDiceGroupPainter* group : groups(state))
            for (const auto& die : group->Dice())
                if (die->GetRawResult() == 14 && die->GetRolls() == std::vector<int>{6, 6, 2})
                    return group;
        return nullptr;
    };
    // After each edit: the 14 stands, counts, and does so again once saved and reopened.
    const auto expect14 = [&](int total, const char* step) {
        const CDiceGroupPainter* group = holding14(doc.GetCurrentState());
        ASSERT_NE(group, nullptr) << step;
        EXPECT_EQ(group->GetTotal(), total) << step;
        const QString path = folder.filePath("saved.rlp");
        ASSERT_TRUE(doc.Save(path)) << step;
        CTableDoc reopened(&host);
        ASSERT_TRUE(reopened.Open(path)) << step;
        const CDiceGroupPainter* read = holding14(reopened.GetCurrentState());
        ASSERT_NE(read, nullptr) << step;
        EXPECT_EQ(read->GetTotal(), total) << step;
        EXPECT_EQ(read->GetDescription(), group->GetDescription()) << step;
    };

    ASSERT_TRUE(doc.Open(Write("exploded.rlp", kExplodedTray)));
    expect14(17, "opened");
    EXPECT_EQ(holding14(doc.GetCurrentState())->GetDescription(), "2d6, reroll below 2, explode");

    CDocState& merged = doc.PushState();
    merged.SelectAll();
    merged.GroupSelected();
    ASSERT_EQ(groups(merged).size(), 1u);
    EXPECT_FALSE(groups(merged)[0]->HasRules());
    expect14(22, "merged");
    doc.Undo(1);
    EXPECT_EQ(holding14(doc.GetCurrentState())->GetDescription(), "2d6, reroll below 2, explode");
    doc.Redo(1);
    expect14(22, "redone");

    CDocState& parts = doc.PushState();
    parts.SelectAll();
    parts.UngroupSelected();
    ASSERT_EQ(groups(parts).size(), 3u);
    for (const CDiceGroupPainter* part : groups(parts))
        EXPECT_FALSE(part->HasRules());
    expect14(14, "ungrouped");

    doc.Undo(2);
    CDocState& off = doc.PushState();
    holding14(off)->SetExplode(false);
    off.SetLabel("Explode off");
    expect14(17, "explode off");

    // Copies carry the rules but not the faces.
    CDocState& copied = doc.PushState();
    copied.SelectNone();
    holding14(copied)->SetSelected(true);
    copied.Copy();
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(text.contains("rerollBelow=\"2\"") && !text.contains("rolls"))
        << text.toStdString();
    copied.Paste(QPoint(600, 600));
    EXPECT_EQ(groups(copied)[0]->GetDescription(), "2d6, reroll below 2");
}

TEST_F(TableDocTest, PastedTextAtNegativeCoordinatesIsNormalised) {
    CDocState& state = doc.PushState();
    state.AddText("existing", 0, 0);
    const QPoint shift =
        state.PasteText(R"(<text value="far"><position x="-40" y="-30"/></text>)", std::nullopt);
    EXPECT_EQ(shift, QPoint(40, 30));
    EXPECT_EQ(state.GetExtent().TopLeft(), QPoint(0, 0));
}

} // namespace
} // namespace rp
