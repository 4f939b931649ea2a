#pragma once

#include "mini_clattermat.h"

#include <QByteArray>
#include <QIcon>

class QAction;

namespace rp {

// What the editor's mini tray reads from the tray it belongs to.
class IMiniTraySource {
public:
    virtual ~IMiniTraySource() = default;
    // Every entity of the tray as XML, with the dice's results; what its
    // editors hold is committed first.
    virtual QByteArray GetTrayXml() = 0;
    // The tray's title as its window shows it, modified mark included.
    virtual QString GetTrayTitle() const = 0;
    // The tray's name without the mark, for the roll log.
    virtual QString GetTrayName() const = 0;
};

// The mini tray of a tray view: a modeless quick-roll window filled from
// the tray, with a toolbar to refill it and to roll. It rolls its own
// copies of the groups, so the tray never changes from it. Closing it (or
// Escape) only hides it.
class CMiniClattermatDlg : public CMiniClattermat {
    Q_OBJECT
public:
    static constexpr int kUpdateContents = 36501;
    static constexpr int kRollSelected = 36502;

    // The toolbar's pictures come from the caller, which keeps them.
    CMiniClattermatDlg(IMiniTraySource& source, const QIcon& updateIcon, const QIcon& rollIcon);

    // Refills the list from the tray and names the window after it.
    void UpdateFromDocument();
    void EnableRollCommand(bool enable) override;

    QAction* UpdateAction() const { return updateAction; }
    QAction* RollAction() const { return rollAction; }

private:
    IMiniTraySource& source;
    QString resourceCaption;
    QAction* updateAction;
    QAction* rollAction;
};

} // namespace rp
