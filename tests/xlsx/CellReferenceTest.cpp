// Column letters and cell and range addresses.
#include <gtest/gtest.h>

#include "context/Errors.h"
#include "xlsx/CellReference.h"

namespace tarno::xlsx {
namespace {

TEST(CellReference, ColumnLettersAndNumbersAreInverse) {
  const struct {
    int number;
    const char* letters;
  } cases[] = {{1, "A"},   {5, "E"},    {26, "Z"},   {27, "AA"},   {52, "AZ"},
               {53, "BA"}, {234, "HZ"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ColumnLetters(c.number), QLatin1String(c.letters)) << c.number;
    EXPECT_EQ(ColumnNumber(QLatin1String(c.letters)), c.number) << c.letters;
  }
  EXPECT_EQ(ColumnNumber(QStringLiteral("aa")), 27);
  for (const char* bad : {"", "A1", "XFE", "ABCD", "$A"})
    EXPECT_EQ(ColumnNumber(QLatin1String(bad)), 0) << bad;
  EXPECT_THROW(ColumnLetters(0), OutputError);
  EXPECT_THROW(ColumnLetters(16385), OutputError);
}

TEST(CellReference, ParsesCellAndRangeTexts) {
  EXPECT_EQ(ParseCellAddress(QStringLiteral("AA10")).column, 27);
  EXPECT_EQ(ParseCellAddress(QStringLiteral("$B$9")).row, 9);
  for (const char* bad : {"", "9B", "B", "B0", "B-1", "B9x", "$$B9"}) {
    EXPECT_FALSE(ParseCellAddress(QLatin1String(bad)).IsValid()) << bad;
  }
  const RangeAddress range = ParseRangeAddress(QStringLiteral("Data!$A$5:$AV$1234"));
  EXPECT_EQ(range.sheet, QStringLiteral("Data"));
  EXPECT_EQ(range.first.row, 5);
  EXPECT_EQ(range.last.column, 48);
  EXPECT_EQ(range.ToAbsoluteString(), QStringLiteral("Data!$A$5:$AV$1234"));

  const RangeAddress quoted = ParseRangeAddress(QStringLiteral("'Pay Items''s'!B9:A2"));
  EXPECT_EQ(quoted.sheet, QStringLiteral("Pay Items's"));
  EXPECT_EQ(quoted.first.row, 2);  // corners are normalised
  EXPECT_EQ(quoted.ToAbsoluteString(), QStringLiteral("'Pay Items''s'!$A$2:$B$9"));
  EXPECT_FALSE(ParseRangeAddress(QStringLiteral("Data!#REF!")).IsValid());
}

}  // namespace
}  // namespace tarno::xlsx
