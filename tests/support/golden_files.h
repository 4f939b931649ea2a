#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace rp::test {

// Golden files hold what the program produced when they were written: a
// test compares against them exactly. Run a suite with
// ROLLPOUCH_UPDATE_GOLDEN=1 to write them afresh instead, then look at
// the difference before committing it.
inline bool UpdatingGoldenFiles() {
    const char* update = std::getenv("ROLLPOUCH_UPDATE_GOLDEN");
    return update && std::string(update) == "1";
}

// The text of a file; empty when it cannot be read.
inline std::string ReadTextFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteTextFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace rp::test
