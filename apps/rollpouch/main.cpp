// Rollpouch: lays out dice on trays, rolls them, and keeps the trays in files.
#include "rollpouch_app.h"

int main(int argc, char** argv) {
    rp::CRollpouchApp app(argc, argv);
    return app.Run();
}
