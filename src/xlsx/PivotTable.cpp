// Pivot table definitions: reading their field layout, emptying their items, and writing new ones.
#include "xlsx/PivotTable.h"

#include <cstring>

#include "context/Errors.h"
#include "xlsx/CellReference.h"
#include "xlsx/Package.h"
#include "xlsx/Relationships.h"
#include "xlsx/Workbook.h"
#include "xlsx/XmlText.h"

namespace tarno::xlsx {
namespace {
constexpr const char* kMainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelNamespace = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

QList<int> FieldList(const pugi::xml_node& root, const char* list, const char* item, const char* attribute) {
  QList<int> fields;
  for (pugi::xml_node f = Child(Child(root, list), item); f; f = f.next_sibling()) {
    if (std::strcmp(LocalName(f), item) == 0) fields.append(f.attribute(attribute).as_int());
  }
  return fields;
}

// "<i t="grand"><x/></i>": the one line a table without items shows.
void GrandTotalOnly(pugi::xml_node list) {
  list.remove_children();
  pugi::xml_node i = list.append_child("i");
  i.append_attribute("t") = "grand";
  i.append_child("x");
  SetAttribute(list, "count", QStringLiteral("1"));
}
}  // namespace

PivotTableDefinition::PivotTableDefinition(Package& package, const QString& partName)
    : m_package(package), m_partName(partName) {
  ParseXml(m_doc, package.Data(partName), partName);
}

QStringList PivotTableDefinition::PartsUsingCache(const Package& package, const QString& cachePart) {
  QStringList tables;
  for (const QString& part : package.PartNames()) {
    if (package.Types().TypeOf(part) != QLatin1String(media::kPivotTable)) continue;
    for (const Relationship& r : package.RelationshipsOf(part).OfType(reltype::kPivotCacheDefinition)) {
      if (Relationships::ResolveTarget(part, r.target).compare(cachePart, Qt::CaseInsensitive) == 0) {
        tables.append(part);
      }
    }
  }
  return tables;
}

QString PivotTableDefinition::Name() const {
  return AttributeText(m_doc.document_element(), "name");
}
QList<int> PivotTableDefinition::RowFields() const {
  return FieldList(m_doc.document_element(), "rowFields", "field", "x");
}
QList<int> PivotTableDefinition::ColumnFields() const {
  return FieldList(m_doc.document_element(), "colFields", "field", "x");
}
QList<int> PivotTableDefinition::DataFields() const {
  return FieldList(m_doc.document_element(), "dataFields", "dataField", "fld");
}

void PivotTableDefinition::ClearItems() {
  pugi::xml_node root = m_doc.document_element();
  for (pugi::xml_node field = Child(Child(root, "pivotFields"), "pivotField"); field;
       field = field.next_sibling()) {
    pugi::xml_node items = Child(field, "items");
    if (!items) continue;
    // Keep the default (subtotal) item only when the field shows one; items with an "x" refer to
    // shared items of the cache, which is now empty.
    bool hasDefault = false;
    for (pugi::xml_node item = items.first_child(); item; item = item.next_sibling()) {
      if (std::string_view(item.attribute("t").value()) == "default") hasDefault = true;
    }
    items.remove_children();
    if (hasDefault) {
      items.append_child("item").append_attribute("t") = "default";
      SetAttribute(items, "count", QStringLiteral("1"));
    } else {
      field.remove_child(items);
    }
  }
  const QList<int> rows = RowFields();
  const QList<int> columns = ColumnFields();
  auto hasItemField = [](const QList<int>& fields) {
    for (int f : fields) {
      if (f >= 0) return true;
    }
    return false;
  };
  if (hasItemField(rows))
    GrandTotalOnly(Child(root, "rowItems") ? Child(root, "rowItems")
                                           : root.insert_child_after("rowItems", Child(root, "rowFields")));
  if (hasItemField(columns))
    GrandTotalOnly(Child(root, "colItems") ? Child(root, "colItems")
                                           : root.insert_child_after("colItems", Child(root, "colFields")));
  for (pugi::xml_node page = Child(Child(root, "pageFields"), "pageField"); page;
       page = page.next_sibling()) {
    page.remove_attribute("item");
  }
}

void PivotTableDefinition::Save() {
  m_package.SetData(m_partName, SerializeXml(m_doc));
}

void AddPivotTable(Workbook& workbook, const PivotTableLayout& layout) {
  const int sheetIndex = workbook.SheetIndex(layout.sheetName);
  if (sheetIndex < 0)
    throw OutputError(QStringLiteral("The workbook has no worksheet named \"%1\".").arg(layout.sheetName));
  Package& package = workbook.Parts();

  int number = 1;
  while (package.Contains(QStringLiteral("xl/pivotCache/pivotCacheDefinition%1.xml").arg(number)) ||
         package.Contains(QStringLiteral("xl/pivotTables/pivotTable%1.xml").arg(number))) {
    ++number;
  }
  const QString cachePart = QStringLiteral("xl/pivotCache/pivotCacheDefinition%1.xml").arg(number);
  const QString tablePart = QStringLiteral("xl/pivotTables/pivotTable%1.xml").arg(number);

  // The cache: source by name, one field per header, no records; rebuilt when the workbook opens.
  pugi::xml_document cache;
  pugi::xml_node c = cache.append_child("pivotCacheDefinition");
  c.append_attribute("xmlns") = kMainNamespace;
  c.append_attribute("xmlns:r") = kRelNamespace;
  c.append_attribute("refreshOnLoad") = "1";
  c.append_attribute("createdVersion") = "3";
  c.append_attribute("refreshedVersion") = "3";
  c.append_attribute("minRefreshableVersion") = "3";
  c.append_attribute("recordCount") = "0";
  pugi::xml_node source = c.append_child("cacheSource");
  source.append_attribute("type") = "worksheet";
  SetAttribute(source.append_child("worksheetSource"), "name", layout.sourceName);
  pugi::xml_node fields = c.append_child("cacheFields");
  SetAttribute(fields, "count", static_cast<long long>(layout.fieldNames.size()));
  for (const QString& name : layout.fieldNames) {
    pugi::xml_node field = fields.append_child("cacheField");
    SetAttribute(field, "name", name);
    field.append_attribute("numFmtId") = "0";
    field.append_child("sharedItems");
  }
  package.SetData(cachePart, SerializeXml(cache), media::kPivotCacheDefinition);

  // The workbook lists the cache with an id unique among its caches.
  pugi::xml_node caches = workbook.WorkbookElement("pivotCaches");
  long long cacheId = 0;
  for (pugi::xml_node pc = caches.first_child(); pc; pc = pc.next_sibling()) {
    cacheId = qMax(cacheId, pc.attribute("cacheId").as_llong() + 1);
  }
  const QString cacheRel = workbook.WorkbookRelationships().Add(
      reltype::kPivotCacheDefinition, Relationships::RelativeTarget(workbook.WorkbookPartName(), cachePart));
  pugi::xml_node pc = caches.append_child("pivotCache");
  SetAttribute(pc, "cacheId", cacheId);
  SetAttribute(pc, "r:id", cacheRel);

  // The table: rows, columns and one summed data field; items empty until the cache is built.
  pugi::xml_document table;
  pugi::xml_node t = table.append_child("pivotTableDefinition");
  t.append_attribute("xmlns") = kMainNamespace;
  SetAttribute(t, "name", layout.tableName);
  SetAttribute(t, "cacheId", cacheId);
  t.append_attribute("applyNumberFormats") = "0";
  t.append_attribute("applyBorderFormats") = "0";
  t.append_attribute("applyFontFormats") = "0";
  t.append_attribute("applyPatternFormats") = "0";
  t.append_attribute("applyAlignmentFormats") = "0";
  t.append_attribute("applyWidthHeightFormats") = "1";
  t.append_attribute("dataCaption") = "Values";
  t.append_attribute("updatedVersion") = "3";
  t.append_attribute("minRefreshableVersion") = "3";
  t.append_attribute("createdVersion") = "3";
  t.append_attribute("useAutoFormatting") = "1";
  t.append_attribute("itemPrintTitles") = "1";
  t.append_attribute("indent") = "0";
  t.append_attribute("outline") = "1";
  t.append_attribute("outlineData") = "1";
  const CellAddress anchor = RequireCellAddress(layout.anchorCell);
  const bool hasColumns = !layout.columnFields.isEmpty();
  const CellAddress last{anchor.row + (hasColumns ? 2 : 1), anchor.column + 1};
  pugi::xml_node location = t.append_child("location");
  SetAttribute(location, "ref", anchor.ToString() + u':' + last.ToString());
  location.append_attribute("firstHeaderRow") = "1";
  location.append_attribute("firstDataRow") = hasColumns ? "2" : "1";
  location.append_attribute("firstDataCol") = "1";
  pugi::xml_node pivotFields = t.append_child("pivotFields");
  SetAttribute(pivotFields, "count", static_cast<long long>(layout.fieldNames.size()));
  for (int i = 0; i < layout.fieldNames.size(); ++i) {
    pugi::xml_node field = pivotFields.append_child("pivotField");
    const bool onRows = layout.rowFields.contains(i);
    const bool onColumns = layout.columnFields.contains(i);
    if (onRows || onColumns) field.append_attribute("axis") = onRows ? "axisRow" : "axisCol";
    if (i == layout.dataField) field.append_attribute("dataField") = "1";
    field.append_attribute("showAll") = "0";
    if (onRows || onColumns) {
      pugi::xml_node items = field.append_child("items");
      items.append_attribute("count") = "1";
      items.append_child("item").append_attribute("t") = "default";
    }
  }
  auto addFieldList = [&](const char* listName, const char* itemsName, const QList<int>& list) {
    if (list.isEmpty()) return;
    pugi::xml_node l = t.append_child(listName);
    SetAttribute(l, "count", static_cast<long long>(list.size()));
    for (int f : list) SetAttribute(l.append_child("field"), "x", static_cast<long long>(f));
    GrandTotalOnly(t.append_child(itemsName));
  };
  addFieldList("rowFields", "rowItems", layout.rowFields);
  if (layout.rowFields.isEmpty()) {
    pugi::xml_node rowItems = t.append_child("rowItems");
    rowItems.append_attribute("count") = "1";
    rowItems.append_child("i");
  }
  addFieldList("colFields", "colItems", layout.columnFields);
  if (layout.dataField >= 0) {
    pugi::xml_node dataFields = t.append_child("dataFields");
    dataFields.append_attribute("count") = "1";
    pugi::xml_node df = dataFields.append_child("dataField");
    SetAttribute(df, "name", layout.dataCaption);
    SetAttribute(df, "fld", static_cast<long long>(layout.dataField));
    df.append_attribute("baseField") = "0";
    df.append_attribute("baseItem") = "0";
    SetAttribute(df, "numFmtId", static_cast<long long>(layout.dataNumberFormatId));
  }
  pugi::xml_node style = t.append_child("pivotTableStyleInfo");
  style.append_attribute("name") = "PivotStyleLight16";
  style.append_attribute("showRowHeaders") = "1";
  style.append_attribute("showColHeaders") = "1";
  style.append_attribute("showRowStripes") = "0";
  style.append_attribute("showColStripes") = "0";
  style.append_attribute("showLastColumn") = "1";
  package.SetData(tablePart, SerializeXml(table), media::kPivotTable);

  Relationships tableRels;
  tableRels.Add(reltype::kPivotCacheDefinition, Relationships::RelativeTarget(tablePart, cachePart));
  package.SetRelationshipsOf(tablePart, tableRels);
  const QString sheetPart = workbook.SheetPartName(sheetIndex);
  Relationships sheetRels = package.RelationshipsOf(sheetPart);
  sheetRels.Add(reltype::kPivotTable, Relationships::RelativeTarget(sheetPart, tablePart));
  package.SetRelationshipsOf(sheetPart, sheetRels);
}

}  // namespace tarno::xlsx
