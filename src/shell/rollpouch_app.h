#pragma once

#include "commands.h"
#include "dice_app.h"
#include "settings.h"
#include "tray_host.h"

#include <QPointer>

namespace rp {

class CTableView;

// The Rollpouch program. It is every tray's host: roll sounds while
// "PlaySound" is on, the die colour and roll delay from the settings, the
// active view repainted during a roll, and the width of a tray's first view.
// The last stop of the command route: it shows the about box.
class CRollpouchApp : public CDiceApp, public ITrayHost, public ICommandTarget {
    Q_OBJECT
public:
    // The width a tray is arranged in while it has no view.
    static constexpr int kDefaultViewWidth = 1000;

    CRollpouchApp(int& argc, char** argv);
    ~CRollpouchApp() override;

    // The running application, or null when it is not Rollpouch.
    static CRollpouchApp* Instance();

    // Shows the main window with the trays named on the command line (a new
    // empty tray when none is named) and runs until it closes.
    int Run();

    void PlayRollSound(int diceCount) override;
    QString GetDieColor() const override;
    int GetRollDelay() const override;
    void RepaintActiveView() override;
    int GetViewClientWidth(const CTableDoc& document) const override;

    // The view that last had the focus, while it lives.
    CTableView* GetActiveView() const;
    void SetActiveView(CTableView* view);
    CSettings& Settings() { return settings; }
    const CSettings& Settings() const { return settings; }

    bool UpdateCommand(int id, CCmdUI& ui) override;
    bool OnCommand(int id) override;

private:
    CSettings settings;
    QPointer<CTableView> activeView;
};

} // namespace rp
