#include "command_line_info_ex.h"
#include "gui_test_main.h"

#include <gtest/gtest.h>

namespace rp {
namespace {

TEST(CommandLineInfoExTest, SwitchesParametersAndFiles) {
    struct Case {
        QStringList arguments;
        QMap<QString, QString> options;
        QStringList files;
        bool showSplash;
    };
    const QString tray = QStringLiteral("/home/ann/tray.rlp");
    const Case cases[] = {
        {{}, {}, {}, true},
        {{"-nologo"}, {{"nologo", "TRUE"}}, {}, false},
        {{"--nologo", "a.rlp"}, {{"nologo", "a.rlp"}}, {"a.rlp"}, false},
        {{"-NOLOGO"}, {{"NOLOGO", "TRUE"}}, {}, true},
        // A leading "/" is an absolute path, never a switch.
        {{tray, "/nologo"}, {}, {tray, "/nologo"}, true},
        {{"-a", "-b", "x", "y"}, {{"a", "TRUE"}, {"b", "x"}}, {"x", "y"}, true},
        {{"--", "-nologo", "-"}, {}, {"-nologo", "-"}, true},
    };
    for (const Case& c : cases) {
        CCommandLineInfoEx info;
        info.ParseCommandLine(c.arguments);
        EXPECT_EQ(info.options, c.options) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(info.files, c.files) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(info.ShowSplash(), c.showSplash) << c.arguments.join(' ').toStdString();
    }
}

} // namespace
} // namespace rp
