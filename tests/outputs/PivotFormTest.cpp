// The pivot form's record: which RPTRX rows become records, their sums, the descriptive fields
// from CODE and EMPMISC, the cost-centre variant, dates, status words and field widths.
#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QSet>

#include "OutputsTestSupport.h"
#include "context/Errors.h"
#include "outputs/TFormTarnoExel.h"

namespace tarno::test {
namespace {

using outputs::TFormTarnoExel;

const QString kUser = QStringLiteral("ADMIN");

class PivotFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_db = std::make_unique<ScratchDatabase>(QStringLiteral("pivot-form"));
    // Codes: most have descriptions; D9 and DV9 have none; D3's description is longer than any width.
    const QList<QStringList> codes = {
        {"DEP", "D1", "Finance"},
        {"DEP", "D2", "Production"},
        {"DEP", "D3", "Department-Of-Very-Long-Descriptions-For-Width-Checks!"},
        {"COM", "C1", "Lion City Pte Ltd"},
        {"JOB", "J1", "Manager"},
        {"CAT", "K1", "Monthly Rated"},
        {"CST", "CC1", "Head Office"},
        {"CST", "CC2", "Plant"},
        {"DIV", "DV1", "Engineering"},
        {"SEC", "S1", "Accounts"},
        {"OCU", "O1", "Accountant"},
        {"XXX", "D9", "A description of another category"},
    };
    for (const QStringList& c : codes) m_db->Insert("CODE", {"CATEGORY", "CODE", "DESC"}, {c[0], c[1], c[2]});
  }

  // An employee seen by kUser (or by another user), with codes as given.
  void AddEmployee(const QString& emp, const QString& dept, const QString& division, const QVariant& status,
                   const QVariant& hired = QVariant(), const QVariant& terminated = QVariant(),
                   const QString& user = kUser, const QString& name = QStringLiteral("Tan Ah Kow")) {
    m_db->Insert(
        "EMPLOYEE",
        {"EMP_NO", "EMP_NAME", "JOB_GRADE_CODE", "DIVISION_CODE", "OCCUPATION_CODE", "LOCATION_CODE",
         "INCOME_TAX_AC_NO", "TERMINATION_STATUS", "PASSPORT_NO", "HIRED_DATE", "TERMINATION_DATE", "DOB"},
        {emp, name, "J1", division, "O1", "L1", "S1234567890123456789", status, "P123", hired, terminated,
         "1980-05-06"});
    m_db->Insert("EMPSERV",
                 {"EMP_NO", "USERID", "DEPARTMENT", "COST_CENTRE", "COMPANY", "CATEGORY", "SECTION"},
                 {emp, user, dept, "CC1", "C1", "K1", "S1"});
  }

  void AddRow(const QString& emp, const QString& period, const QString& cycle, const QString& paycode,
              double amount, double ytd, const QString& deptCode = QStringLiteral("D2"),
              const QString& costCentre = QStringLiteral("CC2")) {
    m_db->Insert("RPTRX",
                 {"EMPCODE", "PERIOD", "CYCLE", "PAYCODE", "AMOUNT", "YTDAMOUNT", "RATE", "DEPT_CODE",
                  "COSTCENTRE_CODE", "DESCRIPTION"},
                 {emp, period, cycle, paycode, amount, ytd, 1.5, deptCode, costCentre, "1001-BASIC PAY"});
  }

  // Opens the form's query over the range and returns its records keyed by EMP_NO and PAYCODE,
  // each a map of every field's text.
  QMap<QString, QMap<QString, QString>> Records(TFormTarnoExel& form, const QString& from,
                                                const QString& to) {
    form.qryAll.SetParam("PERIOD1", from);
    form.qryAll.SetParam("PERIOD2", to);
    form.qryAll.Open();
    QMap<QString, QMap<QString, QString>> records;
    for (form.qryAll.First(); !form.qryAll.Eof(); form.qryAll.Next()) {
      QMap<QString, QString> fields;
      for (const QString& name : form.qryAll.FieldNames())
        fields.insert(name.toUpper(), form.qryAll.FieldAsString(name));
      records.insert(fields["EMP_NO"] + u'/' + fields["PAYCODE"], fields);
    }
    form.qryAll.Close();
    return records;
  }

  std::unique_ptr<ScratchDatabase> m_db;
  FakeDialogState m_state;
};

TEST_F(PivotFormTest, RecordsAreTheOperatorsEmployeesInTheRangeWithSums) {
  AddEmployee("E1", "D1", "DV1", "C", "2020-01-15", "2025-02-28");
  AddEmployee("E4", "D1", "DV1", "C", QVariant(), QVariant(), "OTHER");  // another operator's employee
  AddRow("E1", "202501", "E", "BASIC", 1000.25, 1000.25);
  AddRow("E1", "202501", "M", "BASIC", 500.5, 1500.75);  // same record: summed
  AddRow("E1", "202502", "E", "OT1.5", 10, 10);          // outside the range
  AddRow("E4", "202501", "E", "BASIC", 999, 999);
  AddRow("E9", "202501", "E", "BASIC", 1, 1);  // no EMPLOYEE, no EMPSERV
  TFormTarnoExel form(m_db->connection(), m_state, kUser);
  form.qryAll.SetParam("PERIOD1", "202501");
  form.qryAll.SetParam("PERIOD2", "202501");
  form.qryAll.Open();
  ASSERT_EQ(form.qryAll.RecordCount(), 1);
  EXPECT_EQ(form.qryAll.FieldAsCurrency("AMOUNT"), Currency::FromString("1500.75"));
  EXPECT_EQ(form.qryAll.FieldAsCurrency("YTDAMOUNT"), Currency::FromString("2501"));
  EXPECT_EQ(form.qryAll.FieldAsCurrency("RATE"), Currency::FromString("3"));
  form.qryAll.Close();

  const auto records = Records(form, "202501", "202501");
  ASSERT_EQ(records.keys(), QStringList({"E1/BASIC"}));
  const auto& r = records["E1/BASIC"];
  EXPECT_EQ(r["PERIOD"], "202501");
  EXPECT_EQ(r["DESCRIPTION"], "1001-BASIC PAY");

  // The whole pivot record is there, calculated fields included.
  QSet<QString> expected;
  for (const auto& field : outputs::kPivotFields) expected.insert(QString::fromLatin1(field.name));
  EXPECT_EQ(QSet<QString>(r.keyBegin(), r.keyEnd()), expected);
}

TEST_F(PivotFormTest, DescriptiveFieldsWithoutTheBreakdown) {
  AddEmployee("E1", "D1", "DV1", "C", "2020-01-15", "2025-02-28");
  AddEmployee("E2", "D9", "DV9", "X");
  m_db->Insert("EMPMISC", {"EMP_NO", "CHAR1"}, {"E1", "Night shift"});
  AddRow("E1", "202501", "E", "BASIC", 100, 100);
  AddRow("E2", "202501", "E", "BASIC", 100, 100);
  TFormTarnoExel form(m_db->connection(), m_state, kUser);
  const auto records = Records(form, "202501", "202501");
  ASSERT_EQ(records.size(), 2);

  const QMap<QString, QString> described = {
      {"COMPANY", "Lion City Pte Ltd"},
      {"DEPARTMENT", "Finance"},
      {"JOB_GRADE", "Manager"},
      {"COST_CENTRE", "Head Office"},
      {"CATEGORY", "Monthly Rated"},
      {"OCCUPATION", "O1"},  // the code: OCCUPATION has no description step
      {"DIVISION", "Engineering"},
      {"CHAR1", "Night shift"},
      {"COST_CENTRE_DESC", "CC1-Head Office"},
      {"COST_CENTRE_CODE_DESC", "CC1-Head Office"},
      {"DEPARTMENT_CODE_DESC", "D1-Finance"},
      {"DEPARTMENT_DESC", "Finance"},
      {"SECTION_CODE_DESC", "S1-Accounts"},
      {"DIVISION_CODE_DESC", "DV1-Engineering"},
      {"OCCUPATION_CODE_DESC", "Accountant"},
      {"HIREDATE", "15/01/2020"},
      {"TERMDATE", "28/02/2025"},
      {"STATUS", "Confirmed"},
      {"FAMOUNT", ""},
      {"FCURR_CODE", ""},
      {"CURR_CODE", ""},
      {"EXRATE", ""},
      {"CYCLE", ""},
  };
  for (auto it = described.begin(); it != described.end(); ++it)
    EXPECT_EQ(records["E1/BASIC"][it.key()], it.value()) << it.key().toStdString();

  // A department and a division without descriptions, no EMPMISC row, no dates, an unmapped status.
  const QMap<QString, QString> bare = {
      {"DEPARTMENT", "D9"},  // the code itself: "D9" is described only under another category
      {"DEPARTMENT_CODE_DESC", ""},
      {"DEPARTMENT_DESC", ""},
      {"DIVISION", ""},  // no default
      {"DIVISION_CODE_DESC", ""},
      {"CHAR1", ""},
      {"HIREDATE", ""},
      {"TERMDATE", ""},
      {"STATUS", "X"},
  };
  for (auto it = bare.begin(); it != bare.end(); ++it)
    EXPECT_EQ(records["E2/BASIC"][it.key()], it.value()) << it.key().toStdString();
}

TEST_F(PivotFormTest, CostCentreBreakdownShowsTheRowsOwnCodes) {
  AddEmployee("E1", "D1", "DV1", "C");
  AddRow("E1", "202501", "E", "BASIC", 60, 60, "D2", "CC2");
  AddRow("E1", "202501", "E", "OT1.5", 40, 40, "D9", "CC9");  // codes without descriptions
  m_state.costCentreBreakdown = true;
  TFormTarnoExel form(m_db->connection(), m_state, kUser);
  auto records = Records(form, "202501", "202501");
  const auto& split = records["E1/BASIC"];
  EXPECT_EQ(split["DEPARTMENT"], "D2");
  EXPECT_EQ(split["COST_CENTRE"], "CC2");
  EXPECT_EQ(split["COST_CENTRE_DESC"], "CC2-Plant");
  EXPECT_EQ(split["COST_CENTRE_CODE_DESC"], "CC2-Plant");
  EXPECT_EQ(split["DEPARTMENT_CODE_DESC"], "D2-Production");
  EXPECT_EQ(split["DEPARTMENT_DESC"], "");
  const auto& undescribed = records["E1/OT1.5"];
  EXPECT_EQ(undescribed["DEPARTMENT"], "D9");
  EXPECT_EQ(undescribed["COST_CENTRE"], "CC9");
  EXPECT_EQ(undescribed["COST_CENTRE_DESC"], "");
  EXPECT_EQ(undescribed["COST_CENTRE_CODE_DESC"], "CC1-Head Office");  // from the employee's own code
  EXPECT_EQ(undescribed["DEPARTMENT_CODE_DESC"], "D1-Finance");

  // The check box is read at calculation time: the same form without it shows the employee's codes.
  m_state.costCentreBreakdown = false;
  records = Records(form, "202501", "202501");
  EXPECT_EQ(records["E1/BASIC"]["DEPARTMENT"], "Finance");
  EXPECT_EQ(records["E1/BASIC"]["COST_CENTRE"], "Head Office");
  EXPECT_EQ(records["E1/BASIC"]["DEPARTMENT_DESC"], "Finance");
}

TEST_F(PivotFormTest, ValuesAreCutToTheirFieldWidths) {
  const QString longName = QStringLiteral("Abdul Rahman bin Mohamed Ismail Al-Haj Jr. III");  // 47
  AddEmployee("E3", "D3", "DV1", "C", QVariant(), QVariant(), kUser, longName);
  AddRow("E3", "202501", "E", "BASIC", 1, 1, "DEPT-CODE-12", "CC2");
  TFormTarnoExel form(m_db->connection(), m_state, kUser);
  const auto r = Records(form, "202501", "202501")["E3/BASIC"];
  const QString description = QStringLiteral("Department-Of-Very-Long-Descriptions-For-Width-Checks!");
  const struct {
    const char* field;
    QString value;
  } cases[] = {
      {"EMP_NAME", longName.left(40)},
      {"TAXNO", QStringLiteral("S123456789012345")},
      {"DEPT_CODE", QStringLiteral("DEPT-CODE-")},
      {"DEPARTMENT", description.left(40)},
      {"DEPARTMENT_DESC", description.left(40)},
      {"DEPARTMENT_CODE_DESC", (QStringLiteral("D3-") + description).left(50)},
  };
  for (const auto& c : cases) EXPECT_EQ(r[c.field], c.value) << c.field;
}

TEST_F(PivotFormTest, StatusWords) {
  const QList<QPair<QVariant, QString>> cases = {
      {"T", "Terminated"}, {"R", "Resignation"}, {"F", "Actived"},  {"P", "Probation"}, {"C", "Confirmed"},
      {"E", "Retired"},    {"D", "Decease"},     {"L", "Transfer"}, {"M", "Rehired"},   {"H", "On Hold"},
      {"X", "X"},          {"t", "t"},           {"TT", "TT"},      {"", ""},           {QVariant(), ""},
  };
  for (int i = 0; i < cases.size(); ++i) {
    const QString emp = QStringLiteral("S%1").arg(i, 2, 10, QLatin1Char('0'));
    AddEmployee(emp, "D1", "DV1", cases[i].first);
    AddRow(emp, "202501", "E", "BASIC", 1, 1);
  }
  TFormTarnoExel form(m_db->connection(), m_state, kUser);
  const auto records = Records(form, "202501", "202501");
  for (int i = 0; i < cases.size(); ++i) {
    const QString emp = QStringLiteral("S%1").arg(i, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(records[emp + "/BASIC"]["STATUS"], cases[i].second) << cases[i].first.toString().toStdString();
  }
}

TEST_F(PivotFormTest, TemplateOfTheKindAndAMissingTemplate) {
  m_state.reportKind = 2;
  TFormTarnoExel form(m_db->connection(), m_state, kUser);
  EXPECT_TRUE(form.XLSTemplate.endsWith("/HISTORY3.XLSX")) << form.XLSTemplate.toStdString();
  form.XLSTemplate = m_db->Folder() + "/NO-SUCH-TEMPLATE.XLSX";
  form.qryAll.SetParam("PERIOD1", "202501");
  form.qryAll.SetParam("PERIOD2", "202501");
  form.qryAll.Open();
  const QString output = m_db->Folder() + "/out.xlsx";
  try {
    form.SaveReport(output);
    FAIL() << "no error";
  } catch (const OutputError& e) {
    EXPECT_TRUE(e.Text().contains("NO-SUCH-TEMPLATE.XLSX")) << e.Text().toStdString();
  }
  EXPECT_FALSE(QFile::exists(output));
}

}  // namespace
}  // namespace tarno::test
