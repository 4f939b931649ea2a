#pragma once

#include <QStringList>

namespace rp {

// The recent-file list: at most four paths, newest first, kept in the
// settings group "Recent File List" as "File1".."File4".
class CRecentFileList {
public:
    static constexpr int kSize = 4;

    CRecentFileList();
    // Puts `path` first, dropping an older entry of the same path and the oldest past four.
    void Add(const QString& path);
    const QStringList& Paths() const { return paths; }

private:
    void Write() const;
    QStringList paths;
};

} // namespace rp
