// Runs a GUI test suite inside a CDiceApp.
#include "gui_test_main.h"

#include "dice_app.h"

int main(int argc, char** argv) {
    return rp::test::RunGuiTests(argc, argv, [](int& count, char** arguments) {
        return std::make_unique<rp::CDiceApp>(count, arguments, QStringLiteral("RollpouchTests"));
    });
}
