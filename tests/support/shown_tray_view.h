#pragma once

#include "dice_group_painter.h"
#include "fake_shell_host.h"
#include "gui_test_main.h"
#include "sample_trays.h"
#include "table_doc.h"
#include "table_view.h"

#include <gtest/gtest.h>

namespace rp::test {

// A shown, active 640 x 480 view of the small tray: Attack (a d20 at 40, 60)
// in front, Damage (two d6 at 150, 60 and 220, 60, ignoring the lowest,
// modifier 0, multiplier 1/2), then the text "Round 1". A fake shell host,
// of type `Host`, hosts both; dice roll without the delay.
template <typename Base = ::testing::Test, typename Host = FakeShellHost>
class ShownTrayView : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        doc.GetCurrentState().ReadTrayXml(kSmallTray, false, true);
        doc.UpdateAllViews();
        view.resize(640, 480);
        ASSERT_TRUE(ShowActive(view));
    }
    CDocState& State() { return doc.GetCurrentState(); }
    CDocEntity& Entity(int i) { return *State().Entities()[static_cast<std::size_t>(i)]; }
    CDiceGroupPainter& Group(int i) { return dynamic_cast<CDiceGroupPainter&>(Entity(i)); }

    Host host;
    CTableDoc doc{&host};
    CTableView view{&doc, host};
};

} // namespace rp::test
