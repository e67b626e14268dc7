// Reading and editing the package's media-type table.
#include "xlsx/ContentTypes.h"

#include "xlsx/XmlText.h"

namespace tarno::xlsx {
namespace {
constexpr const char* kNamespace = "http://schemas.openxmlformats.org/package/2006/content-types";

QString Slashed(const QString& partName) {
  return partName.startsWith(u'/') ? partName : u'/' + partName;
}
}  // namespace

ContentTypes::ContentTypes() {
  pugi::xml_node types = m_doc.append_child("Types");
  types.append_attribute("xmlns") = kNamespace;
  pugi::xml_node rels = types.append_child("Default");
  rels.append_attribute("Extension") = "rels";
  rels.append_attribute("ContentType") = media::kRelationships;
  pugi::xml_node xml = types.append_child("Default");
  xml.append_attribute("Extension") = "xml";
  xml.append_attribute("ContentType") = "application/xml";
}

ContentTypes::ContentTypes(const QByteArray& xml) {
  ParseXml(m_doc, xml, QStringLiteral("[Content_Types].xml"));
}

QString ContentTypes::TypeOf(const QString& partName) const {
  const QString name = Slashed(partName);
  const pugi::xml_node types = m_doc.document_element();
  for (pugi::xml_node o = types.child("Override"); o; o = o.next_sibling("Override")) {
    if (AttributeText(o, "PartName").compare(name, Qt::CaseInsensitive) == 0)
      return AttributeText(o, "ContentType");
  }
  const QString extension = name.section(u'.', -1);
  for (pugi::xml_node d = types.child("Default"); d; d = d.next_sibling("Default")) {
    if (AttributeText(d, "Extension").compare(extension, Qt::CaseInsensitive) == 0) {
      return AttributeText(d, "ContentType");
    }
  }
  return {};
}

bool ContentTypes::HasOverride(const QString& partName) const {
  const QString name = Slashed(partName);
  for (pugi::xml_node o = m_doc.document_element().child("Override"); o; o = o.next_sibling("Override")) {
    if (AttributeText(o, "PartName").compare(name, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

void ContentTypes::SetOverride(const QString& partName, const QString& mediaType) {
  const QString name = Slashed(partName);
  pugi::xml_node types = m_doc.document_element();
  for (pugi::xml_node o = types.child("Override"); o; o = o.next_sibling("Override")) {
    if (AttributeText(o, "PartName").compare(name, Qt::CaseInsensitive) == 0) {
      SetAttribute(o, "ContentType", mediaType);
      return;
    }
  }
  pugi::xml_node o = types.append_child("Override");
  SetAttribute(o, "PartName", name);
  SetAttribute(o, "ContentType", mediaType);
}

void ContentTypes::RemoveOverride(const QString& partName) {
  const QString name = Slashed(partName);
  pugi::xml_node types = m_doc.document_element();
  for (pugi::xml_node o = types.child("Override"); o;) {
    pugi::xml_node next = o.next_sibling("Override");
    if (AttributeText(o, "PartName").compare(name, Qt::CaseInsensitive) == 0) types.remove_child(o);
    o = next;
  }
}

QByteArray ContentTypes::ToXml() const {
  return SerializeXml(m_doc);
}

}  // namespace tarno::xlsx
