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
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setAccessibleName(tr("Roll log"));
    AppendEntries(0, log->Count() - 1);
    copyButton->setToolTip(tr("Copy the selected text, or the whole log when nothing is selected"));
    saveAsButton->setToolTip(tr("Save the whole log as a text file"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton);
    buttons->addWidget(saveAsButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    layout->addLayout(buttons);

    connect(copyButton, &QPushButton::clicked, this, &CRollLogView::Copy);
    connect(saveAsButton, &QPushButton::clicked, this, &CRollLogView::SaveAs);
    connect(log, &CRollLog::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { AppendEntries(first, last); });
    connect(log, &CRollLog::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) { DropEntries(first, last); });
    connect(log, &CRollLog::modelReset, this, [this] {
        text->clear();
        AppendEntries(0, this->log->Count() - 1);
    });
}

void CRollLogView::AppendEntries(int first, int last) {
    // The text is the log's Text(): entries with a blank line between them.
    // Appending follows the newest entry when the view was at the bottom.
    for (int row = first; row <= last; ++row)
        text->appendPlainText(row == 0 ? log->EntryText(row)
                                       : QLatin1Char('\n') + log->EntryText(row));
}

void CRollLogView::DropEntries(int first, int last) {
    // Only the oldest entries are ever dropped: their lines and the blank
    // line after each go from the top.
    if (first != 0)
        return;
    int lines = 0;
    for (int row = first; row <= last; ++row)
        lines += static_cast<int>(log->EntryText(row).count(QLatin1Char('\n'))) + 2;
    QTextCursor cursor(text->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, lines);
    cursor.removeSelectedText();
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

bool CRollLogView::SaveTo(const QString& path) {
    QString reason;
    if (log->SaveText(path, &reason))
        return true;
    QMessageBox::warning(this, QGuiApplication::applicationDisplayName(),
                         tr("Cannot save %1:\n%2").arg(QDir::toNativeSeparators(path), reason));
    return false;
}

} // namespace rp
