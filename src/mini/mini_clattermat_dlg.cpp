#include "mini_clattermat_dlg.h"

#include <QAction>

namespace rp {

CMiniClattermatDlg::CMiniClattermatDlg(IMiniTraySource& source, const QIcon& updateIcon,
                                       const QIcon& rollIcon)
    : CMiniClattermat(QStringLiteral("MiniWindowPos")), source(source),
      updateAction(new QAction(updateIcon, tr("Update Contents from Current Document"), this)),
      rollAction(new QAction(rollIcon, tr("Roll Selected"), this)) {
    // Left open, it must not keep the program running once the main window closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    updateAction->setData(kUpdateContents);
    rollAction->setData(kRollSelected);
    connect(updateAction, &QAction::triggered, this, &CMiniClattermatDlg::UpdateFromDocument);
    connect(rollAction, &QAction::triggered, this, &CMiniClattermatDlg::RollSelected);

    resourceCaption = windowTitle();
    InitialiseDialog(CreateToolbar(updateAction, rollAction));
    UpdateFromDocument();
}

void CMiniClattermatDlg::UpdateFromDocument() {
    const QByteArray xml = source.GetTrayXml();
    LoadMiniList(std::string_view(xml.constData(), static_cast<std::size_t>(xml.size())));
    SetTrayName(source.GetTrayName());
    setWindowTitle(resourceCaption + QStringLiteral(" (") + source.GetTrayTitle() +
                   QLatin1Char(')'));
}

void CMiniClattermatDlg::EnableRollCommand(bool enable) {
    rollAction->setEnabled(enable);
}

} // namespace rp
