// Fixtures shared by the pivot, CSV and run-output tests: a scratch database with the payroll
// tables, a dialog state whose choices a test sets, and recorders for messages and progress.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

#include "context/Connection.h"
#include "context/UserInterface.h"
#include "dialog/DialogState.h"

namespace tarno::test {

// A fresh SQLite file in a scratch folder with every payroll table (encrypted ones marked with
// the module's table password), connected.
class ScratchDatabase {
 public:
  explicit ScratchDatabase(const QString& name);
  ~ScratchDatabase();
  db::Connection& connection() { return m_connection; }
  QString Path() const { return m_path; }
  QString Folder() const { return m_folder; }
  // INSERT INTO table (columns) VALUES (values); fails the test on an error.
  void Insert(const QString& table, const QStringList& columns, const QVariantList& values);
  // Runs any statement; fails the test on an error.
  void Exec(const QString& sql);

 private:
  QString m_folder;
  QString m_path;
  db::Connection m_connection;
};

// The dialog's choices as plain fields.
class FakeDialogState final : public DialogState {
 public:
  QString periodFrom = QStringLiteral("202501");
  QString periodTo = QStringLiteral("202501");
  int cycleIndex = kFullMonth;
  bool includedSpecial = false;
  bool includedBonus = false;
  bool showHeadCount = true;
  bool costCentreBreakdown = false;
  bool exportCsv = false;
  int reportKind = 0;
  QString typedText;  // the combo's text when reportKind is -1

  QString PeriodFromText() const override { return periodFrom; }
  QString PeriodToText() const override { return periodTo; }
  int CycleIndex() const override { return cycleIndex; }
  bool IncludedSpecial() const override { return includedSpecial; }
  bool IncludedBonus() const override { return includedBonus; }
  bool ShowHeadCount() const override { return showHeadCount; }
  bool CostCentreBreakdown() const override { return costCentreBreakdown; }
  bool ExportCsv() const override { return exportCsv; }
  int ReportKind() const override { return reportKind; }
  QString ReportKindText() const override;
  QString ReportKindValue() const override;
  void SetRunButtonsEnabled(bool) override {}
};

// Installs itself as the user interface and progress sink for its lifetime and records calls.
class RecordingInterface final : public UserInterface, public ProgressSink {
 public:
  RecordingInterface();
  ~RecordingInterface() override;
  void ShowMessage(const QString& text) override { messages << text; }
  void ShowWarning(const QString& text) override { warnings << text; }
  void ShowError(const QString& text) override { errors << text; }
  bool Confirm(const QString&) override { return false; }
  void OfferToOpen(const QString& path) override { offered << path; }
  void ShowProgress(int, const QString& message) override { progress << message; }
  bool StepProgress() override {
    ++steps;
    return false;  // as if the operator asked to stop at every step
  }
  void CloseProgress() override { ++closes; }

  QStringList messages, warnings, errors, offered, progress;
  int steps = 0;
  int closes = 0;
};

}  // namespace tarno::test
