#include "settings.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace rp {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { Store().clear(); }
    static QSettings& Store() {
        static QSettings store(QStringLiteral("Brackenfold Software"),
                               QStringLiteral("Clattermat"));
        store.sync();
        return store;
    }
    static void Put(const QString& key, const QVariant& value) {
        Store().setValue(key, value);
        Store().sync();
    }
};

TEST_F(SettingsTest, MissingOrMalformedValuesReadAsDefaults) {
    CSettings settings;
    EXPECT_EQ(settings.GetDieColor(), "Light Gray");
    EXPECT_TRUE(settings.GetPlaySound());
    EXPECT_EQ(settings.GetDelayRoll(), 500);
    EXPECT_FALSE(settings.GetOpenLast());
    EXPECT_EQ(settings.GetWindowRect(QRect(1, 2, 3, 4)), QRect(1, 2, 3, 4));
    EXPECT_EQ(settings.GetShowState(7), 7);
    EXPECT_EQ(settings.GetChildWindowsMaximized(), 3);
    EXPECT_TRUE(settings.ReadOpenFileList().paths.isEmpty());
    EXPECT_EQ(settings.ReadOpenFileList().currentIndex, 0);

    Put("Settings/DelayRoll", "fast");
    Put("Settings/PlaySound", "99999999999");
    Put("WindowPos/WindowTop", "");
    Put("WindowPos/WindowLeft", " 12 ");
    CSettings damaged;
    EXPECT_EQ(damaged.GetDelayRoll(), 500);
    EXPECT_TRUE(damaged.GetPlaySound());
    EXPECT_EQ(damaged.GetWindowRect(QRect(1, 2, 3, 4)), QRect(12, 2, 3, 4));
}

TEST_F(SettingsTest, ValuesAreStoredUnderTheirNames) {
    CSettings settings;
    settings.SetDieColor("Red");
    settings.SetPlaySound(false);
    settings.SetOpenLast(true);
    settings.SetWindowRect(QRect(10, 20, 300, 400));
    settings.SetShowState(1);
    settings.SetChildWindowsMaximized(1);
    Store().sync();
    EXPECT_EQ(Store().value("Settings/DieColor").toString(), "Red");
    EXPECT_EQ(Store().value("Settings/PlaySound").toInt(), 0);
    EXPECT_EQ(Store().value("Settings/OpenLast").toInt(), 1);
    EXPECT_EQ(Store().value("WindowPos/WindowWidth").toInt(), 300);
    EXPECT_EQ(Store().value("WindowPos/ShowState").toInt(), 1);
    EXPECT_EQ(CSettings().GetWindowRect(QRect()), QRect(10, 20, 300, 400));
    EXPECT_EQ(CSettings().GetChildWindowsMaximized(), 1);
}

TEST_F(SettingsTest, OptionsToggles) {
    Put("Settings/DelayRoll", 250);
    CSettings settings;
    EXPECT_TRUE(settings.IsOptionChecked(kCmdDelayRoll));
    settings.ToggleOption(kCmdDelayRoll);
    EXPECT_EQ(settings.GetDelayRoll(), 0);
    EXPECT_FALSE(settings.IsOptionChecked(kCmdDelayRoll));
    settings.ToggleOption(kCmdDelayRoll);
    EXPECT_EQ(settings.GetDelayRoll(), 500);

    EXPECT_TRUE(settings.IsOptionChecked(kCmdPlaySound));
    settings.ToggleOption(kCmdPlaySound);
    EXPECT_FALSE(settings.IsOptionChecked(kCmdPlaySound));
    Store().sync();
    EXPECT_EQ(Store().value("Settings/PlaySound").toString(), "0");

    Put("Settings/OpenLast", 5);
    EXPECT_TRUE(settings.IsOptionChecked(kCmdOpenLast));
    settings.ToggleOption(kCmdOpenLast);
    Store().sync();
    EXPECT_EQ(Store().value("Settings/OpenLast").toString(), "0");
    settings.ToggleOption(kCmdOpenLast);
    Store().sync();
    EXPECT_EQ(Store().value("Settings/OpenLast").toString(), "1");
}

TEST_F(SettingsTest, OpenFileListIsWrittenClearedAndRead) {
    CSettings settings;
    settings.SaveOpenFileList(
        {{"/t/a.rlp", false}, {"", true}, {"/t/b.rlp", true}, {"/t/c.xml", false}});
    Store().sync();
    EXPECT_EQ(Store().value("Settings/OpenFileList/FileCount").toInt(), 3);
    EXPECT_EQ(Store().value("Settings/OpenFileList/File1").toString(), "/t/b.rlp");
    OpenFileList list = settings.ReadOpenFileList();
    EXPECT_EQ(list.paths, QStringList({"/t/a.rlp", "/t/b.rlp", "/t/c.xml"}));
    EXPECT_EQ(list.currentIndex, 1);

    // Rewriting drops the old entries; an active tray without a path counts as none.
    settings.SaveOpenFileList({{"/t/d.rlp", false}, {"", true}});
    list = settings.ReadOpenFileList();
    EXPECT_EQ(list.paths, QStringList({"/t/d.rlp"}));
    EXPECT_EQ(list.currentIndex, 0);
    Store().sync();
    EXPECT_FALSE(Store().contains("Settings/OpenFileList/File1"));

    settings.ClearOpenFileList();
    Store().sync();
    EXPECT_TRUE(settings.ReadOpenFileList().paths.isEmpty());
    EXPECT_FALSE(Store().contains("Settings/OpenFileList/FileCount"));
}

TEST_F(SettingsTest, DamagedFileCountNeverRunsAway) {
    Put("Settings/OpenFileList/FileCount", -1);
    Put("Settings/OpenFileList/File0", "/a");
    Put("Settings/OpenFileList/File1", "/b");
    EXPECT_EQ(CSettings().ReadOpenFileList().paths, QStringList({"/a", "/b"}));

    Store().beginGroup("Settings/OpenFileList");
    Store().setValue("FileCount", 2000000000);
    for (int i = 0; i < 1200; ++i)
        Store().setValue(QStringLiteral("File%1").arg(i), QStringLiteral("/f%1").arg(i));
    Store().endGroup();
    Store().sync();
    EXPECT_EQ(CSettings().ReadOpenFileList().paths.size(), CSettings::kMaxOpenFiles);
}

} // namespace
} // namespace rp
