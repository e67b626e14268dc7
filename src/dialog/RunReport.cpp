// The run driver: range check, clearing by report kind, the extraction period by period, and the
// dispatch to the kind's outputs in workbook mode.
//
// The Process and Report buttons stay disabled for the whole run, outputs included, and a run
// started while one is in progress is refused. A run that fails closes the progress window and
// enables the buttons again, so that the dialog stays usable; the rows the extraction computed
// before the error are written to RPTRX first.
#include <QtGlobal>

#include "context/Errors.h"
#include "context/TextUtils.h"
#include "context/UserInterface.h"
#include "dialog/ReportSession.h"
#include "extraction/PeriodExtraction.h"

namespace tarno {
namespace {

int PeriodNumber(const QString& text, const char* which) {
  bool ok = false;
  const int number = text.toInt(&ok);
  if (!ok)
    throw ValidationError(
        QStringLiteral("The %1 period '%2' is not a whole number; choose or type a period as CCYYMM.")
            .arg(QLatin1String(which), text));
  return number;
}

// The year of a period number as the extraction takes it (its first four characters); 0 when
// they are not a number, in which case the whole report table is taken into the working set.
int YearOfPeriod(int period) {
  bool ok = false;
  const int year = SubText(QString::number(period), 1, 4).toInt(&ok);
  return ok ? year : 0;
}

}  // namespace

void ReportSession::RunReport(const QString& mode) {
  if (m_running)
    throw ValidationError(QStringLiteral("A report run is already in progress; wait until it has finished."));

  const QString periodFrom = m_state.PeriodFromText();
  const QString periodTo = m_state.PeriodToText();
  // Plain character order, as the periods are texts: "20241" sorts after "202405".
  if (QString::compare(periodFrom, periodTo, Qt::CaseSensitive) > 0)
    throw ValidationError(QStringLiteral("Invalid Period Range!"));
  // A typed report kind names no template and no file: refuse it before anything changes rather
  // than after the whole extraction. (The costing mode needs no template and runs as usual.)
  if (mode == QLatin1String("XLS") && m_state.ReportKind() < 0)
    throw ValidationError(QStringLiteral("Unknown report kind '%1'. Choose one of the listed report kinds.")
                              .arg(m_state.ReportKindText()));

  m_running = true;
  m_state.SetRunButtonsEnabled(false);
  const auto finish = [this] {
    m_running = false;
    m_state.SetRunButtonsEnabled(true);
  };

  std::unique_ptr<extraction::PeriodExtraction> extraction;
  try {
    const int fromNo = PeriodNumber(periodFrom, "from");
    const int toNo = PeriodNumber(periodTo, "to");
    const bool dictionary = m_dm.IsDictionary();
    const QString password = dictionary ? QString() : TDataModule1::GetTablePassword();

    AdsTableSFPara.Close();
    AdsTableSFPara.Open();

    if (!dictionary) {
      AdsQueryp_Dtrxaw.SetTablePassword(QStringLiteral("P_DTRXAW"), password);
      for (const char* table : {"EMPSERV", "P_HTRX", "EMPLOYEE", "RP_HTRX"})
        AdsQueryRwHTRX.SetTablePassword(QLatin1String(table), password);
      AdsQueryOTHTRX.SetTablePassword(QStringLiteral("P_DTRXOT"), password);
      AdsQuerySFHTRX.SetTablePassword(QStringLiteral("P_DTRXSF"), password);
      AdsQueryNPL.SetTablePassword(QStringLiteral("P_DTRXND"), password);
      AdsQueryABS.SetTablePassword(QStringLiteral("P_DTRXAS"), password);
      AdsQueryNH.SetTablePassword(QStringLiteral("P_DTRXNH"), password);
      AdsQueryRD.SetTablePassword(QStringLiteral("P_DTRXRD"), password);
      AdsQueryRwHTRX.SetTablePassword(QStringLiteral("RPTRX"), password);
      AdsQueryYTDEMPL.SetTablePassword(QStringLiteral("YTDEMPL"), password);
      adsqryTemp.SetTablePassword(QStringLiteral("P_HIST1"), password);
    }

    const int kind = m_state.ReportKind();
    const bool mappedKind = kind == 8 || kind == 9;
    if (mappedKind) {
      adsqryTemp.Close();
      adsqryTemp.SetSQL({QStringLiteral("delete from P_HIST1 where USERID=:USERID")});
      adsqryTemp.SetParam(QStringLiteral("USERID"), m_dm.Context.UserId());
      adsqryTemp.ExecSQL();
      AdsQueryRwHTRX.Close();
      AdsQueryRwHTRX.SetSQL(
          {QStringLiteral("delete from RP_HTRX where PERIOD>=:PERIOD1 AND PERIOD<=:PERIOD2")});
      AdsQueryRwHTRX.SetParam(QStringLiteral("PERIOD1"), periodFrom);
      AdsQueryRwHTRX.SetParam(QStringLiteral("PERIOD2"), periodTo);
      AdsQueryRwHTRX.ExecSQL();
      PrepareMappedRun(periodFrom, periodTo);
    }
    // The pivot kinds, and kinds 8 and 9 as well: the extraction writes through RPTRX.
    AdsQueryRwHTRX.Close();
    AdsQueryRwHTRX.SetSQL({QStringLiteral("delete from RPTRX where PERIOD>=:PERIOD1 AND PERIOD<=:PERIOD2")});
    AdsQueryRwHTRX.SetParam(QStringLiteral("PERIOD1"), periodFrom);
    AdsQueryRwHTRX.SetParam(QStringLiteral("PERIOD2"), periodTo);
    AdsQueryRwHTRX.ExecSQL();
    AdsTableP_htrx.Close();
    AdsTableP_htrx.SetTableName(QStringLiteral("RPTRX"));
    AdsTableP_htrx.SetIndexFieldNames(m_state.CostCentreBreakdown()
                                          ? QStringLiteral("EMPCODE;PAYCODE;PERIOD;COSTCENTRE_CODE;DEPT_CODE")
                                          : QStringLiteral("EMPCODE;PAYCODE;PERIOD"));
    AdsTableP_htrx.Open();
    if (!dictionary) AdsTableP_htrx.EnableEncryption(password);

    extraction::ExtractionContext context;
    context.userId = m_dm.Context.UserId();
    context.historyCondition1 = m_dm.Context.HistoryCondition1();
    context.historyCondition2 = m_dm.Context.HistoryCondition2();
    context.payYear = m_dm.Context.PayYear();
    context.tablePassword = password;
    extraction = std::make_unique<extraction::PeriodExtraction>(
        extraction::ExtractionComponents{AdsTableP_htrx, AdsQueryRwHTRX, AdsTablectr, AdsTableAllw,
                                         AdsTableSFPara, AdsQueryNPL, AdsQueryNH, AdsQueryABS, AdsQueryRD,
                                         AdsQueryOTHTRX, AdsQuerySFHTRX, AdsQueryYTDEMPL, AdsQueryp_Dtrxaw},
        context, m_state, fromNo <= toNo ? YearOfPeriod(fromNo) : 0, fromNo <= toNo ? YearOfPeriod(toNo) : 0);

    // Whole numbers, not months: a range across a year end also visits CCYY13 to CCYY99 and
    // CCYY00, which have no history.
    for (int n = fromNo; n <= toNo; ++n) {
      CurrentPeriod = QString::number(n);
      extraction->BuildPeriodHistory(CurrentPeriod);
      if (n == toNo) break;  // toNo may be INT_MAX
    }
    extraction->Flush();
    extraction.reset();

    if (mappedKind) FillReportHistory(periodFrom, periodTo);
    CloseProgress();

    if (mode == QLatin1String("XLS")) {
      if (m_state.ReportKind() == 8 || m_state.ReportKind() == 9)
        ProduceMappedOutputs(periodFrom, periodTo);
      else
        ProduceOutputs(periodFrom, periodTo);
    }
  } catch (...) {
    // What the extraction computed before the error is written before the error goes on.
    if (extraction) {
      try {
        extraction->Flush();
      } catch (const Error& e) {
        ShowWarning(QStringLiteral("The report rows computed before the error could not all be written: %1")
                        .arg(e.Text()));
      }
    }
    CloseProgress();
    finish();
    throw;
  }
  finish();
}

}  // namespace tarno
