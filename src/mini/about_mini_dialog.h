#pragma once

#include <QDialog>

namespace rp {

// "About MiniRollpouch": the icon, the version and a short notice.
class CAboutMiniDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutMiniDialog(QWidget* parent = nullptr);

    static QString VersionText();
};

} // namespace rp
