#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace rp {

class CRollLog;

// The roll log shown as read-only text that follows the log as it grows,
// newest at the bottom, with "Copy" and "Save As..." below it.
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

    QPlainTextEdit* TextView() const { return text; }

private:
    void AppendEntries(int first, int last);
    void DropEntries(int first, int last);

    CRollLog* log;
    QPlainTextEdit* text;
};

} // namespace rp
