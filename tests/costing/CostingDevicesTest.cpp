// Every export device writes files that their readers open, with the report's content in order.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QXmlStreamReader>

#include "CostingFixtures.h"
#include "common/TestSupport.h"
#include "context/Errors.h"
#include "costing/CostingExport.h"

namespace tarno::costing {
namespace {

using tarno::test::ScratchFolder;

QString ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Runs a program and returns its standard output; fails the test when it does not exit 0.
QString RunProgram(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
    return QString();
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The positions of the texts in `haystack`, which must appear in this order.
void ExpectInOrder(const QString& haystack, const QStringList& texts) {
  qsizetype from = 0;
  for (const QString& text : texts) {
    const qsizetype at = haystack.indexOf(text, from);
    EXPECT_GE(at, 0) << "missing or out of order: " << text.toStdString() << "\nin:\n"
                     << haystack.toStdString();
    if (at >= 0) from = at + text.size();
  }
}

// Only the files the device reports remain in the folder: nothing half-written beside them.
void ExpectOnlyFiles(const QString& folder, QStringList expected) {
  QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  for (QString& name : expected) name = QFileInfo(name).fileName();
  expected.sort();
  EXPECT_EQ(names, expected);
}

TEST(CostingDevices, DeviceIsChosenByExtensionAndOthersAreRefused) {
  const struct {
    const char* file;
    CostingDevice device;
  } known[] = {{"a.pdf", CostingDevice::Pdf},
               {"b.HTML", CostingDevice::Html},
               {"c.xlsx", CostingDevice::Xlsx},
               {"d/e.png", CostingDevice::Png},
               {"f.txt", CostingDevice::Text}};
  for (const auto& k : known)
    EXPECT_EQ(CostingDeviceForFile(QString::fromLatin1(k.file)), k.device) << k.file;
  for (const char* refused : {"report.rtf", "report.xls", "report", "report.htm.bak"})
    EXPECT_THROW(CostingDeviceForFile(QString::fromLatin1(refused)), UsageError) << refused;
}

TEST(CostingDevices, PageFilesFollowTheTargetsBaseName) {
  EXPECT_EQ(CostingPageFileName(QStringLiteral("/tmp/out.html"), 0), "/tmp/out.html");
  EXPECT_EQ(CostingPageFileName(QStringLiteral("/tmp/out.html"), 1), "/tmp/out2.html");
  EXPECT_EQ(CostingPageFileName(QStringLiteral("out.png"), 11), "out12.png");
  EXPECT_EQ(CostingPageFileName(QStringLiteral("dir.x/cost.report.png"), 2), "dir.x/cost.report3.png");
}

TEST(CostingDevices, PdfReadsBackWithEveryPageInOrder) {
  const QString folder = ScratchFolder(QStringLiteral("pdf"));
  const QString path = folder + QStringLiteral("/costing.pdf");
  const CostingReport report(test::TwoCostCentres());
  EXPECT_EQ(ExportCostingReport(report, path), QStringList{path});
  ExpectOnlyFiles(folder, {path});

  const QString text =
      RunProgram(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  const QStringList pages = text.split(u'\f');
  ASSERT_GE(pages.size(), 2);
  ExpectInOrder(pages[0], {"Page 1 of 2", "ACME PTE LTD", "Payroll costing Report for Period :202503",
                           "31/03/2025 14:05:09", "USerid ADMIN", "Description", "Amount", "Finance",
                           "1000-BASIC", "1,234,567.50", "1100-TRANSPORT", "-250.00"});
  ExpectInOrder(pages[1], {"Page 2 of 2", "CC02", "1000-BASIC", "3,000.00"});
  EXPECT_FALSE(pages[1].contains(QStringLiteral("Finance")));

  // Fonts are embedded.
  const QString fonts = RunProgram(QStringLiteral("pdffonts"), {path});
  EXPECT_TRUE(fonts.contains(QStringLiteral("LiberationSans"))) << fonts.toStdString();
  for (const QString& line : fonts.split(u'\n').mid(2)) {
    if (line.trimmed().isEmpty()) continue;
    EXPECT_TRUE(line.contains(QStringLiteral(" yes "))) << "not embedded: " << line.toStdString();
  }
}

TEST(CostingDevices, HtmlPagesAreWellFormedAndLinked) {
  const QString folder = ScratchFolder(QStringLiteral("html"));
  const QString path = folder + QStringLiteral("/costing.html");
  const CostingReport report(test::TwoCostCentres());
  const QStringList written = ExportCostingReport(report, path);
  ASSERT_EQ(written, (QStringList{path, folder + QStringLiteral("/costing2.html")}));
  ExpectOnlyFiles(folder, written);

  for (const QString& file : written) {
    QXmlStreamReader xml(ReadAll(file));
    while (!xml.atEnd()) xml.readNext();
    EXPECT_FALSE(xml.hasError()) << file.toStdString() << ": " << xml.errorString().toStdString();
  }
  const QString first = ReadAll(written[0]);
  const QString second = ReadAll(written[1]);
  EXPECT_TRUE(first.contains(QStringLiteral("<a href=\"costing2.html\">&gt;&gt;</a>")));
  EXPECT_FALSE(first.contains(QStringLiteral("&lt;&lt;</a>")));
  EXPECT_TRUE(second.contains(QStringLiteral("<a href=\"costing.html\">&lt;&lt;</a>")));
  EXPECT_FALSE(second.contains(QStringLiteral("&gt;&gt;</a>")));
  ExpectInOrder(first, {"ACME PTE LTD", "Payroll costing Report for Period :202503", "Page 1 of 2", "Finance",
                        "1000-BASIC", "1,234,567.50"});
  ExpectInOrder(second, {"Page 2 of 2", "CC02", "3,000.00"});
}

TEST(CostingDevices, HtmlEscapesTextsOfTheData) {
  const QString folder = ScratchFolder(QStringLiteral("html-escape"));
  const QString path = folder + QStringLiteral("/x.html");
  const CostingReport report(test::MakeReportData(
      {{QStringLiteral("C&D"), QStringLiteral("R&D <lab>"), {test::Line("A \"quoted\" & <b>", "1")}}}));
  ExportCostingReport(report, path);
  const QString html = ReadAll(path);
  QXmlStreamReader xml(html);
  while (!xml.atEnd()) xml.readNext();
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_TRUE(html.contains(QStringLiteral("R&amp;D &lt;lab&gt;")));
}

TEST(CostingDevices, PngPagesAreLetterAt96Dpi) {
  const QString folder = ScratchFolder(QStringLiteral("png"));
  const QString path = folder + QStringLiteral("/page.png");
  const CostingReport report(test::TwoCostCentres());
  const QStringList written = ExportCostingReport(report, path);
  ASSERT_EQ(written, (QStringList{path, folder + QStringLiteral("/page2.png")}));
  ExpectOnlyFiles(folder, written);
  for (const QString& file : written) {
    QImage image(file);
    ASSERT_FALSE(image.isNull()) << file.toStdString();
    EXPECT_EQ(image.size(), QSize(816, 1056));  // 8.5 in x 11 in at 96 dpi
    // Something is drawn in the header area, and the lower body is blank paper.
    bool inked = false;
    for (int y = 30; y < 130 && !inked; ++y)
      for (int x = 20; x < 800 && !inked; ++x) inked = qGray(image.pixel(x, y)) < 128;
    EXPECT_TRUE(inked);
    EXPECT_EQ(image.pixel(400, 900), qRgb(255, 255, 255));
  }
}

TEST(CostingDevices, TextIsACharacterGridWithFormFeedsBetweenPages) {
  const QString folder = ScratchFolder(QStringLiteral("txt"));
  const QString path = folder + QStringLiteral("/costing.txt");
  const CostingReport report(test::TwoCostCentres());
  EXPECT_EQ(ExportCostingReport(report, path), QStringList{path});
  ExpectOnlyFiles(folder, {path});
  const QStringList pages = ReadAll(path).split(u'\f');
  ASSERT_EQ(pages.size(), 2);
  for (const QString& page : pages) {
    const QStringList lines = page.split(u'\n');
    EXPECT_LE(lines.size(), 67);  // 66 lines and the final line break
    for (const QString& line : lines) EXPECT_LE(line.size(), 85) << line.toStdString();
  }
  const QStringList lines = pages[0].split(u'\n');
  // Amounts end at the column of 6.35 + 148.167 mm at 10 characters per inch.
  const int amountEnd = qRound((6.35 + 148.167) / 2.54);
  int amountsSeen = 0;
  for (const QString& line : lines) {
    for (const char* amount : {"1,234,567.50", "-250.00"}) {
      if (line.contains(QString::fromLatin1(amount))) {
        EXPECT_EQ(line.indexOf(QString::fromLatin1(amount)) + qstrlen(amount), amountEnd)
            << line.toStdString();
        ++amountsSeen;
      }
    }
  }
  EXPECT_EQ(amountsSeen, 2);
  ExpectInOrder(pages[0], {"ACME PTE LTD", "Page 1 of 2", "Payroll costing Report for Period :202503",
                           "USerid ADMIN", "Description", "---", "Finance", "1000-BASIC", "1100-TRANSPORT"});
}

TEST(CostingDevices, XlsxOpensWithAmountsAsFormattedNumbersGroupedByCostCentre) {
  const QString folder = ScratchFolder(QStringLiteral("xlsx"));
  const QString path = folder + QStringLiteral("/costing.xlsx");
  const CostingReport report(test::TwoCostCentres());
  EXPECT_EQ(ExportCostingReport(report, path), QStringList{path});
  ExpectOnlyFiles(folder, {path});

  // Read by an independent reader: every non-empty cell as "ref|type|value|format".
  const QString script = QStringLiteral(
      "import sys, openpyxl\n"
      "wb = openpyxl.load_workbook(sys.argv[1])\n"
      "print(wb.sheetnames)\n"
      "for row in wb.active.iter_rows():\n"
      "  for c in row:\n"
      "    if c.value is not None: "
      "print(f'{c.coordinate}|{type(c.value).__name__}|{c.value}|{c.number_format}')\n");
  const QStringList cells =
      RunProgram(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path})
          .split(u'\n', Qt::SkipEmptyParts);
  ASSERT_FALSE(cells.isEmpty());
  EXPECT_EQ(cells[0], "['Costing']");
  const QStringList expected = {
      "A1|str|ACME PTE LTD|General", "A2|str|Payroll costing Report for Period :202503|General",
      "A3|str|USerid ADMIN|General", "A4|str|31/03/2025 14:05:09|General",
      "A6|str|Description|General",  "B6|str|Amount|General",
      "A7|str|Finance|General",      "A8|str|1000-BASIC|General",
      "B8|float|1234567.5|#,##0.00", "A9|str|1100-TRANSPORT|General",
      "B9|int|-250|#,##0.00",        "A11|str|CC02|General",
      "A12|str|1000-BASIC|General",  "B12|int|3000|#,##0.00",
  };
  EXPECT_EQ(cells.mid(1), expected);
}

TEST(CostingDevices, UnwritableTargetsGiveAnOutputErrorNamingTheFile) {
  const QString folder = ScratchFolder(QStringLiteral("fail"));
  const CostingReport report(test::TwoCostCentres());
  // A folder that does not exist, and a target that is a folder, for every device.
  QDir(folder).mkdir(QStringLiteral("taken.pdf"));
  for (const char* name : {"missing/costing.pdf", "missing/costing.html", "missing/costing.png",
                           "missing/costing.txt", "taken.pdf"}) {
    const QString target = folder + u'/' + QString::fromLatin1(name);
    try {
      ExportCostingReport(report, target);
      ADD_FAILURE() << "no error for " << name;
    } catch (const OutputError& e) {
      EXPECT_TRUE(e.Text().contains(target)) << e.Text().toStdString();
    }
  }
  EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/missing")));
}

}  // namespace
}  // namespace tarno::costing
