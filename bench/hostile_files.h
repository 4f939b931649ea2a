#pragma once

// The largest hostile trays a read must survive, and the peak memory a read
// takes, for the engine and document benchmarks.
#include "file_bytes.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <string>

namespace rp::bench {

enum class HostileKind {
    NotationChildren, // one group of <t>1000d6</t> children
    NotationGroups,   // groups of one such child each
    SlashLine,        // one line "Line: 1d6/1d6/..."
    TitledSlashLine,  // one line whose title takes most of it, then "1d6/..."
    LineOfD,          // one line of "d"
    ModifierPieces,   // one die whose modifier is "1;1;1;..."
};

// 64 MiB (less a little) of the given kind.
inline std::string HostileText(HostileKind kind) {
    const std::size_t size = kMaxTrayFileBytes - 64;
    std::string text;
    text.reserve(size);
    const auto fill = [&](const std::string& head, const std::string& unit,
                          const std::string& tail) {
        text = head;
        while (text.size() + unit.size() + tail.size() <= size)
            text += unit;
        text += tail;
    };
    switch (kind) {
    case HostileKind::NotationChildren:
        fill("<dicegroups><dicegroup title=\"Many\">", "<t>1000d6</t>",
             "</dicegroup></dicegroups>");
        break;
    case HostileKind::NotationGroups:
        fill("<dicegroups>", "<dicegroup><t>1000d6</t></dicegroup>", "</dicegroups>");
        break;
    case HostileKind::SlashLine:
        fill("Line: ", "1d6/", "1d6");
        break;
    case HostileKind::TitledSlashLine:
        text.assign(size - 4 * 200000, 'T');
        text += ':';
        while (text.size() + 4 <= size)
            text += "1d6/";
        break;
    case HostileKind::LineOfD:
        text.assign(size, 'd');
        break;
    case HostileKind::ModifierPieces:
        fill("<dicegroups><dicegroup title=\"T\"><die sideCount=\"6\" modifier=\"", "1;",
             "1\"/></dicegroup></dicegroups>");
        break;
    }
    return text;
}

// Writes the text to a file and returns its path.
inline std::string WriteHostileFile(HostileKind kind, const std::string& folder) {
    const std::string path = folder + "/hostile" + std::to_string(static_cast<int>(kind)) + ".rlp";
    std::ofstream(path, std::ios::binary) << HostileText(kind);
    return path;
}

// A line of the process's status ("VmHWM", "VmRSS"), in MiB.
inline double StatusMiB(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    const std::string format = std::string(field) + ": %lf kB";
    char line[256];
    double kib = 0;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, format.c_str(), &kib) == 1)
            break;
    std::fclose(status);
    return kib / 1024;
}

// Runs `read` once per iteration and reports the resident memory before it
// and the peak while it ran, in MiB (the heap's free memory handed back first).
template <class Read> void MeasureRead(benchmark::State& state, Read read) {
    double peak = 0, before = 0;
    for (auto _ : state) {
        malloc_trim(0);
        if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", refs); // the peak starts again from here
            std::fclose(refs);
        }
        before = StatusMiB("VmRSS");
        read();
        peak = std::max(peak, StatusMiB("VmHWM"));
    }
    state.counters["peak_MiB"] = peak;
    state.counters["before_MiB"] = before;
}

} // namespace rp::bench
