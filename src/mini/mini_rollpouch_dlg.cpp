#include "mini_rollpouch_dlg.h"

#include "about_mini_dialog.h"
#include "xml_dom.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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
      aboutAction(new QAction(tr("&About MiniRollpouch..."), this)), recentMenu(new QMenu(this)) {
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

    InitialiseDialog(bar);
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
