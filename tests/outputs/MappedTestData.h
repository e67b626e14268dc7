// Small payroll fixtures of the variance and year-to-date tests: allowance codes, payments, history
// headers, and EXCELMAP read back as plain rows.
#pragma once

#include <gtest/gtest.h>

#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <utility>
#include <vector>

#include "OutputsTestSupport.h"
#include "context/DataModule.h"
#include "context/Query.h"
#include "context/Table.h"
#include "outputs/ExcelMapSummary.h"

namespace tarno::test {

struct MapRow {
  QString payItem, descr, item, itemType, excelCol, fieldName, line;
  bool marked = false;  // ISVALUE = "1"
};

inline void AddAllowance(ScratchDatabase& db, const QString& code, int year, const QString& desc,
                         const QString& isFund) {
  db.Insert(QStringLiteral("ALLOWNCE"), {"ALLOW_CODE", "YEAR", "DESC", "IS_FUND"},
            {code, year, desc, isFund});
}

inline void AddPayment(ScratchDatabase& db, const QString& period, const QString& cycle,
                       const QString& employee, const QString& code, double amount) {
  static int number = 0;
  db.Insert(QStringLiteral("P_DTRXAW"), {"PERIOD", "CYCLE", "EMPCODE", "ALLW_DED_CODE", "NO", "AMOUNT"},
            {period, cycle, employee, code, ++number, amount});
}

// One P_HTRX row; amounts not named are left null.
inline void AddHistory(ScratchDatabase& db, const QString& period, const QString& cycle,
                       const QString& employee, const std::vector<std::pair<QString, QVariant>>& values) {
  QStringList columns = {"PERIOD", "CYCLE", "EMPCODE"};
  QVariantList data = {period, cycle, employee};
  for (const auto& [column, value] : values) {
    columns << column;
    data << value;
  }
  db.Insert(QStringLiteral("P_HTRX"), columns, data);
}

inline void AddMapRow(ScratchDatabase& db, const MapRow& row, const QVariant& resv) {
  db.Insert(QStringLiteral("EXCELMAP"),
            {"PAYITEM", "DESCR", "ITEM", "ITEMTYPE", "EXCEL_COL", "FIELDNAME", "LINE", "RESV", "ISVALUE"},
            {row.payItem, row.descr, row.item, row.itemType, row.excelCol, row.fieldName, row.line, resv,
             row.marked ? QVariant(QStringLiteral("1")) : QVariant()});
}

// EXCELMAP by PAYITEM, read with plain SQL.
inline QMap<QString, MapRow> ReadExcelMap(ScratchDatabase& db) {
  QMap<QString, MapRow> rows;
  QSqlQuery query(db.connection().Database());
  EXPECT_TRUE(query.exec(
      QStringLiteral("SELECT PAYITEM,DESCR,ITEM,ITEMTYPE,EXCEL_COL,FIELDNAME,LINE,ISVALUE FROM EXCELMAP")))
      << query.lastError().text().toStdString();
  while (query.next()) {
    MapRow row;
    row.payItem = query.value(0).toString().trimmed();
    row.descr = query.value(1).toString().trimmed();
    row.item = query.value(2).toString().trimmed();
    row.itemType = query.value(3).toString().trimmed();
    row.excelCol = query.value(4).toString().trimmed();
    row.fieldName = query.value(5).toString().trimmed();
    row.line = query.value(6).toString().trimmed();
    row.marked = query.value(7).toString().trimmed() == QLatin1String("1");
    rows.insert(row.payItem, row);
  }
  return rows;
}

// Rebuilds EXCELMAP for the range as a run does, with the module's table password.
inline void RebuildExcelMap(ScratchDatabase& db, const QString& from, const QString& to,
                            const QString& password = TDataModule1::GetTablePassword()) {
  db::Table excelMap(db.connection(), QStringLiteral("EXCELMAP"));
  excelMap.SetIndexFieldNames(QStringLiteral("PAYITEM"));
  db::Query statement(db.connection());
  outputs::BuildExcelMapSummary({excelMap, statement, password}, from, to);
}

}  // namespace tarno::test

#include <QFile>

#include "xlsx/Workbook.h"

namespace tarno::test {

// A small stand-in for HISTORY9.XLSX: employee columns A and B with captions in row 8 and field
// references in row 9, a title cell B2, "SourceRange" over rows 9 and 10 (unless left out), and a
// "Pivot" sheet.
inline QString MakeMappedTemplate(const QString& folder, bool withSourceRange = true) {
  const QString path = folder + QStringLiteral("/HISTORY9.XLSX");
  xlsx::Workbook workbook = xlsx::Workbook::CreateNew(QStringLiteral("Sheet1"));
  xlsx::Worksheet& sheet = workbook.Sheet(0);
  sheet.SetText("B2", "template title");
  sheet.SetText("A8", "Emp No");
  sheet.SetText("B8", "Name");
  sheet.SetText("A9", "=qryAll_EMP_NO");
  sheet.SetText("B9", "=qryAll_EMP_NAME");
  if (withSourceRange) workbook.SetDefinedName("SourceRange", "Sheet1!$A$9:$HZ$10");
  workbook.AddSheet("Pivot");
  workbook.SaveAs(path);
  return path;
}

inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace tarno::test
