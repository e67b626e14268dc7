// Month-and-year captions from period texts, with fixed English month names.
#include "outputs/DateText.h"

#include <array>

#include "context/Errors.h"

namespace tarno::outputs {

QString EnglishShortMonthName(int month) {
  static const std::array<const char*, 12> kNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (month < 1 || month > 12)
    throw OutputError(QStringLiteral("%1 is not a month number (1 to 12).").arg(month));
  return QString::fromLatin1(kNames[static_cast<std::size_t>(month - 1)]);
}

QString PeriodMonthCaption(const QString& period) {
  bool yearOk = false;
  bool monthOk = false;
  const int year = period.mid(0, 4).toInt(&yearOk);
  const int month = period.mid(4, 2).toInt(&monthOk);
  if (period.size() < 6 || !yearOk || !monthOk || month < 1 || month > 12 || year < 0)
    throw OutputError(QStringLiteral("The period '%1' does not name a month: it must be the year in four "
                                     "digits followed by the month in two (CCYYMM).")
                          .arg(period));
  return EnglishShortMonthName(month) + QLatin1Char(' ') +
         QStringLiteral("%1").arg(year % 100, 2, 10, QLatin1Char('0'));
}

}  // namespace tarno::outputs
