// The PDF device: Letter pages painted by paintPage on a QPdfWriter, which embeds the fonts it
// uses. Written through QSaveFile, so the target appears only once the document is complete.
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>

#include "context/Errors.h"
#include "costing/CostingExport.h"
#include "costing/CostingPageGeometry.h"

namespace tarno::costing {

QStringList WriteCostingPdf(const CostingReport& report, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    throw OutputError(
        QStringLiteral("The costing report could not be written to '%1': %2.").arg(path, file.errorString()));
  {
    QPdfWriter writer(&file);
    writer.setTitle(QStringLiteral("Report"));
    writer.setCreator(QStringLiteral("tarnotable"));
    writer.setResolution(1200);
    writer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(geometry::kPaperWidthMm, geometry::kPaperHeightMm),
                              QPageSize::Millimeter, QStringLiteral("Letter"), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer))
      throw OutputError(QStringLiteral("The costing report could not be started in '%1'.").arg(path));
    for (int i = 0; i < report.PageCount(); ++i) {
      if (i > 0) writer.newPage();
      report.paintPage(i, painter);
    }
    painter.end();
  }
  if (!file.commit())
    throw OutputError(
        QStringLiteral("The costing report could not be saved as '%1': %2.").arg(path, file.errorString()));
  return {path};
}

}  // namespace tarno::costing
