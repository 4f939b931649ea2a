#include "settings.h"

#include "dice_app.h"
#include "window_placement.h"

#include <QSettings>

namespace rp {

namespace {
const QString kDieColor = QStringLiteral("Settings/DieColor");
const QString kPlaySound = QStringLiteral("Settings/PlaySound");
const QString kDelayRoll = QStringLiteral("Settings/DelayRoll");
const QString kOpenLast = QStringLiteral("Settings/OpenLast");
const QString kOpenFileList = QStringLiteral("Settings/OpenFileList");
const QString kWindowGroup = QStringLiteral("WindowPos");
const QString kWindowPos = kWindowGroup + QLatin1Char('/');
const QString kBarState = QStringLiteral("BarState");
} // namespace

int ReadIntSetting(const QSettings& store, const QString& key, int fallback) {
    const QVariant value = store.value(key);
    if (!value.isValid())
        return fallback;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : fallback;
}

int ShowStateOf(Qt::WindowStates states) {
    if (states & Qt::WindowMinimized)
        return CSettings::kShowMinimized;
    return states & Qt::WindowMaximized ? CSettings::kShowMaximized : CSettings::kShowNormal;
}

CSettings::CSettings()
    : store(std::make_unique<QSettings>(QString::fromLatin1(CDiceApp::kOrganization),
                                        QStringLiteral("Clattermat"))) {}

CSettings::~CSettings() = default;

QString CSettings::GetDieColor() const {
    const QString name = store->value(kDieColor).toString();
    return name.isEmpty() ? QStringLiteral("Light Gray") : name;
}

void CSettings::SetDieColor(const QString& name) {
    store->setValue(kDieColor, name);
}

bool CSettings::GetPlaySound() const {
    return ReadIntSetting(*store, kPlaySound, 1) != 0;
}

void CSettings::SetPlaySound(bool on) {
    store->setValue(kPlaySound, on ? 1 : 0);
}

int CSettings::GetDelayRoll() const {
    return ReadIntSetting(*store, kDelayRoll, kDefaultDelayRoll);
}

void CSettings::SetDelayRoll(int milliseconds) {
    store->setValue(kDelayRoll, milliseconds);
}

bool CSettings::GetOpenLast() const {
    return ReadIntSetting(*store, kOpenLast, 0) != 0;
}

void CSettings::SetOpenLast(bool on) {
    store->setValue(kOpenLast, on ? 1 : 0);
}

QRect CSettings::GetWindowRect(const QRect& fallback) const {
    return ReadWindowRect(*store, kWindowGroup, fallback);
}

void CSettings::SetWindowRect(const QRect& rect) {
    WriteWindowRect(*store, kWindowGroup, rect);
}

int CSettings::GetShowState(int fallback) const {
    return ReadIntSetting(*store, kWindowPos + "ShowState", fallback);
}

void CSettings::SetShowState(int state) {
    store->setValue(kWindowPos + "ShowState", state);
}

int CSettings::GetChildWindowsMaximized() const {
    return ReadIntSetting(*store, kWindowPos + "ChildWindowsMaximized", kShowMaximized);
}

void CSettings::SetChildWindowsMaximized(int state) {
    store->setValue(kWindowPos + "ChildWindowsMaximized", state);
}

QByteArray CSettings::GetBarState() const {
    return store->value(kBarState).toByteArray();
}

void CSettings::SetBarState(const QByteArray& state) {
    store->setValue(kBarState, state);
}

void CSettings::ToggleOption(OptionsCommand command) {
    switch (command) {
    case kCmdPlaySound:
        SetPlaySound(!GetPlaySound());
        break;
    case kCmdDelayRoll:
        SetDelayRoll(GetDelayRoll() == 0 ? kDefaultDelayRoll : 0);
        break;
    case kCmdOpenLast:
        SetOpenLast(!GetOpenLast());
        break;
    }
}

bool CSettings::IsOptionChecked(OptionsCommand command) const {
    switch (command) {
    case kCmdPlaySound:
        return GetPlaySound();
    case kCmdDelayRoll:
        return GetDelayRoll() != 0;
    case kCmdOpenLast:
        return GetOpenLast();
    }
    return false;
}

void CSettings::SaveOpenFileList(const QList<OpenFileEntry>& trays) {
    ClearOpenFileList();
    store->beginGroup(kOpenFileList);
    int written = 0;
    int activeIndex = 0;
    for (const OpenFileEntry& tray : trays) {
        if (tray.path.isEmpty())
            continue;
        if (tray.active)
            activeIndex = written;
        store->setValue(QStringLiteral("File%1").arg(written), tray.path);
        ++written;
    }
    store->setValue(QStringLiteral("FileCount"), written);
    store->setValue(QStringLiteral("CurrFileIndex"), activeIndex);
    store->endGroup();
}

void CSettings::ClearOpenFileList() {
    store->remove(kOpenFileList);
}

OpenFileList CSettings::ReadOpenFileList() const {
    OpenFileList list;
    const QString prefix = kOpenFileList + '/';
    list.currentIndex = ReadIntSetting(*store, prefix + "CurrFileIndex", 0);
    // A damaged count must not make us loop: stop at the first missing entry
    // and never read more than kMaxOpenFiles.
    const auto count = static_cast<unsigned>(ReadIntSetting(*store, prefix + "FileCount", 0));
    for (unsigned i = 0; i < count && i < kMaxOpenFiles; ++i) {
        const QVariant path = store->value(prefix + QStringLiteral("File%1").arg(i));
        if (!path.isValid())
            break;
        list.paths.append(path.toString());
    }
    return list;
}

} // namespace rp
