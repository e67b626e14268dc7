// Small fixtures for the extraction tests: a scratch company database with every payroll table
// created empty, plain-SQL helpers to insert just the rows a case needs, a dialog state whose
// choices a test sets, and a user interface that records warnings.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include "common/TestSupport.h"
#include "context/Connection.h"
#include "context/UserInterface.h"
#include "dialog/DialogState.h"
#include "schema/TableDescriptions.h"

namespace tarno::test {

inline const QString kTablePassword = QStringLiteral("KALMO8462");

class FakeDialogState : public DialogState {
 public:
  QString from = QStringLiteral("202401"), to = QStringLiteral("202401");
  int cycleIndex = kFullMonth;
  bool special = false, bonus = false, headCount = true, breakdown = false, csv = false;
  int kind = 0;
  bool buttonsEnabled = true;
  mutable int cycleIndexReads = 0;  // one per extracted period

  QString PeriodFromText() const override { return from; }
  QString PeriodToText() const override { return to; }
  int CycleIndex() const override {
    ++cycleIndexReads;
    return cycleIndex;
  }
  bool IncludedSpecial() const override { return special; }
  bool IncludedBonus() const override { return bonus; }
  bool ShowHeadCount() const override { return headCount; }
  bool CostCentreBreakdown() const override { return breakdown; }
  bool ExportCsv() const override { return csv; }
  int ReportKind() const override { return kind; }
  QString ReportKindText() const override {
    return QString::fromLatin1(kReportKinds[kind < 0 ? 0 : kind].displayText);
  }
  QString ReportKindValue() const override {
    return QString::fromLatin1(kReportKinds[kind < 0 ? 0 : kind].templateName);
  }
  void SetRunButtonsEnabled(bool enabled) override { buttonsEnabled = enabled; }
};

class RecordingUserInterface : public UserInterface {
 public:
  QStringList messages, warnings;
  void ShowMessage(const QString& text) override { messages << text; }
  void ShowWarning(const QString& text) override { warnings << text; }
  void ShowError(const QString& text) override { messages << text; }
  bool Confirm(const QString&) override { return false; }
};

inline void Sql(db::Connection& connection, const QString& sql) {
  QSqlQuery query(connection.Database());
  ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
}

inline QVariant SqlValue(db::Connection& connection, const QString& sql) {
  QSqlQuery query(connection.Database());
  if (!query.exec(sql) || !query.next()) return QVariant(QStringLiteral("<no row>"));
  return query.value(0);
}

// A scratch database with every table of the schema, connected as a free-table connection.
class CompanyDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_path = ScratchFolder(QString::fromLatin1(info->test_suite_name()) + u'_' +
                           QString::fromLatin1(info->name()).replace(u'/', u'_')) +
             QStringLiteral("/company.db");
    QFile file(m_path);
    file.open(QIODevice::WriteOnly);
    file.close();
    m_connection.SetConnectPath(m_path);
    m_connection.SetConnected(true);
    schema::CreateAllTables(m_connection, kTablePassword);
  }
  QString m_path;
  db::Connection m_connection;
};

}  // namespace tarno::test
