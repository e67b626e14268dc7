// The data module: credentials, the global reference, the CUSTOM switch scan (exact match, from the
// current record, errors answered "F"), PAYPARA1 opened with the table password, the date format
// conversion and the INI values beside the program.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>

#include "common/TestSupport.h"
#include "context/Connection.h"
#include "context/DataModule.h"
#include "entry/RecordingUserInterface.h"

using namespace tarno;

namespace {

void Exec(db::Connection& connection, const QString& sql) {
  QSqlQuery query(connection.Database());
  ASSERT_TRUE(query.exec(sql)) << qPrintable(sql);
}

// A small company database: PAYPARA1 (encrypted) with one year, and optionally CUSTOM with rows.
QString MakeCompany(const QString& fileName, const QStringList& customRows, bool withCustom = true) {
  const QString path = test::ScratchFolder(QStringLiteral("dm-") + fileName) + u'/' + fileName;
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.close();
  db::Connection connection;
  connection.SetConnectPath(path);
  connection.SetConnected(true);
  Exec(connection, "CREATE TABLE PAYPARA1 (\"YEAR\" CHAR(4), G_DATEFORMAT CHAR(10), COMPANY CHAR(60))");
  Exec(connection, "INSERT INTO PAYPARA1 VALUES ('2024', 'DD/MM/YYYY', 'Acme/Asia Pte Ltd  ')");
  connection.MarkTableEncrypted(QStringLiteral("PAYPARA1"), TDataModule1::GetTablePassword());
  if (withCustom) {
    Exec(connection, "CREATE TABLE CUSTOM (PARAMETER CHAR(30))");
    for (const QString& row : customRows)
      Exec(connection, QStringLiteral("INSERT INTO CUSTOM VALUES ('%1')").arg(row));
  }
  connection.SetConnected(false);
  return path;
}

void Connect(TDataModule1& dm, const QString& path) {
  dm.AdsConnection1.SetConnectPath(path);
  dm.AdsConnection1.SetConnected(true);
}

}  // namespace

TEST(DataModule, SetsTheCredentialsAndTheGlobalReferenceForItsLifetime) {
  test::InstalledRecorder recorder;
  {
    TDataModule1 dm;
    EXPECT_EQ(DataModule1, &dm);
    EXPECT_EQ(dm.AdsConnection1.Username(), QStringLiteral("VARDOPAY8"));
    EXPECT_EQ(dm.AdsConnection1.Password(), QStringLiteral("PLORKANDEWY"));
    EXPECT_EQ(TDataModule1::GetTablePassword(), QStringLiteral("KALMO8462"));
    EXPECT_EQ(dm.DateFormat(), QStringLiteral("DD/MM/CCYY"));
  }
  EXPECT_EQ(DataModule1, nullptr);
  // A fresh connection carries no password: no "Error code #1000.!" message.
  EXPECT_TRUE(recorder.ui.messages.isEmpty());
}

TEST(DataModule, CustomParameterScansOnFromTheCurrentRecord) {
  // Trailing blanks are stored as a fixed-width column would; the dataset layer drops them.
  const QString path = MakeCompany("custom.db", {"ABC", "OTCOMP   ", "XYZ"});
  TDataModule1 dm;
  Connect(dm, path);
  struct Step {
    const char* key;
    const char* expected;
  };
  // One table, asked in sequence: a found key leaves its record current, a miss reaches the end.
  const Step steps[] = {
      {"otcomp", "F"},  // letter case differs: no match, and the scan ran to the end
      {"OTCOMP", "F"},  // the still open table is at its end: nothing left to scan
  };
  for (const Step& s : steps)
    EXPECT_EQ(dm.IsCustomParameter(s.key), QString::fromLatin1(s.expected)) << s.key;

  dm.adstblCUSTOMID.Close();
  const Step fresh[] = {
      {"OTCOMP", "T"},  // found on the second record, which stays current
      {"OTCOMP", "T"},  // found again at once
      {"ABC", "F"},     // before the current record: not seen any more
      {"OTCOMP", "F"},  // the miss went to the end
  };
  for (const Step& s : fresh)
    EXPECT_EQ(dm.IsCustomParameter(s.key), QString::fromLatin1(s.expected)) << s.key;
  EXPECT_TRUE(dm.adstblCUSTOMID.IsOpen());
}

TEST(DataModule, MissingCustomTableAnswersNoWithoutAMessage) {
  test::InstalledRecorder recorder;
  const QString path = MakeCompany("nocustom.db", {}, false);
  TDataModule1 dm;
  EXPECT_EQ(dm.IsCustomParameter(QStringLiteral("OTCOMP")), QStringLiteral("F"));  // not even connected
  Connect(dm, path);
  EXPECT_EQ(dm.IsCustomParameter(QStringLiteral("OTCOMP")), QStringLiteral("F"));
  EXPECT_TRUE(recorder.ui.messages.isEmpty());
  EXPECT_TRUE(recorder.ui.errors.isEmpty());
}

TEST(DataModule, ParameterTableOpensWithThePasswordOnEitherKindOfConnection) {
  for (const char* file : {"free.db", "dictionary.ADD", "lower.add"}) {
    SCOPED_TRACE(file);
    const QString path = MakeCompany(file, {});
    TDataModule1 dm;
    Connect(dm, path);
    EXPECT_EQ(dm.IsDictionary(), QString::fromLatin1(file).toUpper().contains(".ADD"));
    EXPECT_EQ(dm.Company(), QString());  // not open yet
    dm.AdsTablePara.Open();              // AfterOpen gives the password on a free-table connection
    EXPECT_EQ(dm.AdsTablePara.IndexFieldNames(), QStringLiteral("YEAR"));
    ASSERT_TRUE(dm.AdsTablePara.FindKey({QStringLiteral("2024")}));
    EXPECT_EQ(dm.Company(), QStringLiteral("Acme/Asia Pte Ltd"));
  }
}

TEST(DataModule, ShortDateFormatAsQtFormat) {
  const struct {
    const char* format;
    const char* qt;
  } cases[] = {{"DD/MM/CCYY", "dd/MM/yyyy"}, {"MM/DD/CCYY", "MM/dd/yyyy"}, {"DD/MM/YYYY", "dd/MM/yyyy"}};
  TDataModule1 dm;
  for (const auto& c : cases) {
    dm.SetDateFormat(QString::fromLatin1(c.format));
    EXPECT_EQ(dm.DateFormat(), QString::fromLatin1(c.format));
    EXPECT_EQ(dm.QtShortDateFormat(), QString::fromLatin1(c.qt));
  }
}

TEST(DataModule, ReadsTheIniFileBesideTheProgramAndKeepsItsValues) {
  const QString iniPath = QCoreApplication::applicationDirPath() + QStringLiteral("/VARDO.Ini");
  ASSERT_FALSE(QFile::exists(iniPath)) << "a VARDO.Ini was left beside the test program";
  {
    TDataModule1 dm;  // no file: every value empty, the general-ledger id defaulted
    EXPECT_EQ(dm.IniValue(QStringLiteral("PATH/DICTIONARY")), QString());
    EXPECT_EQ(dm.IniValue(QStringLiteral("SETTING/DATEFORMAT")), QString());
    EXPECT_FALSE(dm.IniValue(QStringLiteral("SETTING/GLID")).isEmpty());
  }
  QFile ini(iniPath);
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write(
      "[PATH]\nDICTIONARY=C:\\DATA\\PAY.ADD\n[SETTING]\nGLID=G42\nGLTYPE=CLASS\nDATEFORMAT=MM/DD/YYYY\n");
  ini.close();
  {
    TDataModule1 dm;
    EXPECT_EQ(dm.IniValue(QStringLiteral("SETTING/GLID")), QStringLiteral("G42"));
    EXPECT_EQ(dm.IniValue(QStringLiteral("SETTING/GLTYPE")), QStringLiteral("CLASS"));
    EXPECT_EQ(dm.IniValue(QStringLiteral("SETTING/FORMSTATE")), QString());
    // Read and kept only: the module's date format does not follow the INI file.
    EXPECT_EQ(dm.DateFormat(), QStringLiteral("DD/MM/CCYY"));
  }
  const QByteArray before = [&] {
    QFile f(iniPath);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }();
  QFile::remove(iniPath);
  // Nothing was written back.
  EXPECT_TRUE(before.contains("GLTYPE=CLASS"));
  EXPECT_FALSE(before.contains("FORMSTATE"));
}
