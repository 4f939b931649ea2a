// MiniRollpouch: opens a tray file and rolls its dice groups from a list.
#include "mini_rollpouch_app.h"

int main(int argc, char** argv) {
    rp::CMiniRollpouchApp app(argc, argv);
    return app.Run();
}
