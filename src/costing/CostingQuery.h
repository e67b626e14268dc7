// The costing report's query QueryRPT and the reading of its rows into CostingReportData.
//
// Order of calls (the dialog's Report button and the batch Report job alike): RunReport("rpt"),
// then ReadCostingReport(session), which opens CODE when needed, sets and opens QueryRPT for
// CurrentPeriod and reads the rows; then preview or export the report built from the data.
#pragma once

#include "context/Query.h"
#include "context/Table.h"
#include "costing/CostingReportData.h"

namespace tarno {
class ReportSession;
}

namespace tarno::costing {

// Closes the query, replaces its text with the costing statement (three lines, each with one
// trailing blank), sets PERIOD and opens it. Errors of the layer propagate.
void OpenCostingQuery(db::Query& queryRpt, const QString& period);
void OpenCostingQuery(ReportSession& session);

// Reads the open query from its first row: a new group at every change of COSTCENTRE_CODE,
// headed by the CODE description of ("CST", code) found with FindKey, else by the code.
std::vector<CostingGroup> ReadCostingGroups(db::Query& queryRpt, db::Table& codeTable);

// The whole step after RunReport("rpt"): CODE opened when closed, QueryRPT opened on
// CurrentPeriod, rows read, header texts from the data module's context; printed now.
CostingReportData ReadCostingReport(ReportSession& session);

}  // namespace tarno::costing
