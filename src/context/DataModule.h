// The data module: the one connection of a call, the company parameter table PAYPARA1 positioned
// on the payroll year, the site options table CUSTOM, the host's context block and the module's
// short date format. Created by the entry before anything that touches the database and freed
// last; the global DataModule1 points to it during a call and is null outside one.
#pragma once

#include <QString>
#include <memory>

#include "context/Connection.h"
#include "context/HostContext.h"
#include "context/Table.h"

namespace tarno {

class TDataModule1 {
 public:
  // DataModuleCreate: "Error code #1000.!" when the connection already carries a password, then the
  // credentials, then VARDO.Ini beside the host program read and kept.
  TDataModule1();
  // DataModuleDestroy: disconnects.
  ~TDataModule1();

  db::Connection AdsConnection1;
  db::Table AdsTablePara;    // "PAYPARA1.ADT", ordered and keyed on YEAR
  db::Table adstblCUSTOMID;  // "CUSTOM.ADT", natural order
  HostContextBlock Context;

  static QString GetTablePassword();
  // "T" when CUSTOM holds a row whose PARAMETER equals key exactly, scanning from the current
  // record; "F" otherwise, also on any error.
  QString IsCustomParameter(const QString& key);
  // Enables encryption on AdsTablePara unless the connection is a dictionary connection.
  void AdsTableParaAfterOpen();

  bool IsDictionary() const { return AdsConnection1.IsDictionary(); }
  // The module's short date format: "DD/MM/CCYY" (default) or "MM/DD/CCYY".
  void SetDateFormat(const QString& format);
  QString DateFormat() const { return m_dateFormat; }
  // The same as a Qt date format ("dd/MM/yyyy" or "MM/dd/yyyy").
  QString QtShortDateFormat() const;
  // COMPANY of the current PAYPARA1 record, without trailing blanks ("" when none).
  QString Company() const;

  // The INI values read at creation (kept, never used).
  QString IniValue(const QString& sectionAndKey) const;

 private:
  struct Private;
  std::unique_ptr<Private> d;
  QString m_dateFormat = QStringLiteral("DD/MM/CCYY");
};

extern TDataModule1* DataModule1;

}  // namespace tarno
