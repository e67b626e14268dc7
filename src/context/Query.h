// An SQL statement built from lines, with named parameters (":PERIOD") set as strings.
// Open runs a SELECT and keeps its rows; ExecSQL runs a statement that yields none and reuses the
// prepared statement while the text is unchanged, so that a loop that only changes parameters
// prepares once. A table password set on the query stays for every later text of the same object.
// A live query (RequestLive) over one table writes posted edits back to that table.
#pragma once

#include <QStringList>

#include "context/Dataset.h"

namespace tarno::db {

class Query : public Dataset {
 public:
  explicit Query(Connection& connection);
  ~Query() override;

  QString DisplayName() const override;

  QStringList& SQL();  // the statement's lines, joined with line breaks when run
  void SetSQL(const QStringList& lines);
  void ClearSQL();
  void AddLine(const QString& line);

  void SetParam(const QString& name, const QString& value);  // as a string
  void SetParamValue(const QString& name, const QVariant& value);

  void ExecSQL();
  // Rows changed by the last ExecSQL.
  int RowsAffected() const;

  void SetTablePassword(const QString& table, const QString& password);
  void SetRequestLive(bool live);

 protected:
  void DoOpen() override;
  void DoPost() override;

 private:
  struct QueryPrivate;
  std::unique_ptr<QueryPrivate> q;
};

}  // namespace tarno::db
