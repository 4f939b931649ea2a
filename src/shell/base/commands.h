#pragma once

#include "colour_menu.h"
#include "settings.h"

#include <QKeyCombination>
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace rp {

// Command ids. Menus, bars, accelerators and tests name commands by them.
namespace cmd {
// Files, windows and the program: the frame's and the application's.
constexpr int kNew = 57600;
constexpr int kOpen = 57601;
constexpr int kClose = 57602;
constexpr int kSave = 57603;
constexpr int kSaveAs = 57604;
constexpr int kFirstRecentFile = 57616; // one per entry of the recent-file list
constexpr int kNewWindow = 57648;
constexpr int kArrangeIcons = 57649;
constexpr int kCascade = 57650;
constexpr int kTile = 57651;
constexpr int kAbout = 57664;
constexpr int kExit = 57665;
constexpr int kMainToolbar = 59392;
constexpr int kStatusBar = 59393;
constexpr int kDiceToolbar = 34001;
constexpr int kDieBar = 34002;
// The tray view's.
constexpr int kDelete = 57632;
constexpr int kCopy = 57634;
constexpr int kCut = 57635;
constexpr int kPaste = 57637;
constexpr int kSelectAll = 57642;
constexpr int kUndo = 57643;
constexpr int kRedo = 57644;
constexpr int kSelectNone = 33001;
constexpr int kInvertSelection = 33002;
constexpr int kPasteHere = 33003;
constexpr int kAddText = 33004;
constexpr int kEditText = 33005;
constexpr int kSetBackgroundColor = 32902;
constexpr int kAddTextHere = 32903;
constexpr int kProperties = 35001;
constexpr int kAddN = 35002;
constexpr int kAddCountBase = 35002; // "Add c" is kAddCountBase + c
constexpr int kAddOne = 35003;
constexpr int kAddTwo = 35004;
constexpr int kLastAddCount = 35032; // "Add 30"
constexpr int kRollSelected = 36001;
constexpr int kGroup = 36002;
constexpr int kUngroup = 36003;
constexpr int kIncrementModifier = 36004;
constexpr int kDecrementModifier = 36005;
constexpr int kMiniClattermat = 36006;
constexpr int kOdds = 36007;
constexpr int kIgnoreLowestDie = 34820;
constexpr int kIgnoreHighestDie = 34821;
constexpr int kEnter = 32001;
constexpr int kCancel = 32002;
constexpr int kUndoListBase = 36864; // undo n steps: kUndoListBase + n, n = 1 .. 9
constexpr int kRedoListBase = 36884; // redo n steps: kRedoListBase + n
constexpr int kPlaySound = kCmdPlaySound;
constexpr int kDelayRoll = kCmdDelayRoll;
constexpr int kOpenLast = kCmdOpenLast;
constexpr int kFirstColour = kFirstColourCommand;
} // namespace cmd

// A command as menus and bars show it.
struct CommandInfo {
    int id;
    // The menu text; a tab separates the key the menu shows.
    const char* text;
    // The status-bar prompt and the tool tip, split at the newline.
    const char* prompt;
    // The accelerators; unused places hold Qt::Key_unknown. Of a command
    // whose menu shows a key, the first is that key; one that shows a key
    // but has none here shows a key of the tray view's own.
    std::array<QKeyCombination, 3> keys{};

    // The key after the tab; empty for none.
    QString ShownKey() const;
    QString Prompt() const;
    QString ToolTip() const;
};

// A menu text without the tab and the key after it: the action's text, and
// with '&' left out, its accessible name. The menu adds the action's
// shortcut after a tab, as the text showed it.
QString MenuText(const QString& text);

// Every command with a fixed id.
std::span<const CommandInfo> CommandTable();
// A command of the table; null for ids built at run time (colours, "Add %i").
const CommandInfo* FindCommand(int id);

// The state a command shows, as the target that takes it sets it.
struct CCmdUI {
    bool enabled = true;
    bool visible = true;
    std::optional<bool> checked;
    std::optional<QString> text; // in place of the table's menu text
    std::optional<QString> tip;  // in place of the table's prompt and tool tip
};

// A stop on the command route.
class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // False when the command is not this target's; else sets its state.
    virtual bool UpdateCommand(int id, CCmdUI& ui) = 0;
    // False when the command is not this target's; else carries it out.
    virtual bool OnCommand(int id) = 0;
};

// The program's commands, each built once into a QAction from the table. A
// command goes along the route to the first target that takes it; one that
// no target takes is disabled.
class CCommands : public QObject {
    Q_OBJECT
public:
    // The targets in turn: the active tray view, its window, the frame, the application.
    using Route = std::function<std::vector<ICommandTarget*>()>;

    explicit CCommands(Route route, QObject* parent = nullptr);

    // The action of a table command; null for any other id.
    QAction* Action(int id) const;
    std::vector<QAction*> Actions() const;
    // Adds every command, and the keys no menu shows, to a window, so that
    // the keys work there whichever menus it shows.
    void AddKeysTo(QWidget& window) const;
    // Sends a command along the route; false when no target took it.
    bool Execute(int id);
    // Asks the route for every action's state.
    void UpdateAll();

protected:
    // Keeps the tray view's own keys from working as shortcuts.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Route route;
    std::map<int, QAction*> actions;
    std::vector<QAction*> unshownKeys;
    // Actions that show a key of the tray view's own.
    std::vector<QObject*> viewKeys;
    bool handingOn = false;
};

// Appends a menu entry for a command: its id in the action's data, its
// prompt for the status bar. The entry is owned by the menu.
QAction* AddCommandItem(QMenu& menu, int id, const QString& text);
// The command id a menu entry carries; 0 for none.
int CommandOf(const QAction* action);
// The "Bag" pop-up before its add counts: "Add 1", "Add 2", separator,
// "Add n...", separator, "Cancel".
void AddBagItems(QMenu& menu);

} // namespace rp
