// The CSV export: the join rule and header titles as one table of cases, field texts of a real
// query, line ends and code page, progress texts, and the file left alone when reading fails.
#include <gtest/gtest.h>

#include <QFile>

#include "OutputsTestSupport.h"
#include "common/TestSupport.h"
#include "context/Errors.h"
#include "context/Query.h"
#include "outputs/CodePage.h"
#include "outputs/ExportGridToCsv.h"

namespace tarno::test {
namespace {

using outputs::DataGrid;
using outputs::ExportGridToCsv;
using outputs::GridColumn;

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
  return file.readAll();
}

struct JoinCase {
  const char* name;
  QStringList items;
  QString line;
};

TEST(CsvJoinTest, ItemsAreQuotedOnlyWhenTheyMustBe) {
  const JoinCase cases[] = {
      {"single empty item", {""}, "\"\""},
      {"two empty items", {"", ""}, ","},
      {"empty list", {}, ""},
      {"bare codes", {"C01", "202501", "BASIC"}, "C01,202501,BASIC"},
      {"comma inside", {"CPF, EMPLOYER"}, "\"CPF, EMPLOYER\""},
      {"comma without space", {"A,B"}, "\"A,B\""},
      {"space inside", {"9102-GIRO PAYMENT "}, "\"9102-GIRO PAYMENT \""},
      {"quote doubled", {"5\" PIPE"}, "\"5\"\" PIPE\""},
      {"quote alone", {"\""}, "\"\"\"\""},
      {"tab is a control character", {"A\tB"}, "\"A\tB\""},
      {"code 31 is a control character", {QString(QChar(31))}, "\"" + QString(QChar(31)) + "\""},
      {"code 127 is not", {QString(QChar(127))}, QString(QChar(127))},
      {"empty item in the middle", {"A", "", "B"}, "A,,B"},
      {"number texts", {"1234.56", "0", "-12.5"}, "1234.56,0,-12.5"},
  };
  for (const JoinCase& c : cases) EXPECT_EQ(outputs::JoinCsvItems(c.items), c.line) << c.name;
}

TEST(CsvJoinTest, HeaderTitlesBeginningWithBlankxAreEmpty) {
  const struct {
    const char* title;
    const char* item;
  } cases[] = {
      {"BLANKX", ""},       {"BLANKX1", ""},    {"BLANKXYZ COLUMN", ""}, {"blankx", "blankx"},
      {"BlankX", "BlankX"}, {"BLANK", "BLANK"}, {"XBLANKX", "XBLANKX"},  {"EMP_NO", "EMP_NO"},
  };
  for (const auto& c : cases) EXPECT_EQ(outputs::CsvHeaderItem(c.title), QString(c.item)) << c.title;
}

TEST(CsvCodePageTest, WindowsCodePageWithQuestionMarksForTheRest) {
  const struct {
    QString text;
    QByteArray bytes;
  } cases[] = {
      {QStringLiteral("ABC"), QByteArray("ABC")},
      {QStringLiteral("Caf\u00e9 \u00a3"), QByteArray("Caf\xe9 \xa3")},
      {QStringLiteral("\u20ac \u2019 \u0160 \u0178"), QByteArray("\x80 \x92 \x8a \x9f")},
      {QStringLiteral("\u674e\u660e"), QByteArray("??")},
      {QString::fromUcs4(U"\U0001F600x"), QByteArray("?x")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(outputs::EncodeWindows1252(c.text), c.bytes) << c.text.toStdString();
    if (!c.bytes.contains('?')) {
      EXPECT_EQ(outputs::DecodeWindows1252(c.bytes), c.text);
    }
  }
}

// A small table read through the dataset layer, as the pivot query is.
class CsvExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_db = std::make_unique<ScratchDatabase>(QStringLiteral("csv"));
    m_db->Exec(
        QStringLiteral("CREATE TABLE GRIDROWS (EMP_NO CHAR(12), DESCRIPTION CHAR(40), AMOUNT NUMERIC(19,4), "
                       "CODE CHAR(8), N INTEGER, D CHAR(10), SEQ INTEGER)"));
    m_query = std::make_unique<db::Query>(m_db->connection());
    m_query->SetSQL({QStringLiteral("SELECT * FROM GRIDROWS ORDER BY SEQ")});
  }

  void AddRow(int seq, const QVariant& emp, const QVariant& description, const QVariant& amount,
              const QVariant& code = QVariant(), const QVariant& date = QVariant()) {
    m_db->Insert(QStringLiteral("GRIDROWS"), {"SEQ", "EMP_NO", "DESCRIPTION", "AMOUNT", "CODE", "D"},
                 {seq, emp, description, amount, code, date});
  }

  // Seven columns at least, so that column 6 names the employee in the progress text.
  DataGrid Grid(const QString& firstTitle = QStringLiteral("CODE")) {
    DataGrid grid;
    grid.dataset = m_query.get();
    grid.columns = {{firstTitle, "CODE", std::nullopt},
                    {"DESCRIPTION", "DESCRIPTION", std::nullopt},
                    {"AMOUNT", "AMOUNT", db::FieldKind::Currency},
                    {"N", "N", std::nullopt},
                    {"BLANKX2", "CODE", std::nullopt},
                    {"AMOUNT", "AMOUNT", db::FieldKind::Float},
                    {"EMP_NO", "EMP_NO", std::nullopt}};
    return grid;
  }

  QString Path(const QString& name) const { return m_db->Folder() + u'/' + name; }

  std::unique_ptr<ScratchDatabase> m_db;
  std::unique_ptr<db::Query> m_query;
};

TEST_F(CsvExportTest, HeaderAndFieldTextsWithCrLfEnds) {
  AddRow(1, "E001", "9102-GIRO PAYMENT ", 1234.56, "BASIC");
  AddRow(2, "E002", "CPF, EMPLOYER", 0, "CPFER");
  AddRow(3, "E003", "5\" PIPE", 1500, "X");
  AddRow(4, "E004", "Caf\u00e9", -12.5, QVariant());
  AddRow(5, "E005", "NULL AMOUNT", QVariant(), "N1");
  AddRow(6, "E006", "TINY", 0.0001, "T");
  m_query->Open();
  RecordingInterface ui;
  const DataGrid grid = Grid();
  ExportGridToCsv(1, &grid, Path("out.csv"));
  const QByteArray expected =
      "CODE,DESCRIPTION,AMOUNT,N,,AMOUNT,EMP_NO\r\n"
      "BASIC,\"9102-GIRO PAYMENT\",1234.56,,BASIC,1234.56,E001\r\n"
      "CPFER,\"CPF, EMPLOYER\",0,,CPFER,0,E002\r\n"
      "X,\"5\"\" PIPE\",1500,,X,1500,E003\r\n"
      ",Caf\xe9,-12.5,,,-12.5,E004\r\n"
      "N1,\"NULL AMOUNT\",,,N1,,E005\r\n"
      "T,TINY,0.0001,,T,0.0001,E006\r\n";
  EXPECT_EQ(ReadAll(Path("out.csv")), expected);
  // Progress names each record's employee; the stop answer is not looked at, so all rows are written.
  EXPECT_EQ(
      ui.progress,
      QStringList({"Export data in progress! Employee: E001", "Export data in progress! Employee: E002",
                   "Export data in progress! Employee: E003", "Export data in progress! Employee: E004",
                   "Export data in progress! Employee: E005", "Export data in progress! Employee: E006"}));
  EXPECT_EQ(ui.steps, 6);
  EXPECT_EQ(ui.closes, 1);
}

TEST_F(CsvExportTest, HeaderFlagAndEmptyDataset) {
  const struct {
    const char* name;
    int flag;
    bool withRow;
    const char* firstTitle;
    QByteArray expected;
  } cases[] = {
      {"flag 1, no rows: header alone", 1, false, "CODE", "CODE,DESCRIPTION,AMOUNT,N,,AMOUNT,EMP_NO\r\n"},
      {"flag 0, no rows: empty file", 0, false, "CODE", ""},
      {"flag 2 is not 1", 2, true, "CODE", "A,B,1,,A,1,E1\r\n"},
      {"flag 0 with a row", 0, true, "CODE", "A,B,1,,A,1,E1\r\n"},
      {"BLANKX first: header starts with a comma", 1, false, "BLANKX",
       ",DESCRIPTION,AMOUNT,N,,AMOUNT,EMP_NO\r\n"},
  };
  for (const auto& c : cases) {
    m_db->Exec(QStringLiteral("DELETE FROM GRIDROWS"));
    if (c.withRow) AddRow(1, "E1", "B", 1, "A");
    m_query->Close();
    m_query->Open();
    const DataGrid grid = Grid(QString::fromLatin1(c.firstTitle));
    const QString path = Path(QStringLiteral("flag.csv"));
    ExportGridToCsv(c.flag, &grid, path);
    EXPECT_EQ(ReadAll(path), c.expected) << c.name;
  }
}

TEST_F(CsvExportTest, ASingleEmptyItemIsWrittenAsTwoQuotes) {
  AddRow(1, "E1", "X", 1, QVariant());
  m_query->Open();
  DataGrid grid;
  grid.dataset = m_query.get();
  grid.columns = {
      {"CODE", "CODE", std::nullopt}};  // fewer than seven columns: no employee in the progress text
  RecordingInterface ui;
  ExportGridToCsv(1, &grid, Path("one.csv"));
  EXPECT_EQ(ReadAll(Path("one.csv")), QByteArray("CODE\r\n\"\"\r\n"));
  EXPECT_EQ(ui.progress, QStringList({"Export data in progress! Employee: "}));
}

TEST_F(CsvExportTest, ADateFieldUsesTheShortDateFormat) {
  AddRow(1, "E1", "X", 1, "C", "2025-03-07");
  AddRow(2, "E2", "Y", 1, "C", QVariant());
  m_query->Open();
  DataGrid grid;
  grid.dataset = m_query.get();
  grid.columns = {{"D", "D", db::FieldKind::Date}};
  ExportGridToCsv(0, &grid, Path("date.csv"));
  // No data module: the default day-first format.
  EXPECT_EQ(ReadAll(Path("date.csv")), QByteArray("07/03/2025\r\n\"\"\r\n"));
}

TEST_F(CsvExportTest, NoGridWritesNothing) {
  ExportGridToCsv(1, nullptr, Path("none.csv"));
  EXPECT_FALSE(QFile::exists(Path("none.csv")));
}

TEST_F(CsvExportTest, AMissingFieldLeavesTheOlderFileAsItWas) {
  AddRow(1, "E1", "X", 1, "C");
  m_query->Open();
  const QString path = Path("keep.csv");
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("older report\r\n");
  }
  DataGrid grid = Grid();
  grid.columns.push_back({"NO_SUCH_FIELD", "NO_SUCH_FIELD", std::nullopt});
  EXPECT_THROW(ExportGridToCsv(1, &grid, path), Error);
  EXPECT_EQ(ReadAll(path), QByteArray("older report\r\n"));
}

TEST_F(CsvExportTest, AnUnwritableFileIsAnErrorNamingIt) {
  m_query->Open();
  const DataGrid grid = Grid();
  const QString path = Path("no-such-folder/out.csv");
  try {
    ExportGridToCsv(1, &grid, path);
    FAIL() << "no error";
  } catch (const OutputError& e) {
    EXPECT_TRUE(e.Text().contains(path)) << e.Text().toStdString();
  }
}

}  // namespace
}  // namespace tarno::test
