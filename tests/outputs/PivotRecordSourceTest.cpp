// The dataset as the template filler reads it: forward from the first record whatever the current
// one, each value typed by the field's kind or by its stored value, nulls as empty cells.
#include <gtest/gtest.h>

#include <QDate>

#include "OutputsTestSupport.h"
#include "context/Query.h"
#include "outputs/DatasetRecordSource.h"

namespace tarno::test {
namespace {

TEST(PivotRecordSourceTest, RecordsFromTheFirstWithTypedValues) {
  ScratchDatabase db(QStringLiteral("record-source"));
  db.Exec("CREATE TABLE R (SEQ INTEGER, NAME CHAR(10), AMOUNT NUMERIC(19,4), HIRED CHAR(10), N INTEGER)");
  db.Insert("R", {"SEQ", "NAME", "AMOUNT", "HIRED", "N"}, {1, "Tan   ", 12.5, "2024-02-29", 7});
  db.Insert("R", {"SEQ", "NAME", "AMOUNT", "HIRED", "N"},
            {2, QVariant(), QVariant(), QVariant(), QVariant()});
  db::Query query(db.connection());
  query.SetSQL({"SELECT NAME, AMOUNT, HIRED, N FROM R ORDER BY SEQ"});
  query.Open();
  query.Next();  // the source starts from the first record all the same

  outputs::DatasetRecordSource source(query,
                                      {{"AMOUNT", db::FieldKind::Currency}, {"HIRED", db::FieldKind::Date}});
  ASSERT_EQ(source.FieldNames(), QStringList({"NAME", "AMOUNT", "HIRED", "N"}));

  ASSERT_TRUE(source.Next());
  const struct {
    int field;
    QVariant value;
  } first[] = {
      {0, QStringLiteral("Tan")},  // without trailing blanks
      {1, 12.5},
      {2, QDate(2024, 2, 29)},  // a date, not its stored text
      {3, qint64(7)},
      {4, QVariant()},  // out of range: empty
  };
  for (const auto& c : first) {
    const QVariant value = source.Value(c.field);
    EXPECT_EQ(value.typeId(), c.value.typeId()) << c.field;
    EXPECT_EQ(value, c.value) << c.field;
  }
  ASSERT_TRUE(source.Next());
  for (int field = 0; field < 4; ++field) EXPECT_TRUE(source.Value(field).isNull()) << field;
  EXPECT_FALSE(source.Next());
  EXPECT_FALSE(source.Next());
  EXPECT_EQ(source.RecordsRead(), 2);
}

TEST(PivotRecordSourceTest, AnEmptyDatasetHasNoRecords) {
  ScratchDatabase db(QStringLiteral("record-source-empty"));
  db.Exec("CREATE TABLE R (NAME CHAR(10))");
  db::Query query(db.connection());
  query.SetSQL({"SELECT NAME FROM R"});
  query.Open();
  outputs::DatasetRecordSource source(query);
  EXPECT_FALSE(source.Next());
  EXPECT_EQ(source.RecordsRead(), 0);
}

}  // namespace
}  // namespace tarno::test
