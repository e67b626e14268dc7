// The pivot workbook form: FormCreate builds the lookups and the report query, qryAllCalcFields
// fills the descriptive fields of each record, SaveReport hands the records to the template filler.
#include "outputs/TFormTarnoExel.h"

#include <QFileInfo>

#include "context/DataModule.h"
#include "context/Errors.h"
#include "context/Settings.h"
#include "outputs/DatasetRecordSource.h"

namespace tarno::outputs {

using db::FieldKind;

const PivotField kPivotFields[48] = {
    {"EMP_NO", false, FieldKind::String, 12},
    {"EMP_NAME", false, FieldKind::String, 40},
    {"DEPARTMENT_CODE", false, FieldKind::String, 8},
    {"COST_CENTRE_CODE", false, FieldKind::String, 8},
    {"COMPANY_CODE", false, FieldKind::String, 8},
    {"JOB_GRADE_CODE", false, FieldKind::String, 8},
    {"CATEGORY_CODE", false, FieldKind::String, 8},
    {"SECTION_CODE", false, FieldKind::String, 8},
    {"DESCRIPTION", false, FieldKind::String, 50},
    {"PERIOD", false, FieldKind::String, 6},
    {"AMOUNT", false, FieldKind::Currency, 0},
    {"PAYCODE", false, FieldKind::String, 8},
    {"COMPANY", true, FieldKind::String, 40},
    {"DEPARTMENT", true, FieldKind::String, 40},
    {"JOB_GRADE", true, FieldKind::String, 40},
    {"COST_CENTRE", true, FieldKind::String, 40},
    {"CATEGORY", true, FieldKind::String, 40},
    {"YTDAMOUNT", false, FieldKind::Currency, 0},
    {"TAXNO", false, FieldKind::String, 16},
    {"COST_CENTRE_DESC", true, FieldKind::String, 50},
    {"DEPARTMENT_CODE_DESC", true, FieldKind::String, 50},
    {"DIVISION_CODE", false, FieldKind::String, 8},
    {"DIVISION_CODE_DESC", true, FieldKind::String, 30},
    {"OCCUPATION", true, FieldKind::String, 8},
    {"OCCUPATION_CODE_DESC", true, FieldKind::String, 30},
    {"OCCUPATION_CODE", false, FieldKind::String, 8},
    {"DEPT_CODE", false, FieldKind::String, 10},
    {"COSTCENTRE_CODE", false, FieldKind::String, 10},
    {"DEPARTMENT_DESC", true, FieldKind::String, 40},
    {"FAMOUNT", true, FieldKind::Currency, 0},
    {"FCURR_CODE", true, FieldKind::String, 8},
    {"CURR_CODE", true, FieldKind::String, 8},
    {"EXRATE", true, FieldKind::Currency, 0},
    {"LOCATION_CODE", false, FieldKind::String, 8},
    {"COST_CENTRE_CODE_DESC", true, FieldKind::String, 60},
    {"SECTION_CODE_DESC", true, FieldKind::String, 60},
    {"HIREDATE", true, FieldKind::String, 10},
    {"HIRED_DATE", false, FieldKind::Date, 0},
    {"TERMINATION_STATUS", false, FieldKind::String, 8},
    {"TERMDATE", true, FieldKind::String, 10},
    {"CHAR1", true, FieldKind::String, 30},
    {"TERMINATION_DATE", false, FieldKind::Date, 0},
    {"STATUS", true, FieldKind::String, 12},
    {"RATE", false, FieldKind::Currency, 0},
    {"DIVISION", true, FieldKind::String, 40},
    {"PASSPORT_NO", false, FieldKind::String, 30},
    {"DOB", false, FieldKind::Date, 0},
    {"CYCLE", true, FieldKind::String, 1},
};

namespace {

constexpr const char* kGridFields[] = {
    "COMPANY_CODE", "PERIOD", "COST_CENTRE_CODE", "COSTCENTRE_CODE", "DEPARTMENT_CODE",
    "DESCRIPTION",  "EMP_NO", "EMP_NAME",         "AMOUNT",          "YTDAMOUNT"};

// The report query, line by line as the form builds it.
const QStringList kPivotQueryLines = {
    QStringLiteral(
        "SELECT EMPLOYEE.EMP_NO,EMP_NAME,EMPSERV.DEPARTMENT AS DEPARTMENT_CODE,EMPSERV.COST_CENTRE AS "
        "COST_CENTRE_CODE,EMPLOYEE.INCOME_TAX_AC_NO AS TAXNO,"),
    QStringLiteral(
        "RPTRX.DEPT_CODE,EMPSERV.COMPANY AS COMPANY_CODE,EMPLOYEE.JOB_GRADE_CODE,EMPSERV.CATEGORY AS "
        "CATEGORY_CODE,LOCATION_CODE,"),
    QStringLiteral(
        "EMPSERV.SECTION AS SECTION_CODE,EMPLOYEE.DIVISION_CODE,EMPLOYEE.OCCUPATION_CODE,HIRED_DATE,"
        "TERMINATION_DATE,"),
    QStringLiteral("TERMINATION_STATUS,SUM(RPTRX.RATE) AS RATE,PASSPORT_NO,DOB,"),
    QStringLiteral(
        "RPTRX.COSTCENTRE_CODE,DESCRIPTION,PERIOD,SUM(AMOUNT) AS AMOUNT,PAYCODE,SUM(YTDAMOUNT)   AS "
        "YTDAMOUNT"),
    QStringLiteral("FROM EMPLOYEE,RPTRX,EMPSERV"),
    QStringLiteral("WHERE EMPLOYEE.EMP_NO=RPTRX.EMPCODE"),
    QStringLiteral("AND RPTRX.PERIOD>=:PERIOD1 AND RPTRX.PERIOD <=:PERIOD2"),
    QStringLiteral("AND EMPSERV.EMP_NO=EMPLOYEE.EMP_NO AND EMPSERV.USERID=:USERID"),
    QStringLiteral("GROUP BY EMPLOYEE.EMP_NO,EMP_NAME,EMPSERV.DEPARTMENT,EMPSERV.COST_CENTRE,LOCATION_CODE,"),
    QStringLiteral("EMPSERV.COMPANY,EMPLOYEE.JOB_GRADE_CODE,EMPSERV.CATEGORY,EMPSERV.SECTION,"),
    QStringLiteral("EMPLOYEE.OCCUPATION_CODE,HIRED_DATE,TERMINATION_DATE,PASSPORT_NO,DOB,"),
    QStringLiteral(
        "TERMINATION_STATUS,DESCRIPTION,PERIOD,PAYCODE,INCOME_TAX_AC_NO,EMPLOYEE.DIVISION_CODE,DEPT_CODE,"
        "COSTCENTRE_CODE"),
};

// STATUS by TERMINATION_STATUS; any other value shows itself.
QString StatusText(const QString& terminationStatus) {
  static const QHash<QString, QString> kStatus = {
      {"T", "Terminated"}, {"R", "Resignation"}, {"F", "Actived"},  {"P", "Probation"}, {"C", "Confirmed"},
      {"E", "Retired"},    {"D", "Decease"},     {"L", "Transfer"}, {"M", "Rehired"},   {"H", "On Hold"},
  };
  return kStatus.value(terminationStatus, terminationStatus);
}

// An empty date shows as an empty text, not as the zero day of the date type.
QString DayFirstDate(const QDate& date) {
  return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString CodeKey(const QString& category, const QString& code) {
  return category + QChar(0x1f) + code;
}

}  // namespace

TFormTarnoExel::TFormTarnoExel(db::Connection& connection, const DialogState& state, const QString& userId)
    : qryAll(connection),
      AdsQueryCode(connection),
      adsqryEmpmisc(connection),
      m_connection(connection),
      m_state(state),
      m_userId(userId) {
  AdsQueryCode.SetSQL({QStringLiteral("SELECT CODE,CATEGORY,\"DESC\" FROM CODE")});
  AdsQueryCode.SetIndexFieldNames(QStringLiteral("CATEGORY;CODE"));
  adsqryEmpmisc.SetSQL({QStringLiteral("SELECT * FROM EMPMISC")});
  adsqryEmpmisc.SetIndexFieldNames(QStringLiteral("EMP_NO"));

  for (const PivotField& field : kPivotFields) {
    const QString name = QString::fromLatin1(field.name);
    if (field.calculated)
      qryAll.AddCalculatedField(name, field.kind, field.width);
    else if (field.width > 0)
      qryAll.SetFieldWidth(name, field.width);
  }
  qryAll.OnCalcFields = [this](db::Dataset& dataset) { qryAllCalcFields(dataset); };

  const QHash<QString, FieldKind> kinds = PivotFieldKinds();
  WWDBGrid1.dataset = &qryAll;
  for (const char* field : kGridFields) {
    const QString name = QString::fromLatin1(field);
    WWDBGrid1.columns.push_back({name, name, kinds.value(name)});
  }

  xlReport.alias = QStringLiteral("qryAll");
  xlReport.rangeName = QStringLiteral("SourceRange");
  xlReport.activeSheet = QStringLiteral("Pivot");
  xlReport.parameters.insert(QStringLiteral("StartDate"), QString());

  FormCreate();
}

TFormTarnoExel::~TFormTarnoExel() = default;

QHash<QString, FieldKind> TFormTarnoExel::PivotFieldKinds() {
  QHash<QString, FieldKind> kinds;
  for (const PivotField& field : kPivotFields) kinds.insert(QString::fromLatin1(field.name), field.kind);
  return kinds;
}

void TFormTarnoExel::FormCreate() {
  // 1. The code descriptions, loaded once.
  if (!AdsQueryCode.IsOpen()) {
    AdsQueryCode.Open();
    LoadCodeDescriptions();
  }
  // 2. Statement passwords of the encrypted tables, unless the connection is a dictionary.
  if (!m_connection.IsDictionary()) {
    const QString password = TDataModule1::GetTablePassword();
    for (const char* table : {"EMPLOYEE", "RPTRX", "EMPSERV"})
      qryAll.SetTablePassword(QString::fromLatin1(table), password);
    adsqryEmpmisc.SetTablePassword(QStringLiteral("EMPMISC"), password);
  }
  // 3. The report kind's template in the templates folder.
  XLSTemplate = TemplatesFolder() + u'/' + m_state.ReportKindValue();
  // 4. The employee miscellaneous rows, loaded once.
  adsqryEmpmisc.Close();
  adsqryEmpmisc.Open();
  LoadEmployeeMisc();
  // 5. and 6. The report query; opened by the caller once the periods are set.
  qryAll.Close();
  qryAll.ClearSQL();
  for (const QString& line : kPivotQueryLines) qryAll.AddLine(line);
  qryAll.SetParam(QStringLiteral("USERID"), m_userId);
}

void TFormTarnoExel::LoadCodeDescriptions() {
  m_codeDescriptions.clear();
  m_codeDescriptions.reserve(AdsQueryCode.RecordCount());
  for (AdsQueryCode.First(); !AdsQueryCode.Eof(); AdsQueryCode.Next()) {
    const QString key = CodeKey(AdsQueryCode.FieldAsString(QStringLiteral("CATEGORY")),
                                AdsQueryCode.FieldAsString(QStringLiteral("CODE")));
    // In key order the first row of a key is the one a keyed search finds.
    if (!m_codeDescriptions.contains(key))
      m_codeDescriptions.insert(key, AdsQueryCode.FieldAsString(QStringLiteral("DESC")));
  }
  AdsQueryCode.First();
}

void TFormTarnoExel::LoadEmployeeMisc() {
  m_employeeChar1.clear();
  m_employeeChar1.reserve(adsqryEmpmisc.RecordCount());
  for (adsqryEmpmisc.First(); !adsqryEmpmisc.Eof(); adsqryEmpmisc.Next()) {
    const QString employee = adsqryEmpmisc.FieldAsString(QStringLiteral("EMP_NO"));
    if (!m_employeeChar1.contains(employee))
      m_employeeChar1.insert(employee, adsqryEmpmisc.FieldAsString(QStringLiteral("CHAR1")));
  }
  adsqryEmpmisc.First();
}

std::optional<QString> TFormTarnoExel::LookUpCode(const QString& category, const QString& code) const {
  const auto found = m_codeDescriptions.constFind(CodeKey(category, code));
  if (found == m_codeDescriptions.constEnd()) return std::nullopt;
  return found.value();
}

void TFormTarnoExel::qryAllCalcFields(db::Dataset& q) {
  const auto text = [&q](const char* field) { return q.FieldAsString(QString::fromLatin1(field)); };
  const auto set = [&q](const char* field, const QString& value) {
    q.SetFieldString(QString::fromLatin1(field), value);
  };
  const QString departmentCode = text("DEPARTMENT_CODE");
  const QString costCentreCode = text("COST_CENTRE_CODE");
  const QString divisionCode = text("DIVISION_CODE");
  const QString sectionCode = text("SECTION_CODE");

  // 1. Defaults from the codes.
  set("DEPARTMENT", departmentCode);
  set("JOB_GRADE", text("JOB_GRADE_CODE"));
  set("CATEGORY", text("CATEGORY_CODE"));
  set("COST_CENTRE", costCentreCode);
  set("COMPANY", text("COMPANY_CODE"));
  set("OCCUPATION", text("OCCUPATION_CODE"));
  // 2. The employee's miscellaneous text.
  if (const auto char1 = m_employeeChar1.constFind(text("EMP_NO")); char1 != m_employeeChar1.constEnd())
    set("CHAR1", char1.value());
  // 3. to 13. Descriptions; a code CODE does not hold leaves the field as it is.
  if (const auto d = LookUpCode("DEP", departmentCode)) set("DEPARTMENT", *d);
  if (const auto d = LookUpCode("COM", text("COMPANY_CODE"))) set("COMPANY", *d);
  if (const auto d = LookUpCode("JOB", text("JOB_GRADE_CODE"))) set("JOB_GRADE", *d);
  if (const auto d = LookUpCode("CAT", text("CATEGORY_CODE"))) set("CATEGORY", *d);
  if (const auto d = LookUpCode("CST", costCentreCode)) set("COST_CENTRE", *d);
  if (const auto d = LookUpCode("DIV", divisionCode)) set("DIVISION", *d);
  if (const auto d = LookUpCode("CST", costCentreCode))
    set("COST_CENTRE_CODE_DESC", costCentreCode + u'-' + *d);
  if (const auto d = LookUpCode("DEP", departmentCode))
    set("DEPARTMENT_CODE_DESC", departmentCode + u'-' + *d);
  if (const auto d = LookUpCode("SEC", sectionCode)) set("SECTION_CODE_DESC", sectionCode + u'-' + *d);
  if (const auto d = LookUpCode("DIV", divisionCode)) set("DIVISION_CODE_DESC", divisionCode + u'-' + *d);
  if (const auto d = LookUpCode("OCU", text("OCCUPATION_CODE"))) set("OCCUPATION_CODE_DESC", *d);
  // 14. With the cost-centre breakdown the record's own RPTRX codes stand for the employee's.
  if (m_state.CostCentreBreakdown()) {
    const QString rowDepartment = text("DEPT_CODE");
    const QString rowCostCentre = text("COSTCENTRE_CODE");
    set("DEPARTMENT", rowDepartment);
    set("COST_CENTRE", rowCostCentre);
    if (const auto d = LookUpCode("CST", rowCostCentre)) {
      set("COST_CENTRE_DESC", rowCostCentre + u'-' + *d);
      set("COST_CENTRE_CODE_DESC", rowCostCentre + u'-' + *d);
    }
    if (const auto d = LookUpCode("DEP", rowDepartment))
      set("DEPARTMENT_CODE_DESC", rowDepartment + u'-' + *d);
  } else {
    if (const auto d = LookUpCode("CST", costCentreCode)) set("COST_CENTRE_DESC", costCentreCode + u'-' + *d);
    if (const auto d = LookUpCode("DEP", departmentCode)) {
      set("DEPARTMENT_CODE_DESC", departmentCode + u'-' + *d);
      set("DEPARTMENT_DESC", *d);
    }
  }
  // 15. Dates day first; an empty date stays empty.
  set("HIREDATE", DayFirstDate(q.FieldAsDate(QStringLiteral("HIRED_DATE"))));
  set("TERMDATE", DayFirstDate(q.FieldAsDate(QStringLiteral("TERMINATION_DATE"))));
  // 16. The status in words.
  set("STATUS", StatusText(text("TERMINATION_STATUS")));
}

xlsx::FillResult TFormTarnoExel::SaveReport(const QString& outputPath) {
  if (!QFileInfo(XLSTemplate).isFile())
    throw OutputError(QStringLiteral("The workbook template '%1' does not exist.").arg(XLSTemplate));
  DatasetRecordSource records(qryAll, PivotFieldKinds());
  return xlsx::FillTemplate(XLSTemplate, outputPath, records, xlReport);
}

}  // namespace tarno::outputs
