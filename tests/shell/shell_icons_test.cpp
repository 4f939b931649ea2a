#include "gui_test_main.h"
#include "shell_icons.h"
#include "test_files.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rp {
namespace {

TEST(ShellIconsTest, OwnToolbarIconsAtBothSizesUnlessTheThemeHasOne) {
    const char* names[] = {"new",
                           "open",
                           "save",
                           "cut",
                           "copy",
                           "paste",
                           "delete",
                           "undo",
                           "redo",
                           "add-text",
                           "edit-text",
                           "about",
                           "roll-selected",
                           "group",
                           "ungroup",
                           "increment-modifier",
                           "decrement-modifier",
                           "properties",
                           "update-contents"};
    for (const char* name : names) {
        const QIcon icon = ToolbarIcon(QString(), name);
        const QImage big = QImage(QStringLiteral(":/toolbar/%1@2x.png").arg(name))
                               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(big.size(), QSize(32, 32)) << name;
        EXPECT_EQ(icon.pixmap(QSize(16, 16)).size(), QSize(16, 16)) << name;
        // A screen of twice the density gets the picture drawn for it, not
        // the small one scaled up.
        EXPECT_EQ(icon.pixmap(QSize(16, 16), 2.0).toImage(), big) << name;
    }

    QTemporaryDir themes;
    const QString folder = themes.filePath("test-theme/16x16/actions");
    ASSERT_TRUE(QDir().mkpath(folder));
    test::WriteFile(themes.filePath("test-theme/index.theme"),
                    "[Icon Theme]\nName=test-theme\nDirectories=16x16/actions\n\n"
                    "[16x16/actions]\nSize=16\nType=Fixed\n");
    QImage red(16, 16, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(folder + "/document-new.png"));
    const QStringList oldPaths = QIcon::themeSearchPaths();
    const QString oldTheme = QIcon::themeName();
    QIcon::setThemeSearchPaths({themes.path()});
    QIcon::setThemeName("test-theme");
    EXPECT_EQ(ToolbarIcon("document-new", "new").name(), "document-new");
    EXPECT_EQ(ToolbarIcon("no-such-icon", "new").pixmap(16, 16).toImage(),
              QImage(":/toolbar/new.png").convertToFormat(QImage::Format_ARGB32_Premultiplied));
    QIcon::setThemeName(oldTheme);
    QIcon::setThemeSearchPaths(oldPaths);

    EXPECT_EQ(RollpouchIcon().availableSizes().size(), 7);
    EXPECT_EQ(TrayDocumentIcon().pixmap(48, 48).size(), QSize(48, 48));
}

} // namespace
} // namespace rp
