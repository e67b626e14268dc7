// The data module's start-up (credentials, VARDO.Ini), its parameter lookups and the module's
// short date format. The INI values are read and kept only: nothing in the module uses them, but
// a missing file or key must never stop the start-up.
#include "context/DataModule.h"

#include <QHash>
#include <QSettings>

#include "context/Errors.h"
#include "context/Settings.h"
#include "context/UserInterface.h"

namespace tarno {

TDataModule1* DataModule1 = nullptr;

namespace {

const QString kConnectionPassword = QStringLiteral("PLORKANDEWY");
const QString kConnectionUser = QStringLiteral("VARDOPAY8");
const QString kTablePassword = QStringLiteral("KALMO8462");
// The general-ledger id assumed when the INI file gives none.
const QString kDefaultGlId = QStringLiteral("GL");

// Section/key pairs read from VARDO.Ini, each with an empty default.
const char* const kIniKeys[] = {"PATH/DICTIONARY",    "SETTING/FORMSTATE", "SETTING/GTENABLED",
                                "SETTING/DOC_FOLDER", "SETTING/GLID",      "SETTING/ENABLED_CR",
                                "SETTING/GLTYPE",     "SETTING/DATEFORMAT"};

}  // namespace

struct TDataModule1::Private {
  QHash<QString, QString> iniValues;  // "SECTION/KEY" -> value as read ("" when missing)
  // Flags derived from SETTING/GLTYPE; kept like the values, read by nothing.
  bool glTypeGeneral = false;   // "GLTYPE" or "JOBGRADE"
  bool glTypeClass = false;     // "CLASS"
  bool glTypeJobGrade = false;  // "JOBGRADE"
};

TDataModule1::TDataModule1()
    : AdsTablePara(AdsConnection1, QStringLiteral("PAYPARA1.ADT")),
      adstblCUSTOMID(AdsConnection1, QStringLiteral("CUSTOM.ADT")),
      d(std::make_unique<Private>()) {
  AdsTablePara.SetIndexFieldNames(QStringLiteral("YEAR"));
  AdsTablePara.AfterOpen = [this](db::Dataset&) { AdsTableParaAfterOpen(); };

  // DataModuleCreate.
  if (!AdsConnection1.Password().isEmpty()) ShowMessage(QStringLiteral("Error code #1000.!"));
  AdsConnection1.SetPassword(kConnectionPassword);
  AdsConnection1.SetUsername(kConnectionUser);

  // VARDO.Ini beside the host program, not beside the library. QSettings only reads here: it
  // writes back only values that were set, and none is.
  const QSettings ini(HostProgramFolder() + QStringLiteral("/VARDO.Ini"), QSettings::IniFormat);
  for (const char* key : kIniKeys) {
    const QString name = QString::fromLatin1(key);
    d->iniValues.insert(name, ini.value(name, QString()).toString());
  }
  if (d->iniValues.value(QStringLiteral("SETTING/GLID")).isEmpty())
    d->iniValues.insert(QStringLiteral("SETTING/GLID"), kDefaultGlId);
  const QString glType = d->iniValues.value(QStringLiteral("SETTING/GLTYPE"));
  d->glTypeJobGrade = glType == QLatin1String("JOBGRADE");
  d->glTypeGeneral = glType == QLatin1String("GLTYPE") || d->glTypeJobGrade;
  d->glTypeClass = glType == QLatin1String("CLASS");

  DataModule1 = this;
}

TDataModule1::~TDataModule1() {
  if (DataModule1 == this) DataModule1 = nullptr;
  // DataModuleDestroy: disconnect. A destructor must not throw; a failing close at this point has
  // nothing left to protect.
  try {
    adstblCUSTOMID.Close();
    AdsTablePara.Close();
    AdsConnection1.SetConnected(false);
  } catch (const std::exception&) {
  }
}

QString TDataModule1::GetTablePassword() {
  return kTablePassword;
}

QString TDataModule1::IsCustomParameter(const QString& key) {
  QString result = QStringLiteral("F");
  try {
    // An already open table keeps its current record: the scan goes on from there.
    if (!adstblCUSTOMID.IsOpen()) adstblCUSTOMID.Open();
    while (!adstblCUSTOMID.Eof()) {
      if (adstblCUSTOMID.FieldAsString(QStringLiteral("PARAMETER")) == key) {
        result = QStringLiteral("T");
        break;
      }
      adstblCUSTOMID.Next();
    }
  } catch (const std::exception&) {
    // A missing, locked or unreadable CUSTOM table means the switch is off.
  }
  return result;
}

void TDataModule1::AdsTableParaAfterOpen() {
  if (!IsDictionary()) AdsTablePara.EnableEncryption(GetTablePassword());
}

void TDataModule1::SetDateFormat(const QString& format) {
  m_dateFormat = format;
}

QString TDataModule1::QtShortDateFormat() const {
  // "C" and "Y" both stand for year digits, "D" for day, "M" for month; "/" stays the separator.
  QString qt;
  qt.reserve(m_dateFormat.size());
  for (const QChar c : m_dateFormat) {
    switch (c.toUpper().unicode()) {
      case u'C':
      case u'Y':
        qt += u'y';
        break;
      case u'D':
        qt += u'd';
        break;
      case u'M':
        qt += u'M';
        break;
      default:
        qt += c;
    }
  }
  return qt;
}

QString TDataModule1::Company() const {
  if (!AdsTablePara.IsOpen() || AdsTablePara.Eof()) return QString();
  return AdsTablePara.FieldAsString(QStringLiteral("COMPANY"));
}

QString TDataModule1::IniValue(const QString& sectionAndKey) const {
  return d->iniValues.value(sectionAndKey);
}

}  // namespace tarno
