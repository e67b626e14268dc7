// The statements of the period extraction: the P_HTRX summary of a period and the eight detail
// statements, line by line as the dialog's queries carry them, plus the period-wide variants of
// the detail statements that the extraction runs once per period instead of once per employee
// and pay run (same grouping, ordered by employee and pay run first).
#pragma once

#include <QString>
#include <QStringList>

namespace tarno::extraction {

enum class DetailKind {
  NoPayDays,   // AdsQueryNPL, p_dtrxND
  NoPayHours,  // AdsQueryNH, p_dtrxNH
  Absence,     // AdsQueryABS, p_dtrxas
  RestDay,     // AdsQueryRD, p_dtrxrd
  Overtime,    // AdsQueryOTHTRX, p_dtrxOT
  Shift,       // AdsQuerySFHTRX, p_dtrxSF
  CpfWage,     // AdsQueryYTDEMPL, YTDEMPL
  Allowances,  // AdsQueryp_Dtrxaw, p_dtrxaw
};

// The order in which the statements are composed at the start of a period.
inline constexpr DetailKind kComposeOrder[] = {
    DetailKind::NoPayDays, DetailKind::NoPayHours, DetailKind::Absence, DetailKind::RestDay,
    DetailKind::Overtime,  DetailKind::Shift,      DetailKind::CpfWage, DetailKind::Allowances};
// The order in which they are opened for a summary row.
inline constexpr DetailKind kOpenOrder[] = {
    DetailKind::NoPayDays, DetailKind::Allowances, DetailKind::CpfWage, DetailKind::NoPayHours,
    DetailKind::Absence,   DetailKind::RestDay,    DetailKind::Shift,   DetailKind::Overtime};

// The summary statement of one period; the host's two condition lines go in unchanged (an empty
// text gives an empty line). Parameters PERIOD, USERID, CYCLE1 to CYCLE4.
QStringList SummaryStatementLines(const QString& historyCondition1, const QString& historyCondition2);

// The detail statement for one employee and pay run (parameters PERIOD, EMPCODE, CYCLE).
QStringList DetailStatementLines(DetailKind kind);
// The same for all employees and runs of a period (parameter PERIOD), ordered by EMPCODE and
// CYCLE first and then as the per-employee statement.
QStringList PeriodDetailStatementLines(DetailKind kind);
// The encrypted table the statement reads, as the statement password names it ("P_DTRXND").
QString DetailTableName(DetailKind kind);

}  // namespace tarno::extraction
