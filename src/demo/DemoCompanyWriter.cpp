// One random stream, consumed in a fixed order (workforce, then payroll employee by employee, then
// exchange rates), so that a seed always gives the same company.
#include "demo/DemoCompanyWriter.h"

#include <QDate>

#include "context/Connection.h"
#include "demo/DemoCatalog.h"
#include "demo/DemoPayroll.h"
#include "demo/DemoRandom.h"
#include "demo/DemoTableWriter.h"
#include "demo/DemoWorkforce.h"

namespace tarno::demo {

namespace {

Currency Money(Cents cents) {
  return Currency::FromUnits(cents * (Currency::kScale / 100));
}
QString IsoDate(const QDate& date) {
  return date.isValid() ? date.toString(Qt::ISODate) : QString();
}
QVariant DateValue(const QDate& date) {
  return date.isValid() ? QVariant(IsoDate(date)) : QVariant();
}
QString PeriodText(int year, int month) {
  return QStringLiteral("%1%2").arg(year).arg(month, 2, 10, QLatin1Char('0'));
}

void WriteCompanyParameters(db::Connection& connection, int year) {
  DemoTableWriter para(connection, "PAYPARA1");
  for (int y : {year - 1, year}) {
    para.Set("YEAR", QString::number(y))
        .Set("COMPANY", kDemoCompanyName)
        .Set("G_DATEFORMAT", "DD/MM/YYYY")
        .Set("ADDRESS1", "18 Tuas Avenue 7")
        .Set("ADDRESS2", "Singapore")
        .Set("POSTAL_CODE", "639281")
        .Set("CPF_SUBMISSION_NO", "201012345KPTE01")
        .Set("UEN", "201012345K")
        .Set("WORK_HOURS_WEEK", 44)
        .Set("WORK_DAYS_MONTH", 22)
        .Set("BASE_CURR", "SGD")
        .Insert();
  }
  // Site options of the host; the overtime-company switch is deliberately absent.
  DemoTableWriter custom(connection, "CUSTOM");
  struct Option {
    const char *program, *desc, *module, *parameter, *value;
  };
  const Option options[] = {{"PAYROLL", "Round nett pay to cents", "PAY", "NETROUND", "N"},
                            {"PAYROLL", "Leave year starts in month", "LEAVE", "LVSTART", "01"},
                            {"REPORTS", "Print company logo", "RPT", "LOGO", "Y"},
                            {"GIRO", "Bank file format", "BANK", "GIROFMT", "DBS-IDEAL"}};
  int id = 1;
  for (const Option& o : options)
    custom.Set("ID", id++)
        .Set("PROGRAM", o.program)
        .Set("DESC", o.desc)
        .Set("MODULE", o.module)
        .Set("PARAMETER", o.parameter)
        .Set("PARAMETER_VALUE", o.value)
        .Insert();
}

void WriteCodes(db::Connection& connection, int year) {
  DemoTableWriter code(connection, "CODE");
  for (const CodeDescription& c : CodeDescriptions())
    code.Set("CODE", c.code).Set("CATEGORY", c.category).Set("DESC", c.description).Insert();

  // Both years: the previous December is reported with the previous year's rows.
  DemoTableWriter allowance(connection, "ALLOWNCE");
  for (int y : {year - 1, year}) {
    for (const AllowanceCode& a : AllowanceCodes()) {
      allowance.Set("ALLOW_CODE", a.code)
          .Set("YEAR", y)
          .Set("DESC", a.description)
          .Set("PAYCODE", a.payCode)
          .Set("IS_FUND", a.isFund)
          .Set("TRNNO", a.transactionNo)
          .Set("RPTCODE", a.payCode + QString::number(a.transactionNo));
      // The report groups were mapped for the payroll year only.
      if (y == year && !a.reportGroup.isEmpty()) allowance.Set("PAYCODE2", a.reportGroup);
      allowance.Insert();
    }
  }
  DemoTableWriter shift(connection, "PPARA_SF");
  for (int y : {year - 1, year})
    for (const ShiftParameter& s : ShiftParameters())
      shift.Set("YEAR", y)
          .Set("SHIFT_STATUS", s.status)
          .Set("SHIFT_DESC", s.description)
          .Set("PAYCODE", s.payCode)
          .Set("IS_FUND", s.isFund)
          .Set("SHIFT_RATE", Money(s.ratePerShift))
          .Insert();

  // Two reserved rows that every summary keeps: a percentage column and a line that never explains
  // a variance.
  DemoTableWriter map(connection, "EXCELMAP");
  map.Set("ITEM", "Z").Set("ITEMTYPE", "C").Set("FIELDNAME", "PERCENT").Set("PAYITEM", "CPFRATE");
  map.Set("RESV", "Y").Set("DESCR", "CPF Rate %").Insert();
  map.Set("ITEM", "Z").Set("ITEMTYPE", "C").Set("LINE", "NOVAR").Set("PAYITEM", "HEADCOUNT");
  map.Set("RESV", "Y").Set("DESCR", "Headcount").Insert();
}

void WriteEmployees(db::Connection& connection, const QList<DemoEmployee>& employees) {
  DemoTableWriter master(connection, "EMPLOYEE");
  DemoTableWriter service(connection, "EMPSERV");
  DemoTableWriter misc(connection, "EMPMISC");
  for (const DemoEmployee& e : employees) {
    master.Set("EMP_NO", e.empNo)
        .Set("EMP_NAME", e.name)
        .Set("DEPARTMENT_CODE", e.role->department)
        .Set("COST_CENTRE_CODE", e.costCentre)
        .Set("COMPANY_CODE", e.company)
        .Set("JOB_GRADE_CODE", e.role->jobGrade)
        .Set("CATEGORY_CODE", e.category)
        .Set("SECTION_CODE", e.role->section)
        .Set("DIVISION_CODE", e.role->division)
        .Set("OCCUPATION_CODE", e.role->occupation)
        .Set("LOCATION_CODE", e.location)
        .Set("INCOME_TAX_AC_NO", e.taxNo)
        .Set("TERMINATION_STATUS", e.status)
        .Set("HIRED_DATE", DateValue(e.hired))
        .Set("TERMINATION_DATE", DateValue(e.terminated))
        .Set("DOB", DateValue(e.dob))
        .Set("FCURR_CODE", e.currency)
        .Set("RESIDENT_STATUS", QString(e.residency))
        .Set("RACE", RaceText(e.origin))
        .Set("SEX", e.male ? "M" : "F")
        .Set("BASIC_SALARY", Money(e.basic))
        .Set("PAY_MODE", QString(e.payMode));
    if (!e.passportNo.isEmpty()) master.Set("PASSPORT_NO", e.passportNo);
    master.Insert();

    // ADMIN sees everyone; the HR clerk everyone but management.
    QStringList users = {kAdminUser};
    if (!e.IsManagement()) users.append(kClerkUser);
    for (const QString& user : users)
      service.Set("EMP_NO", e.empNo)
          .Set("USERID", user)
          .Set("NEW_SALARY", Money(e.newSalary))
          .Set("DEPARTMENT", e.role->department)
          .Set("COST_CENTRE", e.costCentre)
          .Set("COMPANY", e.company)
          .Set("CATEGORY", e.category)
          .Set("SECTION", e.role->section)
          .Insert();

    misc.Set("EMP_NO", e.empNo).Set("CHAR1", e.bank).Set("CHAR2", e.bankAccount);
    misc.Set("CHAR3", e.residency == QLatin1Char('F') ? "Pass holder" : "Resident");
    if (e.residency == QLatin1Char('F')) misc.Set("DATE1", IsoDate(e.hired.addYears(2)));
    misc.Insert();
  }
}

class PayrollTables {
 public:
  explicit PayrollTables(db::Connection& connection)
      : m_header(connection, "P_HTRX"),
        m_allowances(connection, "P_DTRXAW"),
        m_overtime(connection, "P_DTRXOT"),
        m_shifts(connection, "P_DTRXSF"),
        m_nplDays(connection, "P_DTRXND"),
        m_absences(connection, "P_DTRXAS"),
        m_nplHours(connection, "P_DTRXNH"),
        m_restDays(connection, "P_DTRXRD"),
        m_wages(connection, "YTDEMPL"),
        m_costCentres(connection, "COSTCTR") {}

  void Write(const DemoEmployee& e, const PayRun& run) {
    const QString period = run.Period();
    const QString cycle(run.cycle);
    const PayRunHeader& h = run.header;
    auto head = [&](DemoTableWriter& table) -> DemoTableWriter& {
      return table.Set("PERIOD", period).Set("CYCLE", cycle).Set("EMPCODE", e.empNo);
    };
    head(m_header)
        .Set("PAYDAY", Money(h.payDays))
        .Set("DAILY_RATE", Money(h.dailyRate))
        .Set("HOURLY_RATE", Money(h.hourlyRate))
        .Set("BASIC", Money(h.basic))
        .Set("NPL_AMT", Money(h.nplAmount))
        .Set("ABSENT_AMT", Money(h.absentAmount))
        .Set("TOTAL_NPL", Money(h.totalNpl))
        .Set("CPFEMPEE", Money(h.cpfEmployee))
        .Set("CPFEMPER", Money(h.cpfEmployer))
        .Set("FWL", Money(h.fwl))
        .Set("SDF", Money(h.sdf))
        .Set("GROSS_WAGE", Money(h.gross))
        .Set("CPF_WAGE", Money(h.cpfWage))
        .Set("NETT_WAGE", Money(h.nett))
        .Set("OTAMT", Money(h.overtime))
        .Set("SHIFTAMT", Money(h.shift))
        .Set("RESTAMT", Money(h.restDay))
        .Set("TOTAL_ALLOWANCE", Money(h.totalAllowance))
        .Set("TOTAL_DEDUCTION", Money(h.totalDeduction))
        .Set("ANLV_CUR", Money(h.annualLeaveDays))
        .Set("NONCPFWAGE", Money(h.nonCpfWage))
        .Set("SICKLV_CUR", Money(h.sickLeaveDays))
        .Set("SICKLV_BAL", Money(h.sickLeaveBalance))
        .Set("TOTAL_CPF", Money(h.cpfEmployee + h.cpfEmployer))
        .Set("BASICNVC", Money(h.basic))
        .Set("DEPARTMENT", e.role->department)
        .Set("COSTCENTE", e.costCentre)
        .Set("CATEGORY", e.category)
        .Set("COMPANY", e.company)
        .Set("SECTION", e.role->section)
        .Set("JOB_GRADE", e.role->jobGrade)
        .Set("NPL_DAY_C", Money(h.nplDays))
        .Set("ABS_DAY_C", Money(h.absentDays))
        .Set("NPL_HOUR_C", Money(h.nplHours))
        .Set("CPFOWWAGE", Money(h.cpfOrdinary))
        .Set("CPFAWWAGE", Money(h.cpfAdditional))
        .Set("AWWAGE_EARNED", Money(h.additionalEarned))
        .Set("VOLCPFEE", Money(h.voluntaryEmployee))
        .Set("VOLCPFER", Money(h.voluntaryEmployer))
        .Set("TOTAL_GROSS", Money(h.gross))
        .Set("BANKAMT", Money(h.bank))
        .Set("CASHAMT", Money(h.cash))
        .Set("CHEQAMT", Money(h.cheque))
        .Insert();

    int lineNo = 0;
    for (const AllowanceLine& l : run.allowances)
      head(m_allowances)
          .Set("ALLW_DED_CODE", l.code)
          .Set("NO", ++lineNo)
          .Set("RATE", Money(l.rate))
          .Set("FREQUENCY", Money(l.frequency))
          .Set("AMOUNT", Money(l.amount))
          .Insert();
    for (const OvertimeLine& l : run.overtime)
      head(m_overtime)
          .Set("OTTYPE", l.type)
          .Set("OTFACTOR", Money(l.factor))
          .Set("OT_DESC", l.description)
          .Set("OTRATE", Money(l.rate))
          .Set("OTHRS", Money(l.hours))
          .Set("OTAMT", Money(l.amount))
          .Insert();
    for (const ShiftLine& l : run.shifts)
      head(m_shifts)
          .Set("SHIFT_DESC", l.description)
          .Set("SHIFT_STATUS", l.status)
          .Set("SHIFT_NO", Money(l.count))
          .Set("SHIFTAMT", Money(l.amount))
          .Insert();
    WriteTyped(m_nplDays, "NPL_DAY_TYPE", run.nplDays, head);
    WriteTyped(m_nplHours, "NPL_HOUR_TYPE", run.nplHours, head);
    WriteTyped(m_absences, "ABSENT_TYPE", run.absences, head);
    WriteTyped(m_restDays, "RESTDAY_TYPE", run.restDays, head);

    if (run.hasWageRecord)
      head(m_wages)
          .Set("ACTUAL_AW_PAID", Money(run.actualAdditionalPaid))
          .Set("CPFAWWAGE", Money(h.cpfAdditional))
          .Set("CPFOWWAGE", Money(h.cpfOrdinary))
          .Set("YTD_OWWAGE", Money(run.ytdOrdinary))
          .Insert();

    // The cost-centre split holds for the whole period; it is written once, with its end-month run.
    if (run.cycle == QLatin1Char('E'))
      for (const auto& [costCentre, hundredths] : e.costSplit)
        m_costCentres.Set("EMPCODE", e.empNo)
            .Set("PERIOD", period)
            .Set("COST_CENTRE", costCentre)
            .Set("PERCENT", hundredths / 100.0)
            .Set("DEPARTMENT", DepartmentOfCostCentre(costCentre))
            .Insert();
  }

 private:
  template <typename Head>
  static void WriteTyped(DemoTableWriter& table, const QString& typeColumn, const QList<TypedLine>& lines,
                         Head& head) {
    for (const TypedLine& l : lines)
      head(table)
          .Set(typeColumn, l.type)
          .Set("FREQUENCY", Money(l.frequency))
          .Set("AMOUNT", Money(l.amount))
          .Insert();
  }

  DemoTableWriter m_header, m_allowances, m_overtime, m_shifts, m_nplDays, m_absences, m_nplHours, m_restDays,
      m_wages, m_costCentres;
};

void WriteExchangeRates(db::Connection& connection, DemoRandom& random, int year) {
  DemoTableWriter rates(connection, "EXRATE");
  struct Curr {
    const char* code;
    int base;  // SGD per unit, ten-thousandths
  };
  const Curr currencies[] = {{"USD", 13450}, {"EUR", 14620}, {"MYR", 3020}};
  QList<QPair<int, int>> periods = {{year - 1, 12}};
  for (int month = 1; month <= 12; ++month) periods.append({year, month});
  for (const Curr& c : currencies)
    for (const auto& [y, m] : periods) {
      const int rate = c.base + random.Between(-c.base / 40, c.base / 40);
      rates.Set("PERIOD", PeriodText(y, m)).Set("EX_RATE", rate / 10000.0).Set("CURR", c.code);
      rates.Set("EXCODE", "MAS").Insert();
    }
}

}  // namespace

void WriteDemoCompany(db::Connection& connection, const DemoOptions& options) {
  DemoRandom random(options.seed);
  const QList<DemoEmployee> employees = GenerateWorkforce(random, options.employees, options.year);
  WriteCompanyParameters(connection, options.year);
  WriteCodes(connection, options.year);
  WriteEmployees(connection, employees);
  PayrollTables payroll(connection);
  PayrollState state;
  for (const DemoEmployee& e : employees)
    for (const PayRun& run : ComputePayRuns(random, state, e, options.year)) payroll.Write(e, run);
  WriteExchangeRates(connection, random, options.year);
}

}  // namespace tarno::demo
