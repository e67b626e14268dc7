// The plain-text device: each page is a grid of 85 columns (8.5 in at 10 characters per inch) by
// 66 lines (11 in at 6 lines per inch). Texts go to the cell nearest their millimetre position,
// cut at the edge of their box; a right-aligned text ends at the column of its right edge.
// Pages are separated by a form feed.
#include <QSaveFile>
#include <cmath>

#include "context/Errors.h"
#include "costing/CostingExport.h"
#include "costing/CostingPageGeometry.h"

namespace tarno::costing {

namespace {

constexpr double kCharsPerInch = 10;
constexpr double kLinesPerInch = 6;
constexpr int kColumns = 85;
constexpr int kLines = 66;

int Column(double mm) {
  return static_cast<int>(std::lround(mm / geometry::kMmPerInch * kCharsPerInch));
}
int Row(double mm) {
  return static_cast<int>(std::lround(mm / geometry::kMmPerInch * kLinesPerInch));
}

void Put(QStringList& grid, int row, int column, const QString& text) {
  if (row < 0 || row >= kLines) return;
  QString& line = grid[row];
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype at = column + i;
    if (at >= 0 && at < kColumns) line[at] = text.at(i);
  }
}

QString PageText(const CostingPage& page) {
  QStringList grid(kLines, QString(kColumns, u' '));
  for (const PlacedText& text : page.texts) {
    const int row = Row(text.topMm);
    if (text.alignRight) {
      const int end = Column(text.leftMm + text.widthMm);
      Put(grid, row, end - static_cast<int>(text.text.size()), text.text);
    } else {
      const int start = Column(text.leftMm);
      const int room = std::max(0, Column(text.leftMm + text.widthMm) - start);
      Put(grid, row, start, text.text.left(room));
    }
  }
  for (const PlacedLine& line : page.lines) {
    const int start = Column(line.leftMm);
    Put(grid, Row(line.topMm), start, QString(Column(line.leftMm + line.lengthMm) - start, u'-'));
  }
  for (QString& line : grid) {
    while (line.endsWith(u' ')) line.chop(1);
  }
  while (!grid.isEmpty() && grid.last().isEmpty()) grid.removeLast();
  return grid.join(u'\n') + u'\n';
}

}  // namespace

QStringList WriteCostingText(const CostingReport& report, const QString& path) {
  QString text;
  for (int i = 0; i < report.PageCount(); ++i) {
    if (i > 0) text.append(u'\f');
    text.append(PageText(report.Layout().Page(i)));
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
    throw OutputError(
        QStringLiteral("The costing report could not be written to '%1': %2.").arg(path, file.errorString()));
  return {path};
}

}  // namespace tarno::costing
