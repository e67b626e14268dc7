// The Singapore payroll rules that the demo company's payslips follow: CPF shares by age band and
// year with the ordinary-wage and annual ceilings, the skills development levy (stored as SDF),
// the foreign worker levy and the self-help-group fund bands, and the daily and hourly rates.
// The module itself computes none of this; the demo only needs believable, consistent figures.
// All money is in whole cents (qint64), so every figure adds up exactly.
#pragma once

#include <QString>
#include <QtGlobal>

namespace tarno::demo {

using Cents = qint64;

constexpr Cents kAnnualCpfCeiling = 10200000;  // $102,000: ordinary plus additional wages per year

struct CpfRates {
  int employerTenths;  // employer share in tenths of a percent (170 = 17%)
  int employeeTenths;  // employee share in tenths of a percent
};

// Rates for wages above $750 for an employee of that age (completed years) in that year.
// Years before 2024 use the 2024 table, years after 2026 the 2026 table.
CpfRates CpfRatesFor(int year, int age);

// Ordinary-wage ceiling per month of the year.
Cents OrdinaryWageCeiling(int year);

struct CpfShares {
  Cents employee = 0;
  Cents employer = 0;
};

// The CPF shares of a wage already limited to its ceiling. Total rounded to the dollar, the
// employee share rounded down to the dollar, the employer share the difference. With phaseIn
// (ordinary wages of the month), wages up to $50 pay nothing, up to $500 only the employer share,
// and from $500 to $750 the employee share is phased in; additional wages pay full rates.
CpfShares ComputeCpf(const CpfRates& rates, Cents wage, bool phaseIn);

// Skills development levy on the month's total wages: 0.25%, at least $2, at most $11.25.
Cents SkillsDevelopmentLevy(Cents monthWages);

// Monthly self-help-group fund deduction of a fund code (CDAC, EUCF, MOSQ, SINDA) for the month's
// total wages; 0 for any other code.
Cents SelfHelpFund(const QString& code, Cents monthWages);

// Rates from a monthly basic salary: the daily rate of a five-day week (12 x basic / 260) and the
// hourly basic rate of the Employment Act (12 x basic / (52 x 44)), to the cent.
Cents DailyRate(Cents monthlyBasic);
Cents HourlyRate(Cents monthlyBasic);

// value x numerator / denominator, rounded to the nearest cent, half away from zero.
Cents ScaleRounded(Cents value, qint64 numerator, qint64 denominator);

}  // namespace tarno::demo
