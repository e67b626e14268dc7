// The "#,##0.00" amount format: grouping, rounding half away from zero, the sign.
#include <gtest/gtest.h>

#include "costing/CostingAmountFormat.h"

namespace tarno::costing {
namespace {

struct AmountCase {
  const char* amount;
  const char* printed;
};

TEST(CostingAmountFormat, FormatsGroupsRoundsAndSigns) {
  const AmountCase cases[] = {
      {"1234567.5", "1,234,567.50"},
      {"-1234567.5", "-1,234,567.50"},
      {"0", "0.00"},
      {"100", "100.00"},
      {"1000", "1,000.00"},
      {"999999.99", "999,999.99"},
      {"0.005", "0.01"},
      {"-0.005", "-0.01"},
      {"0.0049", "0.00"},
      {"-0.0049", "0.00"},
      {"999.995", "1,000.00"},
      {"-12.3456", "-12.35"},
      {"123456789012.34", "123,456,789,012.34"},
  };
  for (const AmountCase& c : cases) {
    EXPECT_EQ(FormatCostingAmount(Currency::FromString(QString::fromLatin1(c.amount))),
              QString::fromLatin1(c.printed))
        << c.amount;
  }
}

}  // namespace
}  // namespace tarno::costing
