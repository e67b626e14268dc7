// The template filler. Order of work: open the template and check its range and active sheet; fill
// parameters; select the active sheet; stream the data sheet (the XML before the field row, one row
// per record, then the XML after it with its rows moved down); total the "SUM" cells; redefine the
// range; empty the pivot caches over it; save beside the output and rename into place.
// Data rows never become a document in memory: they go straight to a temporary file that the package
// copies into the zip, so memory stays flat whatever the number of records.
#include "xlsx/TemplateFiller.h"

#include <unistd.h>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "context/Errors.h"
#include "xlsx/CellReference.h"
#include "xlsx/Package.h"
#include "xlsx/PivotCacheDefinition.h"
#include "xlsx/PivotTable.h"
#include "xlsx/Relationships.h"
#include "xlsx/Styles.h"
#include "xlsx/Workbook.h"
#include "xlsx/XmlText.h"

namespace tarno::xlsx {
namespace {
// Stands in for the data rows in the serialised sheet; plain text, so the serialiser keeps it as is.
constexpr const char* kRowsMarker = "TARNO-DATA-ROWS-5f1c9e";
constexpr const char* kDateFormat = "dd/mm/yyyy";
constexpr std::int64_t kSumScale = 10000;  // SUM cached values are added in ten-thousandths, exactly

bool IsElement(const pugi::xml_node& node, const char* localName) {
  return node.type() == pugi::node_element && std::strcmp(LocalName(node), localName) == 0;
}

int RowNumber(const pugi::xml_node& row) {
  return row.attribute("r").as_int();
}

int CellColumn(const pugi::xml_node& cell) {
  return ParseCellAddress(QString::fromLatin1(cell.attribute("r").value())).column;
}

// Rows and cells without "r" get one, so that every later step can rely on addresses.
void NumberRowsAndCells(pugi::xml_node sheetData) {
  int row = 0;
  for (pugi::xml_node r = sheetData.first_child(); r; r = r.next_sibling()) {
    if (!IsElement(r, "row")) continue;
    row = r.attribute("r") ? r.attribute("r").as_int() : row + 1;
    SetAttribute(r, "r", static_cast<long long>(row));
    int column = 0;
    for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
      if (!IsElement(c, "c")) continue;
      column = c.attribute("r") ? CellColumn(c) : column + 1;
      SetAttribute(c, "r", CellAddress{row, column}.ToString());
    }
  }
}

// How one cell of the field row is written for each record.
struct ColumnPlan {
  int column = 0;
  std::string letters;
  std::string style;        // s attribute value, empty for none
  std::string dateStyle;    // style for dates: the cell's own when it shows dates, else one derived from it
  int fieldIndex = -1;      // index into the record's fields; -1 = empty cell (unknown field)
  bool isField = false;     // false: a constant cell copied as the template has it
  std::string constantXml;  // the constant cell's XML after its address (attributes and content)
};

struct SumCell {
  pugi::xml_node cell;
  int column;
};

void AppendNumber(std::string& out, double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void AppendInteger(std::string& out, long long value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

std::string Utf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// The text a cell shows as written in the template: a formula's text with "=" (templates saved by an
// office suite keep "=qryAll_X" as a formula), else the string value.
QString TemplateText(const Worksheet& sheet, const pugi::xml_node& cell) {
  const pugi::xml_node f = Child(cell, "f");
  if (f && *f.text().get()) return u'=' + Text(f.text().get());
  const QVariant value = sheet.Value(Text(cell.attribute("r").value()));
  return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QString DoubleQuoted(const QString& text) {
  return u'"' + text + u'"';
}

class Filler {
 public:
  Filler(const QString& templatePath, const QString& outputPath, RecordSource& records,
         const FillOptions& options)
      : m_templatePath(templatePath), m_outputPath(outputPath), m_records(records), m_options(options) {}

  FillResult Run();

 private:
  void OpenAndCheck();
  void FillParameters();
  void PlanFieldRow(pugi::xml_node fieldRow);
  void StreamDataSheet();
  void WriteRecordRow(std::string& out, int row);
  void MoveRowsBelow(pugi::xml_node sheetData, int shift);
  void WriteSums();
  void RedefineRange();
  void EmptyPivotCaches();
  void DropCalculationChain();
  QString TemplateName() const { return QDir::toNativeSeparators(m_templatePath); }

  QString m_templatePath;
  QString m_outputPath;
  RecordSource& m_records;
  const FillOptions& m_options;
  FillResult m_result;

  Workbook m_workbook = Workbook::CreateNew();
  RangeAddress m_range;
  int m_sheetIndex = -1;
  int m_fieldRow = 0;
  std::vector<ColumnPlan> m_plan;
  std::string m_rowAttributes;  // the field row's attributes other than r and spans
  std::vector<SumCell> m_sumCells;
  std::map<int, std::int64_t> m_columnSums;  // column -> sum of its numbers in ten-thousandths
  qint64 m_rows = 0;
  QTemporaryFile m_sheetFile;
};

void Filler::OpenAndCheck() {
  if (!QFileInfo(m_templatePath).isFile()) {
    throw OutputError(QStringLiteral("The workbook template %1 does not exist.").arg(TemplateName()));
  }
  // Checked before the records are read, so that a long run does not end in this error.
  if (!QFileInfo(m_outputPath).absoluteDir().exists()) {
    throw OutputError(QStringLiteral("The workbook %1 cannot be saved: its folder does not exist.")
                          .arg(QDir::toNativeSeparators(m_outputPath)));
  }
  m_workbook = Workbook::Open(m_templatePath);
  const QString formula = m_workbook.DefinedName(m_options.rangeName);
  if (formula.isEmpty()) {
    throw OutputError(QStringLiteral("The workbook template %1 has no range named %2 to receive the records.")
                          .arg(TemplateName(), DoubleQuoted(m_options.rangeName)));
  }
  m_range = ParseRangeAddress(formula);
  m_sheetIndex = m_workbook.SheetIndex(m_range.sheet);
  if (!m_range.IsValid() || m_sheetIndex < 0) {
    throw OutputError(
        QStringLiteral("The range %1 of the workbook template %2 is \"%3\", which is no range of "
                       "one of its worksheets.")
            .arg(DoubleQuoted(m_options.rangeName), TemplateName(), formula));
  }
  if (m_workbook.SheetIndex(m_options.activeSheet) < 0) {
    throw OutputError(QStringLiteral("The workbook template %1 has no worksheet named %2.")
                          .arg(TemplateName(), DoubleQuoted(m_options.activeSheet)));
  }
}

// "=Name" as a cell's whole text becomes the parameter's value; "&=Name" inside a text is replaced.
void Filler::FillParameters() {
  if (m_options.parameters.isEmpty()) return;
  for (int s = 0; s < m_workbook.SheetCount(); ++s) {
    const QString part = m_workbook.SheetPartName(s);
    if (part.isEmpty() || !m_workbook.Parts().Contains(part)) continue;
    Worksheet& sheet = m_workbook.Sheet(s);
    pugi::xml_node sheetData = Child(sheet.Document().document_element(), "sheetData");
    NumberRowsAndCells(sheetData);
    for (pugi::xml_node row = sheetData.first_child(); row; row = row.next_sibling()) {
      for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
        if (!IsElement(cell, "c")) continue;
        const QString text = TemplateText(sheet, cell);
        if (!text.contains(u'=')) continue;
        QString filled = text;
        bool changed = false;
        for (auto p = m_options.parameters.constBegin(); p != m_options.parameters.constEnd(); ++p) {
          if (text.compare(u'=' + p.key(), Qt::CaseInsensitive) == 0) {
            filled = p.value();
            changed = true;
            break;
          }
          const QString token = QStringLiteral("&=") + p.key();
          if (filled.contains(token, Qt::CaseInsensitive)) {
            filled.replace(token, p.value(), Qt::CaseInsensitive);
            changed = true;
          }
        }
        if (changed) sheet.SetText(Text(cell.attribute("r").value()), filled);
      }
    }
  }
}

void Filler::PlanFieldRow(pugi::xml_node fieldRow) {
  const QStringList names = m_records.FieldNames();
  const QString prefix = u'=' + m_options.alias + u'_';
  Worksheet& sheet = m_workbook.Sheet(m_sheetIndex);
  Styles& styles = m_workbook.CellStyles();
  QStringList warned;
  for (pugi::xml_node cell = fieldRow.first_child(); cell; cell = cell.next_sibling()) {
    if (!IsElement(cell, "c")) continue;
    ColumnPlan plan;
    plan.column = CellColumn(cell);
    plan.letters = Utf8(ColumnLetters(plan.column));
    const int style = cell.attribute("s").as_int();
    if (style != 0) plan.style = std::to_string(style);
    const QString text = TemplateText(sheet, cell);
    if (text.startsWith(prefix, Qt::CaseInsensitive)) {
      plan.isField = true;
      const QString field = text.mid(prefix.size()).trimmed();
      for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(field, Qt::CaseInsensitive) == 0) plan.fieldIndex = i;
      }
      if (plan.fieldIndex < 0 && !warned.contains(field, Qt::CaseInsensitive)) {
        warned.append(field);
        m_result.warnings.append(
            QStringLiteral("The workbook template %1 refers to the field %2 in cell %3, which "
                           "the records do not have; its cells are left empty.")
                .arg(TemplateName(), field, CellAddress{m_fieldRow, plan.column}.ToString()));
      }
      const int dateStyle =
          styles.IsDateFormat(style) ? style : styles.WithNumberFormat(style, QLatin1String(kDateFormat));
      plan.dateStyle = std::to_string(dateStyle);
    } else {
      // A constant: its attributes other than the address, and its content, copied to every row.
      pugi::xml_document copy;
      pugi::xml_node c = copy.append_copy(cell);
      c.remove_attribute("r");
      struct StringWriter : pugi::xml_writer {
        std::string out;
        void write(const void* data, size_t size) override {
          out.append(static_cast<const char*>(data), size);
        }
      } writer;
      c.print(writer, "", pugi::format_raw);
      plan.constantXml = writer.out.substr(2);  // after "<c"
    }
    m_plan.push_back(std::move(plan));
  }
  for (pugi::xml_attribute a = fieldRow.first_attribute(); a; a = a.next_attribute()) {
    const std::string_view name = a.name();
    if (name == "r" || name == "spans") continue;
    m_rowAttributes += ' ';
    m_rowAttributes += a.name();
    m_rowAttributes += "=\"";
    AppendEscaped(m_rowAttributes, Text(a.value()));
    m_rowAttributes += '"';
  }
}

void Filler::WriteRecordRow(std::string& out, int row) {
  out += "<row r=\"";
  AppendInteger(out, row);
  out += '"';
  out += m_rowAttributes;
  out += '>';
  for (const ColumnPlan& plan : m_plan) {
    auto open = [&](const std::string& style, const char* type) {
      out += "<c r=\"";
      out += plan.letters;
      AppendInteger(out, row);
      out += '"';
      if (!style.empty()) {
        out += " s=\"";
        out += style;
        out += '"';
      }
      if (type) {
        out += " t=\"";
        out += type;
        out += '"';
      }
    };
    if (!plan.isField) {
      out += "<c r=\"";
      out += plan.letters;
      AppendInteger(out, row);
      out += '"';
      out += plan.constantXml;
      continue;
    }
    const QVariant value = plan.fieldIndex >= 0 ? m_records.Value(plan.fieldIndex) : QVariant();
    if (value.isNull() || !value.isValid()) {
      if (!plan.style.empty()) {  // keeps the template's format on the empty cell
        open(plan.style, nullptr);
        out += "/>";
      }
      continue;
    }
    switch (value.typeId()) {
      case QMetaType::Double:
      case QMetaType::Float:
      case QMetaType::Int:
      case QMetaType::UInt:
      case QMetaType::LongLong:
      case QMetaType::ULongLong:
      case QMetaType::Short:
      case QMetaType::Long: {
        const double number = value.toDouble();
        if (!std::isfinite(number)) {  // no such number in a workbook: left empty
          if (!plan.style.empty()) {
            open(plan.style, nullptr);
            out += "/>";
          }
          break;
        }
        open(plan.style, nullptr);
        out += "><v>";
        if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
          AppendNumber(out, number);
        } else {
          AppendInteger(out, value.toLongLong());
        }
        out += "</v></c>";
        m_columnSums[plan.column] += std::llround(number * kSumScale);
        break;
      }
      case QMetaType::Bool:
        open(plan.style, "b");
        out += value.toBool() ? "><v>1</v></c>" : "><v>0</v></c>";
        break;
      case QMetaType::QDate:
      case QMetaType::QDateTime: {
        static const QDate epoch(1899, 12, 30);  // day 0 of the workbook date system
        const QDateTime when = value.toDateTime();
        double serial = static_cast<double>(epoch.daysTo(when.date()));
        if (value.typeId() == QMetaType::QDateTime) serial += when.time().msecsSinceStartOfDay() / 86400000.0;
        open(plan.dateStyle, nullptr);
        out += "><v>";
        AppendNumber(out, serial);
        out += "</v></c>";
        break;
      }
      default: {
        const QString text = value.toString();
        open(plan.style, "inlineStr");
        const bool keepSpaces = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
        out += keepSpaces ? "><is><t xml:space=\"preserve\">" : "><is><t>";
        AppendEscaped(out, text);
        out += "</t></is></c>";
      }
    }
  }
  out += "</row>";
}

// Rows below the field row move by shift (records - 1): their numbers, their cells' addresses and
// merged areas that lie below.
void Filler::MoveRowsBelow(pugi::xml_node sheetData, int shift) {
  if (shift == 0) return;
  for (pugi::xml_node row = sheetData.first_child(); row; row = row.next_sibling()) {
    if (!IsElement(row, "row") || RowNumber(row) <= m_fieldRow) continue;
    const int moved = RowNumber(row) + shift;
    SetAttribute(row, "r", static_cast<long long>(moved));
    for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
      if (IsElement(cell, "c")) SetAttribute(cell, "r", CellAddress{moved, CellColumn(cell)}.ToString());
    }
  }
  pugi::xml_node merges = Child(sheetData.parent(), "mergeCells");
  for (pugi::xml_node merge = merges.first_child(); merge; merge = merge.next_sibling()) {
    RangeAddress area = ParseRangeAddress(AttributeText(merge, "ref"));
    if (!area.IsValid() || area.first.row <= m_fieldRow) continue;
    area.first.row += shift;
    area.last.row += shift;
    SetAttribute(merge, "ref", area.first.ToString() + u':' + area.last.ToString());
  }
}

void Filler::WriteSums() {
  for (const SumCell& sum : m_sumCells) {
    pugi::xml_node cell = sum.cell;
    cell.remove_attribute("t");
    for (pugi::xml_node child = cell.first_child(); child;) {
      pugi::xml_node next = child.next_sibling();
      cell.remove_child(child);
      child = next;
    }
    const auto found = m_columnSums.find(sum.column);
    const double total = found == m_columnSums.end() ? 0.0 : static_cast<double>(found->second) / kSumScale;
    if (m_rows > 0) {
      const QString letters = ColumnLetters(sum.column);
      const QString formula =
          QStringLiteral("SUM(%1%2:%1%3)").arg(letters).arg(m_fieldRow).arg(m_fieldRow + m_rows - 1);
      cell.append_child("f").text().set(formula.toUtf8().constData());
    }
    std::string number;
    AppendNumber(number, total);
    cell.append_child("v").text().set(number.c_str());
  }
}

void Filler::StreamDataSheet() {
  Worksheet& sheet = m_workbook.Sheet(m_sheetIndex);
  pugi::xml_node root = sheet.Document().document_element();
  pugi::xml_node sheetData = Child(root, "sheetData");
  NumberRowsAndCells(sheetData);

  // The field row: the first row of the range with a field reference.
  const QString prefix = u'=' + m_options.alias + u'_';
  pugi::xml_node fieldRow;
  for (pugi::xml_node row = sheetData.first_child(); row && !fieldRow; row = row.next_sibling()) {
    if (!IsElement(row, "row") || RowNumber(row) < m_range.first.row || RowNumber(row) > m_range.last.row)
      continue;
    for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
      if (!IsElement(cell, "c")) continue;
      const int column = CellColumn(cell);
      if (column < m_range.first.column || column > m_range.last.column) continue;
      if (TemplateText(sheet, cell).startsWith(prefix, Qt::CaseInsensitive)) {
        fieldRow = row;
        break;
      }
    }
  }
  if (!fieldRow) {
    throw OutputError(
        QStringLiteral("The range %1 of the workbook template %2 holds no field reference such as "
                       "\"%3FIELD\".")
            .arg(DoubleQuoted(m_options.rangeName), TemplateName(), prefix));
  }
  m_fieldRow = RowNumber(fieldRow);
  PlanFieldRow(fieldRow);

  // "SUM" cells: below the field row, inside the range.
  for (pugi::xml_node row = fieldRow.next_sibling(); row; row = row.next_sibling()) {
    if (!IsElement(row, "row") || RowNumber(row) > m_range.last.row) continue;
    for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
      if (!IsElement(cell, "c")) continue;
      const int column = CellColumn(cell);
      if (column < m_range.first.column || column > m_range.last.column) continue;
      if (!Child(cell, "f") && TemplateText(sheet, cell) == QStringLiteral("SUM"))
        m_sumCells.push_back({cell, column});
    }
  }

  // The dimension would have to be known before the rows; it is optional, so it is left out.
  if (pugi::xml_node dimension = Child(root, "dimension")) root.remove_child(dimension);
  sheetData.insert_child_before(pugi::node_pcdata, fieldRow).set_value(kRowsMarker);
  sheetData.remove_child(fieldRow);

  QByteArray xml = sheet.ToXml();
  const qsizetype marker = xml.indexOf(kRowsMarker);
  Q_ASSERT(marker >= 0);
  if (!m_sheetFile.open()) {
    throw OutputError(QStringLiteral("A temporary file for the worksheet %1 cannot be created (%2).")
                          .arg(sheet.Name(), m_sheetFile.errorString()));
  }
  FILE* out = ::fdopen(::dup(m_sheetFile.handle()), "wb");
  if (!out)
    throw OutputError(
        QStringLiteral("A temporary file for the worksheet %1 cannot be written.").arg(sheet.Name()));
  std::setvbuf(out, nullptr, _IOFBF, 1 << 20);
  bool writeOk =
      std::fwrite(xml.constData(), 1, static_cast<size_t>(marker), out) == static_cast<size_t>(marker);

  std::string buffer;
  buffer.reserve(1 << 16);
  while (writeOk && m_records.Next()) {
    WriteRecordRow(buffer, m_fieldRow + static_cast<int>(m_rows));
    ++m_rows;
    if (buffer.size() >= (1 << 16) - 4096 || buffer.size() > (1 << 16)) {
      writeOk = std::fwrite(buffer.data(), 1, buffer.size(), out) == buffer.size();
      buffer.clear();
    }
  }
  if (writeOk && !buffer.empty())
    writeOk = std::fwrite(buffer.data(), 1, buffer.size(), out) == buffer.size();

  MoveRowsBelow(sheetData, static_cast<int>(m_rows) - 1);
  WriteSums();
  pugi::xml_node calc = Child(root, "sheetCalcPr");
  if (calc) SetAttribute(calc, "fullCalcOnLoad", QStringLiteral("1"));
  xml = sheet.ToXml();
  const qsizetype suffix = xml.indexOf(kRowsMarker) + static_cast<qsizetype>(std::strlen(kRowsMarker));
  const size_t suffixSize = static_cast<size_t>(xml.size() - suffix);
  if (writeOk) writeOk = std::fwrite(xml.constData() + suffix, 1, suffixSize, out) == suffixSize;
  if (std::fclose(out) != 0) writeOk = false;
  if (!writeOk) {
    throw OutputError(
        QStringLiteral("The worksheet %1 cannot be written to a temporary file; is the disk full?")
            .arg(sheet.Name()));
  }
  m_workbook.ReplaceSheetXmlWithFile(m_sheetIndex, m_sheetFile.fileName());
  m_result.rowsWritten = m_rows;
}

// The range becomes the header row (the row above the field row) and the data rows, so that a pivot
// cache over it finds its field names in its first row. Totals below are not part of it.
void Filler::RedefineRange() {
  RangeAddress written = m_range;
  written.sheet = m_workbook.SheetName(m_sheetIndex);
  written.first.row = m_fieldRow > 1 ? m_fieldRow - 1 : m_fieldRow;
  written.last.row = qMax(written.first.row, m_fieldRow + static_cast<int>(m_rows) - 1);
  m_workbook.SetDefinedName(m_options.rangeName, written.ToAbsoluteString());
}

void Filler::EmptyPivotCaches() {
  Package& package = m_workbook.Parts();
  for (const QString& part : PivotCacheDefinition::PartsOf(m_workbook)) {
    PivotCacheDefinition cache(package, part);
    bool overRange = cache.SourceName().compare(m_options.rangeName, Qt::CaseInsensitive) == 0;
    if (!overRange && cache.SourceName().isEmpty()) {
      // A cache over the same cells by address is moved to the name, so that it follows the new rows.
      const RangeAddress ref = ParseRangeAddress(cache.SourceRef());
      overRange = ref.IsValid() && cache.SourceSheet().compare(m_range.sheet, Qt::CaseInsensitive) == 0 &&
                  ref.first.row == m_range.first.row && ref.first.column == m_range.first.column &&
                  ref.last.row == m_range.last.row && ref.last.column == m_range.last.column;
      if (overRange) cache.SetSourceName(m_options.rangeName);
    }
    if (!overRange) continue;
    cache.MakeEmptyAndRefreshOnLoad();
    cache.Save();
    for (const QString& tablePart : PivotTableDefinition::PartsUsingCache(package, part)) {
      PivotTableDefinition table(package, tablePart);
      table.ClearItems();
      table.Save();
    }
  }
}

// The calculation chain lists formula cells by address; rows have moved, so it is dropped and the
// workbook asks to be fully recalculated when opened.
void Filler::DropCalculationChain() {
  Relationships& rels = m_workbook.WorkbookRelationships();
  for (const Relationship& r : rels.All()) {
    if (!r.type.endsWith(QStringLiteral("/calcChain"))) continue;
    m_workbook.Parts().Remove(Relationships::ResolveTarget(m_workbook.WorkbookPartName(), r.target));
    rels.Remove(r.id);
    break;
  }
  SetAttribute(m_workbook.WorkbookElement("calcPr"), "fullCalcOnLoad", QStringLiteral("1"));
}

FillResult Filler::Run() {
  OpenAndCheck();
  FillParameters();
  m_workbook.SetActiveSheet(m_options.activeSheet);
  StreamDataSheet();
  RedefineRange();
  EmptyPivotCaches();
  DropCalculationChain();
  m_workbook.SaveAs(m_outputPath);
  return m_result;
}
}  // namespace

FillResult FillTemplate(const QString& templatePath, const QString& outputPath, RecordSource& records,
                        const FillOptions& options) {
  Filler filler(templatePath, outputPath, records, options);
  return filler.Run();
}

}  // namespace tarno::xlsx
