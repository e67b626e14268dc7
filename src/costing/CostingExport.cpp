// Choosing an export device by extension, and the page file names of multi-page devices.
#include "costing/CostingExport.h"

#include <QFileInfo>
#include <QSaveFile>

#include "context/Errors.h"

namespace tarno::costing {

namespace {

struct DeviceEntry {
  CostingDevice device;
  const char* extension;  // lower case, without the dot
  const char* filter;
};

constexpr DeviceEntry kDevices[] = {
    {CostingDevice::Pdf, "pdf", "PDF document (*.pdf)"},
    {CostingDevice::Html, "html", "HTML pages (*.html)"},
    {CostingDevice::Xlsx, "xlsx", "Excel workbook (*.xlsx)"},
    {CostingDevice::Png, "png", "PNG images (*.png)"},
    {CostingDevice::Text, "txt", "Plain text (*.txt)"},
};

}  // namespace

CostingDevice CostingDeviceForFile(const QString& path) {
  const QString extension = QFileInfo(path).suffix().toLower();
  for (const DeviceEntry& entry : kDevices) {
    if (extension == QLatin1String(entry.extension)) return entry.device;
  }
  throw UsageError(QStringLiteral("The costing report cannot be exported to '%1': the file name must end in "
                                  ".pdf, .html, .xlsx, .png or .txt.")
                       .arg(path));
}

QStringList CostingExportFilters() {
  QStringList filters;
  for (const DeviceEntry& entry : kDevices) filters.append(QString::fromLatin1(entry.filter));
  return filters;
}

QString CostingPageFileName(const QString& target, int index) {
  if (index == 0) return target;
  const QFileInfo info(target);
  const QString base = info.completeBaseName() + QString::number(index + 1);
  const QString name = info.suffix().isEmpty() ? base : base + u'.' + info.suffix();
  // Same folder as the target, spelt as the target spells it.
  const qsizetype slash = target.lastIndexOf(u'/');
  return slash < 0 ? name : target.left(slash + 1) + name;
}

QStringList WriteCostingPageFiles(const CostingReport& report, const QString& path,
                                  const std::function<bool(int page, QIODevice& file)>& writePage) {
  QStringList written;
  for (int i = 0; i < report.PageCount(); ++i) {
    const QString name = CostingPageFileName(path, i);
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || !writePage(i, file) || !file.commit())
      throw OutputError(QStringLiteral("Page %1 of the costing report could not be written to '%2': %3.")
                            .arg(i + 1)
                            .arg(name, file.errorString()));
    written.append(name);
  }
  return written;
}

QStringList ExportCostingReport(const CostingReport& report, const QString& path) {
  switch (CostingDeviceForFile(path)) {
    case CostingDevice::Pdf:
      return WriteCostingPdf(report, path);
    case CostingDevice::Html:
      return WriteCostingHtml(report, path);
    case CostingDevice::Xlsx:
      return WriteCostingXlsx(report, path);
    case CostingDevice::Png:
      return WriteCostingPng(report, path);
    case CostingDevice::Text:
      return WriteCostingText(report, path);
  }
  return {};
}

}  // namespace tarno::costing
