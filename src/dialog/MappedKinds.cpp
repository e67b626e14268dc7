// The run driver's steps for the variance (8) and year-to-date (9) kinds: EXCELMAP rebuilt and the
// RP_HTRX selection reopened before the period loop, RP_HTRX filled right after it, and in workbook
// mode the working template, the filled workbook and (kind 8) the variance workbook.
#include <QDir>
#include <QFile>

#include "context/Errors.h"
#include "context/Settings.h"
#include "context/UserInterface.h"
#include "dialog/ReportSession.h"
#include "extraction/CycleSelection.h"
#include "outputs/ExcelMapSummary.h"
#include "outputs/MappedTemplate.h"
#include "outputs/ReportHistoryFill.h"
#include "outputs/StatementPasswords.h"
#include "outputs/TFormTarnoExel2.h"
#include "outputs/VarianceWorkbook.h"

namespace tarno {
namespace {

QString TablePasswordFor(const TDataModule1& dm) {
  return dm.IsDictionary() ? QString() : TDataModule1::GetTablePassword();
}

}  // namespace

void ReportSession::PrepareMappedRun(const QString& periodFrom, const QString& periodTo) {
  const QString password = TablePasswordFor(m_dm);
  try {
    outputs::BuildExcelMapSummary({AdsQueryTbl, adsqryAW, password}, periodFrom, periodTo);
  } catch (const Error&) {
    // A failed rebuild leaves the map as far as it came; the run goes on with it.
  }
  AdsReportExcel.Close();
  AdsReportExcel.SetSQL({QStringLiteral("SELECT * FROM RP_HTRX")});
  outputs::GiveStatementPasswords(AdsReportExcel, {QStringLiteral("RP_HTRX")}, password);
  AdsReportExcel.SetIndexFieldNames(QStringLiteral("EMPCODE;PERIOD;CYCLE"));
  AdsReportExcel.Open();
  AdsQueryTbl.Close();
  AdsQueryTbl.Open();
}

void ReportSession::FillReportHistory(const QString& periodFrom, const QString& periodTo) {
  outputs::ReportHistoryRequest request;
  request.reportKind = m_state.ReportKind();
  request.periodFrom = periodFrom;
  request.periodTo = periodTo;
  request.userId = m_dm.Context.UserId();
  request.cycleLetters = extraction::BuildCycleSelection(m_state.CycleIndex(), m_state.IncludedSpecial(),
                                                         m_state.IncludedBonus());
  request.tablePassword = TablePasswordFor(m_dm);
  if (!AdsQueryTbl.IsOpen()) AdsQueryTbl.Open();
  outputs::FillReportHistory(m_dm.AdsConnection1, AdsQueryTbl, request);
}

void ReportSession::ProduceMappedOutputs(const QString& periodFrom, const QString& periodTo) {
  const int kind = m_state.ReportKind();
  const QString password = TablePasswordFor(m_dm);
  const QString templatePath = QDir(TemplatesFolder()).filePath(m_state.ReportKindValue());
  outputs::PreparedTemplate prepared =
      outputs::PrepareMappedTemplate(templatePath, AdsQueryTbl, kind, periodTo);

  outputs::TFormTarnoExel2 form(m_dm.AdsConnection1, password);
  form.Params.insert(QStringLiteral("StartDate"),
                     outputs::PayrollRegisterTitle(m_dm.Context.CompanyTitle(), periodFrom, periodTo));
  form.qryAll.Close();
  form.qryAll.SetParam(QStringLiteral("PERIOD1"), periodTo);
  form.qryAll.Open();

  const QString company = m_dm.Company();
  const int folderNo = m_dm.Context.ReportFolderNo();
  const QString folder = ReportOutputFolder(company, folderNo);
  if (!QDir().mkpath(folder))
    throw OutputError(QStringLiteral("The report folder %1 cannot be created.").arg(folder));
  const QString output = QDir(folder).filePath(m_state.ReportKindText() + QStringLiteral(".xlsx"));
  QFile::remove(output);  // a failure to delete is ignored: the save replaces the file anyway

  form.FillAndSave(output);
  prepared.lock.reset();  // the filler has read the working template: other runs may prepare theirs
  form.qryAll.Close();
  RecordWrittenFile(output);
  CurrentUserInterface().OfferToOpen(output);

  if (kind == 8) {
    outputs::VarianceRequest request;
    request.workbookPath = output;
    request.periodFrom = periodFrom;
    request.periodTo = periodTo;
    request.company = company;
    request.reportFolderNo = folderNo;
    request.tablePassword = password;
    const QString variance = outputs::WriteVarianceWorkbook(AdsQueryTbl, AdsQuerySum, request);
    RecordWrittenFile(variance);
    CurrentUserInterface().OfferToOpen(variance);
  }
}

}  // namespace tarno
