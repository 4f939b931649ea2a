#pragma once

#include "commands.h"
#include "fake_host.h"
#include "roll_log.h"
#include "settings.h"
#include "shell_host.h"
#include "table_view.h"

#include <QPointer>
#include <QWidget>

namespace rp::test {

// A shell host for windows tested without the program around them: the
// settings store, a roll log of its own, itself as the trays' recording
// host, and no command beyond the windows' own. As in the program, the
// surface of the last focused view is repainted when a roll asks, and a
// tray is arranged in the width of its first view.
class FakeShellHost : public FakeHost, public IShellHost, public ICommandTarget {
public:
    CSettings& Settings() override { return settings; }
    CRollLog& RollLog() override { return rollLog; }
    ITrayHost& TrayHost() override { return *this; }
    void SetActiveView(QWidget* surface) override { activeSurface = surface; }
    ICommandTarget& LastCommandTarget() override { return *this; }
    bool UpdateCommand(int, CCmdUI&) override { return false; }
    bool OnCommand(int) override { return false; }
    void RepaintActiveView() override {
        if (activeSurface)
            activeSurface->repaint();
        FakeHost::RepaintActiveView();
    }
    int GetViewClientWidth(const CTableDoc& document) const override {
        const CTableView* view = CTableView::FirstViewOf(document);
        return view ? view->viewport()->width() : viewWidth;
    }

    CSettings settings;
    CRollLog rollLog;
    QPointer<QWidget> activeSurface;
};

} // namespace rp::test
