// "#,##0.00" on fixed-point amounts. The separators are fixed ("," and "."), so that a report reads
// the same whatever the locale of the machine that printed it.
#include "costing/CostingAmountFormat.h"

#include <cstdint>

namespace tarno::costing {

QString FormatCostingAmount(Currency amount) {
  // Four decimals to two, half away from zero, in integers so that no binary fraction interferes.
  const std::int64_t units = amount.Units();
  const bool negative = units < 0;
  const std::uint64_t magnitude =
      negative ? static_cast<std::uint64_t>(-(units + 1)) + 1u : static_cast<std::uint64_t>(units);
  const std::uint64_t cents = (magnitude + 50u) / 100u;
  const std::uint64_t whole = cents / 100u;
  const unsigned fraction = static_cast<unsigned>(cents % 100u);

  QString digits = QString::number(whole);
  QString grouped;
  grouped.reserve(digits.size() + digits.size() / 3 + 4);
  for (qsizetype i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.append(u',');
    grouped.append(digits.at(i));
  }
  grouped.append(u'.');
  grouped.append(QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0')));
  if (negative && cents != 0) grouped.prepend(u'-');
  return grouped;
}

}  // namespace tarno::costing
