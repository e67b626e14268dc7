// Windows-1252 encoding and decoding: Latin-1 everywhere except 0x80-0x9F.
#include "outputs/CodePage.h"

#include <QList>
#include <array>

namespace tarno::outputs {
namespace {

// Unicode code points of bytes 0x80-0x9F; 0 marks the five bytes that the code page leaves undefined.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

char EncodeOne(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<char>(codePoint);
  for (std::size_t i = 0; i < kHighControlRange.size(); ++i)
    if (kHighControlRange[i] != 0 && kHighControlRange[i] == codePoint) return static_cast<char>(0x80 + i);
  // The undefined bytes round-trip as the C1 control characters of the same value.
  if (codePoint >= 0x80 && codePoint <= 0x9F && kHighControlRange[codePoint - 0x80] == 0)
    return static_cast<char>(codePoint);
  return kUnmappableByte;
}

}  // namespace

QByteArray EncodeWindows1252(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  // Walk by code point, so that a character outside the basic plane (a surrogate pair) gives one '?'.
  for (const char32_t codePoint : text.toUcs4()) bytes.append(EncodeOne(codePoint));
  return bytes;
}

QString DecodeWindows1252(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    if (value >= 0x80 && value <= 0x9F && kHighControlRange[value - 0x80] != 0)
      text.append(QChar(kHighControlRange[value - 0x80]));
    else
      text.append(QChar(value));
  }
  return text;
}

}  // namespace tarno::outputs
