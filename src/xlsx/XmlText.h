// Small helpers between pugixml documents and Qt texts: parsing a part, serialising it, reading and
// writing attributes and element texts as QString.
#pragma once

#include <QByteArray>
#include <QString>
#include <pugixml.hpp>

namespace tarno::xlsx {

// Parses xml into doc; throws tarno::OutputError naming partName when it is not well-formed.
void ParseXml(pugi::xml_document& doc, const QByteArray& xml, const QString& partName);
// UTF-8 with the XML declaration, without indentation (whitespace in texts is significant).
QByteArray SerializeXml(const pugi::xml_document& doc);

inline QString Text(const pugi::char_t* utf8) {
  return QString::fromUtf8(utf8);
}
inline QString AttributeText(const pugi::xml_node& node, const char* name) {
  return QString::fromUtf8(node.attribute(name).value());
}
void SetAttribute(pugi::xml_node node, const char* name, const QString& value);
// Sets or appends attribute name to value.
void SetAttribute(pugi::xml_node node, const char* name, long long value);

// The local name of an element ("sheetData" for "x:sheetData"); parts written by other tools may use
// a namespace prefix for the main namespace.
const char* LocalName(const pugi::xml_node& node);
// The first child element with this local name, whatever its prefix.
pugi::xml_node Child(const pugi::xml_node& node, const char* localName);

// Escapes &, <, > and quotes, and drops characters XML 1.0 does not allow.
void AppendEscaped(std::string& out, const QString& text);

}  // namespace tarno::xlsx
