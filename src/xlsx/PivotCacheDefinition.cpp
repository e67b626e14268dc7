// Reading and emptying pivot cache definitions.
#include "xlsx/PivotCacheDefinition.h"

#include <cstring>

#include "xlsx/Package.h"
#include "xlsx/Relationships.h"
#include "xlsx/Workbook.h"
#include "xlsx/XmlText.h"

namespace tarno::xlsx {
namespace {
QString RelationshipIdAttribute(const pugi::xml_node& node, QString* attributeName = nullptr) {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
    const char* colon = std::strchr(a.name(), ':');
    if (colon && std::strcmp(colon + 1, "id") == 0) {
      if (attributeName) *attributeName = Text(a.name());
      return Text(a.value());
    }
  }
  return {};
}
}  // namespace

PivotCacheDefinition::PivotCacheDefinition(Package& package, const QString& partName)
    : m_package(package), m_partName(partName) {
  ParseXml(m_doc, package.Data(partName), partName);
}

QStringList PivotCacheDefinition::PartsOf(Workbook& workbook) {
  QStringList parts;
  const pugi::xml_node caches = Child(workbook.WorkbookDocument().document_element(), "pivotCaches");
  for (pugi::xml_node cache = caches.first_child(); cache; cache = cache.next_sibling()) {
    const Relationship* rel = workbook.WorkbookRelationships().FindById(RelationshipIdAttribute(cache));
    if (!rel) continue;
    const QString part = Relationships::ResolveTarget(workbook.WorkbookPartName(), rel->target);
    if (workbook.Parts().Contains(part)) parts.append(part);
  }
  return parts;
}

QString PivotCacheDefinition::SourceName() const {
  return AttributeText(Child(Child(m_doc.document_element(), "cacheSource"), "worksheetSource"), "name");
}

QString PivotCacheDefinition::SourceSheet() const {
  return AttributeText(Child(Child(m_doc.document_element(), "cacheSource"), "worksheetSource"), "sheet");
}

QString PivotCacheDefinition::SourceRef() const {
  return AttributeText(Child(Child(m_doc.document_element(), "cacheSource"), "worksheetSource"), "ref");
}

void PivotCacheDefinition::SetSourceName(const QString& name) {
  pugi::xml_node source = Child(Child(m_doc.document_element(), "cacheSource"), "worksheetSource");
  source.remove_attribute("ref");
  source.remove_attribute("sheet");
  SetAttribute(source, "name", name);
}

QStringList PivotCacheDefinition::FieldNames() const {
  QStringList names;
  const pugi::xml_node fields = Child(m_doc.document_element(), "cacheFields");
  for (pugi::xml_node f = fields.first_child(); f; f = f.next_sibling()) {
    if (f.type() == pugi::node_element) names.append(AttributeText(f, "name"));
  }
  return names;
}

bool PivotCacheDefinition::RefreshOnLoad() const {
  return m_doc.document_element().attribute("refreshOnLoad").as_bool();
}

QString PivotCacheDefinition::RecordsPart() const {
  const Relationships rels = m_package.RelationshipsOf(m_partName);
  const QVector<Relationship> records = rels.OfType(reltype::kPivotCacheRecords);
  return records.isEmpty() ? QString() : Relationships::ResolveTarget(m_partName, records.first().target);
}

void PivotCacheDefinition::MakeEmptyAndRefreshOnLoad() {
  pugi::xml_node root = m_doc.document_element();
  Relationships rels = m_package.RelationshipsOf(m_partName);
  for (const Relationship& r : rels.OfType(reltype::kPivotCacheRecords)) {
    m_package.Remove(Relationships::ResolveTarget(m_partName, r.target));
    rels.Remove(r.id);
  }
  m_package.SetRelationshipsOf(m_partName, rels);
  QString idAttribute;
  RelationshipIdAttribute(root, &idAttribute);
  if (!idAttribute.isEmpty()) root.remove_attribute(idAttribute.toUtf8().constData());

  SetAttribute(root, "refreshOnLoad", QStringLiteral("1"));
  SetAttribute(root, "recordCount", QStringLiteral("0"));
  root.remove_attribute("upgradeOnRefresh");
  pugi::xml_node fields = Child(root, "cacheFields");
  for (pugi::xml_node field = fields.first_child(); field; field = field.next_sibling()) {
    if (field.type() != pugi::node_element) continue;
    pugi::xml_node items = Child(field, "sharedItems");
    if (items) {
      // No records: no items, and no statements about values (ranges, types) that no longer hold.
      items.remove_children();
      items.remove_attributes();
    }
    // Groups list items of their own by index; without items they would point at nothing.
    pugi::xml_node group = Child(field, "fieldGroup");
    if (group) field.remove_child(group);
  }
}

void PivotCacheDefinition::Save() {
  m_package.SetData(m_partName, SerializeXml(m_doc));
}

}  // namespace tarno::xlsx
