#include "about_dlg.h"

#include "copyright_notice.h"
#include "shell_icons.h"
#include "static_link.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace rp {

namespace {
QLabel* Paragraph(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}
} // namespace

QString CAboutDlg::VersionText() {
    return QStringLiteral("Clattermat Version 1.1 (%1)").arg(QStringLiteral("r86"));
}

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent),
      mailLink(new CStaticLink(QStringLiteral("clattermat@example.org"), kMailTarget, this)),
      webLink(new CStaticLink(QStringLiteral("Visit my Tools page for more information"),
                              kWebTarget, this)) {
    setWindowTitle(QStringLiteral("About Clattermat"));

    auto* icon = new QLabel(this);
    icon->setPixmap(RollpouchIcon().pixmap(QSize(32, 32), devicePixelRatioF()));
    icon->setAlignment(Qt::AlignTop);
    auto* version = new QLabel(VersionText(), this);
    version->setObjectName(QStringLiteral("version"));
    version->setTextFormat(Qt::PlainText);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setColumnMinimumWidth(1, 200);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(version, 0, 1, Qt::AlignTop);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setRowMinimumHeight(1, 12);
    layout->addWidget(Paragraph(QString::fromUtf8(kCopyrightNotice), this), 2, 0, 1, 3);
    layout->addWidget(Paragraph(QStringLiteral("Questions, ideas and bug reports are welcome. "
                                               "Write to me at:"),
                                this),
                      3, 0, 1, 3);
    layout->addWidget(mailLink, 4, 0, 1, 3, Qt::AlignHCenter);
    layout->addWidget(webLink, 5, 0, 1, 3);
    layout->addWidget(Paragraph(QStringLiteral("Clattermat comes as it is, without warranty of "
                                               "any kind. May your rolls be high!"),
                                this),
                      6, 0, 1, 3);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(ok, mailLink);
    setTabOrder(mailLink, webLink);
    ok->setFocus();
}

} // namespace rp
