// The demo company's reference lists: a precision-engineering manufacturer in Tuas with a head
// office, production lines, a quality lab, a warehouse and a sales office.
#include "demo/DemoCatalog.h"

namespace tarno::demo {

const QList<CodeDescription>& CodeDescriptions() {
  static const QList<CodeDescription> codes = {
      {"DEP", "ADM", "Administration"},
      {"DEP", "FIN", "Finance"},
      {"DEP", "HR", "Human Resource"},
      {"DEP", "PRD", "Production"},
      {"DEP", "QA", "Quality Assurance"},
      {"DEP", "ENG", "Engineering"},
      {"DEP", "SAL", "Sales & Marketing"},
      {"DEP", "LOG", "Logistics & Warehouse"},
      {"DEP", "MNT", "Maintenance"},
      {"CST", "CC100", "Corporate Office"},
      {"CST", "CC200", "Machining Line A"},
      {"CST", "CC210", "Machining Line B"},
      {"CST", "CC300", "Assembly"},
      {"CST", "CC400", "Quality Laboratory"},
      {"CST", "CC500", "Warehouse"},
      {"CST", "CC600", "Sales Office"},
      {"COM", "LCPE", "Lion City Precision Engineering Pte Ltd"},
      {"COM", "LCPS", "Lion City Precision Services Pte Ltd"},
      {"DIV", "CORP", "Corporate"},
      {"DIV", "MFG", "Manufacturing"},
      {"DIV", "COMM", "Commercial"},
      {"SEC", "ACC", "Accounts"},
      {"SEC", "PAY", "Payroll & Benefits"},
      {"SEC", "CNC", "CNC Machining"},
      {"SEC", "ASM", "Assembly"},
      {"SEC", "INS", "Inspection"},
      {"SEC", "STR", "Stores"},
      {"SEC", "DSP", "Dispatch"},
      {"SEC", "SLS", "Sales"},
      {"SEC", "MKT", "Marketing"},
      {"SEC", "GEN", "General"},
      {"OCU", "MGR", "Manager"},
      {"OCU", "DIR", "Director"},
      {"OCU", "ENGR", "Engineer"},
      {"OCU", "TECH", "Technician"},
      {"OCU", "OPR", "Machine Operator"},
      {"OCU", "CLK", "Clerk"},
      {"OCU", "EXEC", "Executive"},
      {"OCU", "DRV", "Driver"},
      {"OCU", "STOR", "Storekeeper"},
      {"OCU", "SLSX", "Sales Executive"},
      {"OCU", "QCIN", "QC Inspector"},
      {"JOB", "G1", "Operator / General Worker"},
      {"JOB", "G2", "Senior Operator / Clerk"},
      {"JOB", "G3", "Technician / Executive"},
      {"JOB", "G4", "Engineer / Senior Executive"},
      {"JOB", "G5", "Manager"},
      {"JOB", "G6", "Director"},
      {"CAT", "LOCAL", "Singapore Citizen"},
      {"CAT", "PR", "Permanent Resident"},
      {"CAT", "WP", "Work Permit"},
      {"CAT", "SP", "S Pass"},
      {"CAT", "EP", "Employment Pass"},
  };
  return codes;
}

QString DepartmentOfCostCentre(const QString& costCentre) {
  static const QList<QPair<QString, QString>> map = {{"CC100", "ADM"}, {"CC200", "PRD"}, {"CC210", "PRD"},
                                                     {"CC300", "PRD"}, {"CC400", "QA"},  {"CC500", "LOG"},
                                                     {"CC600", "SAL"}, {"CC700", "ENG"}};
  for (const auto& [cc, dep] : map)
    if (cc == costCentre) return dep;
  return QString();
}

const QList<QString>& CostCentres() {
  static const QList<QString> list = {"CC100", "CC200", "CC210", "CC300", "CC400", "CC500", "CC600", "CC700"};
  return list;
}

const QList<JobRole>& JobRoles() {
  static const QList<JobRole> roles = {
      {"PRD", "CNC", "OPR", "G1", "MFG", {"CC200", "CC210"}, 1800, 2600, true, true, 22},
      {"PRD", "ASM", "OPR", "G1", "MFG", {"CC300"}, 1700, 2400, true, true, 14},
      {"PRD", "CNC", "TECH", "G3", "MFG", {"CC200", "CC210"}, 2800, 4200, true, true, 8},
      {"QA", "INS", "QCIN", "G2", "MFG", {"CC400"}, 2300, 3300, true, true, 6},
      {"ENG", "GEN", "ENGR", "G4", "TECH", {"CC700"}, 4600, 7500, false, false, 7},
      {"MNT", "GEN", "TECH", "G3", "TECH", {"CC200", "CC300"}, 2800, 4000, true, false, 5},
      {"LOG", "STR", "STOR", "G2", "MFG", {"CC500"}, 2000, 2800, true, false, 6},
      {"LOG", "DSP", "DRV", "G1", "MFG", {"CC500"}, 1900, 2600, true, false, 4},
      {"SAL", "SLS", "SLSX", "G3", "COMM", {"CC600"}, 3500, 6000, false, false, 7},
      {"SAL", "MKT", "EXEC", "G3", "COMM", {"CC600"}, 3800, 5500, false, false, 3},
      {"FIN", "ACC", "CLK", "G2", "CORP", {"CC100"}, 2600, 3600, true, false, 4},
      {"HR", "PAY", "EXEC", "G3", "CORP", {"CC100"}, 3500, 4500, false, false, 3},
      {"ADM", "GEN", "CLK", "G2", "CORP", {"CC100"}, 2400, 3200, true, false, 3},
      {"PRD", "GEN", "MGR", "G5", "MFG", {"CC200"}, 8000, 12000, false, false, 2},
      {"ENG", "GEN", "MGR", "G5", "TECH", {"CC700"}, 9000, 14000, false, false, 1},
      {"SAL", "SLS", "MGR", "G5", "COMM", {"CC600"}, 9000, 13000, false, false, 1},
      {"FIN", "ACC", "MGR", "G5", "CORP", {"CC100"}, 8500, 12500, false, false, 1},
      {"ADM", "GEN", "DIR", "G6", "CORP", {"CC100"}, 16000, 22000, false, false, 1},
  };
  return roles;
}

const QList<AllowanceCode>& AllowanceCodes() {
  static const QList<AllowanceCode> codes = {
      {"TRANS", "TRANSPORT ALLOWANCE", "A", "Y", 1020, "ALLW"},
      {"MEAL", "MEAL ALLOWANCE", "A", "Y", 1021, "ALLW"},
      {"HOUSING", "HOUSING ALLOWANCE", "A", "Y", 1022, "ALLW"},
      {"MOBILE", "MOBILE PHONE ALLOWANCE", "A", "Y", 1023, ""},
      {"ATTEND", "ATTENDANCE ALLOWANCE", "A", "", 1024, "INCT"},
      {"CLAIMS", "MEDICAL CLAIM REIMBURSEMENT", "R", "N", 1030, "NA"},
      {"$AWS", "ANNUAL WAGE SUPPLEMENT", "B", "Y", 1010, "BONUS"},
      {"$BONUS", "PERFORMANCE BONUS", "B", "Y", 1011, "BONUS"},
      {"$INCENT", "SALES INCENTIVE", "B", "Y", 1012, "INCT"},
      {"LOAN", "COMPANY LOAN REPAYMENT", "D", "", 20, "DEDU"},
      {"UNION", "UNION MEMBERSHIP FEE", "D", "", 21, "DEDU"},
      {"@$ADVREC", "SALARY ADVANCE RECOVERY", "D", "", 22, ""},
      {"CDAC", "CDAC FUND", "D", "", 40, "DEDU"},
      {"EUCF", "EURASIAN COMMUNITY FUND", "D", "", 41, "DEDU"},
      {"MOSQ", "MOSQUE BUILDING & MENDAKI FUND", "D", "", 42, "DEDU"},
      {"SINDA", "SINDA FUND", "D", "", 43, "DEDU"},
      {"VOLEMPER", "VOLUNTARY CPF BY EMPLOYER", "C", "N", 60, ""},
  };
  return codes;
}

const QList<ShiftParameter>& ShiftParameters() {
  static const QList<ShiftParameter> shifts = {
      {"AS", "AFTERNOON", "S", "Y", 800},
      {"NS", "NIGHT", "S", "Y", 1200},
      {"WS", "WEEKEND", "S", "Y", 1500},
  };
  return shifts;
}

const QList<RestDayType>& RestDayTypes() {
  static const QList<RestDayType> types = {{"0.5D Day", 5}, {"1.0D Day", 10}, {"2.0D Day", 20},
                                           {"0.5LDay#", 5}, {"1.0LDay#", 10}, {"2.0LDay#", 20}};
  return types;
}

namespace {

QString Join(DemoRandom& random, const QList<QString>& first, const QList<QString>& last) {
  return random.Pick(first) + QLatin1Char(' ') + random.Pick(last);
}

}  // namespace

QString MakeName(DemoRandom& random, Origin origin, bool male) {
  static const QList<QString> chineseSurnames = {"Tan",  "Lim",  "Lee", "Ng",  "Ong",   "Wong", "Goh",
                                                 "Chua", "Chan", "Koh", "Teo", "Ang",   "Yeo",  "Tay",
                                                 "Ho",   "Low",  "Toh", "Sim", "Chong", "Chia"};
  static const QList<QString> chineseMale = {"Wei Ming", "Jun Jie",   "Kok Wah",    "Boon Keng", "Chee Keong",
                                             "Zhi Hao",  "Kian Seng", "Yong Sheng", "Jason",     "Daniel"};
  static const QList<QString> chineseFemale = {"Mei Ling", "Hui Min", "Siew Lan", "Li Ting",  "Xin Yi",
                                               "Pei Shan", "Shu Fen", "Ai Ling",  "Michelle", "Rachel"};
  static const QList<QString> malayMale = {"Muhammad Faizal", "Ahmad Rizal",   "Mohamed Hafiz",
                                           "Iskandar",        "Khairul Anwar", "Zulkifli"};
  static const QList<QString> malayFemale = {"Nur Aisyah", "Siti Aminah", "Farah Diana", "Nurul Huda",
                                             "Aishah"};
  static const QList<QString> malayFathers = {"Ismail", "Rahman", "Osman", "Hassan", "Abdullah", "Yusof"};
  static const QList<QString> indianMale = {"Ravi", "Suresh", "Arun", "Vijay", "Ganesh", "Prakash"};
  static const QList<QString> indianFemale = {"Priya", "Kavitha", "Lakshmi", "Deepa", "Revathi", "Anitha"};
  static const QList<QString> indianFathers = {"Krishnan", "Subramaniam", "Rajendran",
                                               "Pillai",   "Naidu",       "Muthu"};
  static const QList<QString> eurasianFirst = {"Daniel", "Sarah", "Marcus", "Claire", "Adrian", "Natalie"};
  static const QList<QString> eurasianLast = {"De Souza", "Pereira",     "Rodrigues",
                                              "Oliveiro", "Shepherdson", "D'Cruz"};
  static const QList<QString> bangladeshiFirst = {"Md Rahim", "Abdul Karim", "Mohammad Hossain",
                                                  "Rafiqul",  "Shahidul",    "Jahangir"};
  static const QList<QString> bangladeshiLast = {"Uddin", "Islam", "Alam", "Miah", "Sarker", "Hossain"};
  static const QList<QString> myanmarNames = {"Aung Ko Ko",  "Zaw Min Htet",  "Thin Thin Aye",
                                              "Kyaw Zin Oo", "Hnin Wai Phyo", "Soe Moe Naing"};
  static const QList<QString> prcSurnames = {"Zhang", "Wang", "Liu", "Chen", "Li", "Zhao", "Huang"};
  static const QList<QString> prcGiven = {"Wei", "Fang", "Yang", "Jing", "Qiang", "Lei", "Xiu Ying"};
  static const QList<QString> indianNationalFirst = {"Ramesh", "Senthil", "Karthik", "Manoj", "Sathish"};
  static const QList<QString> indianNationalLast = {"Kumar", "Murugan", "Raja", "Selvam", "Pandian"};
  static const QList<QString> filipinoFirst = {"Maria", "Jose", "Angelica", "Mark", "Kristine", "Paolo"};
  static const QList<QString> filipinoLast = {"Santos", "Reyes", "Cruz", "Bautista", "Garcia", "Mendoza"};
  static const QList<QString> britishFirst = {"James", "Emma", "Oliver", "Sophie", "Thomas"};
  static const QList<QString> britishLast = {"Smith", "Taylor", "Brown", "Wilson", "Evans"};

  switch (origin) {
    case Origin::Chinese:
    case Origin::Malaysian:
      return random.Pick(chineseSurnames) + QLatin1Char(' ') +
             random.Pick(male ? chineseMale : chineseFemale);
    case Origin::Malay:
      return random.Pick(male ? malayMale : malayFemale) +
             (male ? QStringLiteral(" bin ") : QStringLiteral(" binte ")) + random.Pick(malayFathers);
    case Origin::Indian:
      return random.Pick(male ? indianMale : indianFemale) +
             (male ? QStringLiteral(" s/o ") : QStringLiteral(" d/o ")) + random.Pick(indianFathers);
    case Origin::Eurasian:
      return Join(random, eurasianFirst, eurasianLast);
    case Origin::Bangladeshi:
      return Join(random, bangladeshiFirst, bangladeshiLast);
    case Origin::Myanmar:
      return random.Pick(myanmarNames);
    case Origin::PrcChinese:
      return Join(random, prcSurnames, prcGiven);
    case Origin::IndianNational:
      return Join(random, indianNationalFirst, indianNationalLast);
    case Origin::Filipino:
      return Join(random, filipinoFirst, filipinoLast);
    case Origin::British:
      return Join(random, britishFirst, britishLast);
  }
  return QString();
}

QString FundOf(Origin origin) {
  switch (origin) {
    case Origin::Chinese:
      return QStringLiteral("CDAC");
    case Origin::Malay:
      return QStringLiteral("MOSQ");
    case Origin::Indian:
      return QStringLiteral("SINDA");
    case Origin::Eurasian:
      return QStringLiteral("EUCF");
    default:
      return QString();
  }
}

QString RaceText(Origin origin) {
  switch (origin) {
    case Origin::Chinese:
    case Origin::PrcChinese:
    case Origin::Malaysian:
      return QStringLiteral("CHINESE");
    case Origin::Malay:
      return QStringLiteral("MALAY");
    case Origin::Indian:
    case Origin::IndianNational:
      return QStringLiteral("INDIAN");
    case Origin::Eurasian:
      return QStringLiteral("EURASIAN");
    default:
      return QStringLiteral("OTHERS");
  }
}

}  // namespace tarno::demo
