#pragma once

#include "commands.h"
#include "doc_state.h"
#include "in_place_editor_owner.h"
#include "mini_clattermat_dlg.h"
#include "odds_summary.h"

#include <QAbstractScrollArea>
#include <QMap>
#include <QPoint>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

class QKeyEvent;
class QMenu;
class QPainter;

namespace rp {

class CModSpinButtonCtrl;
class CTableDoc;
class CTitleEdit;
class CTrayAccessible;
class IShellHost;

// The window in which a tray is edited: it paints the tray's current state,
// selects, drags and drops with the mouse, opens the in-place title and
// modifier editors, and turns gestures and commands into edits. Several
// views may show one tray; each follows the tray's signals.
//
// Every change goes through one pattern (ApplyEdit): commit the editors,
// push a state, run one edit on it, end the edit, then fit the scroll sizes,
// scroll by the edit's shift and repaint. Selection changes go straight to
// the current state and repaint every view of the tray.
//
// Commands reach the active view first (OnCommand, UpdateCommand); its
// context menus carry out their choice here too. What it needs of the
// program (settings, the roll log) comes from its shell host.
class CTableView : public QAbstractScrollArea,
                   public ICommandTarget,
                   public IMiniTraySource,
                   public IInPlaceEditorOwner {
    Q_OBJECT
public:
    // The scroll width reaches this far right of the tray's extent.
    static constexpr int kExtentMargin = 42;
    // A press moves the selection once the pointer is further than this.
    static constexpr int kDragDistance = 5;
    // Automatic scrolling per mouse move outside the client area.
    static constexpr int kAutoScrollStep = 9;
    // In-place editors are at least this high.
    static constexpr int kMinEditorHeight = 16;
    // Added dice lie on a grid of this pitch.
    static constexpr int kGridPitch = 110;
    // The narrowest client width the free-spot search works with.
    static constexpr int kMinFreeSpotWidth = 130;

    CTableView(CTableDoc* document, IShellHost& host, QWidget* parent = nullptr);
    ~CTableView() override;

    CTableDoc* GetDocument() const { return document; }
    // The first view (in order of creation) that shows the tray, or null.
    static CTableView* FirstViewOf(const CTableDoc& document);
    // How many views show the tray.
    static int ViewCountOf(const CTableDoc& document);
    // Whatever the editors of every view of the tray hold becomes part of
    // it: before the whole tray is written, read or closed.
    static void CommitEditorsOf(const CTableDoc& document);

    // Gestures and state.
    // A die type dragged in from the die bar follows the pointer; 0 clears it.
    void SetPendingDie(int sideCount);
    int GetPendingDie() const { return pendingDie; }
    // The next left-button release opens an editor for a new text there.
    void StartTextPlacement();
    // The last pointer position of a gesture, in tray units (after snapping).
    QPoint GetCurrentPoint() const { return currentPoint; }
    // Ends any gesture: drops anchors and the pending die, discards the
    // title editor's text, hides both editors.
    void CancelGesture() override;
    // Ends a drag or rubber band without recording anything: its release
    // went unseen, a popup took the mouse, or what it moves changed.
    void EndMouseGesture();

    // Edits.
    // Commits both editors, then pushes a copy of the current state for one edit.
    CDocState& BeginEdit();
    // Runs one edit on a pushed state (`operation` returns the tray's shift,
    // or nothing), ends it, fits the scroll sizes, scrolls and repaints.
    template <typename Operation> void ApplyEdit(Operation operation) {
        CDocState& state = BeginEdit();
        QPoint shift;
        if constexpr (std::is_void_v<decltype(operation(state))>)
            operation(state);
        else
            shift = operation(state);
        FinishEdit(shift);
    }
    void CommitTitleEdit() override;
    void CommitModifierEdit() override;
    // Both of the above: whatever the open editor holds becomes a step.
    void CommitEditors();
    // Scroll size from the extent widened by kExtentMargin, page steps of
    // half the client size, line steps of a tenth of that.
    void UpdateScrollSizes();
    // The tray as XML with the dice's results and without background
    // colour, after committing the editors of its views.
    QByteArray GetTrayXml() override;
    // The tray's title with its modified mark.
    QString GetTrayTitle() const override;
    // The tray's name without the mark.
    QString GetTrayName() const override;

    // Commands.
    // Rolls the selected dice, or edits the one selected text.
    void RollOrEditText();
    // Rolls the selected groups and shows "Total: N" in the status bar.
    void RollAndShowTotal();
    // Adds dice at the first free block of the tray, left to right, top down.
    void AddDiceAtFreeSpot(int sideCount, int count);
    // Adds dice of the pending type centred on a point; dropped on a group,
    // they join it.
    void AddDiceAtPoint(QPoint point, int count);
    // The most recently used counts of dice added at once, most recent first.
    const std::array<int, 3>& GetAddCounts() const { return addCounts; }
    void Undo(int steps = 1);
    void Redo(int steps = 1);
    // Enter: the view takes the focus; when no editor had it, roll or edit.
    void Enter() override;
    // Deletes the selected entities.
    void DeleteSelected();
    // Opens the title editor on the one selected text.
    void EditSelectedText();
    // Opens the title editor for a new text at a point of the tray.
    void EditNewText(QPoint point);

    // Command routing (table_view_commands.cpp): every command of the tray
    // menus, the Options toggles, the add counts, the undo and redo lists and
    // the colours of the last selection menu.
    bool UpdateCommand(int id, CCmdUI& ui) override;
    bool OnCommand(int id) override;
    // Pastes the clipboard (centred on a point when one is given) as one
    // step, then rolls the pasted dice as another. With the title editor
    // open and no point, pastes into the editor.
    void Paste(std::optional<QPoint> point);
    // The properties dialog for the selected groups: one step with only the
    // fields that were changed.
    void EditProperties();
    // The colour dialog, starting from the colour the tray shows.
    void ChooseBackgroundColor();
    // The "Add n..." dialog: that many dice of the pending type at the
    // current point; Cancel ends the gesture.
    void AddCountFromDialog();
    // Shows this view's mini tray (made on first use and kept), refilled
    // from the tray when it was hidden, and gives it the focus.
    void LaunchMiniClattermat();
    CMiniClattermatDlg* MiniTray() const { return miniTray.get(); }

    // Context menus (table_view_menus.cpp).
    // Fills `menu` as a context-menu request would now: the "Bag" while a
    // die is pending, else by what is selected.
    void BuildContextMenu(QMenu& menu);
    // Puts "Add %i" for each add count, then a separator, before "Cancel".
    void InsertAddCountItems(QMenu& menu) const;
    // Shows the context menu at a viewport point, then carries out the choice.
    void ShowContextMenu(QPoint viewportPoint);
    // Where the keyboard opens the context menu: the selection's centre,
    // else the pointer (the view's centre when the pointer is elsewhere).
    QPoint KeyboardMenuPoint() const;

    // The keyboard's entity (table_view_keys.cpp), kept by its id across
    // edits, rolls, undo and redo; 0 when there is none or it went.
    std::uint64_t FocusedEntityId() const;
    // How moving the keyboard's entity treats the selection: only the new
    // one selected, the new one added, or the selection left alone.
    enum class FocusSelection { Only, Extend, Keep };
    // Puts the keyboard on an entity and scrolls it into view.
    void FocusEntity(std::uint64_t id, FocusSelection selection);
    // Select only the entity, then roll it, or open its title's (or its
    // text's) editor: for assistive technology.
    void RollEntity(std::uint64_t id);
    void EditEntity(std::uint64_t id);

    // The viewport's accessible interface, while one exists (it registers
    // itself when assistive technology first asks for it).
    void SetAccessibleTray(CTrayAccessible* tray) { accessibleTray = tray; }

    CTitleEdit* TitleEditor() const { return titleEditor; }
    CModSpinButtonCtrl* ModifierEditor() const { return modifierEditor; }
    // The tray point under a viewport point, and back.
    QPoint ToTray(QPoint viewportPoint) const;
    QPoint ToViewport(QPoint trayPoint) const;

signals:
    // A text for the status bar's message pane ("Total: 12", "Ready").
    void statusMessage(const QString& text);

protected:
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // table_view.cpp
    void FinishEdit(QPoint shift);
    // What the title editor was opened for; its commit does only that.
    enum class TitleUse { GroupTitle, Text, NewText };
    void OpenTitleEditor(CRect rect, const QString& text, TitleUse use);
    // Scrolls so that a tray rectangle lies in the client area, where it fits.
    void ScrollIntoView(const CRect& rect);
    void EndTextPlacement();
    // A drag and text placement end when the selection they began with changes.
    void FollowSelection();
    std::vector<const CDocEntity*> SelectedNow() const;
    void ScrollBy(QPoint delta);
    void AutoScroll(QPoint viewportPoint);
    bool InGesture() const;
    void DrawTray(QPainter& dc);
    // table_view_mouse.cpp
    void LeftButtonDown(QPoint point, Qt::KeyboardModifiers modifiers);
    void LeftButtonUp(QPoint point, Qt::KeyboardModifiers modifiers);
    void RightButtonDown(QPoint point, Qt::KeyboardModifiers modifiers);
    void OpenModifierEditor(CRect rect, int value);
    void CloseEditor(QWidget* editor);
    // table_view_keys.cpp
    // Arrows, Home, End (with Shift or Ctrl), Ctrl+Space and Alt+arrows;
    // false for other keys.
    bool NavigateByKey(const QKeyEvent& event);
    void MoveSelectionByKeys(QPoint delta);
    void DrawFocusMark(QPainter& dc) const;
    // Tells assistive technology what changed on the tray, and where the
    // keyboard is, once one has asked for the tray.
    void TellAccessibility();
    void TellAccessibleFocus();
    // table_view_commands.cpp
    void RecordAddCount(int count);
    void ShowHistoryStep();
    bool UpdateEditCommand(int id, CCmdUI& ui) const;
    bool OnEditCommand(int id);
    bool OnDiceCommand(int id);
    // Select None: collapses the title editor's selection while it is open.
    void SelectNoneOrCollapse();
    // The title editor is open (its commands act on its text then).
    bool TitleEditing() const;

    CTableDoc* document;
    IShellHost& host;
    std::array<int, 3> addCounts{3, 4, 5};
    bool moved = false;
    CTitleEdit* titleEditor;
    CModSpinButtonCtrl* modifierEditor;
    int pendingDie = 0;
    std::optional<QPoint> rubberBandAnchor;
    std::optional<QPoint> dragAnchor;
    QPoint currentPoint;
    bool textPlacement = false;
    bool clearPendingDie = false;
    TitleUse titleUse = TitleUse::GroupTitle;
    // The selection when the drag or text placement began.
    std::vector<const CDocEntity*> gestureSelection;
    // Set while an editor is being closed, so that losing the focus does not commit it.
    bool closingEditor = false;
    // The colour entries of the last selection menu, by command id.
    QMap<int, QString> colourCommands;
    std::unique_ptr<CMiniClattermatDlg> miniTray;
    // The odds of a hovered group, worked out while its tool tip shows
    // what is known at once; the tip it showed meanwhile.
    COddsSummaries oddsTips;
    QString waitingTip;
    std::uint64_t focusedId = 0;
    CTrayAccessible* accessibleTray = nullptr;
    // The state a run of Alt+arrow moves changes, while the run lasts.
    std::uint64_t keyMoveStateId = 0;
};

} // namespace rp
