#include "table_doc.h"

#include "file_bytes.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace rp {

namespace {
const QString kMark = QStringLiteral(" *");
constexpr int kDefaultViewWidth = 1000;
} // namespace

CTableDoc::CTableDoc(ITrayHost* host, QObject* parent) : QObject(parent), host(host) {
    ResetContents();
}

CTableDoc::~CTableDoc() = default;

void CTableDoc::ResetContents() {
    states.clear();
    states.push_back(std::make_unique<CDocState>(host));
    current = 0;
    savedId = states.front()->Id();
    RefreshTitle();
    emit contentsChanged();
}

bool CTableDoc::Open(const QString& path, QString* error, QString* warning) {
    std::string bytes;
    const ReadStatus status = ReadFileBytes(QFile::encodeName(path).toStdString(), bytes);
    if (status != ReadStatus::Ok) {
        if (error)
            *error = status == ReadStatus::TooLarge         ? tr("The file is larger than 64 MiB.")
                     : status == ReadStatus::NotRegularFile ? tr("It is not a regular file.")
                                                            : tr("The file could not be read.");
        return false;
    }
    ResetContents();
    CDocState& state = GetCurrentState();
    const bool complete = state.ReadTrayXml(bytes, false, true);
    if (warning)
        *warning = complete ? QString() : QString::fromLatin1(kDiceLeftOutText);
    const CRect extent = state.GetExtent();
    if (extent.left < 0 || extent.top < 0)
        state.ArrangeInRows(host ? host->GetViewClientWidth(*this) : kDefaultViewWidth);
    savedId = state.Id();
    pathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    emit contentsChanged();
    return true;
}

bool CTableDoc::Save(const QString& path, QString* error) {
    const QByteArray text = GetCurrentState().WriteTrayXml(true, false, true);
    // Written to a temporary file beside the old one, which is replaced only
    // when everything is on disk.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    savedId = GetCurrentState().Id();
    pathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    return true;
}

bool CTableDoc::IsModified() const {
    return GetCurrentState().Id() != savedId;
}

void CTableDoc::SetTitle(const QString& newTitle) {
    QString marked = newTitle;
    if (IsModified() && !marked.endsWith(kMark))
        marked += kMark;
    else if (!IsModified() && marked.endsWith(kMark))
        marked.chop(kMark.size());
    if (marked == title)
        return;
    title = marked;
    emit titleChanged(title);
}

QString CTableDoc::GetSaveChangesName() const {
    return title.endsWith(kMark) ? title.chopped(kMark.size()) : title;
}

void CTableDoc::RefreshTitle() {
    SetTitle(title);
}

CDocState& CTableDoc::PushState() {
    states.erase(states.begin() + static_cast<std::ptrdiff_t>(current) + 1, states.end());
    states.push_back(std::make_unique<CDocState>(GetCurrentState()));
    current = states.size() - 1;
    RefreshTitle();
    return GetCurrentState();
}

void CTableDoc::EndEdit() {
    if (current > 0 && GetCurrentState().GetLabel().isEmpty()) {
        states.erase(states.begin() + static_cast<std::ptrdiff_t>(current));
        --current;
        RefreshTitle();
        return;
    }
    emit contentsChanged();
}

void CTableDoc::DropUnlabelledStates() {
    // An edit that changed nothing left its state unlabelled; the first
    // state (the tray as opened) always stays.
    for (std::size_t i = 1; i < states.size();) {
        if (!states[i]->GetLabel().isEmpty()) {
            ++i;
            continue;
        }
        states.erase(states.begin() + static_cast<std::ptrdiff_t>(i));
        if (current >= i)
            --current;
    }
}

void CTableDoc::Undo(int steps) {
    DropUnlabelledStates();
    if (steps > 0) {
        current = current > static_cast<std::size_t>(steps)
                      ? current - static_cast<std::size_t>(steps)
                      : 0;
        emit contentsChanged();
    }
    RefreshTitle();
}

void CTableDoc::Redo(int steps) {
    DropUnlabelledStates();
    if (steps > 0) {
        current = std::min(current + static_cast<std::size_t>(steps), states.size() - 1);
        emit contentsChanged();
    }
    RefreshTitle();
}

QStringList CTableDoc::GetUndoLabels() const {
    QStringList labels;
    for (std::size_t i = current; i > 0 && labels.size() < kMaxLabels; --i)
        if (!states[i]->GetLabel().isEmpty())
            labels.append(states[i]->GetLabel());
    return labels;
}

QStringList CTableDoc::GetRedoLabels() const {
    QStringList labels;
    for (std::size_t i = current + 1; i < states.size() && labels.size() < kMaxLabels; ++i)
        if (!states[i]->GetLabel().isEmpty())
            labels.append(states[i]->GetLabel());
    return labels;
}

} // namespace rp
