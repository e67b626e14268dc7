// QueryRPT's statement and the grouping of its rows by cost centre.
#include "costing/CostingQuery.h"

#include "dialog/ReportSession.h"

namespace tarno::costing {

void OpenCostingQuery(db::Query& queryRpt, const QString& period) {
  queryRpt.Close();
  queryRpt.ClearSQL();
  queryRpt.AddLine(QStringLiteral(
      "SELECT PAYCODE,COSTCENTRE_CODE,description,SUM(AMOUNT) AS AMOUNT FROM RPTRX WHERE PERIOD=:PERIOD "));
  queryRpt.AddLine(QStringLiteral("GROUP BY PAYCODE,COSTCENTRE_CODE,description "));
  queryRpt.AddLine(QStringLiteral("ORDER BY COSTCENTRE_CODE,description "));
  queryRpt.SetParam(QStringLiteral("PERIOD"), period);
  queryRpt.Open();
}

void OpenCostingQuery(ReportSession& session) {
  OpenCostingQuery(session.QueryRPT, session.CurrentPeriod);
}

std::vector<CostingGroup> ReadCostingGroups(db::Query& queryRpt, db::Table& codeTable) {
  std::vector<CostingGroup> groups;
  for (queryRpt.First(); !queryRpt.Eof(); queryRpt.Next()) {
    const QString code = queryRpt.FieldAsString(QStringLiteral("COSTCENTRE_CODE"));
    if (groups.empty() || groups.back().costCentreCode != code) {
      CostingGroup group;
      group.costCentreCode = code;
      group.heading = codeTable.FindKey({QStringLiteral("CST"), code})
                          ? codeTable.FieldAsString(QStringLiteral("DESC"))
                          : code;
      groups.push_back(std::move(group));
    }
    groups.back().lines.push_back({queryRpt.FieldAsString(QStringLiteral("DESCRIPTION")),
                                   queryRpt.FieldAsCurrency(QStringLiteral("AMOUNT"))});
  }
  return groups;
}

CostingReportData ReadCostingReport(ReportSession& session) {
  if (!session.AdsTableCode.IsOpen()) session.AdsTableCode.Open();
  OpenCostingQuery(session);

  const TDataModule1& dm = session.DataModule();
  CostingReportData data;
  data.companyTitle = dm.Context.CompanyTitle();
  data.period = session.CurrentPeriod;
  data.userId = dm.Context.UserId();
  data.printedAt = QDateTime::currentDateTime();
  data.dateFormat = dm.QtShortDateFormat();
  data.groups = ReadCostingGroups(session.QueryRPT, session.AdsTableCode);
  return data;
}

}  // namespace tarno::costing
