// The graphic device: one PNG per page at 96 pixels per inch, white background, true colour.
#include <QImage>
#include <QSaveFile>

#include "context/Errors.h"
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
  QStringList written;
  for (int i = 0; i < report.PageCount(); ++i) {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setRenderHint(QPainter::TextAntialiasing);
      report.paintPage(i, painter);
    }
    const QString name = CostingPageFileName(path, i);
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
      throw OutputError(QStringLiteral("Page %1 of the costing report could not be written to '%2': %3.")
                            .arg(i + 1)
                            .arg(name, file.errorString()));
    written.append(name);
  }
  return written;
}

}  // namespace tarno::costing
