#include "file_bytes.h"

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace rp {

ReadStatus ReadFileBytes(const std::string& path, std::string& out, std::size_t maxBytes) {
    out.clear();
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return ReadStatus::CannotRead;
    if (!S_ISREG(info.st_mode))
        return ReadStatus::NotRegularFile;
    // Without blocking, in case the path became a pipe since: then it is
    // refused below instead of waiting for a writer.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return ReadStatus::CannotRead;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fdopen(descriptor, "rb"), &std::fclose);
    if (!file) {
        close(descriptor);
        return ReadStatus::CannotRead;
    }
    if (fstat(descriptor, &info) != 0)
        return ReadStatus::CannotRead;
    if (!S_ISREG(info.st_mode))
        return ReadStatus::NotRegularFile;
    if (static_cast<std::size_t>(info.st_size) > maxBytes)
        return ReadStatus::TooLarge;
    // Read in chunks rather than trusting the size: the file may change under us.
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (out.size() + got > maxBytes) {
            out.clear();
            return ReadStatus::TooLarge;
        }
        out.append(chunk, got);
    }
    if (std::ferror(file.get())) {
        out.clear();
        return ReadStatus::CannotRead;
    }
    return ReadStatus::Ok;
}

} // namespace rp
