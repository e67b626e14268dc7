// Cells of one worksheet, read and written in its XML document. Rows and cells are kept in address
// order inside <sheetData>, as the schema requires; cells without an "r" attribute take the position
// after their left neighbour.
#include "xlsx/Worksheet.h"

#include <QLocale>
#include <cstring>

#include "context/Errors.h"
#include "xlsx/SharedStrings.h"
#include "xlsx/Styles.h"
#include "xlsx/XmlText.h"

namespace tarno::xlsx {
namespace {
constexpr const char* kMinimalSheet =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheetData/></worksheet>)";

bool Is(const pugi::xml_node& node, const char* localName) {
  return node.type() == pugi::node_element && std::strcmp(LocalName(node), localName) == 0;
}

// Elements that precede sheetData in the schema's order; sheetViews and cols go before the first
// later one present.
pugi::xml_node InsertBeforeAny(pugi::xml_node root, const char* name,
                               std::initializer_list<const char*> later) {
  for (const char* l : later) {
    pugi::xml_node next = Child(root, l);
    if (next) return root.insert_child_before(name, next);
  }
  return root.append_child(name);
}

QString FormatNumber(double value) {
  return QString::number(value, 'g', QLocale::FloatingPointShortest);
}
}  // namespace

Worksheet::Worksheet(const QString& name, const QByteArray& xml, SharedStrings& strings, Styles& styles)
    : m_name(name), m_strings(strings), m_styles(styles) {
  ParseXml(m_doc, xml.isEmpty() ? QByteArray(kMinimalSheet) : xml,
           QStringLiteral("the worksheet %1").arg(name));
  if (!Child(m_doc.document_element(), "sheetData")) {
    InsertBeforeAny(m_doc.document_element(), "sheetData",
                    {"sheetCalcPr", "sheetProtection", "mergeCells", "conditionalFormatting", "pageMargins",
                     "pageSetup"});
  }
}

Worksheet::~Worksheet() = default;

pugi::xml_node Worksheet::FindCell(const CellAddress& address) const {
  pugi::xml_node sheetData = Child(m_doc.document_element(), "sheetData");
  int implicitRow = 0;
  for (pugi::xml_node row = sheetData.first_child(); row; row = row.next_sibling()) {
    if (!Is(row, "row")) continue;
    const int r = row.attribute("r") ? row.attribute("r").as_int() : implicitRow + 1;
    implicitRow = r;
    if (r < address.row) continue;
    if (r > address.row) return {};
    int implicitColumn = 0;
    for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
      if (!Is(cell, "c")) continue;
      const char* ref = cell.attribute("r").value();
      const int column = *ref ? ParseCellAddress(QString::fromLatin1(ref)).column : implicitColumn + 1;
      implicitColumn = column;
      if (column == address.column) return cell;
      if (column > address.column) return {};
    }
    return {};
  }
  return {};
}

pugi::xml_node Worksheet::CellNode(const CellAddress& address, bool create) {
  pugi::xml_node found = FindCell(address);
  if (found || !create) return found;
  pugi::xml_node sheetData = Child(m_doc.document_element(), "sheetData");
  pugi::xml_node row;
  int implicitRow = 0;
  for (pugi::xml_node r = sheetData.first_child(); r; r = r.next_sibling()) {
    if (!Is(r, "row")) continue;
    const int number = r.attribute("r") ? r.attribute("r").as_int() : implicitRow + 1;
    implicitRow = number;
    if (!r.attribute("r")) SetAttribute(r, "r", static_cast<long long>(number));
    if (number == address.row) {
      row = r;
      break;
    }
    if (number > address.row) {
      row = sheetData.insert_child_before("row", r);
      break;
    }
  }
  if (!row) row = sheetData.append_child("row");
  if (!row.attribute("r")) SetAttribute(row, "r", static_cast<long long>(address.row));
  row.remove_attribute("spans");  // a hint only; dropped rather than kept wrong

  pugi::xml_node before;
  int implicitColumn = 0;
  for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
    if (!Is(cell, "c")) continue;
    const char* ref = cell.attribute("r").value();
    const int column = *ref ? ParseCellAddress(QString::fromLatin1(ref)).column : implicitColumn + 1;
    implicitColumn = column;
    if (!*ref) SetAttribute(cell, "r", CellAddress{address.row, column}.ToString());
    if (column > address.column) {
      before = cell;
      break;
    }
  }
  pugi::xml_node cell = before ? row.insert_child_before("c", before) : row.append_child("c");
  SetAttribute(cell, "r", address.ToString());
  // A new cell takes the row's format, as a typed cell in a formatted row would.
  if (row.attribute("customFormat").as_bool() && row.attribute("s")) {
    cell.append_attribute("s") = row.attribute("s").value();
  }
  m_modified = true;
  return cell;
}

QVariant Worksheet::Value(const QString& cellRef) const {
  const pugi::xml_node cell = FindCell(RequireCellAddress(cellRef));
  if (!cell) return {};
  const std::string_view type = cell.attribute("t").value();
  const pugi::xml_node v = Child(cell, "v");
  const pugi::xml_node f = Child(cell, "f");
  if (type == "inlineStr") {
    QString text;
    const pugi::xml_node is = Child(cell, "is");
    for (pugi::xml_node part = is.first_child(); part; part = part.next_sibling()) {
      if (Is(part, "t")) text += Text(part.text().get());
      if (Is(part, "r")) text += Text(Child(part, "t").text().get());
    }
    return text;
  }
  if (!v) return f ? QVariant(u'=' + Text(f.text().get())) : QVariant();
  const QString raw = Text(v.text().get());
  if (type == "s") return m_strings.At(raw.toInt());
  if (type == "str" || type == "e") return raw;
  if (type == "b") return raw == QStringLiteral("1");
  bool ok = false;
  const double number = raw.toDouble(&ok);
  return ok ? QVariant(number) : QVariant(raw);
}

QString Worksheet::Formula(const QString& cellRef) const {
  const pugi::xml_node cell = FindCell(RequireCellAddress(cellRef));
  return Text(Child(cell, "f").text().get());
}

int Worksheet::StyleIndex(const QString& cellRef) const {
  return FindCell(RequireCellAddress(cellRef)).attribute("s").as_int();
}

void Worksheet::SetCellStyle(pugi::xml_node cell, int styleIndex) {
  if (styleIndex == 0) {
    cell.remove_attribute("s");
  } else {
    SetAttribute(cell, "s", static_cast<long long>(styleIndex));
  }
  m_modified = true;
}

namespace {
void ClearContent(pugi::xml_node cell) {
  cell.remove_attribute("t");
  for (pugi::xml_node child = cell.first_child(); child;) {
    pugi::xml_node next = child.next_sibling();
    if (Is(child, "v") || Is(child, "f") || Is(child, "is")) cell.remove_child(child);
    child = next;
  }
}
}  // namespace

void Worksheet::SetText(const QString& cellRef, const QString& text) {
  pugi::xml_node cell = CellNode(RequireCellAddress(cellRef), true);
  ClearContent(cell);
  cell.append_attribute("t") = "s";
  cell.append_child("v").text().set(std::to_string(m_strings.Add(text)).c_str());
  m_modified = true;
}

void Worksheet::SetNumber(const QString& cellRef, double value, const QString& numberFormat) {
  pugi::xml_node cell = CellNode(RequireCellAddress(cellRef), true);
  ClearContent(cell);
  cell.append_child("v").text().set(FormatNumber(value).toLatin1().constData());
  if (!numberFormat.isEmpty())
    SetCellStyle(cell, m_styles.WithNumberFormat(cell.attribute("s").as_int(), numberFormat));
  m_modified = true;
}

void Worksheet::SetFormula(const QString& cellRef, const QString& formula, double cachedValue) {
  pugi::xml_node cell = CellNode(RequireCellAddress(cellRef), true);
  ClearContent(cell);
  cell.append_child("f").text().set(formula.toUtf8().constData());
  cell.append_child("v").text().set(FormatNumber(cachedValue).toLatin1().constData());
  m_modified = true;
}

void Worksheet::Clear(const QString& cellRef) {
  pugi::xml_node cell = FindCell(RequireCellAddress(cellRef));
  if (!cell) return;
  ClearContent(cell);
  m_modified = true;
}

void Worksheet::SetWrapText(const QString& cellRef, bool wrap) {
  pugi::xml_node cell = CellNode(RequireCellAddress(cellRef), true);
  SetCellStyle(cell, m_styles.WithWrapText(cell.attribute("s").as_int(), wrap));
}

void Worksheet::AddBorders(const QString& cellRef, bool top, bool bottom, BorderStyle style) {
  pugi::xml_node cell = CellNode(RequireCellAddress(cellRef), true);
  SetCellStyle(cell, m_styles.WithBorders(cell.attribute("s").as_int(), top, bottom, style));
}

void Worksheet::SetFont(const QString& cellRef, bool bold, double size) {
  pugi::xml_node cell = CellNode(RequireCellAddress(cellRef), true);
  SetCellStyle(cell, m_styles.WithFont(cell.attribute("s").as_int(), bold, size));
}

void Worksheet::SetColumnWidth(const QString& columnLetters, double width) {
  const int column = ColumnNumber(columnLetters);
  if (column == 0) {
    throw OutputError(QStringLiteral("\"%1\" is not a column such as \"E\" or \"AA\".").arg(columnLetters));
  }
  pugi::xml_node root = m_doc.document_element();
  pugi::xml_node cols = Child(root, "cols");
  if (!cols) cols = root.insert_child_before("cols", Child(root, "sheetData"));
  // Split a range that covers the column, so that the column gets an element of its own.
  pugi::xml_node target;
  pugi::xml_node insertBefore;
  for (pugi::xml_node col = cols.first_child(); col; col = col.next_sibling()) {
    const int min = col.attribute("min").as_int();
    const int max = col.attribute("max").as_int();
    if (column < min) {
      insertBefore = col;
      break;
    }
    if (column > max) continue;
    if (min < column) {
      pugi::xml_node left = cols.insert_copy_before(col, col);
      SetAttribute(left, "max", static_cast<long long>(column - 1));
    }
    if (max > column) {
      pugi::xml_node right = cols.insert_copy_after(col, col);
      SetAttribute(right, "min", static_cast<long long>(column + 1));
    }
    SetAttribute(col, "min", static_cast<long long>(column));
    SetAttribute(col, "max", static_cast<long long>(column));
    target = col;
    break;
  }
  if (!target) {
    target = insertBefore ? cols.insert_child_before("col", insertBefore) : cols.append_child("col");
    SetAttribute(target, "min", static_cast<long long>(column));
    SetAttribute(target, "max", static_cast<long long>(column));
  }
  SetAttribute(target, "width", QString::number(width));
  SetAttribute(target, "customWidth", QStringLiteral("1"));
  m_modified = true;
}

void Worksheet::SetTabSelected(bool selected) {
  pugi::xml_node root = m_doc.document_element();
  pugi::xml_node views = Child(root, "sheetViews");
  if (!views) {
    if (!selected) return;
    views = InsertBeforeAny(root, "sheetViews", {"sheetFormatPr", "cols", "sheetData"});
  }
  pugi::xml_node view = Child(views, "sheetView");
  if (!view) {
    view = views.append_child("sheetView");
    view.append_attribute("workbookViewId") = "0";
  }
  if (selected) {
    SetAttribute(view, "tabSelected", QStringLiteral("1"));
  } else {
    view.remove_attribute("tabSelected");
  }
  m_modified = true;
}

int Worksheet::LastRow() const {
  int last = 0;
  int implicitRow = 0;
  for (pugi::xml_node row = Child(m_doc.document_element(), "sheetData").first_child(); row;
       row = row.next_sibling()) {
    if (!Is(row, "row")) continue;
    implicitRow = row.attribute("r") ? row.attribute("r").as_int() : implicitRow + 1;
    if (Child(row, "c")) last = qMax(last, implicitRow);
  }
  return last;
}

int Worksheet::LastColumn() const {
  int last = 0;
  for (pugi::xml_node row = Child(m_doc.document_element(), "sheetData").first_child(); row;
       row = row.next_sibling()) {
    int implicitColumn = 0;
    for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
      if (!Is(cell, "c")) continue;
      const char* ref = cell.attribute("r").value();
      implicitColumn = *ref ? ParseCellAddress(QString::fromLatin1(ref)).column : implicitColumn + 1;
      last = qMax(last, implicitColumn);
    }
  }
  return last;
}

QByteArray Worksheet::ToXml() const {
  return SerializeXml(m_doc);
}

}  // namespace tarno::xlsx
