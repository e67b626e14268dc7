// Reading saved packages and running the external checkers for the workbook layer's tests.
#include "xlsx/XlsxTestSupport.h"

#include <zip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "common/TestSupport.h"

namespace tarno::xlsx::test {

QByteArray ReadPart(const QString& packagePath, const QString& partName) {
  int error = 0;
  zip_t* zip = zip_open(QFile::encodeName(packagePath).constData(), ZIP_RDONLY, &error);
  if (!zip) return {};
  QByteArray data;
  zip_stat_t stat;
  if (zip_stat(zip, partName.toUtf8().constData(), 0, &stat) == 0) {
    data.resize(static_cast<qsizetype>(stat.size));
    zip_file_t* file = zip_fopen(zip, partName.toUtf8().constData(), 0);
    if (file) {
      zip_fread(file, data.data(), stat.size);
      zip_fclose(file);
    }
  }
  zip_discard(zip);
  return data;
}

QStringList PartNames(const QString& packagePath) {
  QStringList names;
  int error = 0;
  zip_t* zip = zip_open(QFile::encodeName(packagePath).constData(), ZIP_RDONLY, &error);
  if (!zip) return names;
  for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
    names.append(QString::fromUtf8(zip_get_name(zip, static_cast<zip_uint64_t>(i), 0)));
  }
  zip_discard(zip);
  return names;
}

bool HasPart(const QString& packagePath, const QString& partName) {
  return PartNames(packagePath).contains(partName);
}

void LoadPart(pugi::xml_document& doc, const QString& packagePath, const QString& partName) {
  const QByteArray data = ReadPart(packagePath, partName);
  doc.load_buffer(data.constData(), static_cast<size_t>(data.size()));
}

QString OpenpyxlLoadError(const QString& path, bool* available) {
  static const bool installed = [] {
    QProcess probe;
    probe.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral("-c"), QStringLiteral("import openpyxl")});
    probe.waitForFinished(60000);
    return probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
  }();
  *available = installed;
  if (!*available) return {};
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"),
                QStringLiteral("import sys, openpyxl; openpyxl.load_workbook(sys.argv[1])"), path});
  python.waitForFinished(120000);
  if (python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0) return {};
  return QString::fromUtf8(python.readAllStandardError());
}

bool SofficeAvailable() {
  return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty();
}

QString SofficeSheetCsv(const QString& path, int sheetIndex, const QString& workFolder) {
  if (!SofficeAvailable()) return {};
  const QString profile = QDir(workFolder).filePath(QStringLiteral("profile"));
  QProcess soffice;
  soffice.start(
      QStringLiteral("soffice"),
      {QStringLiteral("-env:UserInstallation=file://") + profile, QStringLiteral("--headless"),
       QStringLiteral("--convert-to"),
       QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,%1")
           .arg(sheetIndex),
       QStringLiteral("--outdir"), workFolder, path});
  soffice.waitForFinished(300000);
  const QDir folder(workFolder);
  for (const QString& name : folder.entryList({QStringLiteral("*.csv")}, QDir::Files)) {
    QFile file(folder.filePath(name));
    if (file.open(QIODevice::ReadOnly)) return QString::fromUtf8(file.readAll());
  }
  return {};
}

QString TemplatePath(const QString& fileName) {
  return tarno::test::BinaryPath(QStringLiteral("bin/RPT/") + fileName);
}

}  // namespace tarno::xlsx::test
