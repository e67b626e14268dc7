// The workbook part ("xl/workbook.xml") with its sheets, defined names and views, and the parts every
// workbook shares (shared strings, styles). Sheets are parsed when first used; a sheet never touched
// is saved byte for byte as it was read.
#include "xlsx/Workbook.h"

#include <QDir>
#include <QRegularExpression>
#include <cstring>

#include "context/Errors.h"
#include "xlsx/Package.h"
#include "xlsx/SharedStrings.h"
#include "xlsx/Styles.h"
#include "xlsx/XmlText.h"

namespace tarno::xlsx {
namespace {
constexpr const char* kMainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelNamespace = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// The relationship id of an element (r:id, whatever the prefix of the relationships namespace).
QString RelationshipId(const pugi::xml_node& node) {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
    const char* name = a.name();
    const char* colon = std::strchr(name, ':');
    if (colon && std::strcmp(colon + 1, "id") == 0) return Text(a.value());
  }
  return {};
}

// Workbook children in schema order; a new child goes before the first later one present.
constexpr const char* kWorkbookOrder[] = {"fileVersion",    "fileSharing",
                                          "workbookPr",     "workbookProtection",
                                          "bookViews",      "sheets",
                                          "functionGroups", "externalReferences",
                                          "definedNames",   "calcPr",
                                          "oleSize",        "customWorkbookViews",
                                          "pivotCaches",    "smartTagPr",
                                          "smartTagTypes",  "webPublishing",
                                          "fileRecoveryPr", "webPublishObjects",
                                          "extLst"};

pugi::xml_node WorkbookSection(pugi::xml_node root, const char* name) {
  pugi::xml_node found = Child(root, name);
  if (found) return found;
  bool after = false;
  for (const char* section : kWorkbookOrder) {
    if (after) {
      pugi::xml_node next = Child(root, section);
      if (next) return root.insert_child_before(name, next);
    }
    if (std::strcmp(section, name) == 0) after = true;
  }
  return root.append_child(name);
}

void CheckSheetName(const QString& name) {
  static const QRegularExpression forbidden(QStringLiteral("[\\[\\]:*?/\\\\]"));
  if (name.isEmpty() || name.size() > 31 || forbidden.match(name).hasMatch()) {
    throw OutputError(QStringLiteral("\"%1\" cannot be a worksheet name: it must have 1 to 31 characters "
                                     "and none of [ ] : * ? / \\.")
                          .arg(name));
  }
}
}  // namespace

struct Workbook::Private {
  Package package;
  QString workbookPart;
  pugi::xml_document doc;
  Relationships rels;
  SharedStrings strings;
  QString stringsPart;
  Styles styles;
  QString stylesPart;
  struct SheetEntry {
    QString name;
    QString partName;
    std::unique_ptr<Worksheet> sheet;  // parsed on first use
    bool streamed = false;             // content replaced by a file
  };
  std::vector<SheetEntry> sheets;

  pugi::xml_node Root() { return doc.document_element(); }
  void ReadSheets() {
    sheets.clear();
    for (pugi::xml_node s = Child(Child(Root(), "sheets"), "sheet"); s; s = s.next_sibling()) {
      if (std::strcmp(LocalName(s), "sheet") != 0) continue;
      const Relationship* rel = rels.FindById(RelationshipId(s));
      SheetEntry entry;
      entry.name = AttributeText(s, "name");
      entry.partName = rel ? Relationships::ResolveTarget(workbookPart, rel->target) : QString();
      sheets.push_back(std::move(entry));
    }
  }
  Worksheet& Load(int index) {
    SheetEntry& entry = sheets[static_cast<size_t>(index)];
    if (entry.streamed) {
      throw OutputError(QStringLiteral("The worksheet %1 was written as a stream and cannot be edited again.")
                            .arg(entry.name));
    }
    if (!entry.sheet) {
      if (entry.partName.isEmpty() || !package.Contains(entry.partName)) {
        throw OutputError(
            QStringLiteral("The worksheet %1 has no content in the workbook (it may be a chart sheet).")
                .arg(entry.name));
      }
      entry.sheet = std::make_unique<Worksheet>(entry.name, package.Data(entry.partName), strings, styles);
    }
    return *entry.sheet;
  }
};

Workbook::Workbook(std::unique_ptr<Private> p) : d(std::move(p)) {}
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

Workbook Workbook::Open(const QString& path) {
  auto p = std::make_unique<Private>();
  p->package = Package::Read(path);
  const QVector<Relationship> main = p->package.RelationshipsOf(QString()).OfType(reltype::kOfficeDocument);
  if (main.isEmpty() || !p->package.Contains(Relationships::ResolveTarget(QString(), main.first().target))) {
    throw OutputError(QStringLiteral("The file %1 is not a workbook: it has no workbook part.")
                          .arg(QDir::toNativeSeparators(path)));
  }
  p->workbookPart = Relationships::ResolveTarget(QString(), main.first().target);
  ParseXml(p->doc, p->package.Data(p->workbookPart), p->workbookPart);
  p->rels = p->package.RelationshipsOf(p->workbookPart);
  for (const Relationship& r : p->rels.OfType(reltype::kSharedStrings)) {
    p->stringsPart = Relationships::ResolveTarget(p->workbookPart, r.target);
    if (p->package.Contains(p->stringsPart)) p->strings = SharedStrings(p->package.Data(p->stringsPart));
  }
  for (const Relationship& r : p->rels.OfType(reltype::kStyles)) {
    p->stylesPart = Relationships::ResolveTarget(p->workbookPart, r.target);
    if (p->package.Contains(p->stylesPart)) p->styles = Styles(p->package.Data(p->stylesPart));
  }
  p->ReadSheets();
  return Workbook(std::move(p));
}

Workbook Workbook::CreateNew(const QString& firstSheetName) {
  CheckSheetName(firstSheetName);
  auto p = std::make_unique<Private>();
  p->workbookPart = QStringLiteral("xl/workbook.xml");
  Relationships packageRels;
  packageRels.Add(reltype::kOfficeDocument, p->workbookPart);
  p->package.SetRelationshipsOf(QString(), packageRels);
  p->package.Types().SetOverride(p->workbookPart, media::kWorkbook);

  pugi::xml_node root = p->doc.append_child("workbook");
  root.append_attribute("xmlns") = kMainNamespace;
  root.append_attribute("xmlns:r") = kRelNamespace;
  root.append_child("bookViews").append_child("workbookView").append_attribute("activeTab") = "0";
  root.append_child("sheets");
  root.append_child("calcPr").append_attribute("calcId") = "191029";

  p->stylesPart = QStringLiteral("xl/styles.xml");
  p->rels.Add(reltype::kStyles, QStringLiteral("styles.xml"));
  p->package.SetData(p->stylesPart, p->styles.ToXml(), media::kStyles);
  Workbook workbook(std::move(p));
  workbook.AddSheet(firstSheetName);
  return workbook;
}

int Workbook::SheetCount() const {
  return static_cast<int>(d->sheets.size());
}

QString Workbook::SheetName(int index) const {
  return index >= 0 && index < SheetCount() ? d->sheets[static_cast<size_t>(index)].name : QString();
}

int Workbook::SheetIndex(const QString& name) const {
  for (int i = 0; i < SheetCount(); ++i) {
    if (d->sheets[static_cast<size_t>(i)].name.compare(name, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

Worksheet& Workbook::Sheet(int index) {
  if (index < 0 || index >= SheetCount()) {
    throw OutputError(QStringLiteral("The workbook has no worksheet number %1; it has %2.")
                          .arg(index + 1)
                          .arg(SheetCount()));
  }
  return d->Load(index);
}

Worksheet& Workbook::Sheet(const QString& name) {
  const int index = SheetIndex(name);
  if (index < 0) throw OutputError(QStringLiteral("The workbook has no worksheet named \"%1\".").arg(name));
  return d->Load(index);
}

Worksheet& Workbook::AddSheet(const QString& name) {
  CheckSheetName(name);
  if (SheetIndex(name) >= 0)
    throw OutputError(QStringLiteral("The workbook already has a worksheet named \"%1\".").arg(name));
  int number = SheetCount() + 1;
  QString partName;
  do {
    partName = QStringLiteral("xl/worksheets/sheet%1.xml").arg(number++);
  } while (d->package.Contains(partName));
  d->package.SetData(partName, QByteArray(), media::kWorksheet);
  const QString id =
      d->rels.Add(reltype::kWorksheet, Relationships::RelativeTarget(d->workbookPart, partName));
  pugi::xml_node sheets = WorkbookSection(d->Root(), "sheets");
  long long sheetId = 0;
  for (pugi::xml_node s = sheets.first_child(); s; s = s.next_sibling()) {
    sheetId = qMax(sheetId, s.attribute("sheetId").as_llong());
  }
  pugi::xml_node sheet = sheets.append_child("sheet");
  SetAttribute(sheet, "name", name);
  SetAttribute(sheet, "sheetId", sheetId + 1);
  SetAttribute(sheet, "r:id", id);
  Private::SheetEntry entry;
  entry.name = name;
  entry.partName = partName;
  entry.sheet = std::make_unique<Worksheet>(name, QByteArray(), d->strings, d->styles);
  entry.sheet->MarkModified();
  d->sheets.push_back(std::move(entry));
  return *d->sheets.back().sheet;
}

QString Workbook::ActiveSheet() const {
  const int tab =
      Child(Child(d->doc.document_element(), "bookViews"), "workbookView").attribute("activeTab").as_int();
  return SheetName(tab);
}

void Workbook::SetActiveSheet(const QString& name) {
  const int index = SheetIndex(name);
  if (index < 0) throw OutputError(QStringLiteral("The workbook has no worksheet named \"%1\".").arg(name));
  pugi::xml_node views = WorkbookSection(d->Root(), "bookViews");
  pugi::xml_node view = Child(views, "workbookView");
  if (!view) view = views.append_child("workbookView");
  SetAttribute(view, "activeTab", static_cast<long long>(index));
  // The first visible tab must not lie after the active one.
  if (view.attribute("firstSheet").as_int() > index)
    SetAttribute(view, "firstSheet", static_cast<long long>(index));
  // Only the active sheet's tab is selected; several selected tabs would group the sheets.
  for (int i = 0; i < SheetCount(); ++i) {
    auto& entry = d->sheets[static_cast<size_t>(i)];
    if (entry.streamed || entry.partName.isEmpty() || !d->package.Contains(entry.partName)) continue;
    d->Load(i).SetTabSelected(i == index);
  }
}

QStringList Workbook::DefinedNames() const {
  QStringList names;
  for (pugi::xml_node n = Child(Child(d->doc.document_element(), "definedNames"), "definedName"); n;
       n = n.next_sibling()) {
    names.append(AttributeText(n, "name"));
  }
  return names;
}

QString Workbook::DefinedName(const QString& name) const {
  QString local;
  for (pugi::xml_node n = Child(Child(d->doc.document_element(), "definedNames"), "definedName"); n;
       n = n.next_sibling()) {
    if (AttributeText(n, "name").compare(name, Qt::CaseInsensitive) != 0) continue;
    if (!n.attribute("localSheetId")) return Text(n.text().get());
    if (local.isEmpty()) local = Text(n.text().get());
  }
  return local;
}

void Workbook::SetDefinedName(const QString& name, const QString& formula) {
  pugi::xml_node names = WorkbookSection(d->Root(), "definedNames");
  pugi::xml_node target;
  for (pugi::xml_node n = names.first_child(); n; n = n.next_sibling()) {
    if (AttributeText(n, "name").compare(name, Qt::CaseInsensitive) != 0) continue;
    if (!target || !n.attribute("localSheetId")) target = n;
  }
  if (!target) {
    target = names.append_child("definedName");
    SetAttribute(target, "name", name);
  }
  target.text().set(formula.toUtf8().constData());
}

Package& Workbook::Parts() {
  return d->package;
}

QString Workbook::SheetPartName(int index) const {
  return index >= 0 && index < SheetCount() ? d->sheets[static_cast<size_t>(index)].partName : QString();
}

void Workbook::ReplaceSheetXmlWithFile(int index, const QString& filePath) {
  auto& entry = d->sheets.at(static_cast<size_t>(index));
  entry.sheet.reset();
  entry.streamed = true;
  d->package.SetFile(entry.partName, filePath);
}

SharedStrings& Workbook::Strings() {
  return d->strings;
}
Styles& Workbook::CellStyles() {
  return d->styles;
}
QString Workbook::WorkbookPartName() const {
  return d->workbookPart;
}
pugi::xml_document& Workbook::WorkbookDocument() {
  return d->doc;
}
Relationships& Workbook::WorkbookRelationships() {
  return d->rels;
}
pugi::xml_node Workbook::WorkbookElement(const char* localName) {
  return WorkbookSection(d->Root(), localName);
}

void Workbook::SaveAs(const QString& path) {
  for (auto& entry : d->sheets) {
    if (entry.sheet && entry.sheet->IsModified()) d->package.SetData(entry.partName, entry.sheet->ToXml());
  }
  if (d->strings.IsModified()) {
    if (d->stringsPart.isEmpty()) {
      d->stringsPart = Relationships::ResolveTarget(d->workbookPart, QStringLiteral("sharedStrings.xml"));
      d->rels.Add(reltype::kSharedStrings, Relationships::RelativeTarget(d->workbookPart, d->stringsPart));
    }
    d->package.SetData(d->stringsPart, d->strings.ToXml(), media::kSharedStrings);
  }
  if (d->styles.IsModified() || d->stylesPart.isEmpty()) {
    if (d->stylesPart.isEmpty()) {
      d->stylesPart = Relationships::ResolveTarget(d->workbookPart, QStringLiteral("styles.xml"));
      d->rels.Add(reltype::kStyles, Relationships::RelativeTarget(d->workbookPart, d->stylesPart));
    }
    d->package.SetData(d->stylesPart, d->styles.ToXml(), media::kStyles);
  }
  d->package.SetData(d->workbookPart, SerializeXml(d->doc));
  d->package.SetRelationshipsOf(d->workbookPart, d->rels);
  d->package.Write(path);
}

}  // namespace tarno::xlsx
