// Statements run through Qt SQL: Open fetches every row of a SELECT into memory, ExecSQL runs a
// statement without rows and keeps it prepared while its text stays the same. Before either
// runs, every encrypted table the text names must have its password (free-table connections).
#include "context/Query.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "context/Connection.h"
#include "context/DatasetPrivate.h"
#include "context/Errors.h"
#include "context/FieldValues.h"
#include "context/SqlNames.h"
#include "context/StoredRowWriter.h"

namespace tarno::db {

namespace {

// The hidden column that carries the row identity of a live query.
const QString kRowIdColumn = QStringLiteral("TARNO_ROW_ID_");

QString ShortText(const QString& sql) {
  const QString text = sql.simplified();
  return text.size() > 200 ? text.left(197) + QStringLiteral("...") : text;
}

}  // namespace

struct Query::QueryPrivate {
  QStringList sql;
  QHash<QString, QVariant> params;    // upper-case name without colon -> value
  QHash<QString, QString> passwords;  // upper-case table -> table password
  QSqlQuery statement;                // the prepared statement of ExecSQL
  QString preparedText;               // its text; empty == none prepared
  int rowsAffected = 0;
  bool live = false;
  std::unique_ptr<StoredRowWriter> writer;  // while a live query is open over one table

  // What was learnt of the last text run, so that a loop that only changes parameters does not
  // scan the text again: its tables, its placeholders, and whether its passwords were checked.
  QString analysedText;
  QStringList tables;
  QStringList placeholders;
  int passwordsVersion = 0;          // bumped by every SetTablePassword
  int checkedPasswordsVersion = -1;  // -1 == the passwords of analysedText not checked yet

  QString Text() const { return sql.join(QLatin1Char('\n')); }

  void Analyse(const QString& text) {
    if (text == analysedText && !analysedText.isEmpty()) return;
    analysedText = text;
    tables = detail::TablesNamedInStatement(text);
    placeholders = detail::PlaceholdersInStatement(text);
    checkedPasswordsVersion = -1;
  }
};

Query::Query(Connection& connection) : Dataset(connection), q(std::make_unique<QueryPrivate>()) {}

Query::~Query() {
  try {
    Close();
  } catch (...) {
    // Closing only drops memory; nothing worth reporting from a destructor.
  }
}

QString Query::DisplayName() const {
  return QStringLiteral("the statement '%1'").arg(ShortText(q->Text()));
}

QStringList& Query::SQL() {
  return q->sql;
}
void Query::SetSQL(const QStringList& lines) {
  q->sql = lines;
}
void Query::ClearSQL() {
  q->sql.clear();
}
void Query::AddLine(const QString& line) {
  q->sql << line;
}

void Query::SetParam(const QString& name, const QString& value) {
  SetParamValue(name, QVariant(value));
}

void Query::SetParamValue(const QString& name, const QVariant& value) {
  QString key = name.trimmed().toUpper();
  if (key.startsWith(QLatin1Char(':'))) key.remove(0, 1);
  q->params.insert(key, value);
}

int Query::RowsAffected() const {
  return q->rowsAffected;
}

void Query::SetTablePassword(const QString& table, const QString& password) {
  q->passwords.insert(TableNameWithoutExtension(table).toUpper(), password);
  ++q->passwordsVersion;
}

void Query::SetRequestLive(bool live) {
  q->live = live;
}

namespace {

void RequireReady(Connection& connection, const QString& text) {
  if (text.trimmed().isEmpty())
    throw DatabaseError(QStringLiteral("A statement without SQL text cannot be run."));
  if (!connection.IsConnected())
    throw DatabaseError(QStringLiteral("The statement '%1' cannot run: the database connection is not open.")
                            .arg(ShortText(text)));
}

void CheckPasswords(Connection& connection, const QString& text, const QStringList& tables,
                    const QHash<QString, QString>& passwords) {
  if (connection.IsDictionary()) return;
  for (const QString& table : tables) {
    if (!connection.IsEncryptedTable(table)) continue;
    const auto password = passwords.constFind(table);
    if (password == passwords.constEnd())
      throw DatabaseError(
          QStringLiteral("The statement '%1' uses table %2, which is encrypted: give the table "
                         "password before running it.")
              .arg(ShortText(text), table));
    connection.CheckTablePassword(table, password.value());
  }
}

void Prepare(QSqlQuery& query, const QString& text) {
  if (!query.prepare(text))
    throw DatabaseError(QStringLiteral("The statement '%1' is not valid: %2.")
                            .arg(ShortText(text), query.lastError().text()));
}

void BindParameters(QSqlQuery& query, const QString& text, const QStringList& placeholders,
                    const QHash<QString, QVariant>& params) {
  for (const QString& name : placeholders) {
    const auto value = params.constFind(name.toUpper());
    if (value == params.constEnd())
      throw DatabaseError(
          QStringLiteral("Parameter :%1 of the statement '%2' has no value.").arg(name, ShortText(text)));
    query.bindValue(QLatin1Char(':') + name, value.value());
  }
}

void Execute(QSqlQuery& query, const QString& text) {
  if (!query.exec())
    throw DatabaseError(
        QStringLiteral("The statement '%1' failed: %2.").arg(ShortText(text), query.lastError().text()));
}

}  // namespace

void Query::DoOpen() {
  const QString text = q->Text();
  Connection& db = connection();
  RequireReady(db, text);
  // Opening must never change data: a statement without rows is refused before it runs.
  if (!detail::YieldsRows(text))
    throw DatabaseError(
        QStringLiteral("The statement '%1' returns no records: run it with ExecSQL.").arg(ShortText(text)));
  q->Analyse(text);
  CheckPasswords(db, text, q->tables, q->passwords);

  // A live query over one table carries that table's row identity in a hidden first column.
  QString runText = text;
  QString liveTable;
  if (q->live && db.BackendKind() == Backend::Sqlite && detail::IsSingleTableSelect(text)) {
    static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\s"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = select.match(text);
    if (match.hasMatch()) {
      runText = text.left(match.capturedEnd()) + QStringLiteral("rowid AS ") + kRowIdColumn +
                QStringLiteral(", ") + text.mid(match.capturedEnd());
      liveTable = q->tables.constFirst();
    }
  }
  const int first = liveTable.isEmpty() ? 0 : 1;

  QSqlQuery query(db.Database());
  query.setForwardOnly(true);
  Prepare(query, runText);
  BindParameters(query, text, q->placeholders, q->params);
  Execute(query, text);
  if (!query.isSelect())
    throw DatabaseError(
        QStringLiteral("The statement '%1' returns no records: run it with ExecSQL.").arg(ShortText(text)));

  const QSqlRecord record = query.record();
  const int count = record.count() - first;
  std::vector<FieldInfo> fields(count);
  QStringList columns;
  for (int i = 0; i < count; ++i) {
    fields[i].name = record.fieldName(i + first);
    columns << fields[i].name;
  }
  d->SetDataFields(std::move(fields));

  const std::vector<char> seen = d->FetchRows(query, first);
  for (int i = 0; i < count; ++i) {
    FieldInfo& field = d->fields[i];
    field.numeric = seen[i] == 1;
    if (field.numeric) {
      const int row = [&] {
        for (int r = 0; r < d->RowCount(); ++r)
          if (!d->Cell(r, i).isNull()) return r;
        return -1;
      }();
      const int type = row >= 0 ? d->Cell(row, i).typeId() : QMetaType::Double;
      field.kind = type == QMetaType::Double ? FieldKind::Float : FieldKind::Integer;
    }
  }
  if (!liveTable.isEmpty()) {
    q->writer = std::make_unique<StoredRowWriter>(db.Database(), liveTable, columns);
    d->onClose = [this] { q->writer.reset(); };
  }
}

void Query::DoPost() {
  if (!q->writer)
    throw DatabaseError(
        QStringLiteral("The records of %1 cannot be changed: it is not a live query over one table.")
            .arg(DisplayName()));
  d->PostThrough(*q->writer);
}

void Query::ExecSQL() {
  const QString text = q->Text();
  Connection& db = connection();
  RequireReady(db, text);
  q->Analyse(text);
  if (q->checkedPasswordsVersion != q->passwordsVersion) {
    CheckPasswords(db, text, q->tables, q->passwords);
    q->checkedPasswordsVersion = q->passwordsVersion;
  }
  if (q->preparedText != text || q->preparedText.isEmpty()) {
    q->statement = QSqlQuery(db.Database());
    q->preparedText.clear();
    Prepare(q->statement, text);
    q->preparedText = text;
  }
  BindParameters(q->statement, text, q->placeholders, q->params);
  Execute(q->statement, text);
  q->rowsAffected = q->statement.numRowsAffected();
  q->statement.finish();
}

}  // namespace tarno::db
