// The table descriptions of the payroll database, and the DDL built from them.
// Widths and types that the host's definitions leave to us are chosen here, each with its reason;
// columns that queries name without a table prefix must stay unique among the tables those
// queries join (CYCLE and FCURR_CODE of the history summary, PERIOD/AMOUNT/DESCRIPTION of the
// pivot query), so EMPLOYEE and EMPSERV carry none of the history columns.
#include "schema/TableDescriptions.h"

#include <QSqlError>
#include <QSqlQuery>

#include "context/Connection.h"
#include "context/Errors.h"

namespace tarno::schema {

namespace {

// Small builder so that the table data below reads like the column lists it comes from.
class TableBuilder {
 public:
  explicit TableBuilder(const QString& name, bool encrypted) {
    m_table.name = name;
    m_table.encrypted = encrypted;
  }
  TableBuilder& Char(const QString& name, int width) {
    m_table.columns.append({name, ColumnType::Char, width});
    return *this;
  }
  TableBuilder& Chars(const QStringList& names, int width) {
    for (const QString& name : names) Char(name, width);
    return *this;
  }
  TableBuilder& Col(const QString& name, ColumnType type) {
    m_table.columns.append({name, type, 0});
    return *this;
  }
  TableBuilder& Cols(const QStringList& names, ColumnType type) {
    for (const QString& name : names) Col(name, type);
    return *this;
  }
  // name1 .. nameN (first..last inclusive), all of one type.
  TableBuilder& Numbered(const QString& stem, int first, int last, ColumnType type) {
    for (int i = first; i <= last; ++i) Col(stem + QString::number(i), type);
    return *this;
  }
  TableBuilder& Index(const QString& name, const QString& fields, bool unique = false) {
    m_table.indexes.append({name, fields.split(QLatin1Char(';')), unique});
    return *this;
  }
  TableDescription Build() const { return m_table; }

 private:
  TableDescription m_table;
};

constexpr auto Cur = ColumnType::Currency;
constexpr auto Dbl = ColumnType::Double;
constexpr auto Int = ColumnType::Integer;
constexpr auto Num = ColumnType::Number;
constexpr auto Dat = ColumnType::Date;

// The head of every history and detail table: PERIOD char(6), CYCLE char(1), EMPCODE char(12).
TableBuilder HistoryTable(const QString& name) {
  TableBuilder t(name, true);
  t.Char("PERIOD", 6).Char("CYCLE", 1).Char("EMPCODE", 12);
  return t;
}

// The payroll header amounts that RP_HTRX and P_HTRX share, in RP_HTRX's order.
const QStringList kHeaderAmounts = {
    "PAYDAY",          "DAILY_RATE",      "HOURLY_RATE", "BASIC",      "NPL_AMT",  "ABSENT_AMT",
    "LATENESS_AMT",    "TOTAL_NPL",       "CPFEMPEE",    "CPFEMPER",   "FWL",      "SDF",
    "GROSS_WAGE",      "CPF_WAGE",        "NETT_WAGE",   "OTAMT",      "SHIFTAMT", "RESTAMT",
    "TOTAL_ALLOWANCE", "TOTAL_DEDUCTION", "ANLV_CUR",    "NONCPFWAGE", "MSO",      "SICKLV_CUR",
    "FWL_CPFWAGE",     "SICKLV_BAL",      "TOTAL_CPF",   "NVC",        "BASICNVC"};
const QStringList kHeaderCodes = {"DEPARTMENT", "COSTCENTE", "CATEGORY", "COMPANY", "SECTION", "JOB_GRADE"};
const QStringList kLeaveCounts = {"NPL_DAY_C", "NPL_DAY_L",  "ABS_DAY_C",
                                  "ABS_DAY_L", "NPL_HOUR_C", "NPL_HOUR_L"};

TableDescription Rptrx() {
  TableBuilder t("RPTRX", true);
  t.Char("EMPCODE", 12).Char("PERIOD", 6).Char("CYCLE", 1).Char("PAYCODE", 16);
  t.Cols({"DAYS", "HOURS", "AMOUNT", "AMOUNT_ER"}, Cur)
      .Char("TRX_TYPE", 1)
      .Col("RATE", Cur)
      .Char("WAGE_TYPE", 1);
  t.Chars({"DEPT_CODE", "COSTCENTRE_CODE", "COMP_CODE", "SECT_CODE", "CATE_CODE"}, 8);
  t.Char("DESCRIPTION", 40).Col("YTDAMOUNT", Cur);
  t.Index("EMPCODE", "EMPCODE;PERIOD;CYCLE;PAYCODE")
      .Index("PAYCODE", "EMPCODE;PAYCODE;PERIOD")
      .Index("DEPT_CODE", "EMPCODE;PAYCODE;PERIOD;COSTCENTRE_CODE;DEPT_CODE");
  return t.Build();
}

TableDescription Excelmap() {
  TableBuilder t("EXCELMAP", false);
  t.Char("ITEM", 12).Char("ITEMTYPE", 1).Char("LINE", 8).Char("EXCEL_COL", 4).Char("FIELDNAME", 12);
  // DESCR: at least 14 characters; 40 holds an allowance description whole. ISVALUE only ever
  // holds "1" or null.
  t.Char("PAYITEM", 20).Char("RESV", 2).Char("DESCR", 40).Char("ISVALUE", 1);
  t.Index("ITEM", "PAYITEM").Index("ITEMTYPE", "ITEM;ITEMTYPE;PAYITEM");
  return t.Build();
}

TableDescription Allownce() {
  TableBuilder t("ALLOWNCE", false);
  // ALLOW_CODE matches P_DTRXAW.ALLW_DED_CODE, char(8). YEAR is an integer: the lookups give the
  // payroll year as a number, and SQL comparisons with its text convert. PAYCODE is one letter
  // (it lands in RPTRX.TRX_TYPE), PAYCODE2 holds the longest report group word (OVERTIME).
  t.Char("ALLOW_CODE", 8).Col("YEAR", Int).Char("DESC", 30).Char("PAYCODE", 1).Char("PAYCODE2", 10);
  t.Char("IS_FUND", 1).Col("TRNNO", Int).Char("RPTCODE", 8);
  t.Index("PRIMARY", "ALLOW_CODE;YEAR", true)
      .Index("ALLW3", "DESC")
      .Index("ALLW2", "YEAR;ALLOW_CODE")
      .Index("RPTCODE", "YEAR;RPTCODE");
  return t.Build();
}

TableDescription RpHtrx() {
  TableBuilder t = HistoryTable("RP_HTRX");
  t.Cols(kHeaderAmounts, Cur);
  t.Chars(kHeaderCodes, 8);
  t.Numbered("FIELD_NO", 1, 200, Cur);
  t.Cols(kLeaveCounts, Cur);
  t.Numbered("OT_HRS", 1, 8, Cur).Numbered("SHIFT", 1, 10, Cur);
  t.Cols({"RESTDAY05", "RESTDAY10", "RESTDAY20"}, Cur);
  t.Numbered("OT_RATE", 1, 8, Cur).Numbered("OT_AMT", 1, 8, Cur).Numbered("SHIFTAMT", 1, 10, Cur);
  t.Cols({"RESTAMT05", "RESTAMT10", "RESTAMT20", "CPFOWWAGE", "CPFAWWAGE", "AWWAGE_EARNED"}, Cur);
  t.Numbered("GRPNUM", 1, 15, Cur).Cols({"VOLCPFEE", "VOLCPFER"}, Cur).Numbered("GRPNUM", 16, 35, Cur);
  t.Col("TOTAL_GROSS", Cur);
  t.Cols({"BONUS_CFPEE", "BONUS_CPFER", "BONUS_TOTALCPF", "GP_BASIC", "GP_ALLOWANCE", "GP_DEDUCTION",
          "GP_BONUS", "GP_OVERTIME"},
         Dbl);
  t.Index("EMPCODE", "EMPCODE;PERIOD;CYCLE", true)
      .Index("PERIOD", "PERIOD;CYCLE;EMPCODE;DEPARTMENT;COSTCENTE");
  return t.Build();
}

TableDescription PHist1() {
  // A work table of the host; only USERID is named. The rest is a plausible per-user history
  // selection: employee, period, run, pay code and amount.
  TableBuilder t("P_HIST1", true);
  t.Char("USERID", 10).Char("EMPCODE", 12).Char("PERIOD", 6).Char("CYCLE", 1).Char("PAYCODE", 16);
  t.Char("DESCRIPTION", 40).Col("AMOUNT", Cur);
  t.Index("USERID", "USERID;EMPCODE;PERIOD;CYCLE");
  return t.Build();
}

TableDescription Paypara1() {
  TableBuilder t("PAYPARA1", true);
  t.Char("YEAR", 4).Char("COMPANY", 60).Char("G_DATEFORMAT", 10);
  // A few of the host's further company parameters, so the row looks like a real one.
  t.Char("ADDRESS1", 40).Char("ADDRESS2", 40).Char("POSTAL_CODE", 10).Char("CPF_SUBMISSION_NO", 15);
  t.Char("UEN", 12).Col("WORK_HOURS_WEEK", Num).Col("WORK_DAYS_MONTH", Num).Char("BASE_CURR", 8);
  t.Index("PRIMARY", "YEAR", true);
  return t.Build();
}

TableDescription Custom() {
  TableBuilder t("CUSTOM", false);
  t.Col("ID", Int).Char("PROGRAM", 25).Char("DESC", 30).Char("MODULE", 30).Char("PARAMETER", 30);
  t.Char("PARAMETER_VALUE", 30);
  t.Index("PRIMARY", "ID", true);
  return t.Build();
}

TableDescription PHtrx() {
  TableBuilder t = HistoryTable("P_HTRX");
  t.Cols(kHeaderAmounts, Cur);
  t.Chars(kHeaderCodes, 8);
  t.Cols(kLeaveCounts, Cur);
  t.Cols({"CPFOWWAGE", "CPFAWWAGE", "AWWAGE_EARNED", "VOLCPFEE", "VOLCPFER", "TOTAL_GROSS"}, Cur);
  // How the nett wage was paid out: bank transfer, cheque, cash (they add up to NETT_WAGE).
  t.Cols({"BANKAMT", "CASHAMT", "CHEQAMT"}, Cur);
  t.Index("PRIMARY", "PERIOD;CYCLE;EMPCODE", true)
      .Index("HTRX1", "EMPCODE;PERIOD;CYCLE;PAYDAY")
      .Index("EMPCODE", "EMPCODE")
      .Index("PERIOD", "PERIOD")
      .Index("CYCLE", "CYCLE")
      .Index("EMPCODE1", "EMPCODE;CYCLE");
  return t.Build();
}

TableDescription Employee() {
  TableBuilder t("EMPLOYEE", true);
  t.Char("EMP_NO", 12).Char("EMP_NAME", 40);
  t.Chars({"DEPARTMENT_CODE", "COST_CENTRE_CODE", "COMPANY_CODE", "JOB_GRADE_CODE", "CATEGORY_CODE",
           "SECTION_CODE", "DIVISION_CODE", "OCCUPATION_CODE", "LOCATION_CODE"},
          8);
  t.Char("INCOME_TAX_AC_NO", 16).Char("TERMINATION_STATUS", 8).Char("PASSPORT_NO", 30);
  t.Cols({"HIRED_DATE", "TERMINATION_DATE", "DOB"}, Dat);
  // The employee's pay currency (read by the history summary).
  t.Char("FCURR_CODE", 8);
  // Further master data the payroll needs: residency for CPF ("C" citizen, "P" permanent resident,
  // "F" foreigner), race for the self-help-group fund, sex, monthly basic salary, pay mode.
  t.Char("RESIDENT_STATUS", 1).Char("RACE", 8).Char("SEX", 1).Col("BASIC_SALARY", Cur).Char("PAY_MODE", 1);
  t.Index("PRIMARY", "EMP_NO", true).Index("EMP_NAME", "EMP_NAME");
  return t.Build();
}

TableDescription Empserv() {
  TableBuilder t("EMPSERV", true);
  t.Char("EMP_NO", 12).Char("USERID", 10).Col("NEW_SALARY", Cur);
  t.Chars({"DEPARTMENT", "COST_CENTRE", "COMPANY", "CATEGORY", "SECTION"}, 8);
  t.Index("PRIMARY", "EMP_NO;USERID", true).Index("USERID", "USERID;EMP_NO");
  return t.Build();
}

TableDescription Empmisc() {
  TableBuilder t("EMPMISC", true);
  t.Char("EMP_NO", 12).Chars({"CHAR1", "CHAR2", "CHAR3"}, 30).Col("NUM1", Num).Col("DATE1", Dat);
  t.Index("PRIMARY", "EMP_NO", true);
  return t.Build();
}

// Detail tables: the history head, then the table's own columns.
TableDescription PDtrxAw() {
  TableBuilder t = HistoryTable("P_DTRXAW");
  t.Char("ALLW_DED_CODE", 8).Col("NO", Int).Col("RATE", Cur).Col("FREQUENCY", Cur).Col("AMOUNT", Cur);
  t.Index("PRIMARY", "PERIOD;CYCLE;EMPCODE;ALLW_DED_CODE;NO", true)
      .Index("MODINDEX2", "EMPCODE;PERIOD;CYCLE;ALLW_DED_CODE")
      .Index("ALLW1", "ALLW_DED_CODE")
      .Index("ALLW2", "EMPCODE;PERIOD;ALLW_DED_CODE")
      .Index("EMPLOYEE", "EMPCODE");
  return t.Build();
}

// The detail keys are not unique: a run may hold several lines of one type (the extraction sums
// them by type). OT_DESC and the other type texts are 10 characters, so that a pay code built from a
// 6-character prefix and the text fits RPTRX.PAYCODE (16).
TableDescription PDtrxOt() {
  TableBuilder t = HistoryTable("P_DTRXOT");
  t.Char("OTTYPE", 4).Col("OTFACTOR", Num).Char("OT_DESC", 10).Col("OTRATE", Num).Col("OTHRS", Num);
  t.Col("OTAMT", Num);
  t.Index("PRIMARY", "PERIOD;CYCLE;EMPCODE;OTTYPE").Index("EMPLOYEE", "EMPCODE;PERIOD;CYCLE");
  return t.Build();
}

TableDescription PDtrxSf() {
  TableBuilder t = HistoryTable("P_DTRXSF");
  t.Char("SHIFT_DESC", 10).Char("SHIFT_STATUS", 4).Col("SHIFT_NO", Num).Col("SHIFTAMT", Num);
  t.Index("PRIMARY", "PERIOD;CYCLE;EMPCODE;SHIFT_STATUS;SHIFT_DESC")
      .Index("EMPLOYEE", "EMPCODE;PERIOD;CYCLE");
  return t.Build();
}

TableDescription TypedDetail(const QString& name, const QString& typeColumn) {
  TableBuilder t = HistoryTable(name);
  t.Char(typeColumn, 10).Col("FREQUENCY", Num).Col("AMOUNT", Num);
  t.Index("PRIMARY", "PERIOD;CYCLE;EMPCODE;" + typeColumn).Index("EMPLOYEE", "EMPCODE;PERIOD;CYCLE");
  return t.Build();
}

TableDescription Ytdempl() {
  TableBuilder t = HistoryTable("YTDEMPL");
  t.Cols({"ACTUAL_AW_PAID", "CPFAWWAGE", "CPFOWWAGE"}, Num);
  // The running year-to-date ordinary wages that the additional-wage ceiling is computed from.
  t.Col("YTD_OWWAGE", Num);
  t.Index("PRIMARY", "PERIOD;CYCLE;EMPCODE", true).Index("EMPLOYEE", "EMPCODE;PERIOD;CYCLE");
  return t.Build();
}

TableDescription PparaSf() {
  TableBuilder t("PPARA_SF", false);
  // YEAR is an integer as in ALLOWNCE: the lookup gives the payroll year as a number.
  t.Col("YEAR", Int).Char("SHIFT_STATUS", 4).Char("SHIFT_DESC", 10).Char("PAYCODE", 1).Char("IS_FUND", 1);
  t.Col("SHIFT_RATE", Cur);
  t.Index("PRIMARY", "YEAR;SHIFT_STATUS;SHIFT_DESC", true)
      .Index("PARASHIFT1", "SHIFT_STATUS")
      .Index("PARASHIFT2", "SHIFT_DESC");
  return t.Build();
}

TableDescription Costctr() {
  TableBuilder t("COSTCTR", false);
  t.Char("EMPCODE", 12).Char("PERIOD", 6).Char("COST_CENTRE", 8).Col("PERCENT", Dbl).Char("DEPARTMENT", 8);
  t.Index("PRIMARY", "EMPCODE;PERIOD;COST_CENTRE", true).Index("EMPLOYEE", "EMPCODE");
  return t.Build();
}

TableDescription Code() {
  TableBuilder t("CODE", false);
  // DESC is 60 wide: the longest description field that shows it holds 60 characters.
  t.Char("CODE", 8).Char("CATEGORY", 3).Char("DESC", 60);
  t.Index("PRIMARY", "CODE;CATEGORY", true)
      .Index("DESC1", "DESC")
      .Index("BY CATEGORY", "CATEGORY;CODE")
      .Index("CATEDESC", "CATEGORY;DESC");
  return t.Build();
}

TableDescription Exrate() {
  TableBuilder t("EXRATE", false);
  t.Char("PERIOD", 6).Col("EX_RATE", Dbl).Char("CURR", 8).Char("EXCODE", 8);
  t.Index("CURR", "CURR;PERIOD").Index("CURR2", "CURR;EXCODE;PERIOD");
  return t.Build();
}

TableDescription RbField() {
  // Declared by the dialog and given the table password, never read: a report-builder field list.
  TableBuilder t("RBFIELD", true);
  t.Char("TABLENAME", 60)
      .Char("FIELDNAME", 60)
      .Char("FIELDALIAS", 60)
      .Char("DATATYPE", 20)
      .Char("SELECTABLE", 1);
  t.Index("PRIMARY", "TABLENAME;FIELDNAME", true);
  return t.Build();
}

QList<TableDescription> BuildAllTables() {
  return {Rptrx(),
          Excelmap(),
          Allownce(),
          RpHtrx(),
          PHist1(),
          Paypara1(),
          Custom(),
          PHtrx(),
          Employee(),
          Empserv(),
          Empmisc(),
          PDtrxAw(),
          PDtrxOt(),
          PDtrxSf(),
          TypedDetail("P_DTRXND", "NPL_DAY_TYPE"),
          TypedDetail("P_DTRXAS", "ABSENT_TYPE"),
          TypedDetail("P_DTRXNH", "NPL_HOUR_TYPE"),
          TypedDetail("P_DTRXRD", "RESTDAY_TYPE"),
          Ytdempl(),
          PparaSf(),
          Costctr(),
          Code(),
          Exrate(),
          RbField()};
}

QString Quoted(const QString& identifier) {
  return QLatin1Char('"') + identifier + QLatin1Char('"');
}

// "BY CATEGORY" -> "BY_CATEGORY": index names are identifiers of our own, so keep them plain.
QString IndexSqlName(const QString& table, const QString& index) {
  QString name = table + QLatin1Char('_') + index;
  name.replace(QLatin1Char(' '), QLatin1Char('_'));
  return name;
}

void Execute(db::Connection& connection, const QString& table, const QString& sql) {
  QSqlQuery query(connection.Database());
  if (!query.exec(sql))
    throw DatabaseError(QStringLiteral("The table %1 cannot be created: the statement \"%2\" failed: %3.")
                            .arg(table, sql, query.lastError().text()));
}

}  // namespace

const ColumnDescription* TableDescription::Column(const QString& columnName) const {
  for (const ColumnDescription& column : columns)
    if (column.name.compare(columnName, Qt::CaseInsensitive) == 0) return &column;
  return nullptr;
}

const QList<TableDescription>& AllTables() {
  static const QList<TableDescription> tables = BuildAllTables();
  return tables;
}

const TableDescription& DescribeTable(const QString& name) {
  const QString bare = db::TableNameWithoutExtension(name.trimmed());
  for (const TableDescription& table : AllTables())
    if (table.name.compare(bare, Qt::CaseInsensitive) == 0) return table;
  throw Error(QStringLiteral("The table %1 is not one of the payroll tables this module knows.").arg(name));
}

QString SqlType(const ColumnDescription& column) {
  switch (column.type) {
    case ColumnType::Char:
      return QStringLiteral("CHAR(%1)").arg(column.width);
    case ColumnType::Currency:
    case ColumnType::Number:
      return QStringLiteral("NUMERIC(19,4)");
    case ColumnType::Double:
      return QStringLiteral("DOUBLE PRECISION");
    case ColumnType::Integer:
      return QStringLiteral("INTEGER");
    case ColumnType::Date:
      return QStringLiteral("DATE");
    case ColumnType::Memo:
      return QStringLiteral("TEXT");
  }
  return QStringLiteral("TEXT");
}

QString CreateTableSql(const TableDescription& table) {
  QStringList columns;
  columns.reserve(table.columns.size());
  for (const ColumnDescription& column : table.columns)
    columns.append(Quoted(column.name) + ' ' + SqlType(column));
  return QStringLiteral("CREATE TABLE %1 (%2)").arg(Quoted(table.name), columns.join(QStringLiteral(", ")));
}

QStringList CreateIndexSql(const TableDescription& table) {
  QStringList statements;
  for (const IndexDescription& index : table.indexes) {
    QStringList fields;
    for (const QString& field : index.fields) fields.append(Quoted(field));
    statements.append(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                          .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(),
                               Quoted(IndexSqlName(table.name, index.name)), Quoted(table.name),
                               fields.join(QStringLiteral(", "))));
  }
  return statements;
}

void CreateTable(db::Connection& connection, const TableDescription& table, const QString& tablePassword) {
  Execute(connection, table.name, CreateTableSql(table));
  for (const QString& statement : CreateIndexSql(table)) Execute(connection, table.name, statement);
  if (table.encrypted) connection.MarkTableEncrypted(table.name, tablePassword);
}

void CreateAllTables(db::Connection& connection, const QString& tablePassword) {
  // One transaction: on SQLite every statement outside one is a disk sync of its own.
  db::TransactionScope transaction(connection);
  for (const TableDescription& table : AllTables()) CreateTable(connection, table, tablePassword);
}

}  // namespace tarno::schema
