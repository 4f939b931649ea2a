#include "mini_rollpouch_dlg.h"

#include "about_mini_dialog.h"
#include "dice_app.h"
#include "roll_log_view.h"
#include "xml_dom.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace rp {

QIcon MiniRollpouchIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/minirollpouch-%1.png").arg(size), QSize(size, size));
    return icon;
}

CMiniRollpouchDlg::CMiniRollpouchDlg()
    : CMiniClattermat(QStringLiteral("WindowPos")),
      openAction(new QAction(QIcon::fromTheme(QStringLiteral("document-open"),
                                              style()->standardIcon(QStyle::SP_DialogOpenButton)),
                             tr("&Open..."), this)),
      rollAction(new QAction(MiniRollpouchIcon(), tr("&Roll Selected"), this)),
      aboutAction(new QAction(tr("&About MiniRollpouch..."), this)), recentMenu(new QMenu(this)),
      logButton(new QToolButton(this)),
      logView(new CRollLogView(&CDiceApp::Instance()->RollLog(), this)) {
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(MiniRollpouchIcon());

    openAction->setToolTip(tr("Open"));
    openAction->setShortcut(QKeySequence::Open);
    rollAction->setToolTip(tr("Roll Selected"));
    aboutAction->setShortcut(QKeySequence::HelpContents);
    for (QAction* action : {openAction, rollAction, aboutAction})
        action->setShortcutVisibleInContextMenu(true);
    addActions({openAction, rollAction, aboutAction});
    connect(openAction, &QAction::triggered, this, &CMiniRollpouchDlg::OnFileOpen);
    connect(rollAction, &QAction::triggered, this, &CMiniRollpouchDlg::RollSelected);
    connect(aboutAction, &QAction::triggered, this, &CMiniRollpouchDlg::ShowAbout);

    QToolBar* bar = CreateToolbar(openAction, rollAction);
    // The Open button drops down the recent files.
    auto* openButton = qobject_cast<QToolButton*>(bar->widgetForAction(openAction));
    openButton->setPopupMode(QToolButton::MenuButtonPopup);
    openButton->setMenu(recentMenu);
    connect(recentMenu, &QMenu::aboutToShow, this, [this] { FillRecentMenu(recentMenu); });

    // The roll log opens under the results with a disclosure button at the
    // end of the "Results" row; it starts closed.
    logButton->setText(tr("Roll &Log"));
    logButton->setToolTip(tr("Show or hide the log of this session's rolls"));
    logButton->setAutoRaise(true);
    logButton->setArrowType(Qt::RightArrow);
    logButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    logView->hide();
    connect(logButton, &QToolButton::clicked, this, [this] { ShowRollLog(!logShown); });

    InitialiseDialog(bar);
}

CMiniRollpouchDlg::~CMiniRollpouchDlg() {
    // The window's place is kept as it is with the log closed, as it opens next time.
    ShowRollLog(false);
}

void CMiniRollpouchDlg::ShowRollLog(bool show) {
    if (show == logShown)
        return;
    logShown = show;
    logButton->setArrowType(show ? Qt::DownArrow : Qt::RightArrow);
    logView->setVisible(show);
    setMinimumHeight(kMinimumHeight + (show ? kMinLogHeight + kLogGap : 0));
    if (!isMaximized() && !isFullScreen())
        resize(width(), std::max(minimumHeight(), height() + (show ? kLogGrowth : -kLogGrowth)));
    // The window system may resize later; the layout follows the size there is now.
    SetBottomSpace(LogSpace());
    LayOutControls(width(), height() - LogSpace());
    PlaceRollLog();
}

int CMiniRollpouchDlg::LogSpace() const {
    return logShown ? LogHeight() + kLogGap : 0;
}

int CMiniRollpouchDlg::LogHeight() const {
    return std::max(kMinLogHeight, (height() - kMinimumHeight) / 2);
}

void CMiniRollpouchDlg::PlaceRollLog() {
    const QRect label = ResultsLabel()->geometry();
    const QSize button = logButton->sizeHint();
    logButton->setGeometry(label.x() + label.width() - button.width(),
                           label.y() + (label.height() - button.height()) / 2, button.width(),
                           button.height());
    // Below the results text, with the same edges and bottom margin.
    const QRect results = ResultsText()->geometry();
    logView->setGeometry(results.x(), height() - 12 - LogHeight(), results.width(), LogHeight());
}

void CMiniRollpouchDlg::resizeEvent(QResizeEvent* event) {
    SetBottomSpace(LogSpace());
    CMiniClattermat::resizeEvent(event);
    PlaceRollLog();
}

void CMiniRollpouchDlg::EnableRollCommand(bool enable) {
    rollAction->setEnabled(enable);
}

void CMiniRollpouchDlg::FillRecentMenu(QMenu* menu) {
    menu->clear();
    const QStringList& paths = recentFiles.Paths();
    if (paths.isEmpty()) {
        menu->addAction(tr("Recent File"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        connect(menu->addAction(RecentFileMenuText(i, path)), &QAction::triggered, this,
                [this, path] { OpenPath(path); });
    }
}

void CMiniRollpouchDlg::OpenPath(const QString& path) {
    xml::CXmlDocument document;
    const ReadStatus status = document.ParseFile(QFile::encodeName(path).toStdString());
    const bool complete = LoadMiniRoot(document.Root());
    SetTrayName(QFileInfo(path).fileName());
    GroupList()->setFocus();
    recentFiles.Add(QFileInfo(path).absoluteFilePath());
    QString message;
    if (status == ReadStatus::TooLarge)
        message = tr("This file is larger than 64 MiB and cannot be a dice tray; it was not read.");
    else if (!complete)
        message = QString::fromLatin1(kDiceLeftOutText);
    if (message.isEmpty())
        return;
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(),
                                QDir::toNativeSeparators(path) + QLatin1Char('\n') + message,
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void CMiniRollpouchDlg::OnFileOpen() {
    const QString start = recentFiles.Paths().isEmpty()
                              ? QDir::homePath()
                              : QFileInfo(recentFiles.Paths().first()).path();
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open"), start, QStringLiteral("Rollpouches (*.rlp);;XML Files (*.xml)"));
    if (!path.isEmpty())
        OpenPath(path);
}

void CMiniRollpouchDlg::ShowAbout() {
    CAboutMiniDialog about(this);
    about.setWindowIcon(windowIcon());
    about.exec();
}

void CMiniRollpouchDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(openAction);
    QMenu* recent = menu.addMenu(tr("Recent &Files"));
    recent->setEnabled(!recentFiles.Paths().isEmpty());
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { FillRecentMenu(recent); });
    menu.addAction(rollAction);
    menu.addSeparator();
    menu.addAction(aboutAction);
    menu.exec(event->globalPos());
}

} // namespace rp
