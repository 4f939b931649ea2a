#include "cli.h"

#include "cli_odds.h"
#include "dice_group.h"
#include "doc_state.h"
#include "file_bytes.h"
#include "group_rules.h"
#include "int_text.h"
#include "mini_list.h"
#include "random_source.h"
#include "roll_text.h"
#include "strokes.h"
#include "text_metrics.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace rp::cli {

namespace {

constexpr const char* kUsage =
    "usage: rollpouch-cli describe [RULES] TEXT...\n"
    "       rollpouch-cli roll [--seed N] [RULES] TEXT...\n"
    "       rollpouch-cli odds [RULES] [--csv] TEXT...\n"
    "       rollpouch-cli list [--seed N] [--roll] FILE\n"
    "       rollpouch-cli convert [--seed N] FILE\n"
    "       rollpouch-cli render [--seed N] [--scale N] FILE OUT.png\n"
    "\n"
    "  describe   print each dice-notation TEXT in normal form\n"
    "  roll       roll each TEXT: DESCRIPTION: FACES = TOTAL\n"
    "  odds       each TEXT's totals with their exact chances in %:\n"
    "             TOTAL, EXACTLY, AT LEAST;\n"
    "             --csv prints only a table: Total,Exactly %,At least %,At most %\n"
    "  list       list the dice groups of a tray file by label, sorted;\n"
    "             with --roll, roll them all first and show the results\n"
    "  convert    read a tray file (or lines of dice notation) and print it\n"
    "             as Rollpouch saves it\n"
    "  render     paint a tray file into a PNG picture\n"
    "  --seed N   seed the generator with N (0 <= N < 4294967296)\n"
    "  --scale N  render at N device pixels per tray unit (1 or 2; default 1)\n"
    "\n"
    "RULES, for every TEXT of describe, roll and odds:\n"
    "  --ignore N          leave out the N lowest dice\n"
    "  --ignore-highest N  then leave out the N highest dice (0 <= N <= 10000)\n"
    "  --reroll-below N    roll a die showing less than N once more\n"
    "  --explode           a die showing its side count rolls again and adds\n"
    "  --count N           the total is the number of kept dice showing N or more\n";

struct Options {
    bool seeded = false;
    std::uint32_t seed = 0;
    bool roll = false;
    int scale = 1;
    SGroupRules rules;
    bool csv = false;
    std::vector<std::string> args;
};

// The options a command takes.
struct Allowed {
    bool seed = false, roll = false, scale = false, rules = false, csv = false;
};

// The most dice a group takes from notation, so the most worth leaving out.
constexpr int kMaxGroupDice = 10000;

// Where a rule option taking a number stores it; null for other arguments.
int* RuleValue(std::string_view arg, SGroupRules& rules) {
    if (arg == "--ignore")
        return &rules.ignoreLowest;
    if (arg == "--ignore-highest")
        return &rules.ignoreHighest;
    if (arg == "--reroll-below")
        return &rules.rerollBelow;
    if (arg == "--count")
        return &rules.countAtLeast;
    return nullptr;
}

// Reads the texts and options after the command; false on a missing or bad
// value, or an option the command does not take.
bool ParseOptions(int argc, char** argv, Allowed allowed, Options& options) {
    bool optionsDone = false;
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const std::string_view value = i + 1 < argc ? argv[i + 1] : "";
        if (optionsDone || !arg.starts_with("--")) {
            options.args.emplace_back(arg);
        } else if (arg == "--") {
            optionsDone = true;
        } else if (arg == "--roll" && allowed.roll) {
            options.roll = true;
        } else if (arg == "--csv" && allowed.csv) {
            options.csv = true;
        } else if (arg == "--seed" && allowed.seed) {
            const auto seed = ParseInteger(value, 0, std::numeric_limits<std::uint32_t>::max());
            if (!seed)
                return false;
            options.seeded = true;
            options.seed = static_cast<std::uint32_t>(*seed);
            ++i;
        } else if (arg == "--explode" && allowed.rules) {
            options.rules.explode = true;
        } else if (int* const target = allowed.rules ? RuleValue(arg, options.rules) : nullptr) {
            // Any int stays legal for --ignore, as it always was; the rules
            // added with it take no negatives.
            constexpr int kMaxInt = std::numeric_limits<int>::max();
            const bool lowest = target == &options.rules.ignoreLowest;
            const auto number =
                ParseInteger(value, lowest ? std::numeric_limits<int>::min() : 0,
                             target == &options.rules.ignoreHighest ? kMaxGroupDice : kMaxInt);
            if (!number)
                return false;
            *target = static_cast<int>(*number);
            ++i;
        } else if (arg == "--scale" && allowed.scale) {
            if (value != "1" && value != "2")
                return false;
            options.scale = value[0] - '0';
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

void PrintResult(std::FILE* out, std::string_view label, const CDiceGroup& group) {
    std::fprintf(out, "%s\n", RollLineText(label, group).c_str());
}

int DescribeOrRoll(const Options& options, bool roll, std::FILE* out, std::FILE* err) {
    int status = 0;
    for (const std::string& text : options.args) {
        CDiceGroup group;
        if (!ReadRuledGroup(text, options.rules, group, err)) {
            status = 1;
            continue;
        }
        if (roll) {
            group.Roll();
            PrintResult(out, group.GetDescription(), group);
        } else {
            std::fprintf(out, "%s\n", group.GetDescription().c_str());
        }
    }
    return status;
}

void WarnDiceLeftOut(const std::string& path, std::FILE* err) {
    std::fprintf(err, "warning: %s: %s\n", path.c_str(), kDiceLeftOutText);
}

int List(const Options& options, std::FILE* out, std::FILE* err) {
    const std::string& path = options.args.front();
    std::string bytes;
    if (ReadFileBytes(path, bytes) != ReadStatus::Ok) {
        std::fprintf(err, "error: cannot read %s\n", path.c_str());
        return 2;
    }
    bool leftOut = false;
    MiniGroups groups = ReadMiniGroupsFromText(bytes, &leftOut);
    if (leftOut)
        WarnDiceLeftOut(path, err);
    struct Entry {
        std::string label;
        const CDiceGroup* group;
    };
    std::vector<Entry> entries;
    for (const auto& group : groups) {
        if (!group)
            continue;
        if (options.roll)
            group->Roll();
        entries.push_back(Entry{GetGroupLabel(*group), group.get()});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return MiniLabelLess(a.label, b.label);
    });
    for (const Entry& e : entries) {
        if (options.roll)
            PrintResult(out, e.label, *e.group);
        else
            std::fprintf(out, "%s\n", e.label.c_str());
    }
    return 0;
}

// Reads a tray as Rollpouch opens it: the tray XML (or notation lines),
// arranged in rows within 1,000 units when it reaches negative coordinates.
bool ReadTray(const std::string& path, CDocState& state, std::FILE* err) {
    std::string bytes;
    if (ReadFileBytes(path, bytes) != ReadStatus::Ok) {
        std::fprintf(err, "error: cannot read %s\n", path.c_str());
        return false;
    }
    if (!state.ReadTrayXml(bytes, false, true))
        WarnDiceLeftOut(path, err);
    const CRect extent = state.GetExtent();
    if (extent.left < 0 || extent.top < 0)
        state.ArrangeInRows(1000);
    return true;
}

int Convert(const Options& options, std::FILE* out, std::FILE* err) {
    CDocState state;
    if (!ReadTray(options.args[0], state, err))
        return 2;
    const QByteArray text = state.WriteTrayXml(true, false, true);
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), out);
    return 0;
}

int Render(const Options& options, std::FILE* err) {
    CDocState state;
    if (!ReadTray(options.args[0], state, err))
        return 2;
    constexpr int kMargin = 10, kMaxSide = 16384;
    const CRect area = state.GetExtent().Inflate(kMargin);
    const std::string& png = options.args[1];
    const int scale = options.scale;
    if (area.Width() > kMaxSide / scale || area.Height() > kMaxSide / scale) {
        std::fprintf(err, "error: the tray is too large to render (%i x %i)\n", area.Width(),
                     area.Height());
        return 2;
    }
    const QColor background = state.GetBackgroundValue() == kWhite
                                  ? QColor(Qt::white)
                                  : ToQColor(state.GetBackgroundValue());
    // Painted in tray units: the device pixel ratio scales it all.
    QImage image(area.Width() * scale, area.Height() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(background);
    QPainter dc(&image);
    dc.translate(-area.left, -area.top);
    dc.setFont(TrayFont());
    dc.setPen(TrayPen(ContrastColor(background)));
    dc.setBackground(background);
    dc.setBackgroundMode(Qt::OpaqueMode);
    state.DrawAll(dc);
    dc.end();
    if (!image.save(QString::fromLocal8Bit(png.c_str()), "PNG")) {
        std::fprintf(err, "error: cannot write %s\n", png.c_str());
        return 2;
    }
    return 0;
}

// The framework's own notes (such as where its runtime folder is) are no
// business of the tool's users: its standard error holds only its errors
// and warnings.
void DropFrameworkMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

// Fonts need a GUI application; the offscreen platform serves without a display.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
    if (QCoreApplication::instance())
        return nullptr;
    qInstallMessageHandler(DropFrameworkMessages);
    static int argc = 1;
    static char name[] = "rollpouch-cli";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

int Usage(std::FILE* stream, int status) {
    std::fputs(kUsage, stream);
    return status;
}

int RunCommand(int argc, char** argv, std::FILE* out, std::FILE* err) {
    if (argc < 2)
        return Usage(err, 2);
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i)
        if (std::string_view(argv[i]) == "--help")
            return Usage(out, 0);
    const std::string_view command = argv[1];
    const bool isDescribe = command == "describe", isRoll = command == "roll",
               isOdds = command == "odds", isList = command == "list",
               isConvert = command == "convert", isRender = command == "render";
    if (!isDescribe && !isRoll && !isOdds && !isList && !isConvert && !isRender)
        return Usage(err, 2);
    const Allowed allowed{.seed = !isDescribe && !isOdds,
                          .roll = isList,
                          .scale = isRender,
                          .rules = isDescribe || isRoll || isOdds,
                          .csv = isOdds};
    Options options;
    if (!ParseOptions(argc, argv, allowed, options))
        return Usage(err, 2);
    const std::size_t wanted = isRender ? 2 : 1;
    if (options.args.empty() ||
        ((isList || isConvert || isRender) && options.args.size() != wanted))
        return Usage(err, 2);
    if (options.seeded)
        random_source::Seed(options.seed);

    if (isOdds)
        return Odds(options.args, options.rules, options.csv, out, err);
    if (isList)
        return List(options, out, err);
    if (isConvert || isRender) {
        const auto app = EnsureGuiApplication();
        return isConvert ? Convert(options, out, err) : Render(options, err);
    }
    return DescribeOrRoll(options, isRoll, out, err);
}

} // namespace

int Run(int argc, char** argv, std::FILE* out, std::FILE* err) {
    const int status = RunCommand(argc, argv, out, err);
    // Output is buffered: a failed write may only show when it is flushed.
    if (std::fflush(out) != 0 || std::ferror(out)) {
        std::fputs("error: cannot write standard output\n", err);
        return 2;
    }
    return status;
}

} // namespace rp::cli
