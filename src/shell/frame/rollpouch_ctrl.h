#pragma once

#include <QMap>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

class QMenu;

namespace rp {

class CDiePainter;
class CMainFrame;
class CTableView;

// The die bar: one large die of each type, top to bottom, showing its
// highest face in the die colour. A click adds that die at the first free
// spot of the active tray; a drag carries it into the tray's view as the
// view's pending die, dropped where the left button is released or offered
// in the view's "Bag" menu where the right one is. Its context menu adds
// several dice at once or changes the die colour. It talks only to the
// frame's active tray view; with no tray open it ignores the left button.
//
// It takes the focus by Tab or F6, not by a click, so that the view keeps
// its keys. Then the arrow keys, Home and End choose a die (a dotted frame
// marks it), Enter or Space adds it as a click does, and the Menu key or
// Shift+F10 opens its context menu. Screen readers see the dice as buttons
// ("6-sided die", "Add to the tray") of a tool bar.
//
// While a button is held the bar keeps the mouse, so once the pointer has
// reached the view's viewport the bar hands that view every move and the
// release, as if the view had taken the mouse itself.
class CRollpouchCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr std::array<int, 7> kSideCounts{4, 6, 8, 10, 12, 20, 100};
    // Half the bar's width (60 dialog units in an 8-point font); die i is
    // centred at (b, (2i + 1) b) and the bar is 2b x 14b.
    static constexpr int kHalfWidth = 45;
    // The white box lies this far inside the bar's edges.
    static constexpr int kBoxInset = 5;
    // The hovered die stands out by this much, up and to the left.
    static constexpr int kRaise = 3;
    // The last "Add N" command the bar takes (see cmd::kAddCountBase).
    static constexpr int kCmdLastAdd = 35153;

    explicit CRollpouchCtrl(CMainFrame* frame, QWidget* parent = nullptr);
    ~CRollpouchCtrl() override;

    // The die under a point of the bar, top to bottom, or -1.
    int HitTest(QPoint point) const;
    const CDiePainter& Die(int index) const;
    // The die pressed, and the one under the pointer; -1 for none.
    int Pressed() const { return pressed; }
    int Hover() const { return hover; }
    // The die the keyboard has chosen.
    int Chosen() const { return chosen; }
    void Choose(int index);
    // The colour every die of the bar shows.
    QString GetColor() const;
    // What a click does: adds a die of this type at a free spot of the
    // active tray, if there is one.
    void AddToTray(int index);
    // The context menu of this die, shown beside it.
    void ShowMenuOf(int index);

    // Fills an empty menu for the die under a point: the "Bag" entries
    // (grayed with no tray open) and "Colors". False, with the menu left
    // empty, when no die is there.
    bool BuildContextMenu(QMenu& menu, QPoint point);
    // Carries out a command of that menu: a colour, "Add N" or "Add n...".
    void OnCommand(int id);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    CTableView* ActiveView() const;
    // The bar's dice and the die colour of the program take a colour.
    void SetColor(const QString& name);
    void SetPendingDie(int sideCount);
    // The pointer has left the bar: no die is pressed or hovered any more.
    void Forget();
    // Hands a move or the release to the view once the pointer has reached
    // it during a drag; false while the drag is still the bar's own.
    bool ForwardToView(QMouseEvent* event);
    void ShowContextMenu(QPoint point);
    // Tells screen readers which die has the focus.
    void NotifyFocus() const;

    CMainFrame* frame;
    std::array<std::unique_ptr<CDiePainter>, kSideCounts.size()> dice;
    int pressed = -1;
    int hover = -1;
    int menuDie = 0;
    int chosen = 0;
    QPoint dragPoint;
    QMap<int, QString> colourCommands;
    // The view whose pending die a held button carries, and whether the
    // pointer has reached it.
    QPointer<CTableView> dragView;
    Qt::MouseButton dragButton = Qt::NoButton;
    bool viewHasDrag = false;
};

} // namespace rp
