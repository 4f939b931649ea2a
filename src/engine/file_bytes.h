#pragma once

#include <cstddef>
#include <string>

namespace rp {

// NotRegularFile: a folder, a pipe, a device or a socket (links followed).
enum class ReadStatus { Ok, CannotRead, TooLarge, NotRegularFile };

// Tray files are never larger than this; a bigger file is refused unread.
constexpr std::size_t kMaxTrayFileBytes = std::size_t{64} << 20;

// Reads a whole file into `out`. A file over `maxBytes` is not read at all,
// nor is anything but a regular file: opening a pipe would wait for a writer.
ReadStatus ReadFileBytes(const std::string& path, std::string& out,
                         std::size_t maxBytes = kMaxTrayFileBytes);

} // namespace rp
