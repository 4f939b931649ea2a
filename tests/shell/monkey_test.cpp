// Seeded random input on a main window holding the example tray: clicks,
// drags, rubber bands, context menus, die-bar gestures, keys, typing and
// dialogs. After every step the tray reads back as it writes itself, each
// group's total is that of its dice, the modified marks follow the tray and
// every new step is one the event can make; at the end undoing everything
// gives back the tray as opened and redoing everything the newest state.
// ROLLPOUCH_MONKEY_STEPS sets the steps, ROLLPOUCH_MONKEY_SEED runs one seed.
#include "add_count_dlg.h"
#include "dice_properties_dlg.h"
#include "gui_test_main.h"
#include "main_frame.h"
#include "mod_spin_button_ctrl.h"
#include "random_source.h"
#include "rollpouch_app.h"
#include "rollpouch_ctrl.h"
#include "table_doc.h"
#include "table_frame.h"
#include "table_view.h"
#include "title_edit.h"
#include "window_input.h"

#include <QClipboard>
#include <QColorDialog>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <set>

namespace rp {
namespace {

std::vector<unsigned> Seeds() {
    bool one = false;
    const uint seed = qEnvironmentVariable("ROLLPOUCH_MONKEY_SEED").toUInt(&one);
    return one ? std::vector<unsigned>{seed} : std::vector<unsigned>{1, 2, 3};
}

constexpr auto kPress = QEvent::MouseButtonPress, kRelease = QEvent::MouseButtonRelease,
               kMove = QEvent::MouseMove;
const Qt::KeyboardModifiers kShift = Qt::ShiftModifier, kCtrl = Qt::ControlModifier,
                            kPad = kCtrl | Qt::KeypadModifier;

// v times n/d, truncated, then one step on away from zero when v is no multiple of d.
std::int64_t Scaled(std::int64_t v, const CFraction& f) {
    const std::int64_t d = f.denominator == 0 ? 1 : f.denominator;
    const auto sign = [](std::int64_t x) { return (x > 0) - (x < 0); };
    return v * f.numerator / d + (v % d != 0 ? sign(v) * sign(f.numerator) * sign(d) : 0);
}

// A group's total from its faces: the dice's values less the lowest and
// then the highest ones ignored, times the group's multiplier, plus its modifier.
int ExpectedTotal(const CDiceGroupPainter& group) {
    std::vector<std::int64_t> values;
    for (const auto& die : group.Dice())
        values.push_back(Scaled(die->GetRawResult(), die->GetMultiplier()) + die->GetModifier());
    std::sort(values.begin(), values.end());
    const auto ignored = std::min(values.size(), std::size_t(std::max(group.GetIgnoreCount(), 0)));
    const auto highest =
        std::min(values.size() - ignored, std::size_t(std::max(group.GetIgnoreHighestCount(), 0)));
    const auto kept =
        std::accumulate(values.begin() + ignored, values.end() - highest, std::int64_t{});
    return int(std::clamp<std::int64_t>(Scaled(kept, group.GetMultiplier()) + group.GetModifier(),
                                        INT_MIN, INT_MAX));
}

QString FirstDifference(const QByteArray& a, const QByteArray& b) {
    const QList<QByteArray> x = a.split('\n'), y = b.split('\n');
    const auto i = std::mismatch(x.begin(), x.end(), y.begin(), y.end()).first - x.begin();
    return QString("line %1: \"%2\" / \"%3\"").arg(i + 1).arg(x.value(i), y.value(i));
}

QString At(QPoint p) {
    return QString("(%1,%2)").arg(p.x()).arg(p.y());
}

// The steps the in-place editors make when they commit, and those a context menu may make.
const QString kCommits = "Set Title|Set Modifier|Add Text|Edit Text";
const QString kMenuSteps = "Cut|Delete|Roll|Group|Ungroup|Increment Modifier|Decrement Modifier|"
                           "Set Properties|Set Ignore Count|Set Color .*|Paste|"
                           "Set Background Color|Add \\d.*|" +
                           kCommits;

// A key with the steps it may make (a move through the history makes none) and whether an
// editor may commit first.
struct KeyStep {
    Qt::Key key;
    Qt::KeyboardModifiers keys;
    QString steps;
    bool commits;
    QString Name() const { return QKeySequence(QKeyCombination(keys, key)).toString(); }
};
// clang-format off
const KeyStep kKeySteps[] = {
    {Qt::Key_Space, {}, "Roll", true},   {Qt::Key_Delete, {}, "Delete", true},
    {Qt::Key_Z, kCtrl, "", false},       {Qt::Key_Y, kCtrl, "", false},
    {Qt::Key_A, kCtrl, "", false},       {Qt::Key_C, kCtrl, "", false},
    {Qt::Key_X, kCtrl, "Cut", true},     {Qt::Key_V, kCtrl, "Paste|Roll", true},
    {Qt::Key_Plus, kPad, "Increment Modifier", true},
    {Qt::Key_Minus, kPad, "Decrement Modifier", true},
    {Qt::Key_Return, {}, "Roll", true},  {Qt::Key_Escape, {}, "", false},
    {Qt::Key_Up, {}, "", false},         {Qt::Key_Down, {}, "", false},
    {Qt::Key_Left, {}, "", false},       {Qt::Key_Right, {}, "", false}};
// Keys during a drag: none leaves it to move or merge (the press may have committed an editor).
const KeyStep kDragKeySteps[] = {
    {Qt::Key_Delete, {}, "Delete", true}, {Qt::Key_Z, kCtrl, "", true},
    {Qt::Key_Escape, {}, "", true}};
// clang-format on

class MonkeyTest : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override {
        QSettings().clear();
        CDiePainter::SetImagesFolder(ROLLPOUCH_IMAGES_DIR);
        CRollpouchApp::Instance()->Settings().SetDelayRoll(0);
        random_source::Seed(GetParam());
        random.seed(GetParam());
        QGuiApplication::clipboard()->clear();
        frame = std::make_unique<CMainFrame>(*CRollpouchApp::Instance());
        ASSERT_TRUE(test::ShowActive(*frame));
        const QString path = folder.filePath("adventure.rlp");
        ASSERT_TRUE(QFile::copy(ROLLPOUCH_IMAGES_DIR "/../examples/adventure.rlp", path));
        tray = frame->OpenTray(path);
        ASSERT_NE(tray, nullptr);
        view = tray->View();
        doc = tray->Document();
        opened = newest = Xml();
        seen.insert(openedId = State().Id());
        lastEntities = Entities();
        QObject::connect(doc, &CTableDoc::contentsChanged, &poll, [this] { StateChanged(); });
        QObject::connect(&poll, &QTimer::timeout, [this] { Answer(); });
        poll.start(1);
    }
    void TearDown() override {
        poll.stop();
        frame.reset();
        CDiePainter::SetImagesFolder({});
    }

    const CDocState& State() const { return doc->GetCurrentState(); }
    QByteArray Xml() const { return State().WriteTrayXml(true, false, true); }
    // The tray's XML cut before each entity's element.
    QStringList Entities() const { return QString::fromUtf8(Xml()).split("\n\t<"); }
    QWidget* Port() const { return view->viewport(); }
    CRollpouchCtrl* Bar() const { return frame->DieBar(); }
    void Mouse(QEvent::Type type, QWidget* base, QPoint at, Qt::MouseButton button = Qt::NoButton,
               Qt::KeyboardModifiers keys = {}) {
        input.Mouse(type, base, at, button, keys);
    }

    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    template <typename T> T Pick(std::initializer_list<T> items) {
        return items.begin()[Int(0, int(items.size()) - 1)];
    }
    QPoint Anywhere() { return {Int(0, Port()->width() - 1), Int(0, Port()->height() - 1)}; }
    // A visible point on an entity: on a group's title, modifier box or dice, or anywhere on it.
    QPoint OnEntity() {
        const auto& entities = State().Entities();
        if (entities.empty())
            return Anywhere();
        const CDocEntity& entity = *entities[std::size_t(Int(0, int(entities.size()) - 1))];
        CRect r = entity.GetBoundingRect();
        if (const auto* group = dynamic_cast<const CDiceGroupPainter*>(&entity))
            r = Pick({r, group->GetTitleRect(), group->GetModifierBox(), group->GetBodyRect()});
        const QPoint at = view->ToViewport({Int(r.left, std::max(r.left, r.right - 1)),
                                            Int(r.top, std::max(r.top, r.bottom - 1))});
        return Port()->rect().contains(at) ? at : Anywhere();
    }
    QPoint Somewhere() { return Int(0, 2) ? OnEntity() : Anywhere(); }
    // Shift and Ctrl at random, named at the start of the step's line.
    Qt::KeyboardModifiers Keys() {
        const auto keys = Pick<Qt::KeyboardModifiers>({{}, {}, {}, kShift, kCtrl, kShift | kCtrl});
        line = QString(keys & kShift ? "shift+" : "") + (keys & kCtrl ? "ctrl+" : "");
        return keys;
    }
    QWidget* KeyTarget() const {
        QWidget* focus = QApplication::focusWidget();
        return focus && focus->window() == frame.get() ? focus : view;
    }
    void RightPress(QPoint at, Qt::KeyboardModifiers keys) {
        chose = false;
        input.RightPress(Port(), at, keys);
    }

    // A click of either button (the right one's opens a menu), or a double click.
    void Click() {
        const QPoint at = Somewhere();
        const auto keys = Keys();
        const int kind = Int(0, 5); // 0, 1: right; 2: double
        line += QStringList{"right click ", "right click ", "double click "}.value(kind, "click ") +
                At(at);
        steps = kind == 2 ? "Roll|" + kCommits : kCommits;
        Mouse(kMove, Port(), at);
        if (kind < 2) {
            RightPress(at, keys);
            Mouse(kRelease, Port(), at, Qt::RightButton, keys);
            steps = chose ? kMenuSteps : kCommits;
            return;
        }
        for (const auto type : {kPress, kRelease})
            Mouse(type, Port(), at, Qt::LeftButton, keys);
        if (kind == 2)
            for (const auto type : {kPress, QEvent::MouseButtonDblClick, kRelease})
                Mouse(type, Port(), at, Qt::LeftButton, keys);
    }
    // A drag of what is under the press, or a rubber band from empty space;
    // some are interrupted by a key or by the right button and its menu.
    void Drag() {
        const QPoint from = Somewhere(), to = Int(0, 2) ? Anywhere() : OnEntity();
        const auto keys = Keys();
        const bool onEntity = !Port()->childAt(from) && State().EntityAt(view->ToTray(from));
        line += "drag " + At(from) + "->" + At(to);
        steps = (onEntity ? "Move|Group|" : "") + kCommits;
        Mouse(kMove, Port(), from);
        Mouse(kPress, Port(), from, Qt::LeftButton, keys);
        for (int i = Int(0, 2); i > 0; --i) // outside the view too, where it scrolls
            Mouse(kMove, Port(), Anywhere() + QPoint(Int(-30, 30), Int(-30, 30)));
        Mouse(kMove, Port(), to);
        if (const int interruption = Int(0, 9); interruption == 0) {
            const KeyStep& key = kDragKeySteps[Int(0, int(std::size(kDragKeySteps)) - 1)];
            line += " interrupted by " + key.Name();
            steps = key.steps + "|" + kCommits;
            if (key.key == Qt::Key_Z && doc->GetUndoLabels().isEmpty())
                steps += "|Move|Group"; // nothing to undo: the key does nothing
            QTest::keyClick(KeyTarget(), key.key, key.keys);
        } else if (interruption <= 2) {
            line += " interrupted by right press";
            RightPress(to, {});
            steps = chose ? kMenuSteps : kCommits;
            if (interruption == 2) { // released over the menu
                line += ", releases unseen";
                return input.Forget();
            }
            Mouse(kRelease, Port(), to, Qt::RightButton);
        }
        Mouse(kRelease, Port(), to, Qt::LeftButton, keys);
    }
    // A click on a die of the bar (the right button's opens its menu), or a
    // drag of it into the tray with either button.
    void DieBar() {
        const int die = Int(0, int(CRollpouchCtrl::kSideCounts.size()) - 1);
        const QPoint centre = Bar()->Die(die).GetPosition(),
                     to = Int(0, 1) ? Anywhere() : OnEntity();
        const auto over = [this](QPoint at) {
            return Bar()->mapFromGlobal(Port()->mapToGlobal(at));
        };
        const auto button = Pick({Qt::LeftButton, Qt::RightButton});
        const bool drag = Int(0, 1);
        line = QString("%1 %2 d%3 of the bar%4")
                   .arg(button == Qt::LeftButton ? "left" : "right", drag ? "drag" : "click")
                   .arg(CRollpouchCtrl::kSideCounts[std::size_t(die)])
                   .arg(drag ? " to " + At(to) : "");
        steps = "Add \\d.*|" + kCommits;
        Mouse(kMove, Bar(), centre);
        Mouse(kPress, Bar(), centre, button);
        if (drag)
            for (const QPoint at : {centre - QPoint(20, 0), over(to + QPoint(9, 9)), over(to)})
                Mouse(kMove, Bar(), at);
        Mouse(kRelease, Bar(), drag ? over(to) : centre, button);
    }
    // A key, or some text typed into the open in-place editor.
    void Key(bool typing) {
        QWidget* editor = QApplication::focusWidget();
        if (typing && (editor == view->TitleEditor() || editor == view->ModifierEditor())) {
            const QString text = Pick<QString>({"7", "-3", "12", "2d6", "Hit", "1/2", "x", "250"});
            line = QString("type \"%1\"").arg(text);
            steps = "";
            return QTest::keyClicks(editor, text);
        }
        const KeyStep* key = nullptr;
        do // no pasting once the tray is large, so that it stays quick
            key = &kKeySteps[Int(0, int(std::size(kKeySteps)) - 1)];
        while (key->key == Qt::Key_V && State().Entities().size() > 60);
        line = "key " + key->Name();
        steps = key->steps + (key->commits ? "|" + kCommits : "");
        QTest::keyClick(KeyTarget(), key->key, key->keys);
    }

    // Answers the open menu or dialog: a random entry or Escape, OK or
    // Cancel with a value typed sometimes. Any other window is a failure.
    void Answer() {
        if (answering)
            return;
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QList<QAction*> entries;
            for (QAction* entry : menu->actions())
                if (!entry->isSeparator() && entry->isEnabled() && entry->isVisible())
                    entries += entry;
            const int pick = Int(0, int(entries.size()));
            line += QString(" [%1]").arg(pick == entries.size() ? "Escape" : entries[pick]->text());
            if (pick == entries.size())
                return QTest::keyClick(menu, Qt::Key_Escape);
            chose = chose || !entries[pick]->menu();
            menu->setActiveAction(entries[pick]);
            return QTest::keyClick(menu, Qt::Key_Return);
        }
        if (QWidget* popup = QApplication::activePopupWidget()) {
            problems += QString("unexpected popup %1").arg(popup->metaObject()->className());
            return (void)popup->close();
        }
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        const auto type = [this](QLineEdit* field, std::initializer_list<QString> texts) {
            if (Int(0, 1) == 0) {
                field->setText(Pick(texts));
                line += QString(" [\"%1\"]").arg(field->text());
            }
        };
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (auto* add = qobject_cast<CAddCountDlg*>(dialog)) {
            type(add->CountEdit(), {"1", "3", "12", "30", "0", "31", "two"});
        } else if (auto* properties = qobject_cast<CDicePropertiesDlg*>(dialog)) {
            type(properties->TitleEdit(), {"", "Axe", "Hit 2"});
            type(properties->MultiplierEdit(), {"1", "2", "1/2", "3/2", "-1", "0", "x"});
            type(properties->ModifierEdit(), {"0", "3", "-2", "x"});
            type(properties->IgnoreHighestEdit(), {"0", "1", "10001"});
            type(properties->CountAtLeastEdit(), {"0", "4", "-1"});
        } else if (auto* colours = qobject_cast<QColorDialog*>(dialog)) {
            colours->setCurrentColor(QColor(Int(0, 255), Int(0, 255), Int(0, 255)));
        } else if (!box || !box->text().contains(QRegularExpression("^(Please enter|Some dice)"))) {
            problems += QString("unexpected window %1 \"%2\"")
                            .arg(dialog->metaObject()->className(), dialog->windowTitle());
            return Later(dialog, false);
        }
        const bool ok = box || Int(0, 1);
        line += QString(" [%1 %2]").arg(dialog->windowTitle(), ok ? "OK" : "Cancel");
        Later(dialog, ok);
    }
    // Outside the timer's own call, so that a dialog the answer opens is answered too.
    void Later(QDialog* dialog, bool ok) {
        answering = true;
        QTimer::singleShot(0, &poll, [this, dialog = QPointer(dialog), ok] {
            answering = false;
            if (dialog)
                ok ? dialog->accept() : dialog->reject();
        });
    }

    // Notes each new step; a title, modifier or text edited in place changes that one entity.
    void StateChanged() {
        const QString label = State().GetLabel();
        if (label.isEmpty() && State().Id() != openedId)
            return; // an edit under way
        const QStringList entities = Entities();
        if (seen.insert(State().Id()).second) {
            made += label;
            qsizetype changed = std::abs(entities.size() - lastEntities.size());
            for (qsizetype i = 0; i < std::min(entities.size(), lastEntities.size()); ++i)
                changed += entities[i] != lastEntities[i];
            if (changed != 1 &&
                QStringList({"Set Title", "Set Modifier", "Edit Text"}).contains(label))
                problems += QString("\"%1\" changed %2 entities").arg(label).arg(changed);
        }
        lastEntities = entities;
    }

    QString Check() {
        QStringList found = std::exchange(problems, {});
        for (const QString& label : std::exchange(made, {}))
            if (!QRegularExpression("^(" + steps + ")$").match(label).hasMatch())
                found += QString("the event made a \"%1\" step").arg(label);
        const QByteArray xml = Xml();
        CDocState read(CRollpouchApp::Instance());
        CDiePainter::SetImagesFolder(noPictures.path()); // quicker, and the text is the same
        read.ReadTrayXml(xml.toStdString(), false, true);
        CDiePainter::SetImagesFolder(ROLLPOUCH_IMAGES_DIR);
        if (const QByteArray again = read.WriteTrayXml(true, false, true); again != xml)
            found += "the tray reads back otherwise, " + FirstDifference(xml, again);
        for (const auto& entity : State().Entities())
            if (const auto* group = dynamic_cast<const CDiceGroupPainter*>(entity.get());
                group && group->GetTotal() != ExpectedTotal(*group))
                found += QString("%1 shows %2, its dice make %3")
                             .arg(QString::fromStdString(group->GetDescription()))
                             .arg(group->GetTotal())
                             .arg(ExpectedTotal(*group));
        const bool modified = doc->IsModified();
        if (tray->windowTitle().endsWith(" *") != modified ||
            frame->windowTitle().contains(" *") != modified)
            found += QString("the tray is %1modified; the titles read \"%2\" and \"%3\"")
                         .arg(modified ? "" : "not ", tray->windowTitle(), frame->windowTitle());
        return found.join('\n');
    }
    std::string Report(int step, const QString& error) const {
        return QString("seed %1, step %2: %3\nevents:\n%4")
            .arg(GetParam())
            .arg(step)
            .arg(error, log.join('\n'))
            .toStdString();
    }

    QTemporaryDir folder, noPictures;
    std::unique_ptr<CMainFrame> frame;
    CTableFrame* tray = nullptr;
    CTableView* view = nullptr;
    CTableDoc* doc = nullptr;
    std::mt19937 random;
    QTimer poll;
    test::CWindowInput input;
    bool answering = false, chose = false;
    QString line, steps;
    QStringList log, problems, made, lastEntities;
    QByteArray opened, newest;
    std::uint64_t openedId = 0;
    std::set<std::uint64_t> seen;
};

TEST_P(MonkeyTest, RandomInputKeepsTheTrayConsistent) {
    bool set = false;
    const int count = qEnvironmentVariableIntValue("ROLLPOUCH_MONKEY_STEPS", &set);
    const int total = set ? count : 500;
    for (int step = 1; step <= total; ++step) {
        if (!frame->isActiveWindow()) {
            frame->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        }
        const QPoint scrolled = view->ToTray({0, 0});
        if (const int kind = Int(0, 99); kind < 35)
            Click();
        else if (kind < 55)
            Drag();
        else if (kind < 65)
            DieBar();
        else
            Key(kind < 85); // typing while an editor is open
        // A menu that does not wait for its answer (an editor's own) gets it now.
        for (int i = 0; i < 9 && QApplication::activePopupWidget(); ++i) {
            Answer();
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        if (doc->GetRedoLabels().isEmpty())
            newest = Xml();
        const QString where = scrolled.isNull() ? "" : "scrolled to " + At(scrolled) + ", ";
        log += QString("%1: %2%3").arg(step).arg(where, line);
        if (const QString error = Check(); !error.isEmpty())
            FAIL() << Report(step, error);
    }
    view->Undo(int(doc->StateCount()));
    QCoreApplication::processEvents();
    EXPECT_TRUE(Xml() == opened) << Report(total, "undoing all: " + FirstDifference(opened, Xml()));
    EXPECT_EQ(Check(), "") << Report(total, "after undoing all");
    view->Redo(int(doc->StateCount()));
    EXPECT_TRUE(Xml() == newest) << Report(total, "redoing all: " + FirstDifference(newest, Xml()));
}

INSTANTIATE_TEST_SUITE_P(Monkey, MonkeyTest, ::testing::ValuesIn(Seeds()),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "Seed" + std::to_string(info.param);
                         });

} // namespace
} // namespace rp
