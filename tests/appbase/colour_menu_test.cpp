#include "colour_menu.h"
#include "test_files.h"

#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rp {
namespace {

// A colour folder with pictures for the given side counts.
void MakeColour(const QDir& images, const QString& name, QList<int> sides, const char* extension) {
    for (const int s : sides)
        test::WriteFile(
            images.filePath(QStringLiteral("%1/d%2.%3").arg(name).arg(s).arg(extension)));
}

struct Item {
    QString text;
    int id;
    bool checked;
    bool operator==(const Item&) const = default;
};

std::vector<Item> Items(const QMenu& menu) {
    std::vector<Item> items;
    for (const QAction* action : menu.actions())
        items.push_back({action->text(), action->data().toInt(), action->isChecked()});
    return items;
}

TEST(ColourMenu, OffersCompleteColourFoldersWithIdsAndCheckMark) {
    QTemporaryDir root;
    const QDir images(root.filePath("images"));
    const QList<int> all = {4, 6, 8, 10, 12, 20, 100};
    MakeColour(images, "Light Gray", all, "gif");
    MakeColour(images, "red", {4, 6, 8, 10, 12, 100}, "gif");
    MakeColour(images, "Blue", all, "jpg");
    test::WriteFile(images.filePath("Green")); // a file, not a folder

    QMenu menu;
    QMap<int, QString> ids;
    BuildColourMenu(menu, &ids, all, "light GRAY", images.path());
    EXPECT_EQ(Items(menu),
              (std::vector<Item>{{"Blue", 49155, false}, {"Light Gray", 49156, true}}));
    EXPECT_EQ(ids, (QMap<int, QString>{{49155, "Blue"}, {49156, "Light Gray"}}));

    // The folder without a d20 picture is offered when 20 is not asked for.
    QMenu sixes;
    BuildColourMenu(sixes, nullptr, {6}, "Red", images.path());
    EXPECT_EQ(Items(sixes),
              (std::vector<Item>{
                  {"Blue", 49155, false}, {"Light Gray", 49156, false}, {"red", 49157, true}}));
    QMenu any;
    BuildColourMenu(any, nullptr, {}, "", images.path());
    EXPECT_EQ(any.actions().size(), 3);

    QMenu none;
    BuildColourMenu(none, nullptr, all, "Light Gray", root.filePath("missing"));
    EXPECT_TRUE(none.isEmpty());
}

} // namespace
} // namespace rp
