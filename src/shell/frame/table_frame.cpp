#include "table_frame.h"

#include "settings.h"
#include "shell_host.h"
#include "shell_icons.h"
#include "shell_strings.h"
#include "table_doc.h"
#include "table_view.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <utility>

namespace rp {

CTableFrame::CTableFrame(std::shared_ptr<CTableDoc> shown, IShellHost& host, QWidget* parent)
    : QMdiSubWindow(parent), document(std::move(shown)), host(host),
      view(new CTableView(document.get(), host)) {
    setWidget(view);
    setAttribute(Qt::WA_DeleteOnClose);
    // Also what the menu bar shows for a maximised tray window.
    setWindowIcon(TrayDocumentIcon());
    UpdateTitle();
    connect(document.get(), &CTableDoc::titleChanged, this, &CTableFrame::UpdateTitle);
}

CTableFrame::~CTableFrame() {
    if (storesShowState)
        host.Settings().SetChildWindowsMaximized(ShowStateOf(windowState()));
    // The view goes before the tray it shows; while it goes, the window has none.
    delete std::exchange(view, nullptr);
}

void CTableFrame::SetWindowNumber(int number) {
    windowNumber = number;
    UpdateTitle();
}

void CTableFrame::UpdateTitle() {
    // The number goes between the name and the modified mark.
    QString title = document->GetTitle();
    if (windowNumber != 0)
        title.insert(document->GetSaveChangesName().size(),
                     QLatin1Char(':') + QString::number(windowNumber));
    setWindowTitle(title);
}

bool CTableFrame::Save() {
    // What the editors of any of the tray's windows hold is part of it.
    CTableView::CommitEditorsOf(*document);
    if (document->GetPathName().isEmpty())
        return SaveAs();
    return SaveTo(document->GetPathName());
}

bool CTableFrame::SaveAs() {
    CTableView::CommitEditorsOf(*document);
    const QString trayFilter = QString::fromLatin1(shell_strings::kTrayFilter);
    const QString xmlFilter = QString::fromLatin1(shell_strings::kXmlFilter);
    const QString current = document->GetPathName();
    QString suggested = current;
    if (suggested.isEmpty())
        suggested = QDir::current().filePath(document->GetSaveChangesName() + ".rlp");
    QString filter = current.endsWith(".xml", Qt::CaseInsensitive) ? xmlFilter : trayFilter;
    for (;;) {
        // The dialog would ask about the name as typed; the question belongs
        // to the name with its extension, the one that is written.
        QString path = QFileDialog::getSaveFileName(this, tr("Save As"), suggested,
                                                    trayFilter + ";;" + xmlFilter, &filter,
                                                    QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty())
            return false;
        if (QFileInfo(path).suffix().isEmpty())
            path += filter == xmlFilter ? ".xml" : ".rlp";
        if (!QFileInfo::exists(path) || ConfirmReplace(path))
            return SaveTo(path);
        suggested = path; // No: choose again
    }
}

bool CTableFrame::ConfirmReplace(const QString& path) {
    return QMessageBox::question(
               this, tr("Save As"),
               tr("%1 already exists. Do you want to replace it?").arg(QFileInfo(path).fileName()),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool CTableFrame::SaveTo(const QString& path) {
    QString reason;
    if (document->Save(path, &reason)) {
        emit saved(document->GetPathName());
        return true;
    }
    QMessageBox::warning(this, QCoreApplication::applicationName(),
                         tr("Cannot save %1:\n%2").arg(QDir::toNativeSeparators(path), reason));
    return false;
}

bool CTableFrame::SaveModified() {
    // What an open editor of any of its windows holds is part of the tray.
    CTableView::CommitEditorsOf(*document);
    if (!document->IsModified())
        return true;
    const auto answer = QMessageBox::question(
        this, QCoreApplication::applicationName(),
        QString::fromLatin1(shell_strings::kSaveChanges).arg(document->GetSaveChangesName()),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::No || Save();
}

bool CTableFrame::UpdateCommand(int id, CCmdUI&) {
    return id == cmd::kSave || id == cmd::kSaveAs || id == cmd::kClose;
}

bool CTableFrame::OnCommand(int id) {
    switch (id) {
    case cmd::kSave:
        Save();
        return true;
    case cmd::kSaveAs:
        SaveAs();
        return true;
    case cmd::kClose:
        close();
        return true;
    }
    return false;
}

void CTableFrame::closeEvent(QCloseEvent* event) {
    view->CommitEditors();
    // Only the tray's last window asks.
    if (CTableView::ViewCountOf(*document) == 1 && !SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace rp
