// Reading and extending the shared string table.
#include "xlsx/SharedStrings.h"

#include <pugixml.hpp>

#include "xlsx/XmlText.h"

namespace tarno::xlsx {
namespace {
// The plain text of a string item: its <t>, or the concatenated <t> of its rich-text runs; phonetic
// runs (<rPh>) are not part of the text.
QString ItemText(const pugi::xml_node& si) {
  QString text;
  for (pugi::xml_node child = si.first_child(); child; child = child.next_sibling()) {
    const std::string_view name = LocalName(child);
    if (name == "t") {
      text += Text(child.text().get());
    } else if (name == "r") {
      text += Text(Child(child, "t").text().get());
    }
  }
  return text;
}
}  // namespace

SharedStrings::SharedStrings(const QByteArray& xml) {
  pugi::xml_document doc;
  ParseXml(doc, xml, QStringLiteral("xl/sharedStrings.xml"));
  for (pugi::xml_node si = doc.document_element().first_child(); si; si = si.next_sibling()) {
    if (std::string_view(LocalName(si)) != "si") continue;
    const QString text = ItemText(si);
    m_index.insert(text, m_texts.size());  // a later duplicate wins; either index reads the same text
    m_texts.append(text);
  }
}

QString SharedStrings::At(int index) const {
  return index >= 0 && index < m_texts.size() ? m_texts[index] : QString();
}

int SharedStrings::Add(const QString& text) {
  const auto found = m_index.constFind(text);
  if (found != m_index.constEnd()) return found.value();
  m_texts.append(text);
  m_index.insert(text, m_texts.size() - 1);
  m_modified = true;
  return m_texts.size() - 1;
}

QByteArray SharedStrings::ToXml() const {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
  out += "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"";
  out += std::to_string(m_texts.size()) + "\" uniqueCount=\"" + std::to_string(m_texts.size()) + "\">";
  for (const QString& text : m_texts) {
    const bool keepSpaces = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    out += keepSpaces ? "<si><t xml:space=\"preserve\">" : "<si><t>";
    AppendEscaped(out, text);
    out += "</t></si>";
  }
  out += "</sst>";
  return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

}  // namespace tarno::xlsx
