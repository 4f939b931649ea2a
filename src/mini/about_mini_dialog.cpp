#include "about_mini_dialog.h"

#include "copyright_notice.h"
#include "mini_rollpouch_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace rp {

QString CAboutMiniDialog::VersionText() {
    return QStringLiteral("MiniRollpouch Version 1.1 (%1)").arg(QStringLiteral("r86"));
}

CAboutMiniDialog::CAboutMiniDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About MiniRollpouch"));
    auto* icon = new QLabel(this);
    icon->setPixmap(MiniRollpouchIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* version = new QLabel(VersionText(), this);
    version->setObjectName(QStringLiteral("version"));
    auto* purpose = new QLabel(tr("Rolls the dice groups of a Rollpouch tray file."), this);
    auto* notice = new QLabel(QString::fromUtf8(kCopyrightNotice), this);
    notice->setWordWrap(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(purpose);
    texts->addWidget(notice);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace rp
