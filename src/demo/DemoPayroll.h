// The demo company's pay runs: for one employee, every run of the previous December and of the
// payroll year, with the detail lines behind each header, computed the way a payslip is:
//   GROSS_WAGE = BASIC + TOTAL_ALLOWANCE + OTAMT + SHIFTAMT + RESTAMT - TOTAL_NPL
//   TOTAL_NPL  = NPL_AMT (no-pay leave by days and by hours) + ABSENT_AMT
//   NETT_WAGE  = GROSS_WAGE - CPFEMPEE - VOLCPFEE - TOTAL_DEDUCTION
//   BANKAMT + CHEQAMT + CASHAMT = NETT_WAGE
// TOTAL_ALLOWANCE is the sum of the run's positive allowance lines except VOLEMPER (the employer's
// voluntary CPF, which is no wage and goes to VOLCPFER); TOTAL_DEDUCTION the sum of its negative
// lines, as a positive figure. Money and counts are in hundredths (cents, or hundredths of a day
// or an hour).
#pragma once

#include <QList>
#include <QString>

#include "demo/DemoRandom.h"
#include "demo/DemoWorkforce.h"
#include "demo/SingaporeRules.h"

namespace tarno::demo {

struct PayRunHeader {
  Cents payDays = 0;  // working days paid, hundredths
  Cents dailyRate = 0, hourlyRate = 0;
  Cents basic = 0, nplAmount = 0, absentAmount = 0, totalNpl = 0;
  Cents cpfEmployee = 0, cpfEmployer = 0, fwl = 0, sdf = 0;
  Cents gross = 0, cpfWage = 0, nett = 0;
  Cents overtime = 0, shift = 0, restDay = 0;
  Cents totalAllowance = 0, totalDeduction = 0, nonCpfWage = 0;
  Cents annualLeaveDays = 0, sickLeaveDays = 0, sickLeaveBalance = 0;  // hundredths of a day
  Cents nplDays = 0, absentDays = 0, nplHours = 0;
  Cents cpfOrdinary = 0, cpfAdditional = 0, additionalEarned = 0;
  Cents voluntaryEmployee = 0, voluntaryEmployer = 0;
  Cents bank = 0, cheque = 0, cash = 0;
};

struct AllowanceLine {
  QString code;
  Cents rate = 0;       // the monthly rate or one-off figure
  Cents frequency = 0;  // hundredths (100 = once)
  Cents amount = 0;     // above zero an allowance, below zero a deduction
};

struct OvertimeLine {
  QString type;         // OTTYPE
  Cents factor = 0;     // hundredths: 150 = 1.5
  QString description;  // OT_DESC
  Cents rate = 0;       // per hour
  Cents hours = 0;      // hundredths
  Cents amount = 0;
};

struct ShiftLine {
  QString description;
  QString status;
  Cents count = 0;  // hundredths
  Cents amount = 0;
};

struct TypedLine {  // no-pay leave by days or hours, absence, rest-day work
  QString type;
  Cents frequency = 0;  // hundredths of a day or an hour
  Cents amount = 0;
};

struct PayRun {
  int year = 0;
  int month = 0;
  QChar cycle;  // M mid-month, E end-month, B bonus, S special
  PayRunHeader header;
  QList<AllowanceLine> allowances;
  QList<OvertimeLine> overtime;
  QList<ShiftLine> shifts;
  QList<TypedLine> nplDays, nplHours, absences, restDays;
  bool hasWageRecord = false;  // YTDEMPL row: CPF contributors' E, B and S runs
  Cents actualAdditionalPaid = 0;
  Cents ytdOrdinary = 0;  // running CPF ordinary wages of the year up to this run

  QString Period() const { return QStringLiteral("%1%2").arg(year).arg(month, 2, 10, QLatin1Char('0')); }
};

// Mutable state shared across employees: the round-robin of rest-day types, so that every type
// occurs once a company has six rest-day lines.
struct PayrollState {
  int nextRestDayType = 0;
};

// All runs of the employee from December of year - 1 to December of year, in period order and,
// within a period, in the order M, E, B, S.
QList<PayRun> ComputePayRuns(DemoRandom& random, PayrollState& state, const DemoEmployee& employee, int year);

}  // namespace tarno::demo
