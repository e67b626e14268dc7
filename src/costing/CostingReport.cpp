// Painting of one page of the costing report: black texts on a transparent background, and the
// header line, at the layout's millimetre positions.
#include "costing/CostingReport.h"

#include <QPaintDevice>

#include "costing/CostingPageGeometry.h"

namespace tarno::costing {

CostingReport::CostingReport(CostingReportData data)
    : m_data(std::move(data)), m_layout(CostingLayout::Build(m_data)) {}

void CostingReport::paintPage(int index, QPainter& painter) const {
  const CostingPage& page = m_layout.Page(index);
  const double dpiX = painter.device()->logicalDpiX();
  const double dpiY = painter.device()->logicalDpiY();
  auto x = [dpiX](double mm) { return mm / geometry::kMmPerInch * dpiX; };
  auto y = [dpiY](double mm) { return mm / geometry::kMmPerInch * dpiY; };

  painter.save();
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  for (const PlacedText& text : page.texts) {
    painter.setFont(text.font.ToQFont());
    // Texts are sized to their content: a right-aligned amount may reach left of its box, so the
    // rectangle starts at the paper's edge and only its right edge counts.
    const QRectF box = text.alignRight
                           ? QRectF(QPointF(0, y(text.topMm)),
                                    QPointF(x(text.leftMm + text.widthMm), y(text.topMm + text.heightMm)))
                           : QRectF(x(text.leftMm), y(text.topMm), x(text.widthMm), y(text.heightMm));
    const int flags = Qt::TextSingleLine | Qt::AlignTop | (text.alignRight ? Qt::AlignRight : Qt::AlignLeft);
    painter.drawText(box, flags, text.text);
  }
  for (const PlacedLine& line : page.lines) {
    QPen pen(Qt::black);
    pen.setWidthF(line.weightPt / 72.0 * dpiY);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    const double top = y(line.topMm) + pen.widthF() / 2;
    painter.drawLine(QPointF(x(line.leftMm), top), QPointF(x(line.leftMm + line.lengthMm), top));
  }
  painter.restore();
}

}  // namespace tarno::costing
