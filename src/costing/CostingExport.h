// The export devices of the costing report, chosen by the target file's extension:
// .pdf (fonts embedded), .html (one file per page, "<<" and ">>" links), .xlsx (one sheet, lines
// grouped by cost centre), .png (one image per page at 96 dpi) and .txt (a 10 cpi / 6 lpi
// character grid, a form feed between pages).
//
// Multi-page devices name page 1 by the target and page N (N >= 2) by the target's base name
// followed by N and the extension: "out.html", "out2.html", ... Every file is written beside its
// target and renamed into place, so a failed export never leaves a half-written file.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;

#include "costing/CostingReport.h"

namespace tarno::costing {

enum class CostingDevice { Pdf, Html, Xlsx, Png, Text };

// The device for a target file; throws UsageError naming the file and the extensions supported.
CostingDevice CostingDeviceForFile(const QString& path);
// The extensions, as a file-dialog filter list ("PDF document (*.pdf)", ...), in device order.
QStringList CostingExportFilters();

// Writes the report with the device its extension names; returns every file written, in page order.
QStringList ExportCostingReport(const CostingReport& report, const QString& path);

// The file of page `index` (0-based) of a multi-page device.
QString CostingPageFileName(const QString& target, int index);
// Writes one file per page, each beside its target and renamed into place; writePage fills the
// page's file and answers false when it could not. Returns the files in page order.
QStringList WriteCostingPageFiles(const CostingReport& report, const QString& path,
                                  const std::function<bool(int page, QIODevice& file)>& writePage);

QStringList WriteCostingPdf(const CostingReport& report, const QString& path);
QStringList WriteCostingHtml(const CostingReport& report, const QString& path);
QStringList WriteCostingXlsx(const CostingReport& report, const QString& path);
QStringList WriteCostingPng(const CostingReport& report, const QString& path);
QStringList WriteCostingText(const CostingReport& report, const QString& path);

}  // namespace tarno::costing
