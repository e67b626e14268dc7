// Fill of RP_HTRX from the payroll history for the variance and year-to-date workbooks.
#include "outputs/ReportHistoryFill.h"

#include <QHash>
#include <QSet>
#include <QVariantList>
#include <vector>

#include "context/Currency.h"
#include "context/Errors.h"
#include "context/Query.h"
#include "outputs/ExcelMapSummary.h"
#include "outputs/StatementPasswords.h"

namespace tarno::outputs {
namespace {

// One mapped item: its RP_HTRX field number and where its amount comes from.
struct MappedItem {
  int fieldNumber = 0;
  QString payItem;
  QString historyColumn;  // the P_HTRX column named by PAYITEM, or empty for an allowance code
};

// RP_HTRX columns that hold texts or rates: a year-to-date row takes them from the latest run
// instead of summing them.
bool IsTakenFromLatestRun(const QString& column) {
  static const QSet<QString> kTexts = {"PERIOD",   "CYCLE",   "EMPCODE", "DEPARTMENT", "COSTCENTE",
                                       "CATEGORY", "COMPANY", "SECTION", "JOB_GRADE"};
  return kTexts.contains(column) || column.contains(QLatin1String("RATE"));
}

QString RunKey(const QString& employee, const QString& period, const QString& cycle) {
  return employee + QChar(0x1f) + period + QChar(0x1f) + cycle;
}

std::vector<MappedItem> ReadMappedItems(db::Table& excelMap) {
  std::vector<MappedItem> items;
  for (excelMap.First(); !excelMap.Eof(); excelMap.Next()) {
    const int number = MappedFieldNumber(excelMap.FieldAsString(QStringLiteral("FIELDNAME")));
    if (number == 0) continue;  // "PERCENT" or no field: nothing to store
    items.push_back({number, excelMap.FieldAsString(QStringLiteral("PAYITEM")), QString()});
  }
  excelMap.First();
  return items;
}

QStringList ColumnsOf(db::Connection& connection, const QString& table, const QString& password) {
  db::Query probe(connection);
  probe.SetSQL({QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(table)});
  GiveStatementPasswords(probe, {table}, password);
  probe.Open();
  QStringList names;
  for (const QString& name : probe.FieldNames()) names << name.toUpper();
  probe.Close();
  return names;
}

void SetCommonParams(db::Query& query, const ReportHistoryRequest& request, const QString& from,
                     const QString& to) {
  query.SetParam(QStringLiteral("USERID"), request.userId);
  query.SetParam(QStringLiteral("PERIOD1"), from);
  query.SetParam(QStringLiteral("PERIOD2"), to);
  for (int i = 0; i < 4; ++i)
    query.SetParam(QStringLiteral("CYCLE%1").arg(i + 1), request.cycleLetters.mid(i, 1));
}

// Sums of P_DTRXAW.AMOUNT per employee, period, run and code, for the operator's employees.
QHash<QString, QHash<QString, Currency>> ReadAllowanceSums(db::Connection& connection,
                                                           const ReportHistoryRequest& request,
                                                           const QString& from, const QString& to) {
  db::Query query(connection);
  query.SetSQL(
      {QStringLiteral("SELECT EMPCODE,PERIOD,CYCLE,ALLW_DED_CODE,SUM(AMOUNT) AS AMOUNT FROM P_DTRXAW"),
       QStringLiteral("WHERE PERIOD>=:PERIOD1 AND PERIOD<=:PERIOD2"),
       QStringLiteral("AND CYCLE IN (:CYCLE1,:CYCLE2,:CYCLE3,:CYCLE4)"),
       QStringLiteral("AND EMPCODE IN (SELECT EMP_NO FROM EMPSERV WHERE USERID=:USERID)"),
       QStringLiteral("GROUP BY EMPCODE,PERIOD,CYCLE,ALLW_DED_CODE")});
  GiveStatementPasswords(query, {QStringLiteral("P_DTRXAW"), QStringLiteral("EMPSERV")},
                         request.tablePassword);
  SetCommonParams(query, request, from, to);
  query.Open();
  QHash<QString, QHash<QString, Currency>> sums;
  for (query.First(); !query.Eof(); query.Next()) {
    sums[RunKey(query.FieldAsString(QStringLiteral("EMPCODE")), query.FieldAsString(QStringLiteral("PERIOD")),
                query.FieldAsString(QStringLiteral("CYCLE")))]
        [query.FieldAsString(QStringLiteral("ALLW_DED_CODE"))] +=
        query.FieldAsCurrency(QStringLiteral("AMOUNT"));
  }
  return sums;
}

// The row being built for one RP_HTRX record.
struct HistoryRow {
  QVariantList header;           // in the order of the shared header columns
  std::vector<Currency> summed;  // the header columns that a year-to-date row sums (else unused)
  std::vector<Currency> items;   // in the order of the mapped items
};

}  // namespace

int FillReportHistory(db::Connection& connection, db::Table& excelMap, const ReportHistoryRequest& request) {
  if (request.reportKind != 8 && request.reportKind != 9)
    throw OutputError(
        QStringLiteral("RP_HTRX is filled only for report kinds 8 and 9, not %1.").arg(request.reportKind));
  if (request.cycleLetters.size() != 4)
    throw OutputError(
        QStringLiteral("The pay run selection '%1' must hold four cycle letters.").arg(request.cycleLetters));
  const bool yearToDate = request.reportKind == 9;
  const QString from = yearToDate ? request.periodTo.left(4) + QStringLiteral("01") : request.periodFrom;
  const QString to = request.periodTo;

  std::vector<MappedItem> items = ReadMappedItems(excelMap);
  const QStringList reportColumns = ColumnsOf(connection, QStringLiteral("RP_HTRX"), request.tablePassword);

  db::Query history(connection);
  history.SetSQL({QStringLiteral("SELECT P_HTRX.* FROM P_HTRX,EMPSERV"),
                  QStringLiteral("WHERE P_HTRX.EMPCODE=EMPSERV.EMP_NO AND EMPSERV.USERID=:USERID"),
                  QStringLiteral("AND P_HTRX.PERIOD>=:PERIOD1 AND P_HTRX.PERIOD<=:PERIOD2"),
                  QStringLiteral("AND P_HTRX.CYCLE IN (:CYCLE1,:CYCLE2,:CYCLE3,:CYCLE4)"),
                  QStringLiteral("ORDER BY P_HTRX.EMPCODE,P_HTRX.PERIOD,P_HTRX.CYCLE")});
  GiveStatementPasswords(history, {QStringLiteral("P_HTRX"), QStringLiteral("EMPSERV")},
                         request.tablePassword);
  SetCommonParams(history, request, from, to);
  history.Open();

  // The header columns both tables have (FIELD_NO<n> belong to the items), in RP_HTRX's order.
  QHash<QString, QString> historyColumns;  // upper-case name -> name as the result gives it
  for (const QString& name : history.FieldNames()) historyColumns.insert(name.toUpper(), name);
  QStringList headerColumns;
  for (const QString& column : reportColumns)
    if (MappedFieldNumber(column) == 0 && historyColumns.contains(column)) headerColumns << column;
  for (MappedItem& item : items) item.historyColumn = historyColumns.value(item.payItem.toUpper());
  std::vector<int> summedColumns;  // indexes into headerColumns
  if (yearToDate)
    for (int i = 0; i < headerColumns.size(); ++i)
      if (!IsTakenFromLatestRun(headerColumns[i])) summedColumns.push_back(i);

  const auto allowanceSums = ReadAllowanceSums(connection, request, from, to);

  // Rows in history order; a year-to-date run keeps one row per employee.
  std::vector<HistoryRow> rows;
  QString lastEmployee;
  for (history.First(); !history.Eof(); history.Next()) {
    const QString employee = history.FieldAsString(QStringLiteral("EMPCODE"));
    const bool startsRow = !yearToDate || rows.empty() || employee != lastEmployee;
    lastEmployee = employee;
    if (startsRow) {
      HistoryRow row;
      row.summed.assign(summedColumns.size(), Currency());
      row.items.assign(items.size(), Currency());
      rows.push_back(std::move(row));
    }
    HistoryRow& row = rows.back();
    row.header.clear();
    for (const QString& column : headerColumns)
      row.header << history.FieldValue(historyColumns.value(column));
    for (std::size_t i = 0; i < summedColumns.size(); ++i)
      row.summed[i] += history.FieldAsCurrency(historyColumns.value(headerColumns[summedColumns[i]]));
    const auto allowances =
        allowanceSums.value(RunKey(employee, history.FieldAsString(QStringLiteral("PERIOD")),
                                   history.FieldAsString(QStringLiteral("CYCLE"))));
    for (std::size_t i = 0; i < items.size(); ++i) {
      row.items[i] += items[i].historyColumn.isEmpty() ? allowances.value(items[i].payItem)
                                                       : history.FieldAsCurrency(items[i].historyColumn);
    }
  }
  history.Close();

  // One prepared INSERT, one transaction.
  QStringList columns = headerColumns;
  for (const MappedItem& item : items) columns << QStringLiteral("FIELD_NO%1").arg(item.fieldNumber);
  QStringList placeholders;
  for (int i = 0; i < columns.size(); ++i) placeholders << QStringLiteral(":P%1").arg(i);
  db::Query insert(connection);
  insert.SetSQL({QStringLiteral("INSERT INTO RP_HTRX (%1)").arg(columns.join(QLatin1Char(','))),
                 QStringLiteral("VALUES (%1)").arg(placeholders.join(QLatin1Char(',')))});
  GiveStatementPasswords(insert, {QStringLiteral("RP_HTRX")}, request.tablePassword);
  const int periodIndex = static_cast<int>(headerColumns.indexOf(QStringLiteral("PERIOD")));
  const int cycleIndex = static_cast<int>(headerColumns.indexOf(QStringLiteral("CYCLE")));
  db::TransactionScope transaction(connection);
  for (HistoryRow& row : rows) {
    if (yearToDate) {
      for (std::size_t i = 0; i < summedColumns.size(); ++i)
        row.header[summedColumns[i]] = row.summed[i].ToDouble();
      if (periodIndex >= 0) row.header[periodIndex] = to;
      if (cycleIndex >= 0) row.header[cycleIndex] = QStringLiteral("E");
    }
    int p = 0;
    for (const QVariant& value : row.header) insert.SetParamValue(QStringLiteral("P%1").arg(p++), value);
    for (const Currency& amount : row.items)
      insert.SetParamValue(QStringLiteral("P%1").arg(p++), amount.ToDouble());
    insert.ExecSQL();
  }
  transaction.Commit();
  return static_cast<int>(rows.size());
}

}  // namespace tarno::outputs
