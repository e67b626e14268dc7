// Scratch databases, the dialog-state fake and the recording user interface of the output tests.
#include "OutputsTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include "common/TestSupport.h"
#include "context/DataModule.h"
#include "schema/TableDescriptions.h"

namespace tarno::test {

ScratchDatabase::ScratchDatabase(const QString& name)
    : m_folder(ScratchFolder(name)), m_path(m_folder + QStringLiteral("/payroll.db")) {
  m_connection.SetConnectPath(m_path);
  // The layer refuses to connect to a file that does not exist.
  {
    QFile file(m_path);
    file.open(QIODevice::WriteOnly);
  }
  m_connection.SetConnected(true);
  schema::CreateAllTables(m_connection, TDataModule1::GetTablePassword());
}

ScratchDatabase::~ScratchDatabase() {
  if (m_connection.IsConnected()) m_connection.SetConnected(false);
}

void ScratchDatabase::Insert(const QString& table, const QStringList& columns, const QVariantList& values) {
  QStringList quoted, marks;
  for (const QString& column : columns) {
    quoted << u'"' + column + u'"';
    marks << QStringLiteral("?");
  }
  QSqlQuery query(m_connection.Database());
  ASSERT_TRUE(query.prepare(
      QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, quoted.join(u','), marks.join(u','))))
      << query.lastError().text().toStdString();
  for (const QVariant& value : values) query.addBindValue(value);
  ASSERT_TRUE(query.exec()) << table.toStdString() << ": " << query.lastError().text().toStdString();
}

void ScratchDatabase::Exec(const QString& sql) {
  QSqlQuery query(m_connection.Database());
  ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
}

QString FakeDialogState::ReportKindText() const {
  for (const ReportKindItem& item : kReportKinds)
    if (item.index == reportKind) return QString::fromLatin1(item.displayText);
  return typedText;
}

QString FakeDialogState::ReportKindValue() const {
  for (const ReportKindItem& item : kReportKinds)
    if (item.index == reportKind) return QString::fromLatin1(item.templateName);
  return QString();
}

RecordingInterface::RecordingInterface() {
  SetUserInterface(this);
  SetProgressSink(this);
}

RecordingInterface::~RecordingInterface() {
  SetUserInterface(nullptr);
  SetProgressSink(nullptr);
}

}  // namespace tarno::test
