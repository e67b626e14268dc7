// The module's 8-bit code page for text files (the CSV export): Windows-1252.
// Qt's own encoders cover only the Unicode forms and Latin-1, so the 32 characters that
// Windows-1252 places at 0x80-0x9F are mapped here by a small table.
#pragma once

#include <QByteArray>
#include <QString>

namespace tarno::outputs {

// The byte written for a character that Windows-1252 cannot represent.
inline constexpr char kUnmappableByte = '?';

// Encodes text in Windows-1252. A character outside the code page (a CJK name, an emoji, a
// character of another script) becomes one '?' per character, so that a line keeps its field
// separators and quoting intact instead of failing the whole export.
QByteArray EncodeWindows1252(const QString& text);

// Decodes Windows-1252 bytes; the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) decode to the control characters of the same value.
QString DecodeWindows1252(const QByteArray& bytes);

}  // namespace tarno::outputs
