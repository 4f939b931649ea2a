// The tray view's state, painting and scrolling, and its in-place editors.
#include "table_view.h"

#include "colour.h"
#include "mod_spin_button_ctrl.h"
#include "odds_summary.h"
#include "roll_text.h"
#include "shell_host.h"
#include "strokes.h"
#include "table_doc.h"
#include "text_metrics.h"
#include "title_edit.h"
#include "tray_accessible.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <utility>

namespace rp {

namespace {
// Every live view, oldest first: a tray's first view is the first here that shows it.
std::vector<CTableView*>& LiveViews() {
    static std::vector<CTableView*> views;
    return views;
}
} // namespace

CTableView::CTableView(CTableDoc* document, IShellHost& host, QWidget* parent)
    : QAbstractScrollArea(parent), document(document), host(host) {
    LiveViews().push_back(this);
    // The paint handler fills everything it paints; nothing is erased first.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // A pending die follows the pointer while no button is held.
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    titleEditor = new CTitleEdit(viewport(), *this);
    // Typed titles and texts look as they will on the tray.
    titleEditor->setFont(TrayFont());
    modifierEditor = new CModSpinButtonCtrl(viewport(), *this);
    connect(document, &CTableDoc::contentsChanged, this, [this] {
        FollowSelection();
        UpdateScrollSizes();
        viewport()->update();
        TellAccessibility();
    });
    CTrayAccessible::InstallFactory();
    modifierEditor->setAccessibleName(QStringLiteral("Modifier"));
    UpdateScrollSizes();
}

CTableView::~CTableView() {
    // The editors go first: losing the focus as they go must not reach a
    // view that is partly gone.
    delete titleEditor;
    delete modifierEditor;
    if (accessibleTray)
        accessibleTray->Detach();
    auto& views = LiveViews();
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
}

CTableView* CTableView::FirstViewOf(const CTableDoc& document) {
    for (CTableView* view : LiveViews())
        if (view->document == &document)
            return view;
    return nullptr;
}

void CTableView::CommitEditorsOf(const CTableDoc& document) {
    // A copy: a commit may repaint, never create or destroy views, but stay safe.
    const std::vector<CTableView*> views = LiveViews();
    for (CTableView* view : views)
        if (view->document == &document)
            view->CommitEditors();
}

int CTableView::ViewCountOf(const CTableDoc& document) {
    const auto& views = LiveViews();
    return static_cast<int>(std::count_if(
        views.begin(), views.end(), [&](const CTableView* v) { return v->document == &document; }));
}

QPoint CTableView::ToTray(QPoint viewportPoint) const {
    return viewportPoint + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QPoint CTableView::ToViewport(QPoint trayPoint) const {
    return trayPoint - QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

bool CTableView::InGesture() const {
    return dragAnchor || rubberBandAnchor || pendingDie != 0;
}

void CTableView::SetPendingDie(int sideCount) {
    const bool ended = pendingDie != 0 && sideCount == 0;
    pendingDie = sideCount;
    // A die brought in now is not ended by the menu shown for the last one.
    clearPendingDie = false;
    if (ended)
        viewport()->update();
}

void CTableView::StartTextPlacement() {
    textPlacement = true;
    gestureSelection = SelectedNow();
    viewport()->setCursor(Qt::IBeamCursor);
}

void CTableView::EndTextPlacement() {
    if (!std::exchange(textPlacement, false))
        return;
    viewport()->unsetCursor();
}

void CTableView::EndMouseGesture() {
    if (!dragAnchor && !rubberBandAnchor)
        return;
    dragAnchor.reset();
    rubberBandAnchor.reset();
    moved = false;
    viewport()->update();
}

std::vector<const CDocEntity*> CTableView::SelectedNow() const {
    const auto selected = document->GetCurrentState().GetSelectedEntities();
    return {selected.begin(), selected.end()};
}

void CTableView::FollowSelection() {
    if ((!dragAnchor && !textPlacement) || SelectedNow() == gestureSelection)
        return;
    // A drag moves what was selected when it began; a new text is placed
    // only while nothing else was chosen meanwhile.
    EndMouseGesture();
    EndTextPlacement();
}

CDocState& CTableView::BeginEdit() {
    CommitEditors();
    return document->PushState();
}

void CTableView::CommitEditors() {
    CommitTitleEdit();
    CommitModifierEdit();
}

void CTableView::FinishEdit(QPoint shift) {
    document->EndEdit();
    UpdateScrollSizes();
    ScrollBy(shift);
    viewport()->update();
}

QByteArray CTableView::GetTrayXml() {
    CommitEditorsOf(*document);
    return document->GetCurrentState().WriteTrayXml(true, false, false);
}

void CTableView::CancelGesture() {
    if (!titleEditor->isHidden()) {
        titleEditor->clear();
        CloseEditor(titleEditor);
    }
    if (!modifierEditor->isHidden())
        CloseEditor(modifierEditor);
    rubberBandAnchor.reset();
    dragAnchor.reset();
    moved = false;
    pendingDie = 0;
    textPlacement = false;
    clearPendingDie = false;
    viewport()->unsetCursor();
    viewport()->update();
}

void CTableView::CloseEditor(QWidget* editor) {
    // The view takes the focus first, so that it does not wander to another
    // window; the editor's loss of focus must not commit it again.
    const QScopedValueRollback guard(closingEditor, true);
    if (editor->hasFocus())
        setFocus();
    editor->hide();
}

void CTableView::CommitTitleEdit() {
    if (titleEditor->isHidden() || closingEditor)
        return;
    const QString text = titleEditor->text();
    const QPoint corner = ToTray(titleEditor->pos());
    titleEditor->clear();
    CloseEditor(titleEditor);

    const CDocState& state = document->GetCurrentState();
    const int groups = state.GetSelectedGroupCount();
    // A new text is only ever added, whatever was selected meanwhile.
    if (titleUse != TitleUse::NewText && groups == 0 && state.GetSelectedCount() == 1) {
        QString current;
        CRect rect;
        if (state.GetSelectedText(current, rect) && text != current)
            ApplyEdit([&](CDocState& edited) { edited.EditText(text); });
    } else if (titleUse == TitleUse::NewText || groups == 0) {
        if (!text.isEmpty())
            ApplyEdit([&](CDocState& edited) { edited.AddText(text, corner.x(), corner.y()); });
    } else {
        QString title;
        state.GetCommonProperties(&title, nullptr, nullptr);
        if (text != title)
            ApplyEdit([&](CDocState& edited) { edited.SetTitles(text); });
    }
    viewport()->update();
}

void CTableView::CommitModifierEdit() {
    if (modifierEditor->isHidden() || closingEditor)
        return;
    const int value = modifierEditor->GetNumber();
    modifierEditor->SetNumber(0);
    CloseEditor(modifierEditor);

    const CDocState& state = document->GetCurrentState();
    if (state.GetSelectedGroupCount() == 0)
        return;
    int modifier = 0;
    state.GetCommonProperties(nullptr, &modifier, nullptr);
    if (value != modifier)
        ApplyEdit([&](CDocState& edited) { edited.SetModifiers(value); });
    viewport()->update();
}

void CTableView::ScrollIntoView(const CRect& rect) {
    const QPoint at = ToViewport(rect.TopLeft());
    const QSize client = viewport()->size();
    // The far edge first, then the near one, so that the top-left wins
    // when the rectangle is larger than the client area.
    const auto delta = [](int near, int size, int client) {
        int d = 0;
        if (near + size > client)
            d = near + size - client;
        if (near - d < 0)
            d = near;
        return d;
    };
    ScrollBy(QPoint(delta(at.x(), rect.Width(), client.width()),
                    delta(at.y(), rect.Height(), client.height())));
}

void CTableView::OpenTitleEditor(CRect rect, const QString& text, TitleUse use) {
    if (rect.Height() < kMinEditorHeight)
        rect.top = rect.bottom - kMinEditorHeight;
    titleUse = use;
    titleEditor->setAccessibleName(use == TitleUse::GroupTitle ? QStringLiteral("Title")
                                                               : QStringLiteral("Text"));
    ScrollIntoView(rect);
    titleEditor->setGeometry(QRect(ToViewport(rect.TopLeft()), QSize(rect.Width(), rect.Height())));
    titleEditor->setText(text);
    titleEditor->show();
    titleEditor->raise();
    titleEditor->setFocus();
    titleEditor->selectAll();
}

void CTableView::OpenModifierEditor(CRect rect, int value) {
    rect.right = rect.left + 3 * rect.Width();
    ScrollIntoView(rect);
    modifierEditor->Place(QRect(ToViewport(rect.TopLeft()), QSize(rect.Width(), rect.Height())));
    modifierEditor->SetNumber(value);
    modifierEditor->show();
    modifierEditor->raise();
    modifierEditor->setFocus();
}

void CTableView::EditSelectedText() {
    QString text;
    CRect rect;
    if (!document->GetCurrentState().GetSelectedText(text, rect))
        return;
    if (rect.Height() < kMinEditorHeight)
        rect.top = rect.bottom - kMinEditorHeight;
    rect.left -= 2;
    rect.right += 4;
    if (rect.Width() < 80)
        rect.right = rect.left + 80;
    OpenTitleEditor(rect, text, TitleUse::Text);
}

void CTableView::EditNewText(QPoint point) {
    OpenTitleEditor(CRect::FromPointSize(point.x(), point.y() - 8, 80, kMinEditorHeight), {},
                    TitleUse::NewText);
}

bool CTableView::viewportEvent(QEvent* event) {
    // Hovering a dice group tells its odds, for as long as the pointer stays on it.
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QPoint point = ToTray(help->pos());
    const CDiceGroupPainter* group = document->GetCurrentState().GroupAt(point);
    const CDiePainter* die = group ? group->DieAt(point) : nullptr;
    if (die && !die->GetRolls().empty()) {
        // An exploded die tells its rolls: "6 + 6 + 2".
        oddsTips.Cancel();
        const CRect rect = die->GetRect();
        QToolTip::showText(help->globalPos(), QString::fromStdString(RollsText(*die, " + ")),
                           viewport(),
                           QRect(ToViewport(rect.TopLeft()), QSize(rect.Width(), rect.Height())));
    } else if (group) {
        const CRect rect = group->GetBoundingRect();
        const QRect area(ToViewport(rect.TopLeft()), QSize(rect.Width(), rect.Height()));
        const QPoint at = help->globalPos();
        // The tip never waits: odds still being worked out replace it when
        // they are known, if it still shows.
        waitingTip = oddsTips.Summary(*group, [this, at, area](const QString& text) {
            if (QToolTip::isVisible() && QToolTip::text() == waitingTip)
                QToolTip::showText(at, text, viewport(), area);
            waitingTip.clear();
        });
        QToolTip::showText(at, waitingTip, viewport(), area);
    } else {
        oddsTips.Cancel();
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

void CTableView::paintEvent(QPaintEvent* event) {
    QPainter dc(viewport());
    const QColor colour = document->GetCurrentState().GetBackgroundColor();
    dc.fillRect(event->rect(), colour);
    dc.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    // The font and pen the tray's geometry is measured and drawn with.
    dc.setFont(TrayFont());
    dc.setPen(TrayPen(ContrastColor(colour)));
    dc.setBackground(colour);
    dc.setBackgroundMode(Qt::OpaqueMode);
    DrawTray(dc);
}

void CTableView::DrawTray(QPainter& dc) {
    const CDocState& state = document->GetCurrentState();
    state.DrawAll(dc);
    // The feedback passes correct the current point by snapping; the drop
    // that ends the gesture lands there.
    // A die whose menu has closed is no longer drawn.
    if (pendingDie != 0 && !clearPendingDie) {
        state.DrawNewDie(dc, pendingDie, currentPoint);
    } else if (rubberBandAnchor) {
        const CRect band =
            CRect{rubberBandAnchor->x(), rubberBandAnchor->y(), currentPoint.x(), currentPoint.y()}
                .Normalized();
        state.DrawRubberBand(dc, band,
                             QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier));
    } else if (dragAnchor && moved) {
        state.DrawMoving(dc, *dragAnchor, currentPoint);
    }
    DrawFocusMark(dc);
}

void CTableView::UpdateScrollSizes() {
    CRect extent = document->GetCurrentState().GetExtent();
    extent.right += kExtentMargin;
    const QSize client = viewport()->size();
    const QSize page(client.width() / 2, client.height() / 2);
    horizontalScrollBar()->setRange(0, std::max(0, extent.right - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, extent.bottom - client.height()));
    horizontalScrollBar()->setPageStep(page.width());
    verticalScrollBar()->setPageStep(page.height());
    horizontalScrollBar()->setSingleStep(std::max(1, page.width() / 10));
    verticalScrollBar()->setSingleStep(std::max(1, page.height() / 10));
}

void CTableView::ScrollBy(QPoint delta) {
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + delta.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + delta.y());
}

void CTableView::AutoScroll(QPoint viewportPoint) {
    const QSize client = viewport()->size();
    const auto step = [](int at, int size) {
        return at < 0 ? -kAutoScrollStep : at >= size ? kAutoScrollStep : 0;
    };
    // The scroll bars keep the position within 0 .. total - client.
    ScrollBy(
        QPoint(step(viewportPoint.x(), client.width()), step(viewportPoint.y(), client.height())));
}

void CTableView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollSizes();
}

void CTableView::scrollContentsBy(int dx, int dy) {
    // Moves the editors with the tray.
    viewport()->scroll(dx, dy);
}

void CTableView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    host.SetActiveView(viewport());
    // The focus mark shows while the view has the keyboard.
    viewport()->update();
    TellAccessibleFocus();
}

void CTableView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
    // A popup or another window takes the mouse: the release will not come
    // here. The in-place editors taking the focus end nothing.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        EndMouseGesture();
}

void CTableView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        EndMouseGesture();
}

} // namespace rp
