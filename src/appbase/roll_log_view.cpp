#include "roll_log_view.h"

#include "roll_log.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

namespace rp {

CRollLogView::CRollLogView(CRollLog* log, QWidget* parent)
    : QWidget(parent), log(log), text(new QPlainTextEdit(this)) {
    auto* copyButton = new QPushButton(tr("Copy"), this);
    auto* saveAsButton = new QPushButton(tr("Save As..."), this);
    auto* clearButton = new QPushButton(tr("Clear"), this);
    // Appends and drops would otherwise all stay in the undo history.
    text->setUndoRedoEnabled(false);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setAccessibleName(tr("Roll log"));
    AppendEntries(0, log->Count() - 1);
    copyButton->setToolTip(tr("Copy the selected text, or the whole log when nothing is selected"));
    saveAsButton->setToolTip(tr("Save the whole log as a text file"));
    clearButton->setToolTip(tr("Remove every entry from the log"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton);
    buttons->addWidget(saveAsButton);
    buttons->addWidget(clearButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    layout->addLayout(buttons);

    connect(copyButton, &QPushButton::clicked, this, &CRollLogView::Copy);
    connect(saveAsButton, &QPushButton::clicked, this, &CRollLogView::SaveAs);
    connect(clearButton, &QPushButton::clicked, this, &CRollLogView::Clear);
    connect(log, &CRollLog::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { AppendEntries(first, last); });
    connect(log, &CRollLog::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) { DropEntries(first, last); });
    connect(log, &CRollLog::modelReset, this, [this] {
        text->clear();
        entryBlocks.clear();
        AppendEntries(0, this->log->Count() - 1);
    });
}

void CRollLogView::AppendEntries(int first, int last) {
    // The text is the log's Text(): entries with a blank line between them.
    // Appending follows the newest entry when the view was at the bottom.
    for (int row = first; row <= last; ++row) {
        // Appending to an empty text fills its one empty block.
        const int before = row == 0 ? 0 : text->blockCount();
        text->appendPlainText(row == 0 ? log->EntryText(row)
                                       : QLatin1Char('\n') + log->EntryText(row));
        entryBlocks.push_back(text->blockCount() - before);
    }
}

void CRollLogView::DropEntries(int first, int last) {
    // Only the oldest entries are ever dropped, and never the newest: their
    // blocks go from the top with the blank line after the last of them.
    const auto count = static_cast<std::size_t>(last) + 1;
    if (first != 0 || count >= entryBlocks.size())
        return;
    int blocks = 1;
    for (std::size_t i = 0; i < count; ++i)
        blocks += entryBlocks[i];
    QTextCursor cursor(text->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, blocks);
    cursor.removeSelectedText();
    entryBlocks.erase(entryBlocks.begin(),
                      entryBlocks.begin() + static_cast<std::ptrdiff_t>(count));
    entryBlocks.front() -= 1; // now first: no blank line before it
}

void CRollLogView::Copy() {
    const QString selected = text->textCursor().selectedText();
    // A selection holds paragraph separators where the lines end.
    QGuiApplication::clipboard()->setText(
        selected.isEmpty() ? log->Text()
                           : QString(selected).replace(QChar::ParagraphSeparator, '\n'));
}

void CRollLogView::SaveAs() {
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save As"), QDir::home().filePath(tr("Roll Log.txt")),
                                     tr("Text Files (*.txt);;All Files (*)"));
    if (!path.isEmpty())
        SaveTo(path);
}

void CRollLogView::Clear() {
    if (QMessageBox::question(this, QGuiApplication::applicationDisplayName(),
                              tr("Clear the roll log?"), QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes)
        log->Clear();
}

bool CRollLogView::SaveTo(const QString& path) {
    QString reason;
    if (log->SaveText(path, &reason))
        return true;
    QMessageBox::warning(this, QGuiApplication::applicationDisplayName(),
                         tr("Cannot save %1:\n%2").arg(QDir::toNativeSeparators(path), reason));
    return false;
}

} // namespace rp
