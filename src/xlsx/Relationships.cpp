// Parsing, editing and writing relationships parts, and resolving their targets to part names.
#include "xlsx/Relationships.h"

#include <QStringList>
#include <pugixml.hpp>

#include "xlsx/XmlText.h"

namespace tarno::xlsx {

Relationships::Relationships(const QByteArray& xml, const QString& partName) {
  pugi::xml_document doc;
  ParseXml(doc, xml, partName);
  for (pugi::xml_node r = doc.document_element().child("Relationship"); r;
       r = r.next_sibling("Relationship")) {
    m_items.append({AttributeText(r, "Id"), AttributeText(r, "Type"), AttributeText(r, "Target"),
                    AttributeText(r, "TargetMode") == QStringLiteral("External")});
  }
}

QString Relationships::PartNameFor(const QString& sourcePart) {
  if (sourcePart.isEmpty()) return QStringLiteral("_rels/.rels");
  const int slash = sourcePart.lastIndexOf(u'/');
  const QString folder = slash >= 0 ? sourcePart.left(slash + 1) : QString();
  return folder + QStringLiteral("_rels/") + sourcePart.mid(slash + 1) + QStringLiteral(".rels");
}

QString Relationships::ResolveTarget(const QString& sourcePart, const QString& target) {
  QStringList parts;
  if (!target.startsWith(u'/')) {
    const int slash = sourcePart.lastIndexOf(u'/');
    if (slash >= 0) parts = sourcePart.left(slash).split(u'/', Qt::SkipEmptyParts);
  }
  for (const QString& piece : target.split(u'/', Qt::SkipEmptyParts)) {
    if (piece == QStringLiteral("..")) {
      if (!parts.isEmpty()) parts.removeLast();
    } else if (piece != QStringLiteral(".")) {
      parts.append(piece);
    }
  }
  return parts.join(u'/');
}

QString Relationships::RelativeTarget(const QString& sourcePart, const QString& partName) {
  const int slash = sourcePart.lastIndexOf(u'/');
  const QStringList from =
      slash >= 0 ? sourcePart.left(slash).split(u'/', Qt::SkipEmptyParts) : QStringList();
  const QStringList to = partName.split(u'/', Qt::SkipEmptyParts);
  int common = 0;
  while (common < from.size() && common < to.size() - 1 && from[common] == to[common]) ++common;
  QStringList result;
  for (int i = common; i < from.size(); ++i) result.append(QStringLiteral(".."));
  for (int i = common; i < to.size(); ++i) result.append(to[i]);
  return result.join(u'/');
}

const Relationship* Relationships::FindById(const QString& id) const {
  for (const Relationship& r : m_items) {
    if (r.id == id) return &r;
  }
  return nullptr;
}

QVector<Relationship> Relationships::OfType(const QString& type) const {
  QVector<Relationship> result;
  for (const Relationship& r : m_items) {
    if (r.type == type) result.append(r);
  }
  return result;
}

QString Relationships::Add(const QString& type, const QString& target) {
  int n = m_items.size() + 1;
  while (FindById(QStringLiteral("rId%1").arg(n))) ++n;
  const QString id = QStringLiteral("rId%1").arg(n);
  m_items.append({id, type, target, false});
  return id;
}

void Relationships::Remove(const QString& id) {
  m_items.removeIf([&](const Relationship& r) { return r.id == id; });
}

QByteArray Relationships::ToXml() const {
  pugi::xml_document doc;
  pugi::xml_node root = doc.append_child("Relationships");
  root.append_attribute("xmlns") = "http://schemas.openxmlformats.org/package/2006/relationships";
  for (const Relationship& r : m_items) {
    pugi::xml_node node = root.append_child("Relationship");
    SetAttribute(node, "Id", r.id);
    SetAttribute(node, "Type", r.type);
    SetAttribute(node, "Target", r.target);
    if (r.external) node.append_attribute("TargetMode") = "External";
  }
  return SerializeXml(doc);
}

}  // namespace tarno::xlsx
