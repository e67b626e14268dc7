// Small text and number routines used across the module: cutting CCYYMM periods into year and
// month, removing path characters from a company name before it names a folder, and the rounding
// rule of the cost-centre split.
//
// Two layers, as the routines have always come: in-place routines on zero-terminated 8-bit buffers
// (positions 1-based, lengths unsigned 16-bit), and string routines that behave as if they copied
// their input into such a buffer, ran the buffer routine and returned a new string.
#pragma once

#include <QString>
#include <cstdint>

namespace tarno {

// --- Buffer routines: each changes the buffer and returns a pointer into it. -----------------
// Cuts the buffer to its first `length` characters (nothing when it is not longer).
char* TruncateText(char* buffer, std::uint16_t length);
// The last `count` characters of the buffer, as a pointer into it (no copy).
char* RightText(char* buffer, std::uint16_t count);
// At most `length` characters from 1-based `start`; a start past the end empties the buffer and a
// start of 0 behaves as 1.
char* MidText(char* buffer, std::uint16_t start, std::uint16_t length);
// Replaces every occurrence of `find` (left to right, no overlap, the replacement never searched
// again), then cuts the result to the length the buffer had on entry. Texts of 0 or 1 characters
// come back unchanged; an empty find text never matches.
char* ReplaceTextInPlace(char* buffer, const char* find, const char* replacement);

// --- String routines. ------------------------------------------------------------------------
// `MidText` of a copy: SubText("202403", 1, 4) == "2024", SubText("202403", 5, 2) == "03".
QString SubText(const QString& text, std::uint8_t start, std::uint8_t length);
// `ReplaceTextInPlace` of a copy: ReplaceAll("A/B\\C", "/", "") == "AB\\C"; the result never gets
// longer than the input (ReplaceAll("AB", "B", "XYZ") == "AX").
QString ReplaceAll(const QString& text, const QString& find, const QString& replacement);

// --- Number routines. ------------------------------------------------------------------------
// count factors of base, from 1, in 32-bit integer arithmetic (count 0 gives 1).
std::int32_t IntPower(std::int32_t base, std::uint16_t count);
std::int32_t PowerOfTen(std::uint16_t count);
// True when -1e-8 < value < 1e-8.
bool IsNearZero(long double value);
// Rounds to `decimals` places, half away from zero, in two steps: the scaled value plus one half
// is first rounded to two decimals (as the "0.00" text format does) and then cut to a whole number,
// so that 1.005 (held as 1.00499...) gives 1.01 and 0.12495 gives 0.13. Never returns -0.
// Throws tarno::Error for a value that is not finite.
double RoundDecimals(std::uint16_t decimals, long double value);

// The company name as a folder name: every "\" and "/" removed.
QString CleanCompanyName(const QString& company);

}  // namespace tarno
