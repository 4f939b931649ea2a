#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace rp {

// Rollpouch's command line: every switch by name with "TRUE" or the
// parameter that followed it, and the files to open. Only "-" introduces a
// switch ("-nologo", or "--nologo"), so "/home/ann/tray.rlp" is a file;
// after a bare "--" every argument is a file. Names are case-sensitive.
class CCommandLineInfoEx {
public:
    // Reads the arguments that follow the program's name, in order.
    void ParseCommandLine(const QStringList& arguments);
    // One argument: a switch (its name without the dashes) or a parameter.
    // A parameter answers the switch waiting for a value and is a file too.
    void ParseParam(const QString& param, bool isSwitch);

    bool HasOption(const QString& name) const { return options.contains(name); }
    // False when "nologo" was given. A start that only hands its files to a
    // running instance shows no splash either: that is decided before.
    bool ShowSplash() const { return !HasOption(QStringLiteral("nologo")); }

    QMap<QString, QString> options;
    QString lastSwitch;
    QStringList files;
};

} // namespace rp
