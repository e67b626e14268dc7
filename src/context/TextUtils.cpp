#include "context/TextUtils.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "context/Errors.h"

namespace tarno {

char* TruncateText(char* buffer, std::uint16_t length) {
  if (buffer != nullptr && std::strlen(buffer) > length) buffer[length] = '\0';
  return buffer;
}

char* RightText(char* buffer, std::uint16_t count) {
  const std::size_t len = std::strlen(buffer);
  if (len > count) return buffer + (len - count);
  return buffer;
}

char* MidText(char* buffer, std::uint16_t start, std::uint16_t length) {
  const std::size_t len = std::strlen(buffer);
  if (len < start) {
    buffer[0] = '\0';
    return buffer;
  }
  // The count is computed in 16 bits, as the callers' lengths are.
  const auto count = static_cast<std::uint16_t>(len - start + 1);
  return TruncateText(RightText(buffer, count), length);
}

char* ReplaceTextInPlace(char* buffer, const char* find, const char* replacement) {
  const std::size_t len = std::strlen(buffer);
  if (len <= 1) return buffer;
  const std::size_t findLen = std::strlen(find);
  // The result is cut to the input's length, so building more than that is never needed; this
  // also keeps any input far inside the historical 32,768-character work buffer.
  std::string out;
  out.reserve(len);
  std::size_t i = 0;
  while (i < len && out.size() < len) {
    if (findLen > 0 && std::strncmp(buffer + i, find, findLen) == 0) {
      out += replacement;
      i += findLen;
    } else {
      out += buffer[i];
      ++i;
    }
  }
  if (out.size() > len) out.resize(len);
  std::memcpy(buffer, out.data(), out.size());
  buffer[out.size()] = '\0';
  return buffer;
}

QString SubText(const QString& text, std::uint8_t start, std::uint8_t length) {
  // A string holding a zero character ends there, as the zero-terminated copy would.
  const qsizetype nul = text.indexOf(QChar(u'\0'));
  const QString t = nul >= 0 ? text.left(nul) : text;
  const qsizetype len = t.size();
  if (len < start) return QString();
  const qsizetype first = start == 0 ? 0 : start - 1;
  return t.mid(first, length);
}

QString ReplaceAll(const QString& text, const QString& find, const QString& replacement) {
  const qsizetype nul = text.indexOf(QChar(u'\0'));
  const QString t = nul >= 0 ? text.left(nul) : text;
  const qsizetype len = t.size();
  if (len <= 1) return t;
  QString out;
  out.reserve(len);
  qsizetype i = 0;
  while (i < len && out.size() < len) {
    if (!find.isEmpty() && QStringView(t).sliced(i).startsWith(find)) {
      out += replacement;
      i += find.size();
    } else {
      out += t[i];
      ++i;
    }
  }
  out.truncate(len);
  return out;
}

std::int32_t IntPower(std::int32_t base, std::uint16_t count) {
  // 32-bit integer arithmetic: overflow wraps as the platform's integers do.
  std::uint32_t result = 1;
  for (std::uint16_t i = 0; i < count; ++i) result *= static_cast<std::uint32_t>(base);
  return static_cast<std::int32_t>(result);
}

std::int32_t PowerOfTen(std::uint16_t count) {
  return IntPower(10, count);
}

bool IsNearZero(long double value) {
  return value > -1e-8L && value < 1e-8L;
}

double RoundDecimals(std::uint16_t decimals, long double value) {
  if (!std::isfinite(value))
    throw Error(QStringLiteral("The value %1 cannot be rounded: it is not a finite number.")
                    .arg(static_cast<double>(value)));
  const std::int32_t scale = PowerOfTen(decimals);
  const long double half = value >= 0 ? 0.5L : -0.5L;
  const double y = static_cast<double>(value * scale + half);

  // The "0.00" text format works on the value's 15 significant decimal digits: take them, round
  // to two decimals half away from zero, then cut the fraction off.
  char text[64];
  std::snprintf(text, sizeof text, "%.14e", std::fabs(y));
  // text: d.dddddddddddddde±XX
  std::int64_t digits = 0;
  for (const char* p = text; *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits = digits * 10 + (*p - '0');
  const int exponent = std::atoi(std::strchr(text, 'e') + 1);
  // |y| = digits * 10^(exponent - 14); hundredths = |y| * 100 = digits * 10^(exponent - 12).
  long double hundredths = 0;
  const int shift = exponent - 12;
  if (shift >= 0) {
    hundredths = static_cast<long double>(digits) * std::pow(10.0L, shift);
  } else if (shift > -19) {
    std::int64_t p = 1;
    for (int i = 0; i < -shift; ++i) p *= 10;
    std::int64_t q = digits / p;
    if ((digits % p) * 2 >= p) ++q;
    hundredths = static_cast<long double>(q);
  }
  const long double whole = std::trunc(hundredths / 100.0L);  // the cut toward zero
  double r = static_cast<double>((y < 0 ? -whole : whole) / scale);
  if (IsNearZero(r)) r = 0.0;
  return r;
}

QString CleanCompanyName(const QString& company) {
  return ReplaceAll(ReplaceAll(company, QStringLiteral("\\"), QString()), QStringLiteral("/"), QString());
}

}  // namespace tarno
