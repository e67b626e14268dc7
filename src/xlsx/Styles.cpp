// Reading and extending the styles part. Sections are kept in the schema's order (numFmts, fonts,
// fills, borders, cellStyleXfs, cellXfs, ...), which Excel insists on.
#include "xlsx/Styles.h"

#include <QRegularExpression>
#include <array>
#include <cstring>

#include "xlsx/XmlText.h"

namespace tarno::xlsx {
namespace {
constexpr std::array<const char*, 12> kSectionOrder = {"numFmts",      "fonts",   "fills",      "borders",
                                                       "cellStyleXfs", "cellXfs", "cellStyles", "dxfs",
                                                       "tableStyles",  "colors",  "extLst",     ""};

const char* kMinimalStyles =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><fonts count="1"><font><sz val="11"/><name val="Calibri"/><family val="2"/></font></fonts><fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills><borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders><cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs><cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs><cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles></styleSheet>)";

// Built-in number formats that have a fixed id in every office suite.
struct BuiltIn {
  int id;
  const char* code;
};
constexpr BuiltIn kBuiltIns[] = {{0, "General"},   {1, "0"},      {2, "0.00"},    {3, "#,##0"},
                                 {4, "#,##0.00"},  {9, "0%"},     {10, "0.00%"},  {14, "mm-dd-yy"},
                                 {15, "d-mmm-yy"}, {16, "d-mmm"}, {17, "mmm-yy"}, {22, "m/d/yy h:mm"},
                                 {49, "@"}};

const char* BorderStyleName(BorderStyle style) {
  switch (style) {
    case BorderStyle::None:
      return nullptr;
    case BorderStyle::Thin:
      return "thin";
    case BorderStyle::Medium:
      return "medium";
    case BorderStyle::Thick:
      return "thick";
    case BorderStyle::Double:
      return "double";
    case BorderStyle::Dashed:
      return "dashed";
    case BorderStyle::Dotted:
      return "dotted";
  }
  return nullptr;
}

// A format code shows a date when it holds a day, month or year letter outside quotes, brackets
// (colours, conditions) and escapes. Elapsed-time and plain number codes do not.
bool CodeIsDate(const QString& code) {
  bool inQuote = false;
  bool inBracket = false;
  for (int i = 0; i < code.size(); ++i) {
    const QChar c = code[i];
    if (c == u'"') inQuote = !inQuote;
    if (inQuote) continue;
    if (c == u'\\' || c == u'_' || c == u'*') {
      ++i;
      continue;
    }
    if (c == u'[') inBracket = true;
    if (c == u']') inBracket = false;
    if (inBracket) continue;
    const QChar l = c.toLower();
    if (l == u'd' || l == u'm' || l == u'y') return true;
  }
  return false;
}
}  // namespace

Styles::Styles() {
  ParseXml(m_doc, QByteArray(kMinimalStyles), QStringLiteral("xl/styles.xml"));
}

Styles::Styles(const QByteArray& xml) {
  ParseXml(m_doc, xml, QStringLiteral("xl/styles.xml"));
}

pugi::xml_node Styles::Section(const char* name) {
  pugi::xml_node root = m_doc.document_element();
  pugi::xml_node found = Child(root, name);
  if (found) return found;
  // Insert before the first existing section that comes later in the schema's order.
  size_t position = 0;
  while (position < kSectionOrder.size() && std::strcmp(kSectionOrder[position], name) != 0) ++position;
  for (size_t later = position + 1; later < kSectionOrder.size() && *kSectionOrder[later]; ++later) {
    pugi::xml_node next = Child(root, kSectionOrder[later]);
    if (next) return root.insert_child_before(name, next);
  }
  return root.append_child(name);
}

pugi::xml_node Styles::ItemAt(const char* section, const char* item, int index) const {
  pugi::xml_node s = Child(m_doc.document_element(), section);
  int i = 0;
  for (pugi::xml_node n = s.first_child(); n; n = n.next_sibling()) {
    if (std::strcmp(LocalName(n), item) != 0) continue;
    if (i++ == index) return n;
  }
  return {};
}

int Styles::AppendItem(const char* section, const pugi::xml_node& item) {
  pugi::xml_node s = Section(section);
  s.append_copy(item);
  int count = 0;
  for (pugi::xml_node n = s.first_child(); n; n = n.next_sibling()) {
    if (n.type() == pugi::node_element) ++count;
  }
  SetAttribute(s, "count", static_cast<long long>(count));
  m_modified = true;
  return count - 1;
}

int Styles::CellFormatCount() const {
  int count = 0;
  for (pugi::xml_node n = Child(m_doc.document_element(), "cellXfs").first_child(); n; n = n.next_sibling()) {
    if (n.type() == pugi::node_element) ++count;
  }
  return count;
}

pugi::xml_node Styles::CellFormat(int xf) const {
  return ItemAt("cellXfs", "xf", xf);
}

int Styles::AppendCellFormat(const pugi::xml_node& format, const QString& cacheKey) {
  const int index = AppendItem("cellXfs", format);
  m_derived.insert(cacheKey, index);
  return index;
}

int Styles::NumberFormatId(const QString& code) {
  for (const BuiltIn& b : kBuiltIns) {
    if (code == QLatin1String(b.code)) return b.id;
  }
  pugi::xml_node numFmts = Child(m_doc.document_element(), "numFmts");
  int highest = 163;
  for (pugi::xml_node n = numFmts.first_child(); n; n = n.next_sibling()) {
    if (AttributeText(n, "formatCode") == code) return n.attribute("numFmtId").as_int();
    highest = qMax(highest, n.attribute("numFmtId").as_int());
  }
  pugi::xml_document item;
  pugi::xml_node format = item.append_child("numFmt");
  format.append_attribute("numFmtId") = highest + 1;
  SetAttribute(format, "formatCode", code);
  AppendItem("numFmts", format);
  return highest + 1;
}

bool Styles::IsDateFormat(int xf) const {
  const int id = CellFormat(xf).attribute("numFmtId").as_int();
  if ((id >= 14 && id <= 22) || (id >= 45 && id <= 47)) return true;
  if (id < 164) return false;
  for (pugi::xml_node n = Child(m_doc.document_element(), "numFmts").first_child(); n; n = n.next_sibling()) {
    if (n.attribute("numFmtId").as_int() == id) return CodeIsDate(AttributeText(n, "formatCode"));
  }
  return false;
}

int Styles::WithNumberFormat(int xf, const QString& code) {
  const QString key = QStringLiteral("%1|numFmt|%2").arg(xf).arg(code);
  if (m_derived.contains(key)) return m_derived.value(key);
  const int id = NumberFormatId(code);
  pugi::xml_document copy;
  pugi::xml_node format = copy.append_copy(CellFormat(xf));
  if (!format) format = copy.append_child("xf");
  SetAttribute(format, "numFmtId", static_cast<long long>(id));
  SetAttribute(format, "applyNumberFormat", QStringLiteral("1"));
  return AppendCellFormat(format, key);
}

int Styles::WithWrapText(int xf, bool wrap) {
  const QString key = QStringLiteral("%1|wrap|%2").arg(xf).arg(wrap);
  if (m_derived.contains(key)) return m_derived.value(key);
  pugi::xml_document copy;
  pugi::xml_node format = copy.append_copy(CellFormat(xf));
  if (!format) format = copy.append_child("xf");
  pugi::xml_node alignment = format.child("alignment");
  if (!alignment) alignment = format.prepend_child("alignment");
  SetAttribute(alignment, "wrapText", wrap ? QStringLiteral("1") : QStringLiteral("0"));
  SetAttribute(format, "applyAlignment", QStringLiteral("1"));
  return AppendCellFormat(format, key);
}

int Styles::WithBorders(int xf, bool top, bool bottom, BorderStyle style) {
  const QString key =
      QStringLiteral("%1|border|%2%3|%4").arg(xf).arg(top).arg(bottom).arg(static_cast<int>(style));
  if (m_derived.contains(key)) return m_derived.value(key);
  pugi::xml_document copy;
  pugi::xml_node format = copy.append_copy(CellFormat(xf));
  if (!format) format = copy.append_child("xf");

  pugi::xml_document borderCopy;
  pugi::xml_node border =
      borderCopy.append_copy(ItemAt("borders", "border", format.attribute("borderId").as_int()));
  if (!border) {
    border = borderCopy.append_child("border");
    for (const char* side : {"left", "right", "top", "bottom", "diagonal"}) border.append_child(side);
  }
  auto setSide = [&](const char* sideName) {
    pugi::xml_node side = border.child(sideName);
    if (!side) side = border.append_child(sideName);
    side.remove_children();
    side.remove_attributes();
    const char* name = BorderStyleName(style);
    if (!name) return;
    side.append_attribute("style") = name;
    side.append_child("color").append_attribute("auto") = "1";
  };
  if (top) setSide("top");
  if (bottom) setSide("bottom");
  const int borderId = AppendItem("borders", border);
  SetAttribute(format, "borderId", static_cast<long long>(borderId));
  SetAttribute(format, "applyBorder", QStringLiteral("1"));
  return AppendCellFormat(format, key);
}

int Styles::WithFont(int xf, bool bold, double size) {
  const QString key = QStringLiteral("%1|font|%2|%3").arg(xf).arg(bold).arg(size);
  if (m_derived.contains(key)) return m_derived.value(key);
  pugi::xml_document copy;
  pugi::xml_node format = copy.append_copy(CellFormat(xf));
  if (!format) format = copy.append_child("xf");

  pugi::xml_document fontCopy;
  pugi::xml_node font = fontCopy.append_copy(ItemAt("fonts", "font", format.attribute("fontId").as_int()));
  if (!font) font = fontCopy.append_child("font");
  font.remove_child("b");
  if (bold) font.prepend_child("b");
  if (size > 0) {
    pugi::xml_node sz = font.child("sz");
    if (!sz) {
      // sz comes before color, name and the rest; after the emphasis elements.
      pugi::xml_node before = font.child("color") ? font.child("color") : font.child("name");
      sz = before ? font.insert_child_before("sz", before) : font.append_child("sz");
    }
    SetAttribute(sz, "val", QString::number(size));
  }
  const int fontId = AppendItem("fonts", font);
  SetAttribute(format, "fontId", static_cast<long long>(fontId));
  SetAttribute(format, "applyFont", QStringLiteral("1"));
  return AppendCellFormat(format, key);
}

QByteArray Styles::ToXml() const {
  return SerializeXml(m_doc);
}

}  // namespace tarno::xlsx
