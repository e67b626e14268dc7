// Drawing the workforce: roles by weight, residency by role (work permits on the shop floor,
// employment passes among engineers and managers), age bands weighted like a manufacturer's staff,
// a few joiners and leavers in the payroll year, fixed allowances by role.
#include "demo/DemoWorkforce.h"

namespace tarno::demo {

namespace {

QDate RandomDate(DemoRandom& random, int year, int fromMonth = 1, int toMonth = 12) {
  const int month = random.Between(fromMonth, toMonth);
  const int day = random.Between(1, QDate(year, month, 1).daysInMonth());
  return QDate(year, month, day);
}

QString RandomDigits(DemoRandom& random, int count) {
  QString text;
  for (int i = 0; i < count; ++i) text += QChar('0' + random.Between(0, 9));
  return text;
}

QChar RandomLetter(DemoRandom& random) {
  return QChar('A' + random.Between(0, 25));
}

Origin LocalOrigin(DemoRandom& random) {
  static const QList<Origin> origins = {Origin::Chinese, Origin::Malay, Origin::Indian, Origin::Eurasian};
  return origins.at(random.Weighted({70, 14, 12, 4}));
}

Origin WorkPermitOrigin(DemoRandom& random) {
  static const QList<Origin> origins = {Origin::Bangladeshi, Origin::IndianNational, Origin::PrcChinese,
                                        Origin::Myanmar, Origin::Malaysian};
  return origins.at(random.Weighted({35, 25, 15, 15, 10}));
}

Origin PassOrigin(DemoRandom& random) {
  static const QList<Origin> origins = {Origin::IndianNational, Origin::Filipino, Origin::Malaysian,
                                        Origin::PrcChinese, Origin::British};
  return origins.at(random.Weighted({30, 25, 20, 15, 10}));
}

// Whole dollars from..to in steps of ten, as cents.
Cents SalaryBetween(DemoRandom& random, int from, int to) {
  return Cents{random.Between(from / 10, to / 10)} * 1000;
}

void ChooseResidency(DemoRandom& random, DemoEmployee& e) {
  const QString& grade = e.role->jobGrade;
  int foreignWorkPermit = 0, sPass = 0, employmentPass = 0;
  if (grade == QLatin1String("G1")) foreignWorkPermit = 55;
  if (grade == QLatin1String("G2")) foreignWorkPermit = 20;
  if (grade == QLatin1String("G3")) sPass = 12;
  if (grade == QLatin1String("G4") || grade == QLatin1String("G5")) employmentPass = 15;
  const int draw = random.Between(1, 100);
  if (draw <= foreignWorkPermit) {
    e.residency = 'F';
    e.category = "WP";
    // Manufacturing levy: higher-skilled $300, basic-skilled $470 a month.
    e.monthlyLevy = random.Chance(40) ? 30000 : 47000;
    e.origin = WorkPermitOrigin(random);
  } else if (draw <= foreignWorkPermit + sPass + employmentPass) {
    e.residency = 'F';
    e.category = sPass > 0 ? "SP" : "EP";
    e.origin = PassOrigin(random);
  } else {
    e.residency = random.Chance(20) ? 'P' : 'C';
    e.category = e.residency == QLatin1Char('P') ? "PR" : "LOCAL";
    e.origin = LocalOrigin(random);
  }
}

QDate ChooseBirthDate(DemoRandom& random, int year) {
  // Age bands of the CPF table: up to 55, to 60, to 65, to 70, above.
  static const QList<QPair<int, int>> bands = {{20, 54}, {56, 59}, {61, 64}, {66, 69}, {71, 74}};
  const auto [from, to] = bands.at(random.Weighted({80, 8, 6, 4, 2}));
  return RandomDate(random, year - random.Between(from, to));
}

void ChooseAllowances(DemoRandom& random, DemoEmployee& e) {
  const QString& grade = e.role->jobGrade;
  const bool shopFloor = grade == QLatin1String("G1") || grade == QLatin1String("G2");
  if (!e.IsManagement() && random.Chance(60)) e.transport = Cents{random.Between(5, 20)} * 1000;
  if (shopFloor && random.Chance(80)) e.meal = Cents{random.Between(8, 15)} * 1000;
  if (e.category == QLatin1String("EP")) e.housing = Cents{random.Between(15, 30)} * 10000;
  if (e.role->department == QLatin1String("SAL") || e.IsManagement())
    e.mobile = Cents{random.Between(5, 10)} * 1000;
  if (grade == QLatin1String("G1") && random.Chance(50)) e.attendance = Cents{random.Between(5, 10)} * 1000;
  if (random.Chance(6)) e.loanInstalment = Cents{random.Between(10, 50)} * 1000;
  e.unionMember = shopFloor && e.CpfContributor() && random.Chance(35);
  if (e.IsManagement() && e.CpfContributor() && random.Chance(50))
    e.voluntaryEmployerCpf = Cents{random.Between(1, 5)} * 10000;
  if (e.CpfContributor()) e.fund = FundOf(e.origin);
}

void ChooseCostSplit(DemoRandom& random, DemoEmployee& e) {
  if (e.IsManagement() || !random.Chance(15)) return;
  QList<QString> others;
  for (const QString& cc : CostCentres())
    if (cc != e.costCentre) others.append(cc);
  const QString second = random.Pick(others);
  switch (random.Between(0, 2)) {
    case 0:
      e.costSplit = {{e.costCentre, 6000}, {second, 4000}};
      break;
    case 1:
      e.costSplit = {{e.costCentre, 5000}, {second, 5000}};
      break;
    default: {
      others.removeAll(second);
      e.costSplit = {{e.costCentre, 3333}, {second, 3333}, {random.Pick(others), 3334}};
    }
  }
}

}  // namespace

bool DemoEmployee::EmployedIn(int year, int month) const {
  const QDate first(year, month, 1);
  const QDate last(year, month, first.daysInMonth());
  if (hired > last) return false;
  if (terminated.isValid() && terminated < first) return false;
  return true;
}

int DemoEmployee::AgeAt(int year, int month) const {
  const QDate end(year, month, QDate(year, month, 1).daysInMonth());
  int age = end.year() - dob.year();
  if (end.month() < dob.month() || (end.month() == dob.month() && end.day() < dob.day())) --age;
  return age;
}

QList<DemoEmployee> GenerateWorkforce(DemoRandom& random, int count, int year) {
  QList<int> weights;
  for (const JobRole& role : JobRoles()) weights.append(role.weight);
  static const QList<QString> banks = {"DBS", "OCBC", "UOB", "POSB", "MAYBANK"};

  QList<DemoEmployee> employees;
  employees.reserve(count);
  for (int i = 0; i < count; ++i) {
    DemoEmployee e;
    e.empNo = QStringLiteral("E%1").arg(i + 1, 5, 10, QLatin1Char('0'));
    // The first employee is always the director, so that every company has one.
    e.role = i == 0 ? &JobRoles().last() : &JobRoles().at(random.Weighted(weights));
    e.male = random.Chance(62);
    ChooseResidency(random, e);
    e.name = MakeName(random, e.origin, e.male);
    e.dob = ChooseBirthDate(random, year);
    e.costCentre = random.Pick(e.role->costCentres);
    e.company = random.Chance(85) ? "LCPE" : "LCPS";
    e.location = e.role->division == QLatin1String("CORP") || e.role->division == QLatin1String("COMM")
                     ? "HQ"
                     : "TUAS";
    e.currency =
        e.category == QLatin1String("EP") && random.Chance(30) ? (random.Chance(50) ? "USD" : "EUR") : "SGD";
    e.bank = random.Pick(banks);
    e.bankAccount = RandomDigits(random, 3) + '-' + RandomDigits(random, 6) + '-' + RandomDigits(random, 1);

    // A tenth join during the payroll year, six in a hundred leave it; the rest joined earlier.
    if (i > 0 && random.Chance(10)) {
      e.hired = RandomDate(random, year, 2, 11);
    } else {
      e.hired = RandomDate(random, random.Between(year - 16, year - 1));
    }
    e.status = e.hired > QDate(year, 9, 30) ? "P" : "C";
    if (i > 0 && random.Chance(6)) {
      const QDate from = std::max(e.hired.addMonths(1), QDate(year, 3, 1));
      if (from < QDate(year, 11, 30)) {
        e.terminated = RandomDate(random, year, from.month(), 11);
        if (e.terminated < from) e.terminated = from;
        e.status = e.AgeAt(year, e.terminated.month()) >= 63 ? "E" : "R";
      }
    }

    e.basic = SalaryBetween(random, e.role->salaryFrom, e.role->salaryTo);
    e.previousBasic = ScaleRounded(e.basic, 100, 103) / 100 * 100;  // before a 3% January increment
    e.newSalary = random.Chance(10) ? ScaleRounded(e.basic, 105, 100) / 100 * 100 : e.basic;
    e.midMonth = !e.IsManagement() && random.Chance(20);
    const int mode = random.Weighted({85, 5, 5, 5});
    e.payMode = QStringLiteral("BQCS").at(mode);

    if (e.residency == QLatin1Char('F')) {
      e.taxNo = (e.hired.year() >= 2022 ? QStringLiteral("M") : QStringLiteral("G")) +
                RandomDigits(random, 7) + RandomLetter(random);
      e.passportNo = QString(RandomLetter(random)) + RandomLetter(random) + RandomDigits(random, 7);
    } else {
      e.taxNo = (e.dob.year() >= 2000 ? QStringLiteral("T") : QStringLiteral("S")) + RandomDigits(random, 7) +
                RandomLetter(random);
    }
    ChooseAllowances(random, e);
    ChooseCostSplit(random, e);
    employees.append(e);
  }
  return employees;
}

}  // namespace tarno::demo
