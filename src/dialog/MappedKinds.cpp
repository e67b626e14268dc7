// The run driver's steps for the variance (8) and year-to-date (9) kinds: EXCELMAP rebuilt and the
// RP_HTRX selection reopened before the period loop, RP_HTRX filled right after it, and in workbook
// mode the working template, the filled workbook and (kind 8) the variance workbook.
#include <QDir>
#include <QFile>

#include "context/Errors.h"
#include "context/Settings.h"
#include "context/UserInterface.h"
#include "dialog/ReportSession.h"
#include "outputs/ExcelMapSummary.h"
#include "outputs/MappedTemplate.h"
#include "outputs/ReportHistoryFill.h"
#include "outputs/StatementPasswords.h"
#include "outputs/TFormTarnoExel2.h"
#include "outputs/VarianceWorkbook.h"

namespace tarno {
namespace {

// The four run letters of the dialog's cycle options; the first matching row wins.
QString SelectedCycleLetters(const DialogState& state) {
  const int item = state.CycleIndex();
  const bool special = state.IncludedSpecial();
  const bool bonus = state.IncludedBonus();
  struct Row {
    int item;
    int special;  // -1 any, 0 no, 1 yes
    int bonus;
    const char* letters;
  };
  static const Row kRows[] = {
      {kEndMonth, 0, 0, "EEEE"},        {kMidMonth, 0, 0, "MMMM"},    {kBonusPeriod, -1, -1, "BBBB"},
      {kSpecialPeriod, -1, -1, "SSSS"}, {kFullMonth, -1, -1, "EMBS"}, {kMidAndEnd, 0, 0, "EMEM"},
      {kMidAndEnd, 1, 0, "EMSM"},       {kMidAndEnd, 0, 1, "EMEB"},   {kMidAndEnd, 1, 1, "EMSB"},
      {kEndMonth, 0, 1, "EBBB"},        {kEndMonth, 1, 0, "ESSS"},    {kMidMonth, 1, 0, "MSSS"},
      {kMidMonth, 0, 1, "MBBB"},        {kMidMonth, 1, 1, "MBSS"},    {kEndMonth, 1, 1, "EBSS"},
  };
  auto matches = [](int wanted, bool value) { return wanted < 0 || (wanted == 1) == value; };
  for (const Row& row : kRows)
    if (row.item == item && matches(row.special, special) && matches(row.bonus, bonus))
      return QString::fromLatin1(row.letters);
  throw ValidationError(QStringLiteral("The pay cycle option %1 selects no pay run.").arg(item));
}

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
  request.cycleLetters = SelectedCycleLetters(m_state);
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
