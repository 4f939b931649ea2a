#pragma once

#include "dice_app.h"

namespace rp {

// The MiniRollpouch program: runs its quick-roll dialog until it closes.
class CMiniRollpouchApp : public CDiceApp {
    Q_OBJECT
public:
    CMiniRollpouchApp(int& argc, char** argv);
    int Run();
};

} // namespace rp
