#include "command_line_info_ex.h"

namespace rp {

void CCommandLineInfoEx::ParseCommandLine(const QStringList& arguments) {
    bool switchesEnded = false;
    for (const QString& argument : arguments) {
        if (!switchesEnded && argument == QLatin1String("--")) {
            switchesEnded = true;
            continue;
        }
        // A lone "-" is a name, not an empty switch.
        if (!switchesEnded && argument.size() > 1 && argument.startsWith(u'-')) {
            const int dashes = argument.startsWith(QLatin1String("--")) ? 2 : 1;
            ParseParam(argument.mid(dashes), true);
        } else {
            ParseParam(argument, false);
        }
    }
}

void CCommandLineInfoEx::ParseParam(const QString& param, bool isSwitch) {
    if (isSwitch) {
        options.insert(param, QStringLiteral("TRUE"));
        lastSwitch = param;
        return;
    }
    if (!lastSwitch.isEmpty()) {
        options.insert(lastSwitch, param);
        lastSwitch.clear();
    }
    files.append(param);
}

} // namespace rp
