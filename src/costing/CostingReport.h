// The costing report ready to print: its data, its pages, and paintPage, the one drawing routine
// that the preview, the printer, the PDF and the PNG devices all use.
#pragma once

#include <QPainter>

#include "costing/CostingLayout.h"
#include "costing/CostingReportData.h"

namespace tarno::costing {

class CostingReport {
 public:
  explicit CostingReport(CostingReportData data);

  const CostingReportData& Data() const { return m_data; }
  const CostingLayout& Layout() const { return m_layout; }
  int PageCount() const { return m_layout.PageCount(); }

  // Paints page `index` (0-based) on a painter whose origin is the paper's top left corner; the
  // device's logical resolution converts millimetres and points to its pixels.
  void paintPage(int index, QPainter& painter) const;

 private:
  CostingReportData m_data;
  CostingLayout m_layout;
};

}  // namespace tarno::costing
