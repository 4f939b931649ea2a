// The main window's session: its place on the screen, the trays it opens
// from the Open dialog and from drops, and what it stores when it closes.
#include "main_frame.h"
#include "settings.h"
#include "shell_host.h"
#include "shell_strings.h"
#include "table_doc.h"
#include "table_frame.h"
#include "table_view.h"
#include "window_placement.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace rp {

namespace {

// The Open dialog: several files at once; a name that does not exist is
// taken as it is, to become an empty tray file, where Qt's dialog (and a
// native one) would refuse it.
class COpenTraysDialog : public QFileDialog {
public:
    COpenTraysDialog(QWidget* parent, const QString& folder)
        : QFileDialog(parent, tr("Open"), folder) {
        setOption(DontUseNativeDialog);
        setFileMode(ExistingFiles);
        const QString trayFilter = QString::fromLatin1(shell_strings::kTrayFilter);
        setNameFilters({trayFilter, QString::fromLatin1(shell_strings::kXmlFilter)});
        selectNameFilter(trayFilter);
        setDefaultSuffix(QStringLiteral("rlp"));
        // The dialog greys Open for a name that does not exist; here such a
        // name is welcome, so Open follows the typed text (after the
        // dialog's own update, hence queued).
        auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = findChild<QDialogButtonBox*>();
        if (name && buttons)
            connect(
                name, &QLineEdit::textChanged, this,
                [name, buttons] {
                    if (QPushButton* open = buttons->button(QDialogButtonBox::Open))
                        open->setEnabled(open->isEnabled() || !name->text().trimmed().isEmpty());
                },
                Qt::QueuedConnection);
    }

    void accept() override {
        const QStringList files = selectedFiles();
        const auto missing = [](const QString& file) { return !QFileInfo::exists(file); };
        if (!files.isEmpty() && std::any_of(files.begin(), files.end(), missing))
            QDialog::accept();
        else
            QFileDialog::accept();
    }
};

QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                files.append(url.toLocalFile());
    return files;
}

bool IsXmlFile(const QString& path) {
    return path.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive);
}

} // namespace

void CMainFrame::RestoreWindowPlacement() {
    // Never stored: four fifths of the primary screen, placed by the window manager.
    const QSize proposed = AvailableScreenAreas().constFirst().size() * 4 / 5;
    RestoreWindowRect(*this, host.Settings().GetWindowRect(QRect(kNowhere, proposed)), proposed);
}

void CMainFrame::SaveWindowPlacement() const {
    host.Settings().SetWindowRect(normalGeometry());
    host.Settings().SetShowState(ShowStateOf(windowState()));
}

void CMainFrame::SaveOpenFileList() const {
    CSettings& settings = host.Settings();
    if (!settings.GetOpenLast()) {
        settings.ClearOpenFileList();
        return;
    }
    // Each tray once, however many windows show it: trays first, then XML
    // files, each in the order they were opened.
    const CTableFrame* activeFrame = ActiveTrayFrame();
    const CTableDoc* active = activeFrame ? activeFrame->Document() : nullptr;
    QList<const CTableDoc*> listed;
    QList<OpenFileEntry> trays, xmlFiles;
    for (const CTableFrame* frame : TrayFrames()) {
        const CTableDoc* document = frame->Document();
        if (listed.contains(document))
            continue;
        listed.append(document);
        const OpenFileEntry entry{document->GetPathName(), document == active};
        (IsXmlFile(entry.path) ? xmlFiles : trays).append(entry);
    }
    settings.SaveOpenFileList(trays + xmlFiles);
}

bool CMainFrame::QueryEnd(bool mayAsk) {
    SaveWindowPlacement();
    SaveBarState();
    QList<const CTableDoc*> asked;
    for (CTableFrame* frame : TrayFrames()) {
        CTableDoc* document = frame->Document();
        if (asked.contains(document))
            continue;
        asked.append(document);
        // Typed text in any window of the tray is part of it, asked or not.
        CTableView::CommitEditorsOf(*document);
        if (mayAsk && !frame->SaveModified())
            return false;
    }
    // Only once the end goes ahead, with the trays as the questions left
    // them: a tray saved for the first time just now is listed.
    SaveOpenFileList();
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (QueryEnd(true))
        event->accept();
    else
        event->ignore();
}

void CMainFrame::Open() {
    const CTableFrame* active = ActiveTrayFrame();
    const QString path = active ? active->Document()->GetPathName() : QString();
    COpenTraysDialog dialog(this, path.isEmpty() ? QString() : QFileInfo(path).path());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QStringList files = dialog.selectedFiles();
    for (const QString& file : files) {
        // Created when missing, never truncated.
        QFile touched(file);
        if (!touched.exists())
            touched.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    }
    OpenTrays(files);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over, so that a message about a file does not
    // keep the program it came from waiting.
    QTimer::singleShot(0, this, [this, files] { OpenTrays(files); });
}

} // namespace rp
