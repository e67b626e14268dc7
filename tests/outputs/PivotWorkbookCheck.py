"""Structural checks of a saved pivot workbook, run by the output tests with /usr/bin/python3.

Usage: PivotWorkbookCheck.py WORKBOOK.xlsx [TITLE]
Prints one JSON object: the problems found (empty when the package is sound), the data range of
"SourceRange", the number of its rows below the header that hold a value in the first column, the
active sheet, whether openpyxl loads the file, and whether some cell holds exactly TITLE.
"""
import json
import posixpath
import re
import sys
import zipfile
import xml.etree.ElementTree as ET

NS = {
    "m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main",
    "r": "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
    "pr": "http://schemas.openxmlformats.org/package/2006/relationships",
    "ct": "http://schemas.openxmlformats.org/package/2006/content-types",
}
REL_ID = "{%s}id" % NS["r"]


def rels_of(part):
    folder, name = posixpath.split(part)
    return posixpath.join(folder, "_rels", name + ".rels")


def relationships(zf, part):
    """Id -> (type, resolved target) of a part's relationships."""
    path = rels_of(part)
    if path not in zf.namelist():
        return {}
    result = {}
    for rel in ET.fromstring(zf.read(path)).findall("pr:Relationship", NS):
        if rel.get("TargetMode") == "External":
            continue
        target = rel.get("Target")
        if target.startswith("/"):
            resolved = target[1:]
        else:
            resolved = posixpath.normpath(posixpath.join(posixpath.dirname(part), target))
        result[rel.get("Id")] = (rel.get("Type"), resolved)
    return result


def check(path, title=None):
    problems = []
    report = {"problems": problems}
    zf = zipfile.ZipFile(path)
    names = set(zf.namelist())

    # Content types name every part, and name no missing part.
    types = ET.fromstring(zf.read("[Content_Types].xml"))
    defaults = {d.get("Extension").lower() for d in types.findall("ct:Default", NS)}
    overrides = {o.get("PartName").lstrip("/") for o in types.findall("ct:Override", NS)}
    for name in names:
        if name == "[Content_Types].xml" or name.endswith("/"):
            continue
        if name not in overrides and name.rsplit(".", 1)[-1].lower() not in defaults:
            problems.append("no content type for part %s" % name)
    for name in overrides - names:
        problems.append("content type for missing part %s" % name)

    # Every relationship target exists.
    for rels in [n for n in names if n.endswith(".rels")]:
        source = posixpath.join(posixpath.dirname(posixpath.dirname(rels)), posixpath.basename(rels)[:-5])
        if rels == "_rels/.rels":
            source = ""
        for rid, (rtype, target) in relationships(zf, source).items():
            if target not in names:
                problems.append("%s: relationship %s points at missing part %s" % (rels, rid, target))

    # Sheets and the active one.
    workbook = ET.fromstring(zf.read("xl/workbook.xml"))
    wb_rels = relationships(zf, "xl/workbook.xml")
    sheets = [(s.get("name"), wb_rels.get(s.get(REL_ID), (None, None))[1])
              for s in workbook.findall("m:sheets/m:sheet", NS)]
    view = workbook.find("m:bookViews/m:workbookView", NS)
    active = int(view.get("activeTab", "0")) if view is not None else 0
    report["activeSheet"] = sheets[active][0] if active < len(sheets) else None
    if report["activeSheet"] != "Pivot":
        problems.append("active sheet is %s, not Pivot" % report["activeSheet"])

    # "SourceRange" and the rows it covers.
    source = None
    for dn in workbook.findall("m:definedNames/m:definedName", NS):
        if dn.get("name", "").lower() == "sourcerange" and dn.get("localSheetId") is None:
            source = dn.text
    report["sourceRange"] = source
    match = re.fullmatch(r"'?(.+?)'?!\$?([A-Z]+)\$?(\d+):\$?([A-Z]+)\$?(\d+)", source or "")
    if not match:
        problems.append("SourceRange is missing or not a range: %r" % source)
    else:
        sheet_name, first_col, first_row, _, last_row = match.groups()
        report["rangeRows"] = int(last_row) - int(first_row) + 1
        report["rangeFirstRow"] = int(first_row)
        report["rangeSheet"] = sheet_name

    # Pivot caches: source, records, field items within the shared items.
    for cache in workbook.findall("m:pivotCaches/m:pivotCache", NS):
        cache_part = wb_rels.get(cache.get(REL_ID), (None, None))[1]
        if cache_part not in names:
            problems.append("pivot cache part %s is missing" % cache_part)
            continue
        definition = ET.fromstring(zf.read(cache_part))
        ws_source = definition.find("m:cacheSource/m:worksheetSource", NS)
        if ws_source is None or ws_source.get("name") != "SourceRange":
            problems.append("%s: cache source is not SourceRange" % cache_part)
        report.setdefault("refreshOnLoad", []).append(definition.get("refreshOnLoad"))
        shared_counts = []
        for field in definition.findall("m:cacheFields/m:cacheField", NS):
            items = field.find("m:sharedItems", NS)
            shared_counts.append(0 if items is None else len(list(items)))
        report.setdefault("cacheFieldCounts", []).append(len(shared_counts))
        cache_id = cache.get("cacheId")
        # Pivot tables that use this cache.
        for name in names:
            if not re.fullmatch(r"xl/pivotTables/[^/]+\.xml", name):
                continue
            table = ET.fromstring(zf.read(name))
            if table.get("cacheId") != cache_id:
                continue
            fields = table.findall("m:pivotFields/m:pivotField", NS)
            if len(fields) != len(shared_counts):
                problems.append("%s: %d pivot fields for %d cache fields" % (name, len(fields), len(shared_counts)))
            for index, field in enumerate(fields):
                for item in field.findall("m:items/m:item", NS):
                    x = item.get("x")
                    if x is not None and index < len(shared_counts) and int(x) >= shared_counts[index]:
                        problems.append("%s: field %d item x=%s has no shared item" % (name, index, x))

    # openpyxl must load it, and the data rows are counted through it.
    try:
        import openpyxl
        book = openpyxl.load_workbook(path)
        report["openpyxl"] = "ok"
        if match:
            ws = book[report["rangeSheet"]]
            first = report["rangeFirstRow"]
            col = openpyxl.utils.column_index_from_string(match.group(2))
            last = first + report["rangeRows"] - 1
            report["filledRows"] = sum(1 for r in range(first + 1, last + 1)
                                       if ws.cell(row=r, column=col).value not in (None, ""))
        if title is not None:
            report["titleFound"] = any(cell.value == title for sheet in book.worksheets
                                       for row in sheet.iter_rows() for cell in row)
    except Exception as error:  # noqa: BLE001 - any failure to load is the finding
        report["openpyxl"] = "%s: %s" % (type(error).__name__, error)
        problems.append("openpyxl cannot load the workbook: %s" % error)
    return report


if __name__ == "__main__":
    try:
        print(json.dumps(check(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else None), default=str))
    except Exception as error:  # noqa: BLE001
        print(json.dumps({"problems": ["cannot read %s: %s" % (sys.argv[1], error)]}))
