#include "entry/EntryStartUp.h"

#include "context/DataModule.h"
#include "context/Errors.h"

namespace tarno {

void ConnectDataModule(TDataModule1& dataModule, const HostContextBlock& context,
                       const QString& databasePath) {
  dataModule.Context = context;
  // Checked before anything is opened: without a month there is no current period to offer, and a
  // run must not start on a period that does not exist.
  const int payMonth = context.PayMonth();
  if (payMonth < 1 || payMonth > 12)
    throw ValidationError(
        QStringLiteral("The payroll month %1 is not a month from 1 to 12; the report dialog "
                       "needs the current payroll month.")
            .arg(payMonth));
  if (databasePath.trimmed().isEmpty())
    throw DatabaseError(
        QStringLiteral("No database path was given: there is no payroll database to connect to."));

  db::Connection& connection = dataModule.AdsConnection1;
  connection.SetConnected(false);
  connection.SetConnectPath(databasePath);
  connection.SetConnected(true);

  dataModule.SetDateFormat(QStringLiteral("DD/MM/CCYY"));

  // The AfterOpen handler applies the table password; on a free-table connection it is given once
  // more here, as the module always has.
  dataModule.AdsTablePara.Close();
  dataModule.AdsTablePara.Open();
  if (!dataModule.IsDictionary()) dataModule.AdsTablePara.EnableEncryption(TDataModule1::GetTablePassword());

  // Missing year: the first record stays current, and its COMPANY names the output folders.
  if (dataModule.AdsTablePara.FindKey({QString::number(context.PayYear())})) {
    const QString format = dataModule.AdsTablePara.FieldAsString(QStringLiteral("G_DATEFORMAT"));
    dataModule.SetDateFormat(format == QLatin1String("MM/DD/YYYY") ? QStringLiteral("MM/DD/CCYY")
                                                                   : QStringLiteral("DD/MM/CCYY"));
  } else {
    dataModule.SetDateFormat(QStringLiteral("DD/MM/CCYY"));
  }
}

bool KindLockedBySite(TDataModule1& dataModule) {
  return dataModule.IsCustomParameter(QStringLiteral("OTCOMP")) == QLatin1String("T");
}

}  // namespace tarno
