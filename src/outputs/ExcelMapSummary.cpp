// Rebuild of the pay-item map EXCELMAP for the variance and year-to-date workbooks.
#include "outputs/ExcelMapSummary.h"

#include <QRegularExpression>

#include "context/Connection.h"
#include "context/Currency.h"
#include "context/UserInterface.h"
#include "outputs/StatementPasswords.h"

namespace tarno::outputs {
namespace {

const QString kPayItemOrder = QStringLiteral("PAYITEM");
const QString kNumberingOrder = QStringLiteral("ITEM;ITEMTYPE;PAYITEM");

void RunStatement(const ExcelMapComponents& c, const QStringList& lines, const QStringList& tables) {
  c.statement.Close();
  c.statement.SetSQL(lines);
  GiveStatementPasswords(c.statement, tables, c.tablePassword);
  c.statement.ExecSQL();
}

void OpenStatement(const ExcelMapComponents& c, const QStringList& lines, const QStringList& tables,
                   const QString& periodFrom, const QString& periodTo) {
  c.statement.Close();
  c.statement.SetSQL(lines);
  GiveStatementPasswords(c.statement, tables, c.tablePassword);
  c.statement.SetParam(QStringLiteral("PERIOD1"), periodFrom);
  c.statement.SetParam(QStringLiteral("PERIOD2"), periodTo);
}

// The allowance and deduction codes paid in the range, with the captions of the to-period's year.
void AddAllowanceRows(const ExcelMapComponents& c, const QString& periodFrom, const QString& periodTo) {
  OpenStatement(
      c,
      {QStringLiteral("SELECT ALLOW_CODE,SUM(P_DTRXAW.AMOUNT) AS  AMOUNT ,IS_FUND,\"DESC\" AS DESCR "
                      "FROM P_DTRXAW,ALLOWNCE "),
       QStringLiteral("WHERE ALLW_DED_CODE=ALLOW_CODE AND \"YEAR\"=:YEAR  AND PERIOD>=:PERIOD1 AND "
                      "PERIOD <=:PERIOD2"),
       QStringLiteral("GROUP BY ALLOW_CODE,IS_FUND,\"DESC\""), QStringLiteral("ORDER BY ALLOW_CODE")},
      {QStringLiteral("P_DTRXAW"), QStringLiteral("ALLOWNCE")}, periodFrom, periodTo);
  c.statement.SetParam(QStringLiteral("YEAR"), periodTo.left(4));
  c.statement.Open();
  for (c.statement.First(); !c.statement.Eof(); c.statement.Next()) {
    const QString group = c.statement.FieldAsString(QStringLiteral("IS_FUND")) == QLatin1String("N")
                              ? QStringLiteral("NONCPFWAGE")
                              : QStringLiteral("CPFWAGE");
    const QString type = c.statement.FieldAsCurrency(QStringLiteral("AMOUNT")) > Currency()
                             ? QStringLiteral("A")
                             : QStringLiteral("D");
    AddExcelMapRow(c.excelMap, c.statement.FieldAsString(QStringLiteral("DESCR")),
                   c.statement.FieldAsString(QStringLiteral("ALLOW_CODE")), group, type);
  }
  c.statement.Close();
}

// The wage totals of the payroll history: four always, six when the range holds an amount.
void AddWageTotalRows(const ExcelMapComponents& c, const QString& periodFrom, const QString& periodTo) {
  OpenStatement(
      c,
      {QStringLiteral("SELECT SUM(BASIC) AS BASIC,SUM(OTAMT) AS OTAMT,SUM(TOTAL_NPL) AS TOTAL_NPL,"
                      "SUM(SHIFTAMT) AS SHIFTAMT,SUM(RESTAMT) AS RESTAMT"),
       QStringLiteral(" ,SUM(FWL) AS FWL,SUM(SDF) AS SDF,SUM(BANKAMT) AS BANKAMT, SUM(CHEQAMT) AS "
                      "CHEQAMT,SUM(CASHAMT) AS CASHAMT"),
       QStringLiteral("  FROM P_HTRX "), QStringLiteral("WHERE PERIOD>=:PERIOD1 AND PERIOD<=:PERIOD2 ")},
      {QStringLiteral("P_HTRX")}, periodFrom, periodTo);
  c.statement.Open();
  auto nonZero = [&](const char* field) {
    return !c.statement.Eof() && !c.statement.FieldAsCurrency(QString::fromLatin1(field)).IsZero();
  };
  struct WageTotal {
    const char* condition;  // summed field that must not be 0, or nullptr for "always"
    const char* descr;
    const char* payItem;
    const char* item;
    const char* itemType;
  };
  static const WageTotal kTotals[] = {
      {nullptr, "Basic Salary", "BASIC", "A", "A"},
      {nullptr, "Employer CPF", "CPFEMPER", "Z", "C"},
      {"OTAMT", "Overtime", "OTAMT", "CPFWAGE", "A"},
      {"SHIFTAMT", "Shift Allwance", "SHIFTAMT", "CPFWAGE", "A"},
      {"RESTAMT", "Rest Day$", "RESTAMT", "CPFWAGE", "A"},
      {"TOTAL_NPL", "Total NPL", "TOTAL_NPL", "CPFWAGE", "D"},
      {"SDF", "SDL", "SDF", "Z", "C"},
      {"FWL", "FWL", "FWL", "Z", "C"},
      {nullptr, "Nett Wages", "NETT_WAGE", "", "C"},
      {nullptr, "Gross Wages", "GROSS_WAGE", "", "C"},
  };
  // The conditions are read before any row is added, since adding does not touch the statement.
  bool wanted[std::size(kTotals)];
  for (std::size_t i = 0; i < std::size(kTotals); ++i)
    wanted[i] = kTotals[i].condition == nullptr || nonZero(kTotals[i].condition);
  c.statement.Close();
  for (std::size_t i = 0; i < std::size(kTotals); ++i) {
    if (!wanted[i]) continue;
    const WageTotal& t = kTotals[i];
    AddExcelMapRow(c.excelMap, QString::fromLatin1(t.descr), QString::fromLatin1(t.payItem),
                   QString::fromLatin1(t.item), QString::fromLatin1(t.itemType));
  }
}

// Numbers every row in ITEM;ITEMTYPE;PAYITEM order: column letters from "E", FIELD_NO<n>.
void NumberRows(db::Table& excelMap) {
  excelMap.SetIndexFieldNames(kNumberingOrder);
  QString column = QStringLiteral("E");
  int number = 1;
  QStringList withoutField;
  for (excelMap.First(); !excelMap.Eof(); excelMap.Next()) {
    excelMap.Edit();
    excelMap.SetFieldString(QStringLiteral("EXCEL_COL"), column);
    if (excelMap.FieldAsString(QStringLiteral("FIELDNAME")) != QLatin1String("PERCENT")) {
      if (number <= kMappedFieldCount) {
        excelMap.SetFieldString(QStringLiteral("FIELDNAME"), QStringLiteral("FIELD_NO%1").arg(number));
      } else {
        // RP_HTRX has no field for it: the column shows the caption and stays empty.
        excelMap.SetFieldString(QStringLiteral("FIELDNAME"), QString());
        withoutField << QStringLiteral("%1 (%2)").arg(excelMap.FieldAsString(QStringLiteral("PAYITEM")),
                                                      excelMap.FieldAsString(QStringLiteral("DESCR")));
      }
    }
    excelMap.Post();
    ++number;
    column = NextColumnLetters(column);
  }
  if (!withoutField.isEmpty())
    ShowWarning(QStringLiteral("EXCELMAP holds %1 pay items, but RP_HTRX has fields for %2 only: these items "
                               "get a column without amounts: %3.")
                    .arg(number - 1)
                    .arg(kMappedFieldCount)
                    .arg(withoutField.join(QStringLiteral(", "))));
}

}  // namespace

QString NextColumnLetters(const QString& letters) {
  QString next = letters.toUpper();
  int i = static_cast<int>(next.size()) - 1;
  for (; i >= 0; --i) {
    if (next[i] != QLatin1Char('Z')) {
      next[i] = QChar(next[i].unicode() + 1);
      return next;
    }
    next[i] = QLatin1Char('A');
  }
  return QLatin1Char('A') + next;  // "Z" -> "AA", "ZZ" -> "AAA"
}

int MappedFieldNumber(const QString& fieldName) {
  static const QRegularExpression kPattern(QStringLiteral("^FIELD_NO([1-9][0-9]*)$"),
                                           QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = kPattern.match(fieldName.trimmed());
  if (!match.hasMatch()) return 0;
  const int number = match.captured(1).toInt();
  return number <= kMappedFieldCount ? number : 0;
}

void AddExcelMapRow(db::Table& excelMap, const QString& descr, const QString& payItem, const QString& item,
                    const QString& itemType) {
  static const QStringList kCommunityFunds = {QStringLiteral("CDAC"), QStringLiteral("EUCF"),
                                              QStringLiteral("MOSQ"), QStringLiteral("SINDA")};
  if (kCommunityFunds.contains(payItem)) return;
  if (excelMap.FindKey({payItem})) {
    excelMap.Edit();
  } else {
    excelMap.Append();
    excelMap.SetFieldString(QStringLiteral("PAYITEM"), payItem);
    excelMap.SetFieldString(QStringLiteral("DESCR"), descr);
    excelMap.SetFieldString(QStringLiteral("ITEM"), item);
    excelMap.SetFieldString(QStringLiteral("ITEMTYPE"), itemType);
  }
  excelMap.SetFieldString(QStringLiteral("ISVALUE"), QStringLiteral("1"));
  excelMap.Post();
}

void BuildExcelMapSummary(const ExcelMapComponents& c, const QString& periodFrom, const QString& periodTo) {
  // One transaction instead of a commit per posted row; it commits also when an error ends the
  // rebuild, so that what was written before the error stays, as without a transaction.
  db::TransactionScope transaction(c.excelMap.connection());
  c.excelMap.Close();
  RunStatement(c, {QStringLiteral("DELETE FROM EXCELMAP WHERE RESV IS NULL ")}, {});
  RunStatement(c, {QStringLiteral("UPDATE EXCELMAP SET ISVALUE=NULL ")}, {});
  // Opened after the statements, so that the table shows what they left.
  c.excelMap.SetIndexFieldNames(kPayItemOrder);
  c.excelMap.Open();
  AddAllowanceRows(c, periodFrom, periodTo);
  AddWageTotalRows(c, periodFrom, periodTo);
  NumberRows(c.excelMap);
  c.excelMap.SetIndexFieldNames(kPayItemOrder);
  transaction.Commit();
}

}  // namespace tarno::outputs
