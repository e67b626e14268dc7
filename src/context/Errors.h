// The module's exceptions: one small hierarchy, whose texts are whole sentences that name the
// table, statement, file or value concerned. The entry's guard and the launcher catch tarno::Error
// and show its text; exceptions of other kinds are programming faults.
#pragma once

#include <QString>
#include <stdexcept>

namespace tarno {

class Error : public std::runtime_error {
 public:
  explicit Error(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
  const QString& Text() const { return m_text; }

 private:
  QString m_text;
};

// The database layer: connection, missing table or column, SQL, password, lock, conversion.
class DatabaseError : public Error {
 public:
  using Error::Error;
};

// A fixed validation text of the system, such as "Invalid Period Range!".
class ValidationError : public Error {
 public:
  using Error::Error;
};

// Files and folders of the outputs: templates, workbooks, CSV, reports.
class OutputError : public Error {
 public:
  using Error::Error;
};

// Bad command-line use; the launcher exits with status 2.
class UsageError : public Error {
 public:
  using Error::Error;
};

}  // namespace tarno
