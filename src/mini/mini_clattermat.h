#pragma once

#include "mini_list.h"
#include "odds_summary.h"

#include <QDialog>
#include <string_view>

class QAction;
class QLabel;
class QListWidget;
class QToolBar;

namespace rp {

// The quick-roll dialog both programs share: a sorted list of dice groups by
// label, rolled by Enter, double-click or the toolbar, with the results below.
// The concrete dialog adds its toolbar and the "Roll Selected" command.
class CMiniClattermat : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 175;
    static constexpr int kMinimumHeight = 200;

    // `positionSection` is the settings group the window position is kept under.
    CMiniClattermat(const QString& positionSection, QWidget* parent = nullptr);
    ~CMiniClattermat() override;

    // Replaces the list with the groups of an XML text.
    void LoadMiniList(std::string_view text);
    // Replaces the list with the groups under a document element (none: an
    // empty list). False when dice had to be left out (at most 100,000).
    bool LoadMiniRoot(pugi::xml_node root);
    // Rolls the selected groups, shows their results and sum, and adds the
    // roll to the session's roll log under the tray's name.
    void RollSelected();
    // The name of the tray the list comes from, as the roll log gives it.
    void SetTrayName(const QString& name) { trayName = name; }
    // Enables or disables the concrete dialog's "Roll Selected" command.
    virtual void EnableRollCommand(bool enable) = 0;
    // Keeps the list, the "Results" label, the results text and the toolbar
    // fitted to a client area of the given size.
    void LayOutControls(int width, int height);
    void RestoreWindowPosition();
    void SaveWindowPosition();

    QListWidget* GroupList() const { return groupList; }
    QLabel* ResultsLabel() const { return resultsLabel; }
    QLabel* ResultsText() const { return resultsText; }
    QString GetResultsText() const;

protected:
    // The concrete dialog's toolbar: its own command, a separator, then "Roll Selected".
    QToolBar* CreateToolbar(QAction* command, QAction* roll);
    // Puts the concrete dialog's toolbar on its place at the top, restores
    // the window position and disables rolling: the dialog's opening.
    void InitialiseDialog(QToolBar* toolbar);
    // Keeps this much of the client area's bottom for the concrete dialog's
    // own controls: from the next layout on, the controls fit into the rest.
    void SetBottomSpace(int pixels) { bottomSpace = pixels; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ClearList();

    QString positionSection;
    QString trayName;
    QWidget* toolbarPlaceholder;
    QListWidget* groupList;
    QLabel* resultsLabel;
    QLabel* resultsText;
    QToolBar* toolbar = nullptr;
    int bottomSpace = 0;
    MiniGroups groups;
    // The odds of the groups' tool tips, worked out while the tip shows.
    COddsSummaries oddsTips;
};

} // namespace rp
