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
    // Drops `path` (a file that could not be opened again).
    void Remove(const QString& path);
    const QStringList& Paths() const { return paths; }

private:
    void Write() const;
    QStringList paths;
};

// Text shown literally in a menu: an "&" in it is no mnemonic.
QString MenuLiteral(QString text);
// The menu entry of the recent file at `index` (from 0): "&1 /path/file.rlp".
QString RecentFileMenuText(int index, const QString& path);

} // namespace rp
