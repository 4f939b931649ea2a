#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

namespace rp {

// Command ids of the three Options toggles.
enum OptionsCommand { kCmdPlaySound = 37001, kCmdDelayRoll = 32904, kCmdOpenLast = 37002 };

// One tray open at exit, for the list reopened at the next start.
struct OpenFileEntry {
    QString path;
    bool active = false;
};

// The open file list as stored: paths in order and the active one's index.
struct OpenFileList {
    QStringList paths;
    int currentIndex = 0;
};

// The persistent settings of Rollpouch, each with its default. Missing or
// unreadable values read as defaults; failing writes are ignored.
class CSettings {
public:
    CSettings();
    ~CSettings();

    static constexpr int kDefaultDelayRoll = 500;
    // Window show states as stored.
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMinimized = 2;
    static constexpr int kShowMaximized = 3;
    // Reading the open file list never goes past this many entries.
    static constexpr int kMaxOpenFiles = 1000;

    QString GetDieColor() const;
    void SetDieColor(const QString& name);
    bool GetPlaySound() const;
    void SetPlaySound(bool on);
    int GetDelayRoll() const;
    void SetDelayRoll(int milliseconds);
    bool GetOpenLast() const;
    void SetOpenLast(bool on);

    // The main window's restored rectangle; each missing value from `fallback`.
    QRect GetWindowRect(const QRect& fallback) const;
    void SetWindowRect(const QRect& rect);
    int GetShowState(int fallback) const;
    void SetShowState(int state);
    int GetChildWindowsMaximized() const;
    void SetChildWindowsMaximized(int state);
    // The main window's bars and docks as QMainWindow::saveState gives
    // them; empty when never stored.
    QByteArray GetBarState() const;
    void SetBarState(const QByteArray& state);

    // The Options toggles: carry one out, or tell whether its item is checked.
    void ToggleOption(OptionsCommand command);
    bool IsOptionChecked(OptionsCommand command) const;

    // Rewrites the open file list from the trays open now (those without a
    // path are left out), or removes it.
    void SaveOpenFileList(const QList<OpenFileEntry>& trays);
    void ClearOpenFileList();
    OpenFileList ReadOpenFileList() const;

private:
    std::unique_ptr<QSettings> store;
};

// The show state stored for a window in these states.
int ShowStateOf(Qt::WindowStates states);

// Reads an integer setting; a missing or malformed value gives `fallback`.
int ReadIntSetting(const QSettings& store, const QString& key, int fallback);

} // namespace rp
