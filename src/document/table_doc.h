#pragma once

#include "doc_state.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace rp {

// One open tray: its undo history of complete states (one current), its
// file, its title with the " *" mark while modified, and the signals its
// views follow.
class CTableDoc : public QObject {
    Q_OBJECT
public:
    // The most labels an undo or redo list offers.
    static constexpr int kMaxLabels = 9;

    explicit CTableDoc(ITrayHost* host = nullptr, QObject* parent = nullptr);
    ~CTableDoc() override;

    // Starts again with one empty state, current and saved.
    void ResetContents();
    // Reads a tray file; false (and the reason in `error`) when it cannot be
    // read. On success `warning` receives the message to show once when dice
    // had to be left out (like `error`, without the path), and is emptied
    // otherwise.
    bool Open(const QString& path, QString* error = nullptr, QString* warning = nullptr);
    // Writes the tray to a file, replacing it only when the whole text is
    // written; false (and the system's reason) when that fails.
    bool Save(const QString& path, QString* error = nullptr);

    bool IsModified() const;
    const QString& GetTitle() const { return title; }
    // Sets the title, with " *" appended while the tray is modified.
    void SetTitle(const QString& newTitle);
    // The name the save-changes question uses: the title without its mark.
    QString GetSaveChangesName() const;
    const QString& GetPathName() const { return pathName; }

    CDocState& GetCurrentState() const { return *states[current]; }
    // A copy of the current state, now current, for one edit to change.
    CDocState& PushState();
    // Ends the edit begun by PushState. An edit that left its state
    // unlabelled changed nothing: the state is dropped at once, so that the
    // title, the modified mark and the undo list are as they were before.
    void EndEdit();
    // Asks every view of the tray to repaint (after a selection change).
    void UpdateAllViews() { emit contentsChanged(); }
    void Undo(int steps);
    void Redo(int steps);
    // The labels of the edits Undo(1..9) and Redo(1..9) would take back or
    // reapply, nearest first; states left unlabelled are passed over.
    QStringList GetUndoLabels() const;
    QStringList GetRedoLabels() const;
    // How many states the history holds (for tests and measurements).
    std::size_t StateCount() const { return states.size(); }

signals:
    void titleChanged(const QString& title);
    // The current state changed: another state became current, or it was read.
    void contentsChanged();

private:
    void DropUnlabelledStates();
    void RefreshTitle();

    ITrayHost* host;
    std::vector<std::unique_ptr<CDocState>> states;
    std::size_t current = 0;
    std::uint64_t savedId = 0;
    QString title;
    QString pathName;
};

} // namespace rp
