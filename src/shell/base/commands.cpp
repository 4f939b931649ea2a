// The command table and the actions built from it.
#include "commands.h"

#include "recent_files.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QWidget>
#include <algorithm>

namespace rp {

namespace {

constexpr QKeyCombination Ctrl(Qt::Key key) {
    return QKeyCombination(Qt::ControlModifier, key);
}
constexpr QKeyCombination Shift(Qt::Key key) {
    return QKeyCombination(Qt::ShiftModifier, key);
}
constexpr QKeyCombination Alt(Qt::Key key) {
    return QKeyCombination(Qt::AltModifier, key);
}
constexpr QKeyCombination CtrlKeypad(Qt::Key key) {
    return QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, key);
}

std::vector<CommandInfo> BuildTable() {
    using namespace cmd;
    std::vector<CommandInfo> table{
        {kNew, "&New\tCtrl+N", "Create a new document\nNew", {Ctrl(Qt::Key_N)}},
        {kOpen, "&Open...\tCtrl+O", "Open an existing document\nOpen", {Ctrl(Qt::Key_O)}},
        {kClose, "&Close", "Close the active document\nClose"},
        {kSave, "&Save\tCtrl+S", "Save the active document\nSave", {Ctrl(Qt::Key_S)}},
        {kSaveAs,
         "Save &As...",
         "Save the active document with a new name\nSave As",
         {QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_S)}},
        {kNewWindow, "&New Window", "Open another window for the active document\nNew Window"},
        {kArrangeIcons, "&Arrange Icons",
         "Arrange icons at the bottom of the window\nArrange Icons"},
        {kCascade, "&Cascade", "Arrange windows so they overlap\nCascade Windows"},
        {kTile, "&Tile", "Arrange windows as non-overlapping tiles\nTile Windows"},
        {kAbout, "&About Clattermat...",
         "Display program information, version number and copyright\nAbout"},
        {kExit,
         "E&xit",
         "Quit the application; prompts to save documents\nExit",
         {Ctrl(Qt::Key_Q)}},
        {kMainToolbar, "Main &Toolbar", "Show or hide the toolbar\nToggle ToolBar"},
        {kStatusBar, "&Status Bar", "Show or hide the status bar\nToggle StatusBar"},
        {kDiceToolbar, "Dice Toolbar", "Show or hide the dice toolbar\nToggle Dice ToolBar"},
        {kDieBar, "Rollpouch", "Show or hide the rollpouch toolbar\nToggle Rollpouch ToolBar"},

        {kUndo,
         "&Undo\tCtrl+Z",
         "Undo the last action\nUndo",
         {Ctrl(Qt::Key_Z), Alt(Qt::Key_Backspace)}},
        {kRedo, "&Redo\tCtrl+Y", "Redo the previously undone action\nRedo", {Ctrl(Qt::Key_Y)}},
        {kCut,
         "Cu&t\tCtrl+X",
         "Cut the selection and put it on the Clipboard\nCut",
         {Ctrl(Qt::Key_X), Shift(Qt::Key_Delete)}},
        {kCopy,
         "&Copy\tCtrl+C",
         "Copy the selection and put it on the Clipboard\nCopy",
         {Ctrl(Qt::Key_C), Ctrl(Qt::Key_Insert)}},
        {kPaste,
         "&Paste\tCtrl+V",
         "Insert Clipboard contents\nPaste",
         {Ctrl(Qt::Key_V), Shift(Qt::Key_Insert)}},
        // Del, Space, Enter and Esc reach the view's own key handler: shown, never shortcuts.
        {kDelete, "Delete\tDel", "Delete the selection\nDelete"},
        {kSelectAll,
         "Select &All\tCtrl+A",
         "Select the entire document\nSelect All",
         {Ctrl(Qt::Key_A)}},
        {kSelectNone, "Select &None", "Clear the selection\nSelect None"},
        {kInvertSelection, "&Invert Selection", "Invert the selection\nInvert Selection"},
        {kAddText, "Add &Text\tCtrl+T", "Add text to the tray area\nAdd Text", {Ctrl(Qt::Key_T)}},
        {kEditText,
         "&Edit Text\tCtrl+E",
         "Edit the selected text\nEdit Selected Text",
         {Ctrl(Qt::Key_E)}},
        {kSetBackgroundColor, "Set Background Color...",
         "Set the background color of the document\nSet Background Color"},
        {kProperties, "Properties...", "Show the properties of the selected dice\nProperties..."},
        {kRollSelected, "Roll Selected\tSpace", "Roll the selected dice\nRoll Selected"},
        {kMiniClattermat, "Mini Clattermat...",
         "Launch the Mini Clattermat with the current document's dice\nLaunch Mini Clattermat"},
        {kOdds,
         "&Odds...\tCtrl+Shift+O",
         "Show the chances of the selected dice's total\nOdds",
         {QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_O)}},
        {kGroup,
         "Group Selected\tCtrl+G",
         "Group the selected dice together\nGroup Selected",
         {Ctrl(Qt::Key_G)}},
        {kUngroup,
         "Ungroup Selected\tCtrl+U",
         "Change the selected groups to individual dice\nUngroup Selected",
         {Ctrl(Qt::Key_U)}},
        // The main keyboard's plus and minus (the keys shown), the keypad's,
        // and = for plus without Shift.
        {kIncrementModifier,
         "Increment Modifier\tCtrl++",
         "Increment the modifiers of the selected dice\nIncrement Selected Modifiers",
         {Ctrl(Qt::Key_Plus), CtrlKeypad(Qt::Key_Plus), Ctrl(Qt::Key_Equal)}},
        {kDecrementModifier,
         "Decrement Modifier\tCtrl+-",
         "Decrement the modifiers of the selected dice\nDecrement Selected Modifiers",
         {Ctrl(Qt::Key_Minus), CtrlKeypad(Qt::Key_Minus)}},
        {kPasteHere, "Paste", "Insert Clipboard contents at current position\nPaste"},
        {kAddTextHere, "Add &Text", ""},
        {kIgnoreLowestDie, "Ignore Lowest Die", ""},
        {kIgnoreHighestDie, "Ignore Highest Die", ""},
        {kAddN, "Add n...", ""},
        {kAddOne, "Add 1", "", {Alt(Qt::Key_1)}},
        {kAddTwo, "Add 2", "", {Alt(Qt::Key_2)}},
        {kCancel, "Cancel", "Cancel the add"},
        {kEnter, "", ""},

        {kPlaySound, "Play Roll Sound",
         "Toggle playing sounds when dice are rolled\nToggle Play Sound"},
        {kDelayRoll, "Delay Roll Result", "Toggle delay when dice are rolled\nToggle Delay"},
        {kOpenLast, "Reload Last Rollpouches at Startup",
         "Toggle reloading open rollpouches when launching application\nToggle Reload Last"},
    };
    for (int i = 0; i < CRecentFileList::kSize; ++i)
        table.push_back({kFirstRecentFile + i, "Recent File", "Open this document"});
    for (int steps = 1; steps <= 9; ++steps) {
        table.push_back({kUndoListBase + steps, "", ""});
        table.push_back({kRedoListBase + steps, "", ""});
    }
    return table;
}

} // namespace

QString MenuText(const QString& text) {
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    // "&Undo \tCtrl+Z" (no step to name) is read "Undo", not "Undo ".
    return tab < 0 ? text : text.left(tab).trimmed();
}

QString CommandInfo::ShownKey() const {
    return QString::fromLatin1(text).section(QLatin1Char('\t'), 1);
}

QString CommandInfo::Prompt() const {
    return QString::fromLatin1(prompt).section(QLatin1Char('\n'), 0, 0);
}

QString CommandInfo::ToolTip() const {
    return QString::fromLatin1(prompt).section(QLatin1Char('\n'), 1, 1);
}

std::span<const CommandInfo> CommandTable() {
    static const std::vector<CommandInfo> table = BuildTable();
    return table;
}

const CommandInfo* FindCommand(int id) {
    const auto table = CommandTable();
    const auto found =
        std::find_if(table.begin(), table.end(), [id](const CommandInfo& c) { return c.id == id; });
    return found == table.end() ? nullptr : &*found;
}

CCommands::CCommands(Route route, QObject* parent) : QObject(parent), route(std::move(route)) {
    for (const CommandInfo& info : CommandTable()) {
        auto* action = new QAction(MenuText(QString::fromLatin1(info.text)), this);
        action->setData(info.id);
        action->setStatusTip(info.Prompt());
        action->setToolTip(info.ToolTip());
        const int id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
        actions.emplace(id, action);

        QList<QKeySequence> keys;
        for (const QKeyCombination key : info.keys)
            if (key.key() != Qt::Key_unknown)
                keys.append(QKeySequence(key));
        const QString shown = info.ShownKey();
        if (!shown.isEmpty() && keys.isEmpty()) {
            // The tray view's own key: the menu shows it and screen readers
            // tell it, but it reaches the view (and its editors) as a key.
            action->setShortcut(QKeySequence::fromString(shown, QKeySequence::NativeText));
            action->setShortcutContext(Qt::WidgetShortcut);
            action->installEventFilter(this);
            viewKeys.push_back(action);
        } else if (shown.isEmpty() && !keys.isEmpty()) {
            // Keys the menu does not show: an action of their own, in no
            // menu, that follows the command's state.
            auto* keysOnly = new QAction(this);
            keysOnly->setShortcuts(keys);
            connect(keysOnly, &QAction::triggered, this, [this, id] { Execute(id); });
            connect(action, &QAction::changed, keysOnly, [action, keysOnly] {
                keysOnly->setEnabled(action->isEnabled() && action->isVisible());
            });
            unshownKeys.push_back(keysOnly);
        } else {
            // The first is the one shown.
            action->setShortcuts(keys);
        }
    }
}

bool CCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Shortcut ||
        std::find(viewKeys.begin(), viewKeys.end(), watched) == viewKeys.end())
        return QObject::eventFilter(watched, event);
    // The menu bar has the focus (the menus are walked with the keyboard):
    // the key goes on to the open menu, or the bar, as if it were no
    // shortcut. Straight to the widget, once: what the menu hands on to the
    // bar would come back here.
    QWidget* target = QApplication::activePopupWidget();
    if (!target)
        target = QApplication::focusWidget();
    if (target && !handingOn) {
        const QScopedValueRollback<bool> once(handingOn, true);
        const QKeyCombination key = static_cast<QShortcutEvent*>(event)->key()[0];
        QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
        static_cast<QObject*>(target)->event(&press);
    }
    return true;
}

QAction* CCommands::Action(int id) const {
    const auto found = actions.find(id);
    return found == actions.end() ? nullptr : found->second;
}

std::vector<QAction*> CCommands::Actions() const {
    std::vector<QAction*> all;
    for (const auto& [id, action] : actions)
        all.push_back(action);
    return all;
}

void CCommands::AddKeysTo(QWidget& window) const {
    for (QAction* action : Actions())
        window.addAction(action);
    for (QAction* keys : unshownKeys)
        window.addAction(keys);
}

bool CCommands::Execute(int id) {
    bool taken = false;
    for (ICommandTarget* target : route()) {
        if (target->OnCommand(id)) {
            taken = true;
            break;
        }
    }
    // A command may change what the others offer (the Options' check marks).
    UpdateAll();
    return taken;
}

void CCommands::UpdateAll() {
    const std::vector<ICommandTarget*> targets = route();
    for (const auto& [id, action] : actions) {
        const CommandInfo& info = *FindCommand(id);
        CCmdUI ui;
        const bool taken = std::any_of(targets.begin(), targets.end(),
                                       [&](ICommandTarget* t) { return t->UpdateCommand(id, ui); });
        action->setEnabled(taken && ui.enabled);
        action->setVisible(ui.visible);
        action->setCheckable(ui.checked.has_value());
        action->setChecked(ui.checked.value_or(false));
        action->setText(MenuText(ui.text.value_or(QString::fromLatin1(info.text))));
        action->setStatusTip(ui.tip.value_or(info.Prompt()));
        action->setToolTip(ui.tip.value_or(info.ToolTip()));
    }
}

QAction* AddCommandItem(QMenu& menu, int id, const QString& text) {
    QAction* item = menu.addAction(text);
    item->setData(id);
    if (const CommandInfo* info = FindCommand(id))
        item->setStatusTip(info->Prompt());
    return item;
}

int CommandOf(const QAction* action) {
    return action ? action->data().toInt() : 0;
}

void AddBagItems(QMenu& menu) {
    for (const int id : {cmd::kAddOne, cmd::kAddTwo, 0, cmd::kAddN, 0, cmd::kCancel}) {
        if (id == 0)
            menu.addSeparator();
        else
            AddCommandItem(menu, id, QString::fromLatin1(FindCommand(id)->text));
    }
}

} // namespace rp
