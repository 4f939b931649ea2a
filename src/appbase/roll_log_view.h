#pragma once

#include <QWidget>
#include <deque>

class QPlainTextEdit;

namespace rp {

class CRollLog;

// The roll log shown as read-only text that follows the log as it grows,
// newest at the bottom, with "Copy", "Save As..." and "Clear" below it. The
// text keeps no undo history and holds only the log's entries, so it is no
// bigger than the log.
class CRollLogView : public QWidget {
    Q_OBJECT
public:
    explicit CRollLogView(CRollLog* log, QWidget* parent = nullptr);

    // Copies the selected text, or the whole log when nothing is selected.
    void Copy();
    // Asks for a file and saves the whole log there as UTF-8 text.
    void SaveAs();
    // Saves the whole log to `path`; a failed save says why in a message box.
    bool SaveTo(const QString& path);
    // Asks first, then empties the log.
    void Clear();

    QPlainTextEdit* TextView() const { return text; }

private:
    void AppendEntries(int first, int last);
    void DropEntries(int first, int last);

    CRollLog* log;
    QPlainTextEdit* text;
    // How many blocks of the text each entry takes, oldest first, the blank
    // line before it included (the first has none). A tray's name may hold
    // characters that break lines too, so these are counted, not worked out.
    std::deque<int> entryBlocks;
};

} // namespace rp
