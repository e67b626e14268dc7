// The page-header texts of the costing report.
#include "costing/CostingReportData.h"

namespace tarno::costing {

QString CostingReportData::TitleText() const {
  return QStringLiteral("Payroll costing Report for Period :") + period;
}

QString CostingReportData::UserText() const {
  return QStringLiteral("USerid ") + userId;
}

QString CostingReportData::PrintedText() const {
  return printedAt.date().toString(dateFormat) + u' ' + printedAt.time().toString(QStringLiteral("hh:mm:ss"));
}

}  // namespace tarno::costing
