// The fixed reference data of the demo company: its name, organisation codes with their CODE
// descriptions, job roles, allowance and deduction codes, shift parameters and the names its
// people are given. Generation (DemoWorkforce, DemoPayroll) draws from these lists.
#pragma once

#include <QList>
#include <QString>

#include "demo/DemoRandom.h"
#include "demo/SingaporeRules.h"

namespace tarno::demo {

inline const QString kDemoCompanyName = QStringLiteral("Lion City Precision Engineering Pte Ltd");
inline const QString kAdminUser = QStringLiteral("ADMIN");
// The second host user sees everyone but the management grades, whose pay is confidential.
inline const QString kClerkUser = QStringLiteral("HRCLERK");

struct CodeDescription {
  QString category;  // DEP, COM, JOB, CAT, CST, DIV, SEC, OCU
  QString code;
  QString description;
};

// The CODE rows. Deliberately incomplete: one cost centre (CC700) and one division (TECH) that
// employees use have no row, as in a real database where setup lags behind.
const QList<CodeDescription>& CodeDescriptions();

// The department a cost centre belongs to (the DEPARTMENT of its COSTCTR rows).
QString DepartmentOfCostCentre(const QString& costCentre);
// Every cost centre that employees use, CC700 included.
const QList<QString>& CostCentres();

struct JobRole {
  QString department;
  QString section;
  QString occupation;
  QString jobGrade;
  QString division;
  QList<QString> costCentres;  // one is chosen per employee
  int salaryFrom;              // monthly basic range, whole dollars
  int salaryTo;
  bool overtime;  // covered by the overtime rules (basic up to $4,500, non-managerial)
  bool shifts;    // works shifts
  int weight;     // how common the role is
};
const QList<JobRole>& JobRoles();

struct AllowanceCode {
  QString code;         // ALLOW_CODE / ALLW_DED_CODE
  QString description;  // DESC
  QString payCode;      // PAYCODE: A allowance, R reimbursement, D deduction, B bonus, C employer charge
  QString isFund;       // IS_FUND: Y counts for CPF, N does not, empty for deductions
  int transactionNo;    // TRNNO
  QString reportGroup;  // PAYCODE2 as the mapping setup left it (empty: not mapped yet)
};
const QList<AllowanceCode>& AllowanceCodes();

struct ShiftParameter {
  QString status;       // SHIFT_STATUS
  QString description;  // SHIFT_DESC
  QString payCode;
  QString isFund;
  Cents ratePerShift;
};
const QList<ShiftParameter>& ShiftParameters();

// The six rest-day work types with the days' pay each occurrence earns.
struct RestDayType {
  QString type;
  int tenthsOfDayPay;  // 5 = half a day's pay, 10 = one, 20 = two
};
const QList<RestDayType>& RestDayTypes();

// Who a person is, for the name and the self-help-group fund.
enum class Origin {
  Chinese,
  Malay,
  Indian,
  Eurasian,
  Bangladeshi,
  Myanmar,
  PrcChinese,
  IndianNational,
  Filipino,
  Malaysian,
  British
};
QString MakeName(DemoRandom& random, Origin origin, bool male);
// The fund code of a Singapore citizen or permanent resident of that origin, or empty.
QString FundOf(Origin origin);
QString RaceText(Origin origin);

}  // namespace tarno::demo
