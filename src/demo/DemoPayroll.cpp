// Pay runs in two passes per employee: first the mid-month and end-month runs of every period
// (they fix the year's CPF ordinary wages), then the bonus and special runs, whose additional wages
// are limited by what the annual ceiling leaves; last, the skills development levy of each month
// on the month's total wages, entered on the end-month run.
#include "demo/DemoPayroll.h"

#include <QHash>
#include <algorithm>

namespace tarno::demo {

namespace {

struct MonthSpan {
  QDate first;           // first day employed in the month
  QDate last;            // last day employed in the month
  int calendarDays = 0;  // days employed
  int monthDays = 0;
  bool Full() const { return calendarDays == monthDays; }
};

MonthSpan SpanOf(const DemoEmployee& e, int year, int month) {
  MonthSpan span;
  const QDate first(year, month, 1);
  span.monthDays = first.daysInMonth();
  const QDate last(year, month, span.monthDays);
  span.first = std::max(first, e.hired);
  span.last = e.terminated.isValid() ? std::min(last, e.terminated) : last;
  span.calendarDays = static_cast<int>(span.first.daysTo(span.last)) + 1;
  return span;
}

int WorkingDays(const QDate& from, const QDate& to) {
  int days = 0;
  for (QDate d = from; d <= to; d = d.addDays(1))
    if (d.dayOfWeek() <= 5) ++days;
  return days;
}

Cents Prorated(Cents amount, const MonthSpan& span) {
  return span.Full() ? amount : ScaleRounded(amount, span.calendarDays, span.monthDays);
}

const AllowanceCode& Allowance(const QString& code) {
  for (const AllowanceCode& a : AllowanceCodes())
    if (a.code == code) return a;
  return AllowanceCodes().first();
}

// Pays the nett out by the employee's mode.
void PayOut(const DemoEmployee& e, PayRunHeader& h) {
  h.bank = h.cheque = h.cash = 0;
  switch (e.payMode.toLatin1()) {
    case 'Q':
      h.cheque = h.nett;
      break;
    case 'C':
      h.cash = h.nett;
      break;
    case 'S':
      h.cash = std::min<Cents>(h.nett, 20000);
      h.bank = h.nett - h.cash;
      break;
    default:
      h.bank = h.nett;
  }
}

class EmployeePayroll {
 public:
  EmployeePayroll(DemoRandom& random, PayrollState& state, const DemoEmployee& e, int year)
      : m_random(random), m_state(state), m_e(e), m_year(year) {}

  QList<PayRun> Compute() {
    QList<QPair<int, int>> periods = {{m_year - 1, 12}};
    for (int month = 1; month <= 12; ++month) periods.append({m_year, month});

    // Pass 1: mid-month and end-month runs.
    for (const auto& [year, month] : periods) {
      if (!m_e.EmployedIn(year, month)) continue;
      const MonthSpan span = SpanOf(m_e, year, month);
      Cents midBasic = 0;
      if (m_e.midMonth && span.Full()) {
        m_runs.append(MidMonthRun(year, month, span));
        midBasic = m_runs.last().header.basic;
      }
      m_runs.append(EndMonthRun(year, month, span, midBasic));
    }
    // Pass 2: bonus and special runs, inserted after the end-month run of their period.
    for (const auto& [year, month] : periods) {
      if (!m_e.EmployedIn(year, month)) continue;
      const Cents bonus = BonusOf(year, month);
      if (bonus > 0)
        InsertAfterEndMonth(AdditionalWageRun(year, month, 'B', month == 12 ? "$AWS" : "$BONUS", bonus));
      const Cents incentive = IncentiveOf(year, month);
      if (incentive > 0) InsertAfterEndMonth(AdditionalWageRun(year, month, 'S', "$INCENT", incentive));
    }
    // Skills development levy on each month's total wages, on its end-month run.
    for (PayRun& run : m_runs) {
      if (run.cycle != QLatin1Char('E')) continue;
      Cents monthWages = 0;
      for (const PayRun& other : m_runs)
        if (other.year == run.year && other.month == run.month) monthWages += other.header.gross;
      run.header.sdf = SkillsDevelopmentLevy(monthWages);
    }
    return m_runs;
  }

 private:
  Cents BasicOf(int year) const { return year < m_year ? m_e.previousBasic : m_e.basic; }

  PayRun NewRun(int year, int month, QChar cycle) const {
    PayRun run;
    run.year = year;
    run.month = month;
    run.cycle = cycle;
    return run;
  }

  PayRun MidMonthRun(int year, int month, const MonthSpan& span) {
    PayRun run = NewRun(year, month, 'M');
    PayRunHeader& h = run.header;
    const Cents monthly = BasicOf(year);
    h.dailyRate = DailyRate(monthly);
    h.hourlyRate = HourlyRate(monthly);
    h.basic = ScaleRounded(Prorated(monthly, span), 1, 2);
    h.gross = h.basic;
    h.nett = h.gross;
    PayOut(m_e, h);
    return run;
  }

  void AddAllowance(PayRun& run, const QString& code, Cents rate, Cents amount) {
    if (amount == 0) return;
    run.allowances.append({code, rate, 100, amount});
  }

  PayRun EndMonthRun(int year, int month, const MonthSpan& span, Cents midBasic) {
    PayRun run = NewRun(year, month, 'E');
    PayRunHeader& h = run.header;
    const Cents monthly = BasicOf(year);
    h.dailyRate = DailyRate(monthly);
    h.hourlyRate = HourlyRate(monthly);
    h.basic = Prorated(monthly, span) - midBasic;

    // Leave and absence only in whole months, so a short first or last month stays positive.
    if (span.Full()) AddLeaveAndAbsence(run);
    AddOvertimeShiftsAndRestDays(run);

    const bool fullAttendance = run.nplDays.isEmpty() && run.nplHours.isEmpty() && run.absences.isEmpty();
    AddAllowance(run, "TRANS", m_e.transport, Prorated(m_e.transport, span));
    AddAllowance(run, "MEAL", m_e.meal, Prorated(m_e.meal, span));
    AddAllowance(run, "HOUSING", m_e.housing, Prorated(m_e.housing, span));
    AddAllowance(run, "MOBILE", m_e.mobile, Prorated(m_e.mobile, span));
    if (fullAttendance && span.Full()) AddAllowance(run, "ATTEND", m_e.attendance, m_e.attendance);
    if (m_random.Chance(10)) {
      const Cents claim = Cents{m_random.Between(20, 300)} * 100;
      AddAllowance(run, "CLAIMS", claim, claim);
    }
    for (const AllowanceLine& line : run.allowances) {
      h.totalAllowance += line.amount;
      if (Allowance(line.code).isFund == QLatin1String("N")) h.nonCpfWage += line.amount;
    }
    h.gross = h.basic + h.totalAllowance + h.overtime + h.shift + h.restDay - h.totalNpl;

    // CPF on the month's ordinary wages (the mid-month advance included), up to the ceiling.
    const Cents ordinary = midBasic + h.gross - h.nonCpfWage;
    if (m_e.CpfContributor()) {
      h.cpfWage = std::min(ordinary, OrdinaryWageCeiling(year));
      const CpfShares shares = ComputeCpf(CpfRatesFor(year, m_e.AgeAt(year, month)), h.cpfWage, true);
      h.cpfEmployee = shares.employee;
      h.cpfEmployer = shares.employer;
      h.cpfOrdinary = h.cpfWage;
      if (m_e.voluntaryEmployerCpf > 0) {
        AddAllowance(run, "VOLEMPER", m_e.voluntaryEmployerCpf, m_e.voluntaryEmployerCpf);
        h.voluntaryEmployer = m_e.voluntaryEmployerCpf;
      }
      m_ytdOrdinary[year] += h.cpfWage;
      run.hasWageRecord = true;
      run.ytdOrdinary = m_ytdOrdinary[year];
    }
    h.fwl = Prorated(m_e.monthlyLevy, span);

    // Deductions: loan, union, advance recovery in whole months; the fund on the month's wages.
    QList<AllowanceLine> deductions;
    if (span.Full()) {
      if (m_e.loanInstalment > 0) deductions.append({"LOAN", m_e.loanInstalment, 100, -m_e.loanInstalment});
      if (m_e.unionMember) deductions.append({"UNION", 950, 100, -950});
      if (m_random.Chance(3)) {
        const Cents advance = Cents{m_random.Between(1, 5)} * 10000;
        deductions.append({"@$ADVREC", advance, 100, -advance});
      }
    }
    if (!m_e.fund.isEmpty()) {
      const Cents fund = SelfHelpFund(m_e.fund, midBasic + h.gross);
      if (fund > 0) deductions.append({m_e.fund, fund, 100, -fund});
    }
    for (const AllowanceLine& line : deductions) {
      // A deduction is taken only while the nett stays positive.
      if (h.gross - h.cpfEmployee - h.totalDeduction + line.amount <= 0) continue;
      run.allowances.append(line);
      h.totalDeduction -= line.amount;
    }
    h.nett = h.gross - h.cpfEmployee - h.voluntaryEmployee - h.totalDeduction;
    PayOut(m_e, h);

    h.payDays = Cents{WorkingDays(span.first, span.last)} * 100 - h.nplDays - h.absentDays;
    if (span.Full() && m_random.Chance(30)) h.annualLeaveDays = Cents{m_random.Between(1, 6)} * 50;
    if (month == 1 || !m_sickBalance.contains(year)) m_sickBalance[year] = 1400;
    if (m_random.Chance(12)) {
      h.sickLeaveDays = std::min<Cents>(Cents{m_random.Between(1, 3)} * 100, m_sickBalance[year]);
      m_sickBalance[year] -= h.sickLeaveDays;
    }
    h.sickLeaveBalance = m_sickBalance[year];
    return run;
  }

  void AddLeaveAndAbsence(PayRun& run) {
    PayRunHeader& h = run.header;
    if (m_random.Chance(8)) {
      const Cents days = Cents{m_random.Between(1, 6)} * 50;
      run.nplDays.append({"NPL", days, ScaleRounded(h.dailyRate, days, 100)});
      if (m_random.Chance(20)) {
        const Cents more = Cents{m_random.Between(1, 4)} * 50;
        run.nplDays.append({"NPL-HOSP", more, ScaleRounded(h.dailyRate, more, 100)});
      }
    }
    if (m_random.Chance(6)) {
      const Cents hours = Cents{m_random.Between(1, 8)} * 100;
      run.nplHours.append({"NPL-HRS", hours, ScaleRounded(h.hourlyRate, hours, 100)});
    }
    if (m_random.Chance(4)) {
      const Cents days = Cents{m_random.Between(1, 2)} * 100;
      run.absences.append(
          {m_random.Chance(70) ? "ABSENT" : "UNAUTHLV", days, ScaleRounded(h.dailyRate, days, 100)});
    }
    for (const TypedLine& l : run.nplDays) {
      h.nplAmount += l.amount;
      h.nplDays += l.frequency;
    }
    for (const TypedLine& l : run.nplHours) {
      h.nplAmount += l.amount;
      h.nplHours += l.frequency;
    }
    for (const TypedLine& l : run.absences) {
      h.absentAmount += l.amount;
      h.absentDays += l.frequency;
    }
    h.totalNpl = h.nplAmount + h.absentAmount;
  }

  void AddOvertimeShiftsAndRestDays(PayRun& run) {
    PayRunHeader& h = run.header;
    const JobRole& role = *m_e.role;
    // Overtime: at 1.5 times the hourly basic rate on working days, 2.0 on rest days and holidays.
    if (role.overtime && BasicOf(run.year) <= 450000) {
      if (m_random.Chance(70)) {
        const Cents hours = Cents{m_random.Between(8, 120)} * 50;
        const Cents rate = ScaleRounded(h.hourlyRate, 15, 10);
        run.overtime.append({"1", 150, "OT1.5", rate, hours, ScaleRounded(rate, hours, 100)});
      }
      if (m_random.Chance(25)) {
        const Cents hours = Cents{m_random.Between(4, 24)} * 50;
        const Cents rate = h.hourlyRate * 2;
        run.overtime.append({"2", 200, "OT2.0", rate, hours, ScaleRounded(rate, hours, 100)});
      }
      if (m_random.Chance(15)) {
        const RestDayType& type = RestDayTypes().at(m_state.nextRestDayType++ % RestDayTypes().size());
        const Cents days = Cents{m_random.Between(1, 2)} * 100;
        run.restDays.append({type.type, days, ScaleRounded(h.dailyRate, days * type.tenthsOfDayPay, 1000)});
      }
    }
    if (role.shifts && m_random.Chance(60)) {
      for (const ShiftParameter& shift : ShiftParameters()) {
        const int chance = shift.status == QLatin1String("WS") ? 20 : 50;
        if (!m_random.Chance(chance)) continue;
        const int count = m_random.Between(2, 12);
        run.shifts.append({shift.description, shift.status, Cents{count} * 100, shift.ratePerShift * count});
      }
    }
    for (const OvertimeLine& l : run.overtime) h.overtime += l.amount;
    for (const ShiftLine& l : run.shifts) h.shift += l.amount;
    for (const TypedLine& l : run.restDays) h.restDay += l.amount;
  }

  // The annual wage supplement of December (a month's basic for those hired by September and still
  // employed at the year end), or the March performance bonus of about three in five.
  Cents BonusOf(int year, int month) {
    if (month == 12) {
      const bool stays = !m_e.terminated.isValid() || m_e.terminated >= QDate(year, 12, 31);
      return stays && m_e.hired <= QDate(year, 9, 30) ? BasicOf(year) : 0;
    }
    if (month == 3 && year == m_year && m_e.hired < QDate(year, 1, 1) && m_random.Chance(60)) {
      return ScaleRounded(BasicOf(year), m_random.Between(5, 25), 10) / 100 * 100;
    }
    return 0;
  }

  // Sales incentives in special runs of June and November.
  Cents IncentiveOf(int year, int month) {
    if (year != m_year || (month != 6 && month != 11) || m_e.role->department != QLatin1String("SAL"))
      return 0;
    return Cents{m_random.Between(6, 60)} * 5000;
  }

  PayRun AdditionalWageRun(int year, int month, QChar cycle, const QString& code, Cents amount) {
    PayRun run = NewRun(year, month, cycle);
    PayRunHeader& h = run.header;
    run.allowances.append({code, amount, 100, amount});
    h.totalAllowance = amount;
    h.gross = amount;
    h.additionalEarned = amount;
    if (m_e.CpfContributor()) {
      // Additional wages pay CPF up to the annual ceiling less the year's ordinary wages. For the
      // previous year only its December is held, so its ordinary wages count as twelve of those.
      Cents ordinary = m_ytdOrdinary.value(year);
      if (year < m_year) ordinary *= 12;
      const Cents room = std::max<Cents>(0, kAnnualCpfCeiling - ordinary - m_additionalUsed.value(year));
      h.cpfWage = std::min(amount, room);
      h.cpfAdditional = h.cpfWage;
      m_additionalUsed[year] += h.cpfWage;
      const CpfShares shares = ComputeCpf(CpfRatesFor(year, m_e.AgeAt(year, month)), h.cpfWage, false);
      h.cpfEmployee = shares.employee;
      h.cpfEmployer = shares.employer;
      run.hasWageRecord = true;
      run.actualAdditionalPaid = amount;
      run.ytdOrdinary = m_ytdOrdinary.value(year);
    }
    h.nett = h.gross - h.cpfEmployee;
    PayOut(m_e, h);
    return run;
  }

  void InsertAfterEndMonth(const PayRun& run) {
    int position = static_cast<int>(m_runs.size());
    for (int i = 0; i < m_runs.size(); ++i) {
      const PayRun& other = m_runs.at(i);
      if (other.year == run.year && other.month == run.month) position = i + 1;
    }
    m_runs.insert(position, run);
  }

  DemoRandom& m_random;
  PayrollState& m_state;
  const DemoEmployee& m_e;
  int m_year;
  QList<PayRun> m_runs;
  QHash<int, Cents> m_ytdOrdinary;     // year -> CPF ordinary wages so far
  QHash<int, Cents> m_additionalUsed;  // year -> additional wages that paid CPF so far
  QHash<int, Cents> m_sickBalance;     // year -> sick leave days left, hundredths
};

}  // namespace

QList<PayRun> ComputePayRuns(DemoRandom& random, PayrollState& state, const DemoEmployee& employee,
                             int year) {
  return EmployeePayroll(random, state, employee, year).Compute();
}

}  // namespace tarno::demo
