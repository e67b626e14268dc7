// The demo company's people: who they are, what they do and earn, and how they are paid.
// Generated once from the seed, before any pay run; the payroll (DemoPayroll) reads them.
#pragma once

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

#include "demo/DemoCatalog.h"
#include "demo/DemoRandom.h"
#include "demo/SingaporeRules.h"

namespace tarno::demo {

struct DemoEmployee {
  QString empNo;  // EMP_NO, "E" + 5 digits
  QString name;
  Origin origin = Origin::Chinese;
  bool male = true;
  QDate dob;
  QDate hired;
  QDate terminated;       // null while employed
  QString status;         // TERMINATION_STATUS letter: C confirmed, P probation, R resigned, E retired
  QChar residency;        // C citizen, P permanent resident, F foreigner (no CPF)
  QString category;       // LOCAL, PR, WP, SP, EP
  Cents monthlyLevy = 0;  // foreign worker levy, work permit holders only
  const JobRole* role = nullptr;
  QString costCentre;
  QString company;
  QString location;
  QString taxNo;
  QString passportNo;
  QString currency;  // FCURR_CODE
  QString bank;      // EMPMISC.CHAR1
  QString bankAccount;

  Cents basic = 0;          // monthly basic of the payroll year
  Cents previousBasic = 0;  // monthly basic of the previous December (before the January increment)
  Cents newSalary = 0;      // EMPSERV.NEW_SALARY: the basic, or an approved increment

  bool midMonth = false;  // takes a mid-month advance of half the basic
  QChar payMode;          // B bank, Q cheque, C cash, S bank with up to $200 in cash

  Cents transport = 0;  // fixed monthly allowances (0 = none)
  Cents meal = 0;
  Cents housing = 0;
  Cents mobile = 0;
  Cents attendance = 0;  // paid only in months without no-pay leave or absence
  Cents loanInstalment = 0;
  bool unionMember = false;
  Cents voluntaryEmployerCpf = 0;
  QString fund;  // self-help-group fund code, or empty

  // Cost-centre split (COSTCTR): cost centres with percentages in hundredths (6000 = 60%), adding
  // up to 10000; empty when the employee is not split.
  QList<QPair<QString, int>> costSplit;

  bool CpfContributor() const { return residency != QLatin1Char('F'); }
  bool IsManagement() const {
    return role->jobGrade == QLatin1String("G5") || role->jobGrade == QLatin1String("G6");
  }
  // Whether the employee works for at least part of the month.
  bool EmployedIn(int year, int month) const;
  // Age in completed years at the end of the month.
  int AgeAt(int year, int month) const;
};

QList<DemoEmployee> GenerateWorkforce(DemoRandom& random, int count, int year);

}  // namespace tarno::demo
