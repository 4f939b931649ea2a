#pragma once

class QWidget;

namespace rp {

class CRollLog;
class CSettings;
class ICommandTarget;
class ITrayHost;

// What the shell's windows need of the program, as a tray reaches its
// application through ITrayHost: the settings, the roll log, what trays are
// edited with (sounds, die colour, roll delay, the clock), which view is
// active, and the last stop of the command route. CRollpouchApp implements
// it; tests of a view alone give a small fake.
class IShellHost {
public:
    virtual ~IShellHost() = default;
    virtual CSettings& Settings() = 0;
    virtual CRollLog& RollLog() = 0;
    // The host of every tray the windows make.
    virtual ITrayHost& TrayHost() = 0;
    // A tray view took the focus: `surface` is what is repainted while its
    // dice roll.
    virtual void SetActiveView(QWidget* surface) = 0;
    // Where a command goes that no window handles.
    virtual ICommandTarget& LastCommandTarget() = 0;

protected:
    IShellHost() = default;
    IShellHost(const IShellHost&) = default;
    IShellHost& operator=(const IShellHost&) = default;
};

} // namespace rp
