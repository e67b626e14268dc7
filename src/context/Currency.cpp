#include "context/Currency.h"

#include <cmath>
#include <limits>

#include "context/Errors.h"

namespace tarno {

Currency Currency::FromDouble(double value) {
  if (!std::isfinite(value)) throw Error(QStringLiteral("The amount %1 is not a finite number.").arg(value));
  // Scale in long double so that values such as 1.00005 (held as 1.0000499999...) are not
  // pulled down by the representation error of the product.
  const long double scaled = static_cast<long double>(value) * kScale;
  const long double rounded = std::round(scaled);  // half away from zero
  if (std::fabs(rounded) > static_cast<long double>(std::numeric_limits<std::int64_t>::max() / 2))
    throw Error(QStringLiteral("The amount %1 is too large for a currency value.").arg(value, 0, 'f', 4));
  return FromUnits(static_cast<std::int64_t>(rounded));
}

Currency Currency::FromString(const QString& text) {
  const QString t = text.trimmed();
  auto bad = [&] { return Error(QStringLiteral("'%1' is not a currency amount.").arg(text)); };
  if (t.isEmpty()) throw bad();
  int i = 0;
  bool negative = false;
  if (t[0] == u'-' || t[0] == u'+') {
    negative = t[0] == u'-';
    ++i;
  }
  std::int64_t whole = 0;
  std::int64_t fraction = 0;
  int fractionDigits = 0;
  bool seenDigit = false;
  bool seenPoint = false;
  for (; i < t.size(); ++i) {
    const QChar c = t[i];
    if (c == u'.' && !seenPoint) {
      seenPoint = true;
    } else if (c.isDigit()) {
      seenDigit = true;
      if (seenPoint) {
        if (++fractionDigits > 4) throw bad();
        fraction = fraction * 10 + c.digitValue();
      } else {
        if (whole > std::numeric_limits<std::int64_t>::max() / 100000) throw bad();
        whole = whole * 10 + c.digitValue();
      }
    } else {
      throw bad();
    }
  }
  if (!seenDigit) throw bad();
  for (; fractionDigits < 4; ++fractionDigits) fraction *= 10;
  const std::int64_t units = whole * kScale + fraction;
  return FromUnits(negative ? -units : units);
}

QString Currency::ToString() const {
  const std::uint64_t magnitude =
      m_units < 0 ? static_cast<std::uint64_t>(-(m_units + 1)) + 1 : static_cast<std::uint64_t>(m_units);
  return QStringLiteral("%1%2.%3")
      .arg(m_units < 0 ? QStringLiteral("-") : QString())
      .arg(magnitude / kScale)
      .arg(magnitude % kScale, 4, 10, QChar(u'0'));
}

}  // namespace tarno
