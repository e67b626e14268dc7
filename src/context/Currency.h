// Money in fixed point with four decimals, as the payroll tables store it.
// Running sums that must add up exactly (year-to-date, cost-centre shares, variance totals)
// are kept in this type; conversions from floating point round to the nearest ten-thousandth,
// half away from zero.
#pragma once

#include <QString>
#include <compare>
#include <cstdint>

namespace tarno {

class Currency {
 public:
  static constexpr std::int64_t kScale = 10000;  // units per whole currency unit

  constexpr Currency() = default;
  static constexpr Currency FromUnits(std::int64_t units) {
    Currency c;
    c.m_units = units;
    return c;
  }
  // Rounds to the nearest ten-thousandth, half away from zero. Throws tarno::Error when the
  // value is not finite or does not fit.
  static Currency FromDouble(double value);
  // Parses "1234.5", "-0.0001", "12" exactly (no exponent, '.' as decimal separator).
  // Throws tarno::Error on anything else or on more than four decimals.
  static Currency FromString(const QString& text);

  constexpr std::int64_t Units() const { return m_units; }
  double ToDouble() const { return static_cast<double>(m_units) / kScale; }
  // Plain text with exactly four decimals, '.' separator, no grouping: "-12.3400".
  QString ToString() const;
  constexpr bool IsZero() const { return m_units == 0; }

  constexpr Currency operator-() const { return FromUnits(-m_units); }
  constexpr Currency operator+(Currency o) const { return FromUnits(m_units + o.m_units); }
  constexpr Currency operator-(Currency o) const { return FromUnits(m_units - o.m_units); }
  constexpr Currency& operator+=(Currency o) {
    m_units += o.m_units;
    return *this;
  }
  constexpr Currency& operator-=(Currency o) {
    m_units -= o.m_units;
    return *this;
  }
  constexpr auto operator<=>(const Currency&) const = default;

 private:
  std::int64_t m_units = 0;  // ten-thousandths
};

}  // namespace tarno
