// The graphic device: one PNG per page at 96 pixels per inch, white background, true colour.
#include <QImage>
#include <QPainter>

#include "costing/CostingExport.h"
#include "costing/CostingPageGeometry.h"

namespace tarno::costing {

namespace {
constexpr double kPixelsPerInch = 96;
}

QStringList WriteCostingPng(const CostingReport& report, const QString& path) {
  const int width = qRound(geometry::kPaperWidthMm / geometry::kMmPerInch * kPixelsPerInch);
  const int height = qRound(geometry::kPaperHeightMm / geometry::kMmPerInch * kPixelsPerInch);
  const int dotsPerMeter = qRound(kPixelsPerInch / geometry::kMmPerInch * 1000.0);
  return WriteCostingPageFiles(report, path, [&](int page, QIODevice& file) {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setRenderHint(QPainter::TextAntialiasing);
      report.paintPage(page, painter);
    }
    return image.save(&file, "PNG");
  });
}

}  // namespace tarno::costing
