// What the costing report prints, read once from the report query: the page-header texts and
// the rows grouped by cost centre, in the query's order (cost centre, then description).
// Layout and every export device work from this alone, never from the database.
#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

#include "context/Currency.h"

namespace tarno::costing {

struct CostingLine {
  QString description;  // RPTRX.DESCRIPTION of the group's rows
  Currency amount;      // SUM(AMOUNT) for the pay code, cost centre and description
};

// One cost centre: one group, printed from a new page.
struct CostingGroup {
  QString costCentreCode;  // COSTCENTRE_CODE, "" without the cost-centre breakdown
  QString heading;         // the CODE description of category "CST", else the code itself
  std::vector<CostingLine> lines;
};

struct CostingReportData {
  QString companyTitle;                               // the host's company title
  QString period;                                     // CCYYMM, the report's one period
  QString userId;                                     // the operator
  QDateTime printedAt;                                // date and time of printing
  QString dateFormat = QStringLiteral("dd/MM/yyyy");  // Qt date format of the module's short date
  std::vector<CostingGroup> groups;                   // empty for a period without rows

  // Page-header texts, as printed.
  QString TitleText() const;    // "Payroll costing Report for Period :" + period, no blank
  QString UserText() const;     // "USerid " + userId
  QString PrintedText() const;  // short date, blank, time "hh:mm:ss"
};

}  // namespace tarno::costing
