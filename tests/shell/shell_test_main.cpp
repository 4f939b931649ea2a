// Runs the shell's suites inside Rollpouch's own application.
#include "gui_test_main.h"
#include "rollpouch_app.h"

int main(int argc, char** argv) {
    return rp::test::RunGuiTests(argc, argv, [](int& count, char** arguments) {
        return std::make_unique<rp::CRollpouchApp>(count, arguments);
    });
}
