// The report dialog's data components, each bound to the data module's connection with its table
// or statement and its order as the form file declares them, and FormShow's database steps.
#include "dialog/ReportSession.h"

#include "context/Errors.h"

namespace tarno {

ReportSession::ReportSession(TDataModule1& dataModule, DialogState& state)
    : AdsTableHTRX(dataModule.AdsConnection1, QStringLiteral("P_HTRX.ADT")),
      AdsTable_Exrate(dataModule.AdsConnection1, QStringLiteral("EXRATE.ADT")),
      AdsTableAllw(dataModule.AdsConnection1, QStringLiteral("ALLOWNCE.adt")),
      AdsTableCode(dataModule.AdsConnection1, QStringLiteral("CODE.ADT")),
      AdsTableP_htrx(dataModule.AdsConnection1, QStringLiteral("RPTRX.ADT")),
      AdsTableSFPara(dataModule.AdsConnection1, QStringLiteral("PPARA_SF.ADT")),
      AdsTablectr(dataModule.AdsConnection1, QStringLiteral("COSTCTR")),
      AdsQueryTbl(dataModule.AdsConnection1, QStringLiteral("EXCELMAP")),
      AdsQueryRwHTRX(dataModule.AdsConnection1),
      adsqryTemp(dataModule.AdsConnection1),
      AdsReportExcel(dataModule.AdsConnection1),
      AdsQueryp_Dtrxaw(dataModule.AdsConnection1),
      AdsQueryOTHTRX(dataModule.AdsConnection1),
      AdsQuerySFHTRX(dataModule.AdsConnection1),
      AdsQueryNPL(dataModule.AdsConnection1),
      AdsQueryABS(dataModule.AdsConnection1),
      AdsQueryNH(dataModule.AdsConnection1),
      AdsQueryRD(dataModule.AdsConnection1),
      AdsQueryYTDEMPL(dataModule.AdsConnection1),
      adsqryAW(dataModule.AdsConnection1),
      AdsQuerySum(dataModule.AdsConnection1),
      QueryRPT(dataModule.AdsConnection1),
      m_dm(dataModule),
      m_state(state) {
  AdsTableHTRX.SetIndexFieldNames(QStringLiteral("EMPCODE;PERIOD;CYCLE;PAYDAY"));
  AdsTable_Exrate.SetIndexFieldNames(QStringLiteral("CURR;EXCODE;PERIOD"));
  AdsTableAllw.SetIndexFieldNames(QStringLiteral("YEAR;ALLOW_CODE"));
  AdsTableCode.SetIndexFieldNames(QStringLiteral("CATEGORY;CODE"));
  AdsTableP_htrx.SetIndexFieldNames(QStringLiteral("EMPCODE;PAYCODE;PERIOD"));
  AdsTableSFPara.SetIndexFieldNames(QStringLiteral("YEAR;SHIFT_STATUS;SHIFT_DESC"));
  AdsTablectr.SetIndexFieldNames(QStringLiteral("EMPCODE;PERIOD;COST_CENTRE"));
  AdsQueryTbl.SetIndexFieldNames(QStringLiteral("PAYITEM"));
  AdsQueryRwHTRX.SetSQL({QStringLiteral("select * from rp_htrx"), QStringLiteral("where PERIOD=:PERIOD")});
  AdsReportExcel.SetSQL({QStringLiteral("SELECT * FROM RP_HTRX")});
  AdsReportExcel.SetIndexFieldNames(QStringLiteral("EMPCODE;PERIOD;CYCLE"));
  AdsReportExcel.SetRequestLive(true);
}

ReportSession::~ReportSession() = default;

void ReportSession::FormShow() {
  const bool dictionary = m_dm.IsDictionary();
  const QString password = TDataModule1::GetTablePassword();

  AdsTableHTRX.Close();
  AdsTableHTRX.Open();
  if (!dictionary) {
    AdsTableHTRX.EnableEncryption(password);
    for (const char* table : {"EMPLOYEE", "EMPSERV", "RPTRX", "P_HTRX", "RP_HTRX"})
      AdsQueryRwHTRX.SetTablePassword(QLatin1String(table), password);
    QueryRPT.SetTablePassword(QStringLiteral("rptrx"), password);
  }

  for (db::Table* table : {&AdsTable_Exrate, &AdsTableAllw, &AdsTableCode}) {
    table->Close();
    table->Open();
  }

  // Every showing starts from an empty report table, for all users of the database: emptying
  // needs the table for exclusive use, which is refused while anyone else has it open.
  AdsTableP_htrx.Close();
  AdsTableP_htrx.SetExclusive(true);
  try {
    AdsTableP_htrx.Open();
    if (!dictionary) AdsTableP_htrx.EnableEncryption(password);
    AdsTableP_htrx.EmptyTable();
    AdsTableP_htrx.PackTable();
    AdsTableP_htrx.Close();
  } catch (...) {
    AdsTableP_htrx.Close();
    AdsTableP_htrx.SetExclusive(false);
    throw;
  }
  AdsTableP_htrx.SetExclusive(false);
}

QStringList PeriodListOfYear(int payYear) {
  QStringList periods;
  for (int month = 1; month <= 12; ++month)
    periods.append(QStringLiteral("%1%2").arg(payYear).arg(month, 2, 10, QChar(u'0')));
  return periods;
}

}  // namespace tarno
