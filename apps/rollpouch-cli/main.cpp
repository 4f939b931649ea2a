// rollpouch-cli: the dice engine from a terminal.
#include "cli.h"

int main(int argc, char** argv) {
    return rp::cli::Run(argc, argv);
}
