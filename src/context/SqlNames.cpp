// A small SQL tokenizer: words, quoted identifiers, parameters and punctuation; strings and
// comments are skipped so that names inside them do not count.
#include "context/SqlNames.h"

#include <QSet>
#include <vector>

#include "context/Connection.h"

namespace tarno::db::detail {

namespace {

enum class TokenKind { Word, QuotedName, Parameter, Punctuation };

struct Token {
  TokenKind kind;
  QString text;  // without quotes or colon
};

bool IsWordChar(QChar c) {
  return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c == QLatin1Char('#') ||
         c == QLatin1Char('.');
}

std::vector<Token> Tokenize(const QString& sql) {
  std::vector<Token> tokens;
  const qsizetype n = sql.size();
  qsizetype i = 0;
  while (i < n) {
    const QChar c = sql.at(i);
    if (c.isSpace()) {
      ++i;
    } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
      while (i < n && sql.at(i) != QLatin1Char('\n')) ++i;
    } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
      const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
      i = end < 0 ? n : end + 2;
    } else if (c == QLatin1Char('\'')) {
      // A string; '' inside it is a quote.
      ++i;
      while (i < n) {
        if (sql.at(i) == QLatin1Char('\'')) {
          if (i + 1 < n && sql.at(i + 1) == QLatin1Char('\'')) {
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        ++i;
      }
    } else if (c == QLatin1Char('"') || c == QLatin1Char('[') || c == QLatin1Char('`')) {
      const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
      QString name;
      ++i;
      while (i < n) {
        if (sql.at(i) == close) {
          if (close == QLatin1Char('"') && i + 1 < n && sql.at(i + 1) == close) {
            name += close;
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        name += sql.at(i++);
      }
      tokens.push_back({TokenKind::QuotedName, name});
    } else if (c == QLatin1Char(':') && i + 1 < n && IsWordChar(sql.at(i + 1)) &&
               sql.at(i + 1) != QLatin1Char('.') && (i == 0 || sql.at(i - 1) != QLatin1Char(':'))) {
      qsizetype end = i + 1;
      while (end < n && (sql.at(end).isLetterOrNumber() || sql.at(end) == QLatin1Char('_'))) ++end;
      tokens.push_back({TokenKind::Parameter, sql.mid(i + 1, end - i - 1)});
      i = end;
    } else if (IsWordChar(c)) {
      qsizetype end = i;
      while (end < n && IsWordChar(sql.at(end))) ++end;
      tokens.push_back({TokenKind::Word, sql.mid(i, end - i)});
      i = end;
    } else {
      tokens.push_back({TokenKind::Punctuation, QString(c)});
      ++i;
    }
  }
  return tokens;
}

const QSet<QString>& Keywords() {
  static const QSet<QString> words = {
      QStringLiteral("WHERE"),  QStringLiteral("JOIN"),      QStringLiteral("INNER"),
      QStringLiteral("LEFT"),   QStringLiteral("RIGHT"),     QStringLiteral("OUTER"),
      QStringLiteral("FULL"),   QStringLiteral("CROSS"),     QStringLiteral("NATURAL"),
      QStringLiteral("ON"),     QStringLiteral("USING"),     QStringLiteral("GROUP"),
      QStringLiteral("ORDER"),  QStringLiteral("HAVING"),    QStringLiteral("UNION"),
      QStringLiteral("EXCEPT"), QStringLiteral("INTERSECT"), QStringLiteral("SET"),
      QStringLiteral("VALUES"), QStringLiteral("SELECT"),    QStringLiteral("LIMIT"),
      QStringLiteral("AS"),     QStringLiteral("WITH"),      QStringLiteral("DEFAULT"),
      QStringLiteral("FROM"),   QStringLiteral("INTO"),      QStringLiteral("UPDATE"),
      QStringLiteral("DELETE")};
  return words;
}

bool IsKeyword(const Token& token) {
  return token.kind == TokenKind::Word && Keywords().contains(token.text.toUpper());
}

bool IsName(const Token& token) {
  return token.kind == TokenKind::QuotedName || (token.kind == TokenKind::Word && !IsKeyword(token));
}

bool IsWord(const Token& token, const char* word) {
  return token.kind == TokenKind::Word && token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

}  // namespace

QStringList TablesNamedInStatement(const QString& sql) {
  const std::vector<Token> tokens = Tokenize(sql);
  QStringList tables;
  const size_t n = tokens.size();
  for (size_t i = 0; i < n; ++i) {
    if (!(IsWord(tokens[i], "FROM") || IsWord(tokens[i], "JOIN") || IsWord(tokens[i], "UPDATE") ||
          IsWord(tokens[i], "INTO")))
      continue;
    size_t j = i + 1;
    while (j < n && IsName(tokens[j])) {
      const QString name = TableNameWithoutExtension(tokens[j].text).toUpper();
      if (!tables.contains(name)) tables << name;
      ++j;
      if (j < n && IsWord(tokens[j], "AS"))
        j += 2;  // alias
      else if (j < n && IsName(tokens[j]))
        ++j;  // alias without AS
      if (j < n && tokens[j].kind == TokenKind::Punctuation && tokens[j].text == QLatin1String(","))
        ++j;
      else
        break;
    }
    i = j > i ? j - 1 : i;
  }
  return tables;
}

QStringList PlaceholdersInStatement(const QString& sql) {
  QStringList names;
  for (const Token& token : Tokenize(sql))
    if (token.kind == TokenKind::Parameter && !names.contains(token.text)) names << token.text;
  return names;
}

bool IsSingleTableSelect(const QString& sql) {
  const std::vector<Token> tokens = Tokenize(sql);
  if (tokens.empty() || !IsWord(tokens.front(), "SELECT")) return false;
  int selects = 0;
  for (const Token& token : tokens) {
    if (IsWord(token, "SELECT")) ++selects;
    if (IsWord(token, "JOIN") || IsWord(token, "GROUP") || IsWord(token, "DISTINCT") ||
        IsWord(token, "UNION") || IsWord(token, "EXCEPT") || IsWord(token, "INTERSECT"))
      return false;
  }
  return selects == 1 && TablesNamedInStatement(sql).size() == 1;
}

bool YieldsRows(const QString& sql) {
  const std::vector<Token> tokens = Tokenize(sql);
  if (tokens.empty()) return false;
  const Token& first = tokens.front();
  return IsWord(first, "SELECT") || IsWord(first, "WITH") || IsWord(first, "VALUES") ||
         IsWord(first, "PRAGMA") || IsWord(first, "EXPLAIN");
}

QString QuoteIdentifier(const QString& name) {
  QString escaped = name;
  escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + escaped + QLatin1Char('"');
}

}  // namespace tarno::db::detail
