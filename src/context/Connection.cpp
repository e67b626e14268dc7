// The connection: a SQLite file (QSQLITE) or a postgresql:// URI (QPSQL), with a Qt SQL
// connection name of its own per object, the dictionary test, the encrypted-table metadata and
// nesting transactions.
#include "context/Connection.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <atomic>

#include "context/Errors.h"

namespace tarno::db {

namespace {

const QString kEncryptionTable = QStringLiteral("TARNO_ENCRYPTION");

QString NextConnectionName() {
  static std::atomic<int> counter{0};
  return QStringLiteral("tarno_connection_%1").arg(++counter);
}

QString PasswordHash(const QString& password) {
  return QString::fromLatin1(QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha256).toHex());
}

bool IsPostgresPath(const QString& path) {
  return path.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive) ||
         path.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive);
}

}  // namespace

struct Connection::Private {
  QString username;
  QString password;
  QString connectPath;
  QString connectionName;    // empty while disconnected
  int transactionDepth = 0;  // 0 == no transaction open
  // Upper-case table name -> password hash; loaded on first use, dropped when a table is marked.
  mutable bool encryptionLoaded = false;
  mutable QHash<QString, QString> encryptedTables;

  QSqlDatabase database() const {
    if (connectionName.isEmpty()) return QSqlDatabase();
    return QSqlDatabase::database(connectionName, false);
  }

  void loadEncryption() const {
    if (encryptionLoaded) return;
    encryptedTables.clear();
    QSqlDatabase db = database();
    bool hasMetadata = false;
    for (const QString& name : db.tables())
      if (name.compare(kEncryptionTable, Qt::CaseInsensitive) == 0) hasMetadata = true;
    if (hasMetadata) {
      QSqlQuery query(db);
      if (!query.exec(QStringLiteral("SELECT TABLE_NAME, PASSWORD_HASH FROM ") + kEncryptionTable))
        throw DatabaseError(QStringLiteral("The encrypted-table list %1 of database %2 cannot be read: %3.")
                                .arg(kEncryptionTable, connectPath, query.lastError().text()));
      while (query.next())
        encryptedTables.insert(query.value(0).toString().trimmed().toUpper(),
                               query.value(1).toString().trimmed().toLower());
    }
    encryptionLoaded = true;
  }

  void requireConnected(const char* what) const {
    if (connectionName.isEmpty())
      throw DatabaseError(
          QStringLiteral("The database connection is not open: cannot %1.").arg(QString::fromLatin1(what)));
  }
};

Connection::Connection() : d(std::make_unique<Private>()) {}

Connection::~Connection() {
  try {
    SetConnected(false);
  } catch (...) {
    // A destructor must not throw; the connection is gone either way.
  }
}

void Connection::SetUsername(const QString& name) {
  d->username = name;
}
QString Connection::Username() const {
  return d->username;
}
void Connection::SetPassword(const QString& password) {
  d->password = password;
}
QString Connection::Password() const {
  return d->password;
}

void Connection::SetConnectPath(const QString& path) {
  if (IsConnected())
    throw DatabaseError(QStringLiteral("The connect path cannot change to %1 while connected to %2.")
                            .arg(path, d->connectPath));
  d->connectPath = path;
}
QString Connection::ConnectPath() const {
  return d->connectPath;
}

void Connection::SetConnected(bool connected) {
  if (connected == IsConnected()) return;
  if (!connected) {
    if (d->transactionDepth > 0) {
      d->transactionDepth = 1;
      CommitTransaction();
    }
    const QString name = d->connectionName;
    {
      QSqlDatabase db = QSqlDatabase::database(name, false);
      db.close();
    }
    QSqlDatabase::removeDatabase(name);
    d->connectionName.clear();
    d->encryptionLoaded = false;
    return;
  }

  const QString path = d->connectPath;
  if (path.trimmed().isEmpty())
    throw DatabaseError(QStringLiteral("No connect path is set: there is no database to connect to."));
  const QString name = NextConnectionName();
  QString failure;
  {
    QSqlDatabase db;
    if (IsPostgresPath(path)) {
      const QUrl url(path);
      db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
      db.setHostName(url.host());
      if (url.port() > 0) db.setPort(url.port());
      db.setDatabaseName(url.path().mid(1));
      db.setUserName(url.userName());
      db.setPassword(url.password());
    } else {
      // SQLite would create a missing file: a wrong path must fail instead.
      const QFileInfo info(path);
      if (!info.exists() || !info.isFile())
        throw DatabaseError(QStringLiteral("The database %1 does not exist.").arg(path));
      db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
      db.setDatabaseName(path);
      // Other operators' writers wait for the database instead of failing at once.
      db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    }
    if (!db.isValid())
      failure = QStringLiteral("The database driver for %1 is not installed.").arg(path);
    else if (!db.open())
      failure = QStringLiteral("Cannot connect to the database %1: %2.").arg(path, db.lastError().text());
  }
  if (!failure.isEmpty()) {
    QSqlDatabase::removeDatabase(name);
    throw DatabaseError(failure);
  }
  d->connectionName = name;
  d->transactionDepth = 0;
  d->encryptionLoaded = false;
}

bool Connection::IsConnected() const {
  return !d->connectionName.isEmpty();
}

bool Connection::IsDictionary() const {
  return d->connectPath.toUpper().contains(QStringLiteral(".ADD"));
}

Backend Connection::BackendKind() const {
  return IsPostgresPath(d->connectPath) ? Backend::Postgres : Backend::Sqlite;
}

bool Connection::IsEncryptedTable(const QString& table) const {
  d->requireConnected("look up encrypted tables");
  d->loadEncryption();
  return d->encryptedTables.contains(TableNameWithoutExtension(table).toUpper());
}

void Connection::CheckTablePassword(const QString& table, const QString& password) const {
  d->requireConnected("check a table password");
  d->loadEncryption();
  const QString name = TableNameWithoutExtension(table).toUpper();
  const auto found = d->encryptedTables.constFind(name);
  if (found == d->encryptedTables.constEnd()) return;
  if (PasswordHash(password) != found.value())
    throw DatabaseError(QStringLiteral("The password given for table %1 is wrong.").arg(name));
}

void Connection::MarkTableEncrypted(const QString& table, const QString& password) {
  d->requireConnected("mark a table encrypted");
  QSqlDatabase db = d->database();
  QSqlQuery query(db);
  if (!query.exec(
          QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (TABLE_NAME TEXT PRIMARY KEY, PASSWORD_HASH TEXT)")
              .arg(kEncryptionTable)))
    throw DatabaseError(QStringLiteral("The encrypted-table list %1 cannot be created: %2.")
                            .arg(kEncryptionTable, query.lastError().text()));
  const QString name = TableNameWithoutExtension(table).toUpper();
  query.prepare(QStringLiteral("DELETE FROM %1 WHERE TABLE_NAME = :NAME").arg(kEncryptionTable));
  query.bindValue(QStringLiteral(":NAME"), name);
  bool ok = query.exec();
  if (ok) {
    query.prepare(QStringLiteral("INSERT INTO %1 (TABLE_NAME, PASSWORD_HASH) VALUES (:NAME, :HASH)")
                      .arg(kEncryptionTable));
    query.bindValue(QStringLiteral(":NAME"), name);
    query.bindValue(QStringLiteral(":HASH"), PasswordHash(password));
    ok = query.exec();
  }
  if (!ok)
    throw DatabaseError(
        QStringLiteral("Table %1 cannot be marked encrypted: %2.").arg(name, query.lastError().text()));
  d->encryptionLoaded = false;
}

bool Connection::HasTable(const QString& table) const {
  d->requireConnected("look up a table");
  const QString name = TableNameWithoutExtension(table);
  for (const QString& existing : d->database().tables())
    if (existing.compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

void Connection::BeginTransaction() {
  d->requireConnected("begin a transaction");
  if (d->transactionDepth == 0) {
    QSqlDatabase db = d->database();
    bool begun = false;
    QString failure;
    if (BackendKind() == Backend::Sqlite) {
      // IMMEDIATE takes the write lock at once (waiting up to the busy timeout), so that two
      // operators' transactions never deadlock upgrading from reading to writing.
      QSqlQuery begin(db);
      begun = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
      failure = begin.lastError().text();
    } else {
      begun = db.transaction();
      failure = db.lastError().text();
    }
    if (!begun)
      throw DatabaseError(
          QStringLiteral("A transaction cannot begin on the database %1: %2.").arg(d->connectPath, failure));
  }
  ++d->transactionDepth;
}

void Connection::CommitTransaction() {
  if (d->transactionDepth == 0)
    throw DatabaseError(
        QStringLiteral("There is no open transaction to commit on the database %1.").arg(d->connectPath));
  if (--d->transactionDepth > 0) return;
  QSqlDatabase db = d->database();
  bool committed = false;
  QString failure;
  if (BackendKind() == Backend::Sqlite) {
    QSqlQuery commit(db);
    committed = commit.exec(QStringLiteral("COMMIT"));
    failure = commit.lastError().text();
  } else {
    committed = db.commit();
    failure = db.lastError().text();
  }
  if (!committed)
    throw DatabaseError(QStringLiteral("The transaction on the database %1 cannot be committed: %2.")
                            .arg(d->connectPath, failure));
}

bool Connection::InTransaction() const {
  return d->transactionDepth > 0;
}

QSqlDatabase Connection::Database() const {
  d->requireConnected("reach the database");
  return d->database();
}

QString Connection::LockDirectory() const {
  if (BackendKind() == Backend::Postgres) return QString();
  const QFileInfo info(d->connectPath);
  return info.absoluteFilePath() + QStringLiteral(".locks");
}

QString TableNameWithoutExtension(const QString& name) {
  static const QRegularExpression extension(QStringLiteral("\\.[A-Za-z0-9]{1,3}$"));
  QString result = name.trimmed();
  result.remove(extension);
  return result;
}

}  // namespace tarno::db
