// Figures from the public CPF, SDL, FWL and self-help-group tables of 2024 to 2026. The middle
// bands of the MBMF (MOSQ) and ECF (EUCF) funds are approximations: only their ends are published
// in the form we had.
#include "demo/SingaporeRules.h"

#include <array>

namespace tarno::demo {

namespace {

struct AgeBandRates {
  int maxAge;  // the band holds ages up to and including this
  CpfRates rates;
};

constexpr int kNoLimit = 1000;

constexpr std::array<AgeBandRates, 5> kRates2024 = {
    {{55, {170, 200}}, {60, {150, 160}}, {65, {115, 105}}, {70, {90, 75}}, {kNoLimit, {75, 50}}}};
constexpr std::array<AgeBandRates, 5> kRates2025 = {
    {{55, {170, 200}}, {60, {155, 170}}, {65, {120, 115}}, {70, {90, 75}}, {kNoLimit, {75, 50}}}};
constexpr std::array<AgeBandRates, 5> kRates2026 = {
    {{55, {170, 200}}, {60, {160, 180}}, {65, {125, 125}}, {70, {90, 75}}, {kNoLimit, {75, 50}}}};

// wage x tenths of a percent, rounded once, straight to whole dollars (as cents): rounding to
// cents first would turn $1,103.499 into $1,103.50 and then $1,104. wage >= 0.
Cents PercentRoundedToDollar(Cents wage, qint64 tenths) {
  return (wage * tenths + 50000) / 100000 * 100;
}
Cents PercentFlooredToDollar(Cents wage, qint64 tenths) {
  return wage * tenths / 100000 * 100;
}

struct FundBand {
  Cents upTo;  // wages up to and including this
  Cents contribution;
};

template <std::size_t N>
Cents FromBands(const std::array<FundBand, N>& bands, Cents wages) {
  for (const FundBand& band : bands)
    if (wages <= band.upTo) return band.contribution;
  return bands.back().contribution;
}

constexpr Cents kAbove = 0x7fffffffffffLL;

}  // namespace

CpfRates CpfRatesFor(int year, int age) {
  const auto& table = year <= 2024 ? kRates2024 : year == 2025 ? kRates2025 : kRates2026;
  for (const AgeBandRates& band : table)
    if (age <= band.maxAge) return band.rates;
  return table.back().rates;
}

Cents OrdinaryWageCeiling(int year) {
  if (year <= 2023) return 630000;
  if (year == 2024) return 680000;
  if (year == 2025) return 740000;
  return 800000;
}

Cents ScaleRounded(Cents value, qint64 numerator, qint64 denominator) {
  const qint64 product = value * numerator;
  const qint64 half = denominator / 2;
  return product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
}

CpfShares ComputeCpf(const CpfRates& rates, Cents wage, bool phaseIn) {
  CpfShares shares;
  if (wage <= 0) return shares;
  const int totalTenths = rates.employerTenths + rates.employeeTenths;
  if (phaseIn && wage <= 5000) return shares;
  if (phaseIn && wage <= 50000) {
    shares.employer = PercentRoundedToDollar(wage, rates.employerTenths);
    return shares;
  }
  if (phaseIn && wage <= 75000) {
    // The employee share grows from nothing at $500 to the full rate at $750: 3 x rate x (wage - 500).
    shares.employee = PercentFlooredToDollar(wage - 50000, 3 * rates.employeeTenths);
    shares.employer = PercentRoundedToDollar(wage, rates.employerTenths);
    return shares;
  }
  const Cents total = PercentRoundedToDollar(wage, totalTenths);
  shares.employee = PercentFlooredToDollar(wage, rates.employeeTenths);
  shares.employer = total - shares.employee;
  return shares;
}

Cents SkillsDevelopmentLevy(Cents monthWages) {
  if (monthWages <= 0) return 0;
  const Cents levy = ScaleRounded(monthWages, 25, 10000);
  if (levy < 200) return 200;
  if (levy > 1125) return 1125;
  return levy;
}

Cents SelfHelpFund(const QString& code, Cents wages) {
  static constexpr std::array<FundBand, 5> cdac = {
      {{200000, 50}, {350000, 100}, {500000, 150}, {750000, 200}, {kAbove, 300}}};
  static constexpr std::array<FundBand, 8> sinda = {{{100000, 100},
                                                     {150000, 300},
                                                     {250000, 500},
                                                     {450000, 700},
                                                     {750000, 900},
                                                     {1000000, 1200},
                                                     {1500000, 1800},
                                                     {kAbove, 3000}}};
  static constexpr std::array<FundBand, 8> mbmf = {{{100000, 300},
                                                    {200000, 450},
                                                    {300000, 650},
                                                    {400000, 1500},
                                                    {600000, 1950},
                                                    {800000, 2200},
                                                    {1000000, 2400},
                                                    {kAbove, 2600}}};
  static constexpr std::array<FundBand, 6> ecf = {
      {{100000, 200}, {150000, 400}, {250000, 600}, {400000, 900}, {700000, 1200}, {kAbove, 1600}}};
  if (wages <= 0) return 0;
  if (code == QLatin1String("CDAC")) return FromBands(cdac, wages);
  if (code == QLatin1String("SINDA")) return FromBands(sinda, wages);
  if (code == QLatin1String("MOSQ")) return FromBands(mbmf, wages);
  if (code == QLatin1String("EUCF")) return FromBands(ecf, wages);
  return 0;
}

Cents DailyRate(Cents monthlyBasic) {
  return ScaleRounded(monthlyBasic, 12, 260);
}
Cents HourlyRate(Cents monthlyBasic) {
  return ScaleRounded(monthlyBasic, 12, 52 * 44);
}

}  // namespace tarno::demo
