// The HTML device: one well-formed XHTML file per page, every text absolutely placed at its
// millimetre position, and "<<" / ">>" links to the previous and next page's file.
#include <QFileInfo>
#include <QTextStream>

#include "costing/CostingExport.h"
#include "costing/CostingPageGeometry.h"

namespace tarno::costing {

namespace {

QString Mm(double value) {
  return QString::number(value, 'f', 3) + QStringLiteral("mm");
}

QString PageHtml(const CostingReport& report, int index, const QString& target) {
  const CostingPage& page = report.Layout().Page(index);
  QString html;
  QTextStream out(&html);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<!DOCTYPE html>\n"
      << "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n<meta charset=\"UTF-8\"/>\n"
      << "<title>" << QStringLiteral("Report - Page %1 of %2").arg(index + 1).arg(report.PageCount())
      << "</title>\n<style>\n"
      << ".page{position:relative;width:" << Mm(geometry::kPaperWidthMm)
      << ";height:" << Mm(geometry::kPaperHeightMm) << ";background:#fff;border:1px solid #999;}\n"
      << ".t{position:absolute;white-space:pre;color:#000;line-height:1.15;}\n"
      << ".r{text-align:right;}\n"
      << ".l{position:absolute;border-top-style:solid;border-top-color:#000;height:0;}\n"
      << "</style>\n</head>\n<body>\n";

  // Links above the page, as the pages are read one after another.
  out << "<p class=\"links\">";
  if (index > 0)
    out << "<a href=\"" << QFileInfo(CostingPageFileName(target, index - 1)).fileName().toHtmlEscaped()
        << "\">&lt;&lt;</a>";
  if (index > 0 && index + 1 < report.PageCount()) out << " ";
  if (index + 1 < report.PageCount())
    out << "<a href=\"" << QFileInfo(CostingPageFileName(target, index + 1)).fileName().toHtmlEscaped()
        << "\">&gt;&gt;</a>";
  out << "</p>\n";

  out << "<div class=\"page\">\n";
  for (const PlacedText& text : page.texts) {
    out << "<div class=\"t" << (text.alignRight ? " r" : "") << "\" style=\"";
    if (text.alignRight)
      out << "right:" << Mm(geometry::kPaperWidthMm - text.leftMm - text.widthMm) << ";";
    else
      out << "left:" << Mm(text.leftMm) << ";";
    out << "top:" << Mm(text.topMm) << ";font-family:'" << text.font.family.toHtmlEscaped()
        << "',Arial,sans-serif;font-size:" << text.font.pointSize << "pt;"
        << (text.font.bold ? "font-weight:bold;" : "") << "\">" << text.text.toHtmlEscaped() << "</div>\n";
  }
  for (const PlacedLine& line : page.lines) {
    out << "<div class=\"l\" style=\"left:" << Mm(line.leftMm) << ";top:" << Mm(line.topMm)
        << ";width:" << Mm(line.lengthMm) << ";border-top-width:" << line.weightPt << "pt;\"></div>\n";
  }
  out << "</div>\n</body>\n</html>\n";
  return html;
}

}  // namespace

QStringList WriteCostingHtml(const CostingReport& report, const QString& path) {
  return WriteCostingPageFiles(report, path, [&](int page, QIODevice& file) {
    return file.write(PageHtml(report, page, path).toUtf8()) >= 0;
  });
}

}  // namespace tarno::costing
