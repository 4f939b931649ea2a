#include "cli.h"
#include "dice_group.h"
#include "sample_trays.h"

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace rp::cli {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

std::string ReadAll(std::FILE* f) {
    std::rewind(f);
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    std::fclose(f);
    return text;
}

Result RunCli(std::vector<std::string> args, std::FILE* out = std::tmpfile()) {
    args.insert(args.begin(), "rollpouch-cli");
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    std::FILE* err = std::tmpfile();
    const int status = Run(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, ReadAll(out), ReadAll(err)};
}

class CliFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("rollpouch-cli-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string Write(const char* name, const std::string& text) {
        const auto path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    std::filesystem::path dir;
};

TEST(Cli, DescribePrintsOneLineEachAndReportsBadText) {
    const Result r = RunCli({"describe", "3d6+2", "-2d6", "4d6 ignore", "d20-1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "3d6+2\n\n1d20-1\n");
    EXPECT_EQ(r.err, "error: not dice notation: 4d6 ignore\n");
}

TEST(Cli, RollIsRepeatableWithASeed) {
    const Result a = RunCli({"roll", "--seed", "1", "4d6", "2d8+1d4+3"});
    EXPECT_EQ(a.status, 0);
    const Result b = RunCli({"roll", "--seed", "1", "4d6", "2d8+1d4+3"});
    EXPECT_EQ(a.out, b.out);
    // Parsing 4d6 draws 41 18467 6334 26500; rolling draws 19169 15724 11478 29358.
    EXPECT_EQ(a.out.substr(0, a.out.find('\n')), "4d6: 4 3 3 6 = 16");
    const Result c = RunCli({"roll", "--seed", "2", "4d6", "2d8+1d4+3"});
    EXPECT_NE(a.out, c.out);
}

TEST(Cli, OddsListsEveryTotalAndGoesOnPastRefusals) {
    const Result r = RunCli({"odds", "1d4+1", "x", "300d10000", "1d20+5"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "error: not dice notation: x\nerror: too much work: 300d10000\n");
    EXPECT_EQ(r.out.substr(0, r.out.find("1d20+5")), "1d4+1: mean 3.5000, min 2, max 5, sd 1.1180\n"
                                                     "2\t25.0000\t100.0000\n"
                                                     "3\t25.0000\t75.0000\n"
                                                     "4\t25.0000\t50.0000\n"
                                                     "5\t25.0000\t25.0000\n");
    EXPECT_NE(r.out.find("\n15\t4.9988\t54.9988\n"), std::string::npos);

    const Result best = RunCli({"odds", "--ignore", "1", "2d4"});
    EXPECT_EQ(best.status, 0);
    EXPECT_EQ(best.out, "2d4, ignore lowest 1: mean 3.1250, min 1, max 4, sd 0.9270\n"
                        "1\t6.2500\t100.0000\n2\t18.7500\t93.7500\n"
                        "3\t31.2500\t75.0000\n4\t43.7500\t43.7500\n");
    const Result csv = RunCli({"odds", "--csv", "--ignore", "1", "2d4", "1d2"});
    EXPECT_EQ(csv.out, "Total,Exactly %,At least %,At most %\n1,6.2500,100.0000,6.2500\n"
                       "2,18.7500,93.7500,25.0000\n3,31.2500,75.0000,56.2500\n"
                       "4,43.7500,43.7500,100.0000\n"
                       "Total,Exactly %,At least %,At most %\n0,100.0000,100.0000,100.0000\n");
    for (const auto& bad :
         std::vector<std::vector<std::string>>{{"odds"},
                                               {"odds", "--ignore"},
                                               {"odds", "--ignore", "1x", "1d6"},
                                               {"odds", "--ignore", "2147483648", "1d6"},
                                               {"odds", "--seed", "1", "1d6"},
                                               {"roll", "--csv", "1d6"}}) {
        const Result usage = RunCli(bad);
        EXPECT_EQ(usage.status, 2);
        EXPECT_NE(usage.err.find("usage:"), std::string::npos);
    }
}

TEST(Cli, RulesApplyToEveryText) {
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"describe", "--ignore", "1", "4d10", "2d6"},
         "4d10, ignore lowest 1\n2d6, ignore lowest 1\n"},
        {{"describe", "--ignore-highest", "1", "4d10"}, "4d10, ignore highest 1\n"},
        {{"describe", "--reroll-below", "3", "4d10"}, "4d10, reroll below 3\n"},
        {{"describe", "--explode", "4d10"}, "4d10, explode\n"},
        {{"describe", "--count", "8", "--explode", "4d10"}, "4d10, explode, count 8+\n"},
        // The lower of two d20 (this roller favours faces 1 to 8 a little).
        {{"odds", "--ignore-highest", "1", "2d20"},
         "2d20, ignore highest 1: mean 7.1748, min 1, max 20, sd 4.7111\n"},
        // Rolling draws one more number for the 6 that explodes into 7.
        {{"roll", "--explode", "--seed", "3", "6d6"}, "6d6, explode: 4 5 5 3 1 7 = 25\n"},
    };
    for (const auto& c : cases) {
        const Result r = RunCli(c.args);
        EXPECT_EQ(r.status, 0) << c.args[1];
        EXPECT_EQ(r.out.substr(0, c.out.size()), c.out);
    }
    for (const auto& bad :
         std::vector<std::vector<std::string>>{{"roll", "--ignore-highest", "-1", "1d6"},
                                               {"roll", "--ignore-highest", "10001", "1d6"},
                                               {"odds", "--reroll-below", "-1", "1d6"},
                                               {"describe", "--count", "x", "1d6"},
                                               {"describe", "1d6", "--count"},
                                               {"list", "--explode", "tray.rlp"}}) {
        const Result usage = RunCli(bad);
        EXPECT_EQ(usage.status, 2) << bad[1];
        EXPECT_NE(usage.err.find("usage:"), std::string::npos);
    }
}

TEST_F(CliFiles, ListSortsLabelsAndRollsInFileOrder) {
    const std::string path = Write("tray.rlp", R"(<dicegroups>
	<dicegroup ignoreCount="1" modifier="0" multiplier="1" title="b"><die sideCount="6" multiplier="1"/><die sideCount="6" multiplier="1"/></dicegroup>
	<text value="note"/>
	<dicegroup title="A" multiplier="1">1d20+5</dicegroup>
	<dicegroup title="3d6 fire" multiplier="1">3d6</dicegroup>
</dicegroups>)");
    const Result list = RunCli({"list", path});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "3d6 fire\nA (1d20+5)\nb (2d6, ignore lowest 1)\n");

    // Reading draws 41 18467 6334 26500 (b: each die is made, then loaded
    // without a face), 19169 (A), 15724 11478 29358 (3d6); rolling in file
    // order draws 26962 24464 (b), 5705 (A), 28145 23281 16827 (3d6).
    const Result rolled = RunCli({"list", "--seed", "1", "--roll", path});
    EXPECT_EQ(rolled.status, 0);
    EXPECT_EQ(rolled.out,
              "3d6 fire: 6 5 4 = 15\nA (1d20+5): 4 = 9\nb (2d6, ignore lowest 1): (5) 5 = 5\n");
    EXPECT_EQ(RunCli({"list", "--roll", "--seed", "1", path}).out, rolled.out);
}

TEST_F(CliFiles, ErrorsAndUsage) {
    const Result missing = RunCli({"list", (dir / "none.rlp").string()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "error: cannot read " + (dir / "none.rlp").string() + "\n");
    const std::string pipe = (dir / "pipe.rlp").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const Result fromPipe = RunCli({"list", pipe}); // at once, not waiting for a writer
    EXPECT_EQ(fromPipe.status, 2);
    EXPECT_EQ(fromPipe.err, "error: cannot read " + pipe + "\n");

    const std::string plain = Write("plain.txt", "Attack: 1d20+5\n");
    const Result notXml = RunCli({"list", plain});
    EXPECT_EQ(notXml.status, 0);
    EXPECT_EQ(notXml.out, "");

    EXPECT_EQ(RunCli({"--help"}).status, 0);
    EXPECT_NE(RunCli({"--help"}).out.find("usage:"), std::string::npos);
    for (const auto& bad :
         std::vector<std::vector<std::string>>{{},
                                               {"shout", "1d6"},
                                               {"roll", "--fast", "1d6"},
                                               {"roll", "--seed", "-1", "1d6"},
                                               {"roll", "--seed", "4294967296", "1d6"},
                                               {"roll", "--seed", " 1", "1d6"},
                                               {"roll", "--seed"},
                                               {"roll"},
                                               {"describe", "--seed", "1", "1d6"},
                                               {"list", "a", "b"},
                                               {"roll", "--roll", "1d6"},
                                               {"render", "--scale", "3", "a", "b.png"},
                                               {"convert", "--scale", "2", "a"}}) {
        const Result r = RunCli(bad);
        EXPECT_EQ(r.status, 2) << (bad.empty() ? "" : bad[0]);
        EXPECT_NE(r.err.find("usage:"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(RunCli({"roll", "--seed", "4294967295", "1d6"}).status, 0);
    // After "--" a text that looks like an option is still a text.
    const Result dashed = RunCli({"describe", "--", "--3d6"});
    EXPECT_EQ(dashed.status, 1);
    EXPECT_EQ(dashed.err, "error: not dice notation: --3d6\n");
}

using test::kSmallTray;

TEST_F(CliFiles, ConvertWritesTheTrayAsSaved) {
    const Result r = RunCli({"convert", Write("small.rlp", kSmallTray)});
    EXPECT_EQ(r.status, 0);
    // Every die is made with the default colour, so the two without one gain it.
    std::string expected = kSmallTray;
    const std::string colour = "\t\t\t<color>Light Gray</color>\n";
    for (const char* position :
         {"<position x=\"150\" y=\"60\"/>\n", "<position x=\"220\" y=\"60\"/>\n"}) {
        const auto at = expected.find(position) + std::string(position).size();
        expected.insert(at, colour);
    }
    EXPECT_EQ(r.out, expected);

    const Result plain = RunCli({"convert", "--seed", "1", Write("plain.txt", "Hit: 1d20+2\n")});
    EXPECT_EQ(plain.status, 0);
    EXPECT_NE(plain.out.find("title=\"Hit\""), std::string::npos);
    EXPECT_NE(plain.out.find("<position x=\"42\" y=\""), std::string::npos)
        << plain.out; // arranged from (10, 10)
    EXPECT_EQ(RunCli({"convert", "--seed", "1", (dir / "plain.txt").string()}).out, plain.out);
}

TEST_F(CliFiles, RenderPaintsTheTrayWithAMargin) {
    const std::string png = (dir / "tray.png").string();
    const Result r = RunCli({"render", Write("small.rlp", kSmallTray), png});
    EXPECT_EQ(r.status, 0) << r.err;
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    // The extent reaches from the origin past the text and the labels, plus 10 around.
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 128, 0));
    EXPECT_GE(image.width(), 252 + 20);
    EXPECT_GE(image.height(), 200 + 20);
    // At scale 2 the same tray in twice the pixels.
    const std::string twicePng = (dir / "twice.png").string();
    EXPECT_EQ(RunCli({"render", "--scale", "2", (dir / "small.rlp").string(), twicePng}).status, 0);
    const QImage twice(QString::fromStdString(twicePng));
    EXPECT_EQ(twice.size(), image.size() * 2);
    EXPECT_EQ(twice.pixelColor(1, 1), QColor(0, 128, 0));

    const Result unwritable =
        RunCli({"render", (dir / "small.rlp").string(), (dir / "no/such/dir.png").string()});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_EQ(unwritable.err, "error: cannot write " + (dir / "no/such/dir.png").string() + "\n");
    const Result unreadable = RunCli({"convert", (dir / "missing.rlp").string()});
    EXPECT_EQ(unreadable.status, 2);
    EXPECT_EQ(unreadable.err, "error: cannot read " + (dir / "missing.rlp").string() + "\n");
    EXPECT_EQ(RunCli({"render", (dir / "small.rlp").string()}).status, 2);
}

TEST_F(CliFiles, OutputFailuresAndWarningsOnly) {
    // Far positions are read within reach and written back as read.
    const std::string far = Write("far.rlp", R"(<dicegroups><dicegroup multiplier="1">)"
                                             R"(<die sideCount="6"><position x="2147483647" )"
                                             R"(y="100"/></die></dicegroup></dicegroups>)");
    const Result converted = RunCli({"convert", far});
    EXPECT_EQ(converted.status, 0);
    EXPECT_NE(converted.out.find("<position x=\"268435456\" y=\"100\"/>"), std::string::npos);

    // A standard output that cannot take the text is an error, not success.
    const Result full = RunCli({"convert", far}, std::fopen("/dev/full", "w"));
    EXPECT_EQ(full.status, 2);
    EXPECT_EQ(full.err, "error: cannot write standard output\n");

    // The program itself says nothing on standard error but its warning,
    // and still succeeds.
    std::string many = "<dicegroup>";
    for (int i = 0; i < 11; ++i)
        many += "<t>1000d6</t>";
    const std::string path = Write("many.rlp", many + "</dicegroup>");
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("XDG_RUNTIME_DIR");
    environment.remove("QT_QPA_PLATFORM");
    cli.setProcessEnvironment(environment);
    cli.start(QCoreApplication::applicationDirPath() + "/rollpouch-cli",
              {"convert", QString::fromStdString(path)});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_EQ(cli.readAllStandardError().toStdString(),
              "warning: " + path + ": " + kDiceLeftOutText + "\n");
    EXPECT_TRUE(cli.readAllStandardOutput().startsWith("<dicegroups>"));
}

} // namespace
} // namespace rp::cli
