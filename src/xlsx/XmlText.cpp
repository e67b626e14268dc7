// Conversions between pugixml documents and Qt texts shared by every part of the package.
#include "xlsx/XmlText.h"

#include <cstring>

#include "context/Errors.h"

namespace tarno::xlsx {

void ParseXml(pugi::xml_document& doc, const QByteArray& xml, const QString& partName) {
  const pugi::xml_parse_result result =
      doc.load_buffer(xml.constData(), static_cast<size_t>(xml.size()),
                      pugi::parse_default | pugi::parse_ws_pcdata_single | pugi::parse_declaration);
  if (!result) {
    throw OutputError(QStringLiteral("The workbook part %1 is not well-formed XML (%2 at offset %3).")
                          .arg(partName, QString::fromUtf8(result.description()))
                          .arg(result.offset));
  }
}

namespace {
struct ByteArrayWriter : pugi::xml_writer {
  QByteArray* out;
  void write(const void* data, size_t size) override {
    out->append(static_cast<const char*>(data), static_cast<qsizetype>(size));
  }
};
}  // namespace

QByteArray SerializeXml(const pugi::xml_document& doc) {
  QByteArray out;
  ByteArrayWriter writer;
  writer.out = &out;
  const bool hasDeclaration = doc.first_child().type() == pugi::node_declaration;
  if (!hasDeclaration) out.append("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n");
  doc.save(writer, "", pugi::format_raw | (hasDeclaration ? 0u : pugi::format_no_declaration),
           pugi::encoding_utf8);
  return out;
}

void SetAttribute(pugi::xml_node node, const char* name, const QString& value) {
  pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) attribute = node.append_attribute(name);
  attribute.set_value(value.toUtf8().constData());
}

void SetAttribute(pugi::xml_node node, const char* name, long long value) {
  pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) attribute = node.append_attribute(name);
  attribute.set_value(value);
}

const char* LocalName(const pugi::xml_node& node) {
  const char* name = node.name();
  const char* colon = std::strchr(name, ':');
  return colon ? colon + 1 : name;
}

pugi::xml_node Child(const pugi::xml_node& node, const char* localName) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && std::strcmp(LocalName(child), localName) == 0) return child;
  }
  return {};
}

void AppendEscaped(std::string& out, const QString& text) {
  const QByteArray utf8 = text.toUtf8();  // lone surrogates become U+FFFD here
  for (const char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        // Control characters other than tab and line ends are not allowed in XML 1.0: dropped.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') break;
        out += c;
    }
  }
}

}  // namespace tarno::xlsx
