// Key comparison: the cases callers rely on, and a total order over mixed values, which sorting
// and binary search need (an inconsistent order sorts wrongly or worse).
#include <gtest/gtest.h>

#include <QVariant>

#include "context/FieldValues.h"

namespace tarno::test {
namespace {

using db::detail::CompareValues;

TEST(FieldValues, KeyComparisonRules) {
  struct Case {
    QVariant a, b;
    bool numericColumn;
    int expected;
  };
  const Case cases[] = {
      {2024, QString("2024"), true, 0},
      {999, 2024, true, -1},
      {QString("999"), QString("2024"), true, -1},  // numeric column: as numbers
      {QString("999"), QString("2024"), false, 1},  // text column: as text
      {QString("E001  "), QString("E001"), false, 0},
      {QString("E001"), QString("E0011"), false, -1},
      {QVariant(), QString(""), false, 0},
      {QVariant(), 0, true, -1},
      {2024.0, QString("2024"), false, 0},
      {1500.25, 1500.25, true, 0},
      {QString("abc"), 5, true, 1},  // texts that are no number come after numbers
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareValues(c.a, c.b, c.numericColumn), c.expected)
        << c.a.toString().toStdString() << " vs " << c.b.toString().toStdString();
    EXPECT_EQ(CompareValues(c.b, c.a, c.numericColumn), -c.expected)
        << c.b.toString().toStdString() << " vs " << c.a.toString().toStdString();
  }
}

TEST(FieldValues, MixedValuesAreTotallyOrdered) {
  const QVariantList values = {QVariant(),
                               10,
                               9,
                               9.5,
                               QString("5x"),
                               QString("9a"),
                               QString("10"),
                               QString(""),
                               QString("  "),
                               QString("abc"),
                               QString("-1"),
                               0};
  for (bool numeric : {false, true}) {
    for (const QVariant& a : values)
      for (const QVariant& b : values)
        for (const QVariant& c : values) {
          const int ab = CompareValues(a, b, numeric);
          const int bc = CompareValues(b, c, numeric);
          const int ac = CompareValues(a, c, numeric);
          if (ab <= 0 && bc <= 0) {
            EXPECT_LE(ac, 0) << numeric << " " << a.toString().toStdString() << " "
                             << b.toString().toStdString() << " " << c.toString().toStdString();
          }
        }
  }
}

}  // namespace
}  // namespace tarno::test
