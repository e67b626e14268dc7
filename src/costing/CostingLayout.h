// Pages of the costing report, computed without a painter: where every text and line goes, in
// millimetres from the paper's top left. The painter and every export device read these pages.
//
// Bands: page header on every page; for each cost centre a new page with its group header, then
// one detail band per row; a group that does not fit continues on the next page under its group
// header again. A description wider than its column wraps at blanks, each further line adding one
// detail-line height to its band. No totals. A report without rows is one page with the header.
// "Page N of M" is filled in once all pages are known (the second pass).
#pragma once

#include <QString>
#include <vector>

#include "costing/CostingFont.h"
#include "costing/CostingReportData.h"

namespace tarno::costing {

// What a text is, so that devices that place things on their own grid (XLSX) can tell them apart.
enum class TextRole {
  CompanyTitle,
  Title,
  PageNumber,
  Printed,
  User,
  DescriptionHeading,
  AmountHeading,
  GroupHeading,
  Description,
  Amount
};

struct PlacedText {
  TextRole role;
  QString text;
  CostingFont font;
  double leftMm;   // left edge of the box
  double topMm;    // top of the box
  double widthMm;  // box width: the text never goes beyond it
  double heightMm;
  bool alignRight = false;  // the text ends at leftMm + widthMm
};

struct PlacedLine {
  double leftMm;
  double topMm;
  double lengthMm;
  double weightPt;
};

struct CostingPage {
  std::vector<PlacedText> texts;
  std::vector<PlacedLine> lines;
};

class CostingLayout {
 public:
  static CostingLayout Build(const CostingReportData& data);

  int PageCount() const { return static_cast<int>(m_pages.size()); }
  const CostingPage& Page(int index) const { return m_pages.at(static_cast<std::size_t>(index)); }  // 0-based

  // Greedy word wrap of a text into lines no wider than widthMm; a word wider than the whole width
  // is cut between characters. An empty text gives one empty line.
  static QStringList WrapText(const QString& text, const CostingFont& font, double widthMm);

 private:
  std::vector<CostingPage> m_pages;
};

}  // namespace tarno::costing
