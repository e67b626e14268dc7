// The payroll rules behind the demo's figures, and its deterministic source of chance.
#include <gtest/gtest.h>

#include <QSet>

#include "demo/DemoRandom.h"
#include "demo/SingaporeRules.h"

namespace tarno::demo {
namespace {

TEST(SingaporeRules, CpfSharesRoundLikeTheBoard) {
  struct Case {
    int year, age;
    Cents wage;
    bool phaseIn;
    Cents employee, employer;
  };
  const Case cases[] = {
      {2025, 30, 500000, true, 100000, 85000},  // 20% + 17% of $5,000
      {2025, 30, 333333, true, 66600, 56700},   // total 1,233.33 -> 1,233; employee 666.67 -> 666
      {2024, 30, 298243, true, 59600, 50700},   // total 1,103.499 -> 1,103, not via 1,103.50 to 1,104
      {2025, 30, 60000, true, 6000, 10200},     // phase-in: 0.6 x (600 - 500); employer 17%
      {2025, 30, 40000, true, 0, 6800},         // up to $500: employer only
      {2025, 30, 5000, true, 0, 0},             // up to $50: nothing
      {2025, 30, 40000, false, 8000, 6800},     // additional wages: full rates
      {2025, 58, 100000, true, 17000, 15500},   // above 55 to 60 in 2025
      {2026, 58, 100000, true, 18000, 16000},   // the same band in 2026
      {2024, 62, 100000, true, 10500, 11500},   // above 60 to 65 in 2024
      {2025, 72, 100000, true, 5000, 7500},     // above 70
  };
  for (const Case& c : cases) {
    const CpfShares shares = ComputeCpf(CpfRatesFor(c.year, c.age), c.wage, c.phaseIn);
    EXPECT_EQ(shares.employee, c.employee) << c.year << " age " << c.age << " wage " << c.wage;
    EXPECT_EQ(shares.employer, c.employer) << c.year << " age " << c.age << " wage " << c.wage;
  }
}

TEST(SingaporeRules, CeilingsLeviesAndFunds) {
  EXPECT_EQ(OrdinaryWageCeiling(2024), 680000);
  EXPECT_EQ(OrdinaryWageCeiling(2025), 740000);
  EXPECT_EQ(OrdinaryWageCeiling(2026), 800000);

  const std::pair<Cents, Cents> levies[] = {
      {50000, 200}, {80000, 200}, {400000, 1000}, {450000, 1125}, {900000, 1125}};
  for (const auto& [wages, levy] : levies) EXPECT_EQ(SkillsDevelopmentLevy(wages), levy) << wages;

  struct Fund {
    const char* code;
    Cents wages, contribution;
  };
  const Fund funds[] = {{"CDAC", 200000, 50},    {"CDAC", 200001, 100},    {"CDAC", 900000, 300},
                        {"SINDA", 100000, 100},  {"SINDA", 2000000, 3000}, {"MOSQ", 90000, 300},
                        {"MOSQ", 1500000, 2600}, {"EUCF", 90000, 200},     {"LOAN", 500000, 0}};
  for (const Fund& f : funds)
    EXPECT_EQ(SelfHelpFund(f.code, f.wages), f.contribution) << f.code << " " << f.wages;
}

TEST(SingaporeRules, RatesAndRounding) {
  EXPECT_EQ(HourlyRate(228800), 1200);  // 12 x 2,288 / 2,288
  EXPECT_EQ(DailyRate(260000), 12000);  // 12 x 2,600 / 260
  EXPECT_EQ(ScaleRounded(5, 1, 2), 3);  // half away from zero
  EXPECT_EQ(ScaleRounded(-5, 1, 2), -3);
  EXPECT_EQ(ScaleRounded(4, 1, 3), 1);
}

TEST(DemoRandom, SameSeedSameDrawsWithinBounds) {
  DemoRandom a(7), b(7), c(8);
  bool differs = false;
  for (int i = 0; i < 1000; ++i) {
    const int x = a.Between(-3, 5);
    EXPECT_GE(x, -3);
    EXPECT_LE(x, 5);
    EXPECT_EQ(x, b.Between(-3, 5));
    differs = differs || x != c.Between(-3, 5);
  }
  EXPECT_TRUE(differs);
  QSet<int> seen;
  for (int i = 0; i < 2000; ++i) {
    const int pick = a.Weighted({3, 0, 1});
    EXPECT_NE(pick, 1) << "a zero weight was picked";
    seen.insert(pick);
  }
  EXPECT_EQ(seen, (QSet<int>{0, 2}));
}

}  // namespace
}  // namespace tarno::demo
