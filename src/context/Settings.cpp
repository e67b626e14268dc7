#include "context/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "context/TextUtils.h"

namespace tarno {
namespace {
QString g_reportsRoot;
QString g_templatesFolder;
}  // namespace

void SetReportsRoot(const QString& folder) {
  g_reportsRoot = folder;
}

QString ReportsRoot() {
  if (!g_reportsRoot.isEmpty()) return QDir::cleanPath(g_reportsRoot);
  const QString env = qEnvironmentVariable("TARNO_REPORTS");
  if (!env.isEmpty()) return QDir::cleanPath(env);
#ifdef Q_OS_WIN
  return QStringLiteral("C:/REPORTS");
#else
  return QDir::homePath() + QStringLiteral("/REPORTS");
#endif
}

void SetTemplatesFolder(const QString& folder) {
  g_templatesFolder = folder;
}

QString TemplatesFolder() {
  if (!g_templatesFolder.isEmpty()) return QDir::cleanPath(g_templatesFolder);
  const QString env = qEnvironmentVariable("TARNO_RPT");
  if (!env.isEmpty()) return QDir::cleanPath(env);
  return HostProgramFolder() + QStringLiteral("/RPT");
}

QString HostProgramFolder() {
  if (QCoreApplication::instance() != nullptr) return QCoreApplication::applicationDirPath();
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
}

QString ReportOutputFolder(const QString& company, int reportFolderNo) {
  return ReportsRoot() + u'/' + CleanCompanyName(company) + u'/' + QString::number(reportFolderNo);
}

}  // namespace tarno
