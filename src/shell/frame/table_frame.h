#pragma once

#include "commands.h"

#include <QMdiSubWindow>
#include <memory>

namespace rp {

class CTableDoc;
class CTableView;
class IShellHost;

// A tray window of the main window: one view of a tray. The tray lives as
// long as any window shows it; closing its last window asks whether to
// save changes first. It takes its tray's file commands: Save, Save As,
// Close. A window that goes stores its show state, which the next run's
// first tray window takes.
class CTableFrame : public QMdiSubWindow, public ICommandTarget {
    Q_OBJECT
public:
    CTableFrame(std::shared_ptr<CTableDoc> document, IShellHost& host, QWidget* parent = nullptr);
    ~CTableFrame() override;

    CTableView* View() const { return view; }
    CTableDoc* Document() const { return document.get(); }
    const std::shared_ptr<CTableDoc>& SharedDocument() const { return document; }

    // Saves to the tray's file, or asks for one when it has none. A failed
    // save shows the system's reason; false when the tray was not saved.
    bool Save();
    // Asks for a file name, then saves there.
    bool SaveAs();
    // Asks "Save changes to ...?" when the tray is modified: Yes saves.
    // False when the user cancels or the save fails: the tray stays open.
    bool SaveModified();
    // A window whose tray did not open leaves the stored state alone.
    void KeepStoredShowState() { storesShowState = false; }
    // One of several windows on its tray shows its number after the name
    // ("adventure.rlp:2"); 0 for the only one.
    void SetWindowNumber(int number);

    bool UpdateCommand(int id, CCmdUI& ui) override;
    bool OnCommand(int id) override;

signals:
    // The tray was written to this file.
    void saved(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool SaveTo(const QString& path);
    // "... already exists. Do you want to replace it?": true for Yes.
    bool ConfirmReplace(const QString& path);
    void UpdateTitle();

    std::shared_ptr<CTableDoc> document;
    IShellHost& host;
    CTableView* view;
    bool storesShowState = true;
    int windowNumber = 0;
};

} // namespace rp
