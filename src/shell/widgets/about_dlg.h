#pragma once

#include <QDialog>

namespace rp {

class CStaticLink;

// "About Clattermat": the program's icon, name and version, a notice that it
// may be given away freely, a mail link and a link to the web page.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static inline const QString kMailTarget =
        QStringLiteral("mailto:clattermat@example.org?subject=Clattermat");
    static inline const QString kWebTarget = QStringLiteral("https://www.example.org/tools/");

    explicit CAboutDlg(QWidget* parent = nullptr);

    // "Clattermat Version 1.1 (r86)"
    static QString VersionText();

    CStaticLink* MailLink() const { return mailLink; }
    CStaticLink* WebLink() const { return webLink; }

private:
    CStaticLink* mailLink;
    CStaticLink* webLink;
};

} // namespace rp
