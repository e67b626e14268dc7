// The last steps of a workbook-mode run for the pivot kinds: the pivot form filled and its
// workbook saved under the reports root, or its grid written as CSV; every written file recorded
// and offered to the operator. Kinds 8 and 9 go to the mapped outputs.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "context/Errors.h"
#include "context/Settings.h"
#include "context/TextUtils.h"
#include "context/UserInterface.h"
#include "dialog/ReportSession.h"
#include "outputs/ExportGridToCsv.h"
#include "outputs/TFormTarnoExel.h"

namespace tarno {
namespace {

QString ReportTitle(const QString& companyTitle, const QString& periodFrom, const QString& periodTo) {
  const QString start = QStringLiteral("Payroll Register Report for ") + companyTitle;
  if (periodFrom != periodTo)
    return start + QStringLiteral(" From Period : ") + periodFrom + QStringLiteral(" To ") + periodTo;
  return start + QStringLiteral(" as at Period : ") + periodFrom;
}

// Creates the folder (and its parents) unless it exists; a failure names the folder.
void MakeFolder(const QString& folder) {
  if (QFileInfo(folder).isDir()) return;
  if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
    throw OutputError(
        QStringLiteral("The reports folder '%1' cannot be created.").arg(QDir::toNativeSeparators(folder)));
}

void RecordAndOffer(const QString& path) {
  RecordWrittenFile(path);
  CurrentUserInterface().OfferToOpen(path);
}

}  // namespace

void ReportSession::ProduceOutputs(const QString& periodFrom, const QString& periodTo) {
  const int kind = m_state.ReportKind();
  if (kind >= 8) {
    ProduceMappedOutputs(periodFrom, periodTo);
    return;
  }
  // A typed text that names no report has no template; its text must not become a file name.
  if (kind < 0 || m_state.ReportKindValue().isEmpty())
    throw OutputError(QStringLiteral("Unknown report kind '%1'. Choose one of the listed report kinds.")
                          .arg(m_state.ReportKindText()));

  // 12. The pivot form, its title and its query over the range.
  outputs::TFormTarnoExel form(m_dm.AdsConnection1, m_state, m_dm.Context.UserId());
  form.xlReport.parameters.insert(QStringLiteral("StartDate"),
                                  ReportTitle(m_dm.Context.CompanyTitle(), periodFrom, periodTo));
  form.qryAll.SetParam(QStringLiteral("PERIOD1"), periodFrom);
  form.qryAll.SetParam(QStringLiteral("PERIOD2"), periodTo);
  form.qryAll.Open();

  // 13. The reports root, the company's folder and the report folder.
  const QString company = m_dm.Company();
  const QString outputFolder = ReportOutputFolder(company, m_dm.Context.ReportFolderNo());
  MakeFolder(ReportsRoot());
  MakeFolder(ReportsRoot() + u'/' + CleanCompanyName(company));
  MakeFolder(outputFolder);

  // 14. The earlier workbook of this report goes first; a file that cannot be deleted is left
  // for the save below to replace.
  const QString base = outputFolder + u'/' + m_state.ReportKindText();
  const QString workbookPath = base + QStringLiteral(".xlsx");
  QFile::remove(workbookPath);

  // 15. The workbook, or the grid as CSV.
  if (m_state.ExportCsv()) {
    const QString csvPath = base + QStringLiteral(".csv");
    ShowMessage(QStringLiteral("Prepare CSV file!"));
    outputs::ExportGridToCsv(1, &form.WWDBGrid1, csvPath);
    ShowMessage(QStringLiteral("- EXPORTS CSV FORMAT COMPLETED"));
    RecordAndOffer(csvPath);
  } else {
    const xlsx::FillResult result = form.SaveReport(workbookPath);
    for (const QString& warning : result.warnings) ShowWarning(warning);
    RecordAndOffer(workbookPath);
  }
  form.qryAll.Close();
}

}  // namespace tarno
