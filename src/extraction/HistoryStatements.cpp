// Statement texts of the period extraction.
#include "extraction/HistoryStatements.h"

namespace tarno::extraction {
namespace {

struct DetailText {
  const char* select;  // line 1
  const char* group;   // GROUP BY line, or nullptr for the ungrouped allowance statement
  const char* order;   // ORDER BY line of the per-employee statement
  const char* table;
};

DetailText TextOf(DetailKind kind) {
  switch (kind) {
    case DetailKind::NoPayDays:
      return {
          "select PERIOD,EMPCODE,CYCLE,NPL_DAY_TYPE,SUM(FREQUENCY) AS FREQUENCY,SUM(AMOUNT) AS AMOUNT from "
          "p_dtrxND ",
          "GROUP BY EMPCODE,PERIOD,CYCLE,NPL_DAY_TYPE", "ORDER BY EMPCODE,PERIOD,NPL_DAY_TYPE", "P_DTRXND"};
    case DetailKind::NoPayHours:
      return {
          "select PERIOD,EMPCODE,CYCLE,NPL_HOUR_TYPE,SUM(FREQUENCY) AS FREQUENCY,SUM(AMOUNT) AS AMOUNT from "
          "p_dtrxNH ",
          "GROUP BY EMPCODE,PERIOD,CYCLE,NPL_HOUR_TYPE", "ORDER BY EMPCODE,PERIOD,NPL_HOUR_TYPE", "P_DTRXNH"};
    case DetailKind::Absence:
      return {
          "select PERIOD,EMPCODE,CYCLE,ABSENT_TYPE,SUM(FREQUENCY) AS FREQUENCY,SUM(AMOUNT) AS AMOUNT from "
          "p_dtrxas ",
          "GROUP BY EMPCODE,PERIOD,CYCLE,ABSENT_TYPE", "ORDER BY EMPCODE,PERIOD,ABSENT_TYPE", "P_DTRXAS"};
    case DetailKind::RestDay:
      return {
          "select PERIOD,EMPCODE,CYCLE,RESTDAY_TYPE,SUM(FREQUENCY) AS FREQUENCY,SUM(AMOUNT) AS AMOUNT from "
          "p_dtrxrd ",
          "GROUP BY EMPCODE,PERIOD,CYCLE,RESTDAY_TYPE", "ORDER BY EMPCODE,PERIOD,RESTDAY_TYPE", "P_DTRXRD"};
    case DetailKind::Overtime:
      return {
          "select OTTYPE,PERIOD,EMPCODE,CYCLE,OTFACTOR,OT_DESC,OTRATE,SUM(OTHRS) AS FREQUENCY,SUM(OTAMT) AS "
          "AMOUNT "
          "from p_dtrxOT ",
          "GROUP BY OTTYPE,EMPCODE,PERIOD,CYCLE,OTFACTOR,OT_DESC,OTRATE", "ORDER BY EMPCODE,PERIOD,OTFACTOR",
          "P_DTRXOT"};
    case DetailKind::Shift:
      return {
          "select PERIOD,EMPCODE,CYCLE,SHIFT_DESC,SHIFT_STATUS,SUM(SHIFT_NO) AS FREQUENCY,SUM(SHIFTAMT) AS "
          "AMOUNT "
          "from p_dtrxSF ",
          "GROUP BY EMPCODE,PERIOD,CYCLE,SHIFT_DESC,SHIFT_STATUS", "ORDER BY EMPCODE,PERIOD,SHIFT_DESC",
          "P_DTRXSF"};
    case DetailKind::CpfWage:
      return {
          "select PERIOD,EMPCODE,CYCLE,SUM(ACTUAL_AW_PAID) AS ACTUAL_AW_PAID,SUM(CPFAWWAGE) AS CPFAWWAGE,"
          "SUM(CPFOWWAGE) AS CPFOWWAGE from YTDEMPL ",
          "GROUP BY EMPCODE,PERIOD,CYCLE", "ORDER BY EMPCODE,PERIOD", "YTDEMPL"};
    case DetailKind::Allowances:
      return {"select PERIOD,EMPCODE,CYCLE,ALLW_DED_CODE,AMOUNT from p_dtrxaw ", nullptr,
              "ORDER BY EMPCODE,PERIOD,ALLW_DED_CODE", "P_DTRXAW"};
  }
  return {"", nullptr, "", ""};
}

}  // namespace

QStringList SummaryStatementLines(const QString& historyCondition1, const QString& historyCondition2) {
  return {
      QStringLiteral(
          "SELECT P_HTRX.EMPCODE,P_HTRX.PERIOD,CYCLE,SUM(P_HTRX.BASIC) AS BASIC,SUM(P_HTRX.GROSS_WAGE) AS "
          "GROSS_WAGE,EMPSERV.NEW_SALARY AS NEW_SALARY,FCURR_CODE"),
      QStringLiteral(
          ",SUM(P_HTRX.CPFEMPEE) AS CPFEMPEE,SUM(P_HTRX.CPFEMPER) AS CPFEMPER,SUM(P_HTRX.PAYDAY) AS "
          "PAYDAY,SUM(P_HTRX.VOLCPFEE) AS VOLCPFEE,SUM(P_HTRX.VOLCPFER) AS VOLCPFER "),
      QStringLiteral(",SUM(P_HTRX.NETT_WAGE) AS NETT_WAGE,SUM(P_HTRX.SDF) AS SDF,SUM(P_HTRX.FWL) AS "
                     "FWL,SUM(P_HTRX.CPF_WAGE) AS CPF_WAGE "),
      QStringLiteral(
          ",SUM(P_HTRX.BANKAMT) AS BANKAMT,SUM(P_HTRX.CASHAMT) AS CASHAMT,SUM(P_HTRX.CHEQAMT) AS CHEQAMT "
          ",SUM(P_HTRX.BASICNVC) AS BASICNVC,SUM(P_HTRX.NVC) AS NVC "),
      QStringLiteral("from P_HTRX,EMPLOYEE,EMPSERV where P_HTRX.PERIOD=:PERIOD  "),
      QStringLiteral("AND EMPLOYEE.EMP_NO=P_HTRX.EMPCODE AND EMPLOYEE.EMP_NO=EMPSERV.EMP_NO AND "
                     "EMPSERV.USERID=:USERID "),
      QStringLiteral("AND (CYCLE = :CYCLE1"),
      QStringLiteral("OR   CYCLE = :CYCLE2"),
      QStringLiteral("OR   CYCLE = :CYCLE3"),
      QStringLiteral("OR   CYCLE = :CYCLE4  )"),
      historyCondition1,
      historyCondition2,
      QStringLiteral("GROUP BY P_HTRX.EMPCODE,P_HTRX.PERIOD,CYCLE,EMPSERV.NEW_SALARY,FCURR_CODE"),
      QStringLiteral("ORDER BY P_HTRX.EMPCODE,P_HTRX.PERIOD"),
  };
}

QStringList DetailStatementLines(DetailKind kind) {
  const DetailText t = TextOf(kind);
  if (t.group == nullptr)
    return {QString::fromLatin1(t.select),
            QStringLiteral("where period=:PERIOD AND EMPCODE=:EMPCODE  and CYCLE = :CYCLE"),
            QString::fromLatin1(t.order)};
  return {QString::fromLatin1(t.select), QStringLiteral("where period=:PERIOD AND EMPCODE=:EMPCODE"),
          QStringLiteral("AND (CYCLE = :CYCLE)"), QString::fromLatin1(t.group), QString::fromLatin1(t.order)};
}

QStringList PeriodDetailStatementLines(DetailKind kind) {
  const DetailText t = TextOf(kind);
  // "ORDER BY EMPCODE,PERIOD,X" becomes "ORDER BY EMPCODE,CYCLE,X": within one employee and run
  // the rows come in the per-employee statement's order.
  QString order = QString::fromLatin1(t.order);
  order.replace(QStringLiteral("ORDER BY EMPCODE,PERIOD"), QStringLiteral("ORDER BY EMPCODE,CYCLE"));
  QStringList lines{QString::fromLatin1(t.select), QStringLiteral("where period=:PERIOD")};
  if (t.group != nullptr) lines.append(QString::fromLatin1(t.group));
  lines.append(order);
  return lines;
}

QString DetailTableName(DetailKind kind) {
  return QString::fromLatin1(TextOf(kind).table);
}

}  // namespace tarno::extraction
