#pragma once

#include <cstdio>

namespace rp::cli {

// Runs one command line; returns the exit status (0 ok, 1 a text not
// understood, 2 a usage error, an unreadable file or output that could not
// be written).
int Run(int argc, char** argv, std::FILE* out = stdout, std::FILE* err = stderr);

} // namespace rp::cli
