#include "main_frame.h"

#include "rollpouch_ctrl.h"
#include "settings.h"
#include "shell_host.h"
#include "shell_strings.h"
#include "table_doc.h"
#include "table_frame.h"
#include "table_view.h"
#include "title_edit.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <utility>

namespace rp {

namespace {
QString Text(const char* text) {
    return QString::fromLatin1(text);
}
} // namespace

CMainFrame::CMainFrame(IShellHost& host)
    : host(host), mdiArea(new QMdiArea), messageText(new QLabel(Text(shell_strings::kReady))),
      commands(new CCommands([this] { return CommandRoute(); }, this)) {
    setCentralWidget(mdiArea);
    statusBar()->addWidget(messageText, 1);
    CreateToolBars();
    CreateDieBar();
    CreateOddsAndRollLog();
    CreateFocusCycle();
    CreateMenus();
    RestoreBarState();
    RestoreWindowPlacement();
    setAcceptDrops(true);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::ActiveTrayChanged);
    ActiveTrayChanged();
}

CMainFrame::~CMainFrame() {
    // The tray windows go with the MDI area, after this frame's own part;
    // nothing asks the commands' route about them any more.
    disconnect(mdiArea, nullptr, this, nullptr);
    delete commands;
}

CTableFrame* CMainFrame::AddTrayFrame(std::shared_ptr<CTableDoc> document) {
    auto* frame = new CTableFrame(std::move(document), host);
    mdiArea->addSubWindow(frame);
    connect(frame->View(), &CTableView::statusMessage, this, &CMainFrame::SetMessageText);
    connect(frame, &CTableFrame::saved, this,
            [this](const QString& path) { recentFiles.Add(path); });
    // Queued: the window is half gone when it says so.
    connect(frame, &QObject::destroyed, this, &CMainFrame::NumberTrayWindows, Qt::QueuedConnection);
    NumberTrayWindows();
    frame->resize(std::max(mdiArea->width() * 3 / 4, 320),
                  std::max(mdiArea->height() * 3 / 4, 240));
    // The run's first tray window takes the stored state, maximised by default.
    if (!std::exchange(shownTrayWindow, true) &&
        host.Settings().GetChildWindowsMaximized() == CSettings::kShowMaximized)
        frame->showMaximized();
    else
        frame->show();
    frame->View()->setFocus();
    mdiArea->setActiveSubWindow(frame);
    return frame;
}

CTableFrame* CMainFrame::NewTray() {
    auto document = std::make_shared<CTableDoc>(&host.TrayHost());
    document->SetTitle(Text(shell_strings::kNewTrayName) + QString::number(++untitledCount));
    return AddTrayFrame(std::move(document));
}

CTableFrame* CMainFrame::OpenTray(const QString& path) {
    QString reason;
    CTableFrame* frame = OpenTrayFor(path, reason);
    if (!frame)
        QMessageBox::warning(this, QCoreApplication::applicationName(),
                             tr("Cannot open %1:\n%2").arg(QDir::toNativeSeparators(path), reason));
    return frame;
}

void CMainFrame::OpenTrays(const QStringList& paths, int skipped) {
    QStringList failures;
    QString failed, reason;
    for (const QString& path : paths) {
        if (!OpenTrayFor(path, reason)) {
            failed = QDir::toNativeSeparators(path);
            failures.append(failed + QStringLiteral(": ") + reason);
        }
    }
    if (failures.isEmpty() && skipped == 0)
        return;
    QString text;
    if (failures.size() == 1 && skipped == 0) {
        text = tr("Cannot open %1:\n%2").arg(failed, reason);
    } else if (!failures.isEmpty()) {
        // All at once: a box for each of a thousand files would be a thousand boxes.
        text = tr("These files could not be opened:") + QStringLiteral("\n\n") +
               failures.mid(0, kListedFailures).join(QLatin1Char('\n'));
        if (failures.size() > kListedFailures)
            text += QLatin1Char('\n') + tr("and %1 more.").arg(failures.size() - kListedFailures);
    }
    if (skipped > 0)
        text += (text.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                tr("%1 more files were not opened.").arg(skipped);
    QMessageBox::warning(this, QCoreApplication::applicationName(), text);
}

CTableFrame* CMainFrame::OpenTrayFor(const QString& path, QString& reason) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (CTableFrame* frame : TrayFrames()) {
        if (frame->Document()->GetPathName() == absolute) {
            mdiArea->setActiveSubWindow(frame);
            return frame;
        }
    }
    // The window exists first, so that the tray can be arranged in its width.
    const bool shownBefore = shownTrayWindow;
    CTableFrame* frame = AddTrayFrame(std::make_shared<CTableDoc>(&host.TrayHost()));
    QString warning;
    if (frame->Document()->Open(path, &reason, &warning)) {
        recentFiles.Add(frame->Document()->GetPathName());
        if (!warning.isEmpty())
            QMessageBox::warning(
                this, QCoreApplication::applicationName(),
                QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path), warning));
        return frame;
    }
    frame->KeepStoredShowState();
    delete frame;
    shownTrayWindow = shownBefore;
    return nullptr;
}

CTableFrame* CMainFrame::NewWindow() {
    const CTableFrame* active = ActiveTrayFrame();
    return active ? AddTrayFrame(active->SharedDocument()) : nullptr;
}

void CMainFrame::ArrangeIcons() {
    // Left to right from the bottom-left corner, a new row above when one is full.
    const int width = mdiArea->viewport()->width();
    QPoint at(0, mdiArea->viewport()->height());
    int rowHeight = 0;
    for (QMdiSubWindow* window : mdiArea->subWindowList()) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (at.x() > 0 && at.x() + size.width() > width) {
            at = QPoint(0, at.y() - rowHeight);
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, size.height());
        window->move(at.x(), at.y() - size.height());
        at.rx() += size.width();
    }
}

void CMainFrame::Save() {
    if (CTableFrame* frame = ActiveTrayFrame())
        frame->Save();
}

void CMainFrame::SaveAs() {
    if (CTableFrame* frame = ActiveTrayFrame())
        frame->SaveAs();
}

void CMainFrame::CloseTray() {
    if (CTableFrame* frame = ActiveTrayFrame())
        frame->close();
}

CTableFrame* CMainFrame::ActiveTrayFrame() const {
    // The current window stays known while a dialog has the focus.
    return qobject_cast<CTableFrame*>(mdiArea->currentSubWindow());
}

CTableView* CMainFrame::ActiveView() const {
    const CTableFrame* frame = ActiveTrayFrame();
    return frame ? frame->View() : nullptr;
}

QList<CTableFrame*> CMainFrame::TrayFrames() const {
    QList<CTableFrame*> frames;
    for (QMdiSubWindow* window : mdiArea->subWindowList())
        if (auto* frame = qobject_cast<CTableFrame*>(window))
            frames.append(frame);
    return frames;
}

QString CMainFrame::MessageText() const {
    return messageText->text();
}

void CMainFrame::SetMessageText(const QString& text) {
    // The label tells screen readers of its new name itself; an accessible
    // name of its own would stop that.
    messageText->setText(text);
}

void CMainFrame::ActiveTrayChanged() {
    for (const auto& connection : following)
        disconnect(connection);
    following.clear();
    CTableFrame* frame = ActiveTrayFrame();
    followed = frame ? frame->Document() : nullptr;
    if (followed) {
        // Selection and history; the title editor's text selection.
        following.append(
            connect(followed, &CTableDoc::contentsChanged, commands, &CCommands::UpdateAll));
        if (const CTableView* view = frame->View())
            following.append(connect(view->TitleEditor(), &QLineEdit::selectionChanged, commands,
                                     &CCommands::UpdateAll));
        // The MDI area writes its own caption for a maximised window when
        // the tray window's title changes; ours follows at once (a roll
        // repaints before queued calls run), after the window's own handler.
        following.append(
            connect(followed, &CTableDoc::titleChanged, this, &CMainFrame::UpdateCaption));
        // Queued: after the MDI area's caption for the window's new state.
        following.append(connect(frame, &QMdiSubWindow::windowStateChanged, this,
                                 &CMainFrame::UpdateCaption, Qt::QueuedConnection));
    }
    ShowMenus(followed);
    UpdateCaption();
    commands->UpdateAll();
    // The raised die shows only while a tray is there to take it.
    dieBar->update();
}

void CMainFrame::UpdateCaption() {
    // "Clattermat - tray", or "Clattermat - [tray]" while the tray's window is maximised.
    const QString program = Text(shell_strings::kProgramTitle);
    const CTableFrame* frame = ActiveTrayFrame();
    if (!followed || !frame)
        setWindowTitle(program);
    else if (frame->isMaximized())
        setWindowTitle(program + " - [" + frame->windowTitle() + "]");
    else
        setWindowTitle(program + " - " + frame->windowTitle());
}

void CMainFrame::NumberTrayWindows() {
    const QList<CTableFrame*> frames = TrayFrames();
    QHash<const CTableDoc*, int> windows, numbered;
    for (const CTableFrame* frame : frames)
        ++windows[frame->Document()];
    for (CTableFrame* frame : frames) {
        const CTableDoc* document = frame->Document();
        frame->SetWindowNumber(windows[document] > 1 ? ++numbered[document] : 0);
    }
    UpdateCaption();
}

} // namespace rp
