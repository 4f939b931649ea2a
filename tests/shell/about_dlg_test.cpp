#include "about_dlg.h"
#include "gui_test_main.h"
#include "static_link.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace rp {
namespace {

// Stands in for the desktop: records what it was asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened.append(url); }
};

TEST(AboutDlgTest, TextsAndLinksThatTurnPurpleOnceOpened) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Clattermat");
    EXPECT_EQ(about.findChild<QLabel*>("version")->text(), "Clattermat Version 1.1 (r86)");
    EXPECT_EQ(CAboutDlg::kMailTarget, "mailto:clattermat@example.org?subject=Clattermat");
    EXPECT_EQ(about.WebLink()->text(), "Visit my Tools page for more information");

    UrlRecorder desktop;
    QDesktopServices::setUrlHandler("https", &desktop, "Open");
    // A handler that cannot be called makes the desktop report failure.
    QDesktopServices::setUrlHandler("mailto", &desktop, "Missing");
    // Without a target a link opens its own text, when that is an address.
    CStaticLink own("https://www.example.org/own");
    for (CStaticLink* link : {about.MailLink(), about.WebLink(), &own}) {
        EXPECT_EQ(link->Colour(), QColor(0, 0, 255));
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(link, Qt::LeftButton);
    }
    QDesktopServices::unsetUrlHandler("https");
    QDesktopServices::unsetUrlHandler("mailto");
    EXPECT_EQ(desktop.opened,
              QList<QUrl>({QUrl(CAboutDlg::kWebTarget), QUrl("https://www.example.org/own")}));
    EXPECT_EQ(about.WebLink()->Colour(), QColor(128, 0, 128));
    EXPECT_EQ(about.MailLink()->Colour(), QColor(0, 0, 255));
    EXPECT_FALSE(CHyperlink().Navigate());
    EXPECT_FALSE(CHyperlink("Visit my Tools page").Navigate());
}

} // namespace
} // namespace rp

#include "about_dlg_test.moc"
