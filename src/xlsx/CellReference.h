// A1-style cell and range addresses: "E" <-> 5, "AA10" <-> (row 10, column 27),
// "Sheet!$A$5:$AV$1234" <-> sheet name and corners. Rows and columns are 1-based.
#pragma once

#include <QString>

namespace tarno::xlsx {

// "A" for 1, "Z" for 26, "AA" for 27 ... up to "XFD" (16384). Throws tarno::OutputError outside 1..16384.
QString ColumnLetters(int oneBasedColumn);
// The inverse; case-insensitive; 0 when letters is empty or holds anything but letters.
int ColumnNumber(const QString& letters);

struct CellAddress {
  int row = 0;     // 1-based; 0 = invalid
  int column = 0;  // 1-based; 0 = invalid
  bool IsValid() const { return row > 0 && column > 0; }
  QString ToString() const;          // "B9"
  QString ToAbsoluteString() const;  // "$B$9"
};

// "B9", "$B$9", "aa10"; an invalid address (row 0) when the text is no cell address.
CellAddress ParseCellAddress(const QString& text);
// Like ParseCellAddress, but throws tarno::OutputError naming the text when it is no cell address.
CellAddress RequireCellAddress(const QString& text);

struct RangeAddress {
  QString sheet;      // without quotes; empty when the text names no sheet
  CellAddress first;  // top left
  CellAddress last;   // bottom right, inclusive
  bool IsValid() const { return first.IsValid() && last.IsValid(); }
  // "'My Sheet'!$A$5:$AV$1234" (the sheet quoted only when it needs quotes)
  QString ToAbsoluteString() const;
};

// "Sheet1!$A$5:$AV$6", "'My Sheet'!A5:B6", "A5" (a single cell); invalid when not a range.
RangeAddress ParseRangeAddress(const QString& text);

}  // namespace tarno::xlsx
