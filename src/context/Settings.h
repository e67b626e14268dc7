// Where the module writes and reads its files.
// Reports root: set explicitly (the launcher's --reports-root), else $TARNO_REPORTS, else
// "C:\REPORTS" on Windows and "~/REPORTS" elsewhere. Templates folder ("RPT" beside the host
// program): set explicitly (--templates), else $TARNO_RPT, else RPT/ beside the running program.
#pragma once

#include <QString>

namespace tarno {

void SetReportsRoot(const QString& folder);  // empty: back to the default rule
QString ReportsRoot();
void SetTemplatesFolder(const QString& folder);
QString TemplatesFolder();
// The folder of the host's executable (VARDO.Ini is read there).
QString HostProgramFolder();

// ReportOutputFolder: reports root + cleaned company name + report folder number.
QString ReportOutputFolder(const QString& company, int reportFolderNo);

}  // namespace tarno
