#include "text_painter.h"

#include "int_text.h"
#include "labels.h"
#include "strokes.h"
#include "text_metrics.h"
#include "xml_dom.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace rp {

CRect CTextPainter::GetBodyRect() const {
    const QSize extent = MeasureClientText(text);
    return CRect::FromPointSize(x, y, extent.width(), extent.height());
}

void CTextPainter::Draw(QPainter& dc) const {
    DrawPlainText(dc, GetBodyRect(), text);
    if (IsSelected())
        DrawFrame(dc, GetBoundingRect(), QGuiApplication::palette().color(QPalette::Highlight),
                  Qt::DotLine);
}

void CTextPainter::DrawDragImage(QPainter& dc, int dx, int dy) const {
    // Only the text is grey: outlines drawn later in the pass keep the pen.
    const QPen pen = dc.pen();
    dc.setPen(QColor(128, 128, 128));
    DrawPlainText(dc, GetBodyRect().Offset(dx, dy), text);
    dc.setPen(pen);
}

pugi::xml_node CTextPainter::Save(pugi::xml_node parent, bool) const {
    pugi::xml_node element = parent.append_child("text");
    element.append_attribute("value") = text.toUtf8().constData();
    pugi::xml_node position = element.append_child("position");
    position.append_attribute("x") = x;
    position.append_attribute("y") = y;
    return element;
}

bool CTextPainter::Load(pugi::xml_node element) {
    if (std::string_view(element.name()) != "text")
        return false;
    text = QString::fromUtf8(xml::AttributeText(element, "value").data(),
                             static_cast<qsizetype>(xml::AttributeText(element, "value").size()));
    x = ClampTrayPosition(ReadInt(xml::SelectText(element, "position/@x")));
    y = ClampTrayPosition(ReadInt(xml::SelectText(element, "position/@y")));
    return true;
}

std::unique_ptr<CDocEntity> CTextPainter::Clone() const {
    return std::make_unique<CTextPainter>(*this);
}

} // namespace rp
