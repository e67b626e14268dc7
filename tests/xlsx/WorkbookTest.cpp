// The workbook layer: cells, strings and styles written and read back, unknown parts kept, saves that
// either replace the file completely or leave it as it was.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "common/TestSupport.h"
#include "context/Errors.h"
#include "xlsx/Package.h"
#include "xlsx/Workbook.h"
#include "xlsx/XlsxTestSupport.h"

namespace tarno::xlsx {
namespace {
using test::LoadPart;
using test::ReadPart;

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The cellXfs entry a cell uses in a saved workbook.
pugi::xml_node CellFormatOf(const pugi::xml_document& styles, int xf) {
  pugi::xml_node node = styles.document_element().child("cellXfs").first_child();
  for (int i = 0; i < xf && node; ++i) node = node.next_sibling();
  return node;
}

TEST(Workbook, CellsWrittenReadBackAfterSave) {
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("cells"));
  const QString path = folder + QStringLiteral("/cells.xlsx");
  {
    Workbook workbook = Workbook::CreateNew(QStringLiteral("Costing"));
    Worksheet& sheet = workbook.Sheet(0);
    sheet.SetText(QStringLiteral("B9"), QStringLiteral("  Basic Pay & <OT>"));
    sheet.SetText(QStringLiteral("A1"), QStringLiteral("  Basic Pay & <OT>"));  // shared with B9
    sheet.SetNumber(QStringLiteral("AA10"), 1234.5, QStringLiteral("#,###0.00"));
    sheet.SetNumber(QStringLiteral("C3"), -0.25, QStringLiteral("0.00"));
    sheet.SetFormula(QStringLiteral("C4"), QStringLiteral("SUM(C3:C3)"), -0.25);
    sheet.SetWrapText(QStringLiteral("E8"), true);
    sheet.SetText(QStringLiteral("E8"), QStringLiteral("Overtime"));
    sheet.AddBorders(QStringLiteral("E10"), true, true, BorderStyle::Double);
    sheet.SetFont(QStringLiteral("A1"), true, 14);
    sheet.SetColumnWidth(QStringLiteral("B"), 30);
    workbook.AddSheet(QStringLiteral("Second")).SetText(QStringLiteral("A1"), QStringLiteral("x"));
    workbook.SetActiveSheet(QStringLiteral("Second"));
    workbook.SetDefinedName(QStringLiteral("SourceRange"), QStringLiteral("Costing!$A$1:$B$9"));
    workbook.SaveAs(path);
  }
  Workbook workbook = Workbook::Open(path);
  ASSERT_EQ(workbook.SheetCount(), 2);
  EXPECT_EQ(workbook.SheetName(1), QStringLiteral("Second"));
  EXPECT_EQ(workbook.ActiveSheet(), QStringLiteral("Second"));
  EXPECT_EQ(workbook.DefinedName(QStringLiteral("sourcerange")), QStringLiteral("Costing!$A$1:$B$9"));
  Worksheet& sheet = workbook.Sheet(QStringLiteral("costing"));
  EXPECT_EQ(sheet.Value(QStringLiteral("B9")).toString(), QStringLiteral("  Basic Pay & <OT>"));
  EXPECT_EQ(sheet.Value(QStringLiteral("AA10")).toDouble(), 1234.5);
  EXPECT_EQ(sheet.Value(QStringLiteral("C4")).toDouble(), -0.25);
  EXPECT_EQ(sheet.Formula(QStringLiteral("C4")), QStringLiteral("SUM(C3:C3)"));
  EXPECT_TRUE(sheet.Value(QStringLiteral("D4")).isNull());
  EXPECT_TRUE(sheet.Value(QStringLiteral("E10")).isNull());  // a border alone holds no value
  EXPECT_EQ(sheet.LastRow(), 10);
  EXPECT_EQ(sheet.LastColumn(), 27);

  // One shared string for the two equal texts, spaces kept.
  const QByteArray strings = ReadPart(path, QStringLiteral("xl/sharedStrings.xml"));
  EXPECT_EQ(strings.count("Basic Pay"), 1);
  EXPECT_TRUE(strings.contains("xml:space=\"preserve\""));

  pugi::xml_document styles;
  LoadPart(styles, path, QStringLiteral("xl/styles.xml"));
  const pugi::xml_node amount = CellFormatOf(styles, sheet.StyleIndex(QStringLiteral("AA10")));
  const int customId = amount.attribute("numFmtId").as_int();
  EXPECT_GE(customId, 164);
  EXPECT_STREQ(styles.document_element()
                   .child("numFmts")
                   .find_child_by_attribute("numFmtId", std::to_string(customId).c_str())
                   .attribute("formatCode")
                   .value(),
               "#,###0.00");
  EXPECT_EQ(CellFormatOf(styles, sheet.StyleIndex(QStringLiteral("C3"))).attribute("numFmtId").as_int(), 2);
  EXPECT_TRUE(CellFormatOf(styles, sheet.StyleIndex(QStringLiteral("E8")))
                  .child("alignment")
                  .attribute("wrapText")
                  .as_bool());
  const int borderId =
      CellFormatOf(styles, sheet.StyleIndex(QStringLiteral("E10"))).attribute("borderId").as_int();
  pugi::xml_node border = styles.document_element().child("borders").first_child();
  for (int i = 0; i < borderId; ++i) border = border.next_sibling();
  EXPECT_STREQ(border.child("top").attribute("style").value(), "double");
  EXPECT_STREQ(border.child("bottom").attribute("style").value(), "double");
  EXPECT_STREQ(border.child("left").attribute("style").value(), "");
  const int fontId =
      CellFormatOf(styles, sheet.StyleIndex(QStringLiteral("A1"))).attribute("fontId").as_int();
  pugi::xml_node font = styles.document_element().child("fonts").first_child();
  for (int i = 0; i < fontId; ++i) font = font.next_sibling();
  EXPECT_TRUE(font.child("b"));
  EXPECT_STREQ(font.child("sz").attribute("val").value(), "14");

  bool available = false;
  const QString error = test::OpenpyxlLoadError(path, &available);
  if (available) {
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
  }
}

TEST(Workbook, RoundTripKeepsPartsItDoesNotUnderstand) {
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("roundtrip"));
  const QString original = folder + QStringLiteral("/original.xlsx");
  const QString copy = folder + QStringLiteral("/copy.xlsx");
  const QByteArray custom = "<?xml version=\"1.0\"?><custom><keep me=\"1\"/></custom>";
  const QByteArray binary("\x89PNG\r\n\x1a\n\0\x01\x02", 11);
  {
    Workbook workbook = Workbook::CreateNew();
    workbook.Sheet(0).SetText(QStringLiteral("A1"), QStringLiteral("before"));
    workbook.AddSheet(QStringLiteral("Untouched")).SetNumber(QStringLiteral("B2"), 7);
    workbook.Parts().SetData(QStringLiteral("customXml/item1.xml"), custom);
    workbook.Parts().SetData(QStringLiteral("xl/media/image1.png"), binary, QStringLiteral("image/png"));
    workbook.SaveAs(original);
  }
  const QByteArray untouchedBefore = ReadPart(original, QStringLiteral("xl/worksheets/sheet2.xml"));
  {
    Workbook workbook = Workbook::Open(original);
    workbook.Sheet(0).SetText(QStringLiteral("A1"), QStringLiteral("after"));
    workbook.SaveAs(copy);
  }
  EXPECT_EQ(ReadPart(copy, QStringLiteral("customXml/item1.xml")), custom);
  EXPECT_EQ(ReadPart(copy, QStringLiteral("xl/media/image1.png")), binary);
  EXPECT_TRUE(ReadPart(copy, QStringLiteral("[Content_Types].xml")).contains("/xl/media/image1.png"));
  EXPECT_EQ(ReadPart(copy, QStringLiteral("xl/worksheets/sheet2.xml")), untouchedBefore);  // byte for byte
  EXPECT_EQ(test::PartNames(copy).first(), QStringLiteral("[Content_Types].xml"));
  EXPECT_EQ(Workbook::Open(copy).Sheet(0).Value(QStringLiteral("A1")).toString(), QStringLiteral("after"));
}

TEST(Workbook, FailedSaveLeavesTheOldFileAndNoTemporaryFile) {
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("failedsave"));
  const QString path = folder + QStringLiteral("/report.xlsx");
  Workbook::CreateNew().SaveAs(path);
  const QByteArray before = FileBytes(path);
  ASSERT_FALSE(before.isEmpty());

  Workbook workbook = Workbook::CreateNew();
  workbook.Sheet(0).SetText(QStringLiteral("A1"), QStringLiteral("new"));
  // A part whose content file has vanished makes the archive fail while it is being written.
  workbook.Parts().SetFile(QStringLiteral("xl/media/gone.bin"), folder + QStringLiteral("/no-such-file"));
  try {
    workbook.SaveAs(path);
    FAIL() << "the save should have failed";
  } catch (const OutputError& error) {
    EXPECT_TRUE(error.Text().contains(QStringLiteral("report.xlsx"))) << error.Text().toStdString();
  }
  EXPECT_EQ(FileBytes(path), before);
  EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("report.xlsx")});

  // A folder that does not exist: a clear error naming the file.
  try {
    Workbook::CreateNew().SaveAs(folder + QStringLiteral("/missing/out.xlsx"));
    FAIL() << "the save should have failed";
  } catch (const OutputError& error) {
    EXPECT_TRUE(error.Text().contains(QStringLiteral("out.xlsx")));
  }
}

TEST(Workbook, OpenRefusesWhatIsNoWorkbook) {
  const QString folder = tarno::test::ScratchFolder(QStringLiteral("notworkbook"));
  const QString text = folder + QStringLiteral("/plain.xlsx");
  QFile file(text);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a zip");
  file.close();
  for (const QString& path : {text, folder + QStringLiteral("/absent.xlsx")}) {
    try {
      Workbook::Open(path);
      FAIL() << path.toStdString();
    } catch (const OutputError& error) {
      EXPECT_TRUE(error.Text().contains(QFileInfo(path).fileName())) << error.Text().toStdString();
    }
  }
  Workbook workbook = Workbook::CreateNew();
  EXPECT_THROW(workbook.Sheet(QStringLiteral("Nope")), OutputError);
  EXPECT_THROW(workbook.AddSheet(QStringLiteral("Sheet1")), OutputError);
  EXPECT_THROW(workbook.AddSheet(QStringLiteral("bad/name")), OutputError);
  EXPECT_THROW(workbook.Sheet(0).SetText(QStringLiteral("11"), QStringLiteral("x")), OutputError);
}

TEST(Workbook, ColumnWidthSplitsACoveringRange) {
  Workbook workbook = Workbook::CreateNew();
  Worksheet& sheet = workbook.Sheet(0);
  sheet.SetColumnWidth(QStringLiteral("B"), 10);
  sheet.SetColumnWidth(QStringLiteral("D"), 12);
  sheet.SetColumnWidth(QStringLiteral("B"), 20);
  pugi::xml_document doc;
  const QByteArray xml = sheet.ToXml();
  doc.load_buffer(xml.constData(), static_cast<size_t>(xml.size()));
  QStringList cols;
  for (pugi::xml_node col : doc.document_element().child("cols").children("col")) {
    cols.append(
        QStringLiteral("%1-%2:%3")
            .arg(col.attribute("min").value(), col.attribute("max").value(), col.attribute("width").value()));
  }
  EXPECT_EQ(cols, (QStringList{QStringLiteral("2-2:20"), QStringLiteral("4-4:12")}));
}

}  // namespace
}  // namespace tarno::xlsx
